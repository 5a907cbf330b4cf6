#include "platform/screen/Stage.h"
#include "platform/screen/Fonts.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Controls.h"
#include "platform/screen/Form.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Theme.h"
#include "platform/files/Core.h"
#include "platform/screen/ScreenProbe.h"
#include "platform/screen/Navigator.h"

#include "core/StageScale.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <unistd.h>

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

static void hoverByKeyboard(Control* c, bool in);

Stage::~Stage() = default;

Stage* Stage::instance() {
    static Stage* stage = new Stage();
    return stage;
}

Stage::Stage() : m_navigator(std::make_unique<Navigator>()), m_cover(new Cover(this)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // The keys every screen shares: F11 for full screen or a window, Escape for the front screen's way
    // out. The stage is the program's one window (a message box in front blocks them, being modal).
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this, nullptr, nullptr, Qt::ApplicationShortcut);
    fullScreen->setAutoRepeat(false);
    connect(fullScreen, &QShortcut::activated, this, &Stage::toggleFullScreen);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::ApplicationShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (auto* form = qobject_cast<Form*>(front())) form->cancel();
    });
    setWindowTitle(ProgramTitle);
    if (QScreen* s = QGuiApplication::primaryScreen()) setGeometry(s->geometry());
    else resize(800, 600);
    // The cover lies beneath every screen until the backdrop is brought to the front. Raising it costs
    // less than showing it: a widget shown under the pointer asks the X server where the pointer is.
    m_cover->setGeometry(rect());
    setBackColor(theme::BackdropBlue);
    qApp->installEventFilter(this);
    installAccessibility();
    m_screensSettle.setSingleShot(true);
    m_screensSettle.setInterval(ScreenSettleMs);
    connect(&m_screensSettle, &QTimer::timeout, this, &Stage::screensSettled);
    if (scaleIsOurs()) {
        for (QScreen* s : QGuiApplication::screens()) watchScreen(s);
        connect(qApp, &QGuiApplication::screenAdded, this, &Stage::watchScreen);
    }
    // The keyboard's focus shows as the mouse's hover does, then its frame.
    connect(qApp, &QApplication::focusChanged, this, [](QWidget* old, QWidget* now) {
        if (Control* c = Control::of(old)) hoverByKeyboard(c, false);
        if (Control* c = Control::of(now)) hoverByKeyboard(c, true);
    });
}

// What the pointer does crossing into a control, done for the keyboard: the container's own movement
// (which clears every highlight on the screens that have one), then the control's.
static void hoverByKeyboard(Control* c, bool in) {
    QWidget* w = c->widget();
    QWidget* parent = w->parentWidget();
    // Only controls with a hover of their own: a text box taking the keyboard leaves the screen as it is.
    auto* entry = dynamic_cast<Label*>(c);
    if (entry && !entry->hovers()) entry = nullptr;
    if (!parent || (!entry && !c->onMouseMove)) return;
    const QPointF centre = QRectF(w->geometry()).center() * double(TwipsPerPixel);
    if (Control* frame = Control::of(parent)) {
        if (frame->onMouseMove) run([&] { frame->onMouseMove(0, 0, float(centre.x()), float(centre.y())); });
    } else if (auto* form = qobject_cast<Form*>(parent->parentWidget())) {
        form->unhover();
        run([&] { form->clientMouseMove(0, 0, float(centre.x()), float(centre.y())); });
    }
    if (!in || !w->isEnabled()) return;
    if (entry) entry->setBackStyle(1);
    if (c->onMouseMove) run([&] { c->onMouseMove(0, 0, c->widthTwips() / 2, c->heightTwips() / 2); });
}

bool Stage::eventFilter(QObject*, QEvent* e) {
    switch (e->type()) {
    // (A key the stage's shortcuts take, Escape or F11, comes only as its ShortcutOverride.)
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k != Qt::Key_Shift && k != Qt::Key_Control && k != Qt::Key_Alt && k != Qt::Key_Meta) m_keyboardUser = true;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::TouchBegin: m_keyboardUser = false; break;
    default: break;
    }
    switch (e->type()) {
    case QEvent::MouseButtonRelease: case QEvent::KeyPress: case QEvent::ShortcutOverride: case QEvent::TouchEnd: reportNameChangesSoon(); break;
    default: break;
    }
    return false;
}

void Stage::useScaleSetting() {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return;
    if (const double scale = core::scaleSetting(qgetenv("VELLACOURT_SCALE").constData())) {
        waitForFontconfig();
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    }
}

static char** startArgv = nullptr;

// The program started again in this process, with the environment as it now stands; returns only
// if that fails.
static void startAgain(char** argv) {
    if (!argv) return;
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    ::execv(self.constData(), argv);
}

std::function<void()> Stage::restartHook;

bool Stage::scaleIsOurs() {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return false;
    return !qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS") || qEnvironmentVariableIsSet("VELLACOURT_SCALED");
}

// A change of resolution comes as several changes of geometry; the last one, once settled, counts.
void Stage::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this, screen](const QRect& geometry) {
        m_newGeometry[screen] = geometry;
        m_screensSettle.start();
    });
}

void Stage::screensSettled() {
    m_rescale = false;
    for (auto [screen, geometry] : m_newGeometry.asKeyValueRange()) {
        if (!QGuiApplication::screens().contains(screen)) continue;
        const QSizeF pixels = QSizeF(geometry.size()) * screen->devicePixelRatio();
        m_rescale = m_rescale || std::abs(core::stageScale(pixels.width(), pixels.height()) - screen->devicePixelRatio()) > 0.005;
    }
    m_newGeometry.clear();
    rescaleWhenResting();
}

