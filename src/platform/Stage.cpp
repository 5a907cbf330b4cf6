#include "platform/Stage.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Dialogs.h"
#include "platform/Theme.h"
#include "platform/Core.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace platform {

namespace {
// Paints the backdrop colour; clicks on it do nothing.
class Cover : public QWidget {
public:
    explicit Cover(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_NoMousePropagation);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const QColor back = parentWidget()->palette().color(QPalette::Window);
        paintByRects(p, e->region(), [&](const QRect& area) { p.fillRect(area, back); });
    }
    void mousePressEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
};
}  // namespace

Stage* Stage::instance() {
    static Stage* stage = new Stage();
    return stage;
}

Stage::Stage() : m_cover(new Cover(this)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(ProgramTitle);
    if (QScreen* s = QGuiApplication::primaryScreen()) setGeometry(s->geometry());
    else resize(800, 600);
    // The cover lies beneath every screen until the backdrop is brought to the front. Raising it costs
    // less than showing it: a widget shown under the pointer asks the X server where the pointer is.
    m_cover->setGeometry(rect());
    setBackColor(theme::BackdropBlue);
}

void Stage::setScreenSizePixels(QSize size) {
    resize(size);
    m_cover->setGeometry(rect());
}

void Stage::setBackColor(quint32 bgr) {
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(bgr));
    setPalette(p);
    update();
}

void Stage::showBackdrop() {
    if (!isVisible()) {
        // Without a window manager full screen is not honoured, so cover the screen ourselves.
        if (QScreen* s = screen()) setGeometry(s->geometry());
        m_cover->setGeometry(rect());
        showFullScreen();
        return;
    }
    m_cover->setGeometry(rect());
    m_cover->raise();
    frontChanged();
}

// The pointer is handed to the window system only if it is still the hourglass when the program
// next waits for the user: an hourglass set and cleared within one event could never be seen, and
// its first showing loads the theme's animated cursor.
void Stage::setMousePointer(int pointer) {
    m_pointer = pointer == 11 ? 11 : 0;
    if (m_pointerPending) return;
    m_pointerPending = true;
    QTimer::singleShot(0, this, [this] {
        m_pointerPending = false;
        if ((m_pointer == 11) == m_waitShown) return;
        m_waitShown = m_pointer == 11;
        if (m_waitShown) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else QGuiApplication::restoreOverrideCursor();
    });
}

QWidget* Stage::front() const {
    const QObjectList& kids = children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        auto* w = qobject_cast<QWidget*>(*it);
        if (w && !w->isHidden() && (w == m_cover || qobject_cast<Form*>(w))) return w;
    }
    return nullptr;
}

void Stage::frontChanged() {
    auto* form = qobject_cast<Form*>(front());
    const QString caption = form ? form->Caption() : QString();
    setWindowTitle(caption.trimmed().isEmpty() ? ProgramTitle : caption);
}

void Stage::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), palette().color(QPalette::Window)); }

}  // namespace platform