void Stage::rescaleWhenResting() {
    if (!m_rescale || !m_resting || front() != m_resting) return;
    m_rescale = false;
    if (restartHook) return restartHook();
    // The new start finds the scales afresh, and opens at the main menu.
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("VELLACOURT_SCALED");
    qputenv("VELLACOURT_START_AT_MENU", "1");
    startAgain(startArgv);  // returns only if it cannot: the program goes on as it was
    qunsetenv("VELLACOURT_START_AT_MENU");
}

// The factors for Qt: by name where every screen has one Qt can take; otherwise in screen order.
static QByteArray scaleFactors(const QStringList& names, const QList<double>& scales) {
    const bool allNamed = std::none_of(names.begin(), names.end(), [](const QString& n) {
        return n.isEmpty() || n.contains(QLatin1Char('=')) || n.contains(QLatin1Char(';'));
    });
    QStringList factors;
    for (qsizetype i = 0; i < scales.size(); ++i)
        factors << (allNamed ? names[i] + QLatin1Char('=') : QString()) + QString::number(scales[i]);
    return factors.join(QLatin1Char(';')).toUtf8();
}

static bool scaleGivenByHand() {
    return qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ||
           (qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS") && !qEnvironmentVariableIsSet("VELLACOURT_SCALED"));
}

void Stage::chooseScaleBeforeStart() {
    if (scaleGivenByHand() || qEnvironmentVariableIsSet("VELLACOURT_SCALED")) return;
    const QByteArray platformName = qgetenv("QT_QPA_PLATFORM");
    if (!platformName.isEmpty() && !platformName.startsWith("xcb")) return;
    QStringList names;
    QList<double> scales;
    bool change = false;
    for (const ProbedScreen& s : probeXScreens()) {
        names << QString::fromStdString(s.name);
        scales << core::stageScale(s.width, s.height);
        change = change || std::abs(scales.last() - 1) > 0.005;
    }
    if (!change) return;
    waitForFontconfig();  // the screens were asked about while it started; now the environment may change
    qputenv("QT_SCREEN_SCALE_FACTORS", scaleFactors(names, scales));
    qputenv("VELLACOURT_SCALED", "probed");
}

void Stage::restartAtScreenScale(char** argv) {
    startArgv = argv;
    const bool probed = qgetenv("VELLACOURT_SCALED") == "probed";
    if (scaleGivenByHand() || (qEnvironmentVariableIsSet("VELLACOURT_SCALED") && !probed)) return;
    // Each screen's scale, from its size in its own pixels, against the one Qt gave it.
    const QList<QScreen*> screens = QGuiApplication::screens();
    QStringList names;
    QList<double> scales;
    bool right = true;
    for (const QScreen* s : screens) {
        const double ratio = s->devicePixelRatio();
        const QSizeF pixels = QSizeF(s->geometry().size()) * ratio;
        names << s->name();
        scales << core::stageScale(pixels.width(), pixels.height());
        right = right && std::abs(scales.last() - ratio) < 0.005;
    }
    waitForFontconfig();
    if (right) {
        if (probed) qputenv("VELLACOURT_SCALED", "1");
        return;
    }
    // The screens Qt found are not the ones asked about before it started (another platform, or
    // names that did not match): the factors as Qt names its screens, and a second start.
    qputenv("QT_SCREEN_SCALE_FACTORS", scaleFactors(names, scales));
    qputenv("VELLACOURT_SCALED", "1");
    startAgain(argv);  // returns only if the program cannot be started again: it goes on as it is
}

void Stage::toggleFullScreen() {
    m_windowed = !m_windowed;
    // Set on the window, not the widget: the widget's flag unmaps and maps the window again, and the
    // window manager, taking it on afresh, loses the full-screen state Qt asks for.
    if (QWindow* window = windowHandle()) window->setFlag(Qt::FramelessWindowHint, !m_windowed);
    if (m_windowed) {
        showNormal();
        fitWindow();
        // The window manager frames the window only once it is shown: fitted again with that frame.
        QTimer::singleShot(FrameSettleMs, this, [this] {
            if (m_windowed) fitWindow();
        });
    } else {
        if (screen()) setGeometry(screen()->geometry());
        showFullScreen();
    }
    m_cover->setGeometry(rect());
    centreScreens();
}

void Stage::centreScreens() {
    for (Form* f : findChildren<Form*>(QString(), Qt::FindDirectChildrenOnly)) {
        f->centreOn(screenWidth(), screenHeight());
    }
}

// The design's own size, where the screen's work area has room for it and the window's frame; a
// scaled screen has not (the design fills it), and the window takes the work area instead.
void Stage::fitWindow() {
    const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, int(core::DesignWidth), int(core::DesignHeight));
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize room = work.size().shrunkBy(frame);
    const QSize size = QSize(int(core::DesignWidth), int(core::DesignHeight)).boundedTo(room);
    setGeometry(QRect(work.topLeft() + QPoint(frame.left() + (room.width() - size.width()) / 2,
                                              frame.top() + (room.height() - size.height()) / 2),
                      size));
    m_cover->setGeometry(rect());
    centreScreens();
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
    QWidget* w = front();
    auto* form = qobject_cast<Form*>(w);
    const QString caption = form ? form->text() : QString();
    setWindowTitle(caption.trimmed().isEmpty() ? ProgramTitle : caption);
    if (w == m_lastFront) return;
    if (m_lastFront && m_lastFront->isVisible()) reportShowing(m_lastFront, false);  // covered, not closed
    reportShowing(w, true);
    m_lastFront = w;
    // The screen in front takes the keyboard, so keys never act on a screen beneath it.
    if (form) form->takeFocus(m_keyboardUser);
    rescaleWhenResting();
}

void Stage::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), palette().color(QPalette::Window)); }

}  // namespace platform
