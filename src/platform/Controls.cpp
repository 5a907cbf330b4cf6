#include "platform/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace platform {

Control::Control(QWidget* self) : m_w(self) {
    // A control takes its own mouse events; only the bare form reports movement to the form.
    m_w->setAttribute(Qt::WA_NoMousePropagation);
    m_w->setMouseTracking(true);
}

void Control::Move(float left, float top, float width, float height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_w->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

void Control::SetEnabled(bool e) {
    m_w->setEnabled(e);
    // A disabled control is not there for the mouse: movement over it is movement over its container.
    m_w->setAttribute(Qt::WA_NoMousePropagation, e);
}

void Control::SetBackColor(quint32 bgr) { m_back = bgr; }
void Control::SetForeColor(quint32 bgr) { m_fore = bgr; }

void Control::fireMouseMove(QMouseEvent* e) {
    e->accept();
    if (!onMouseMove) return;
    int button = 0, shift = 0;
    const Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton) button |= 1;
    if (b & Qt::RightButton) button |= 2;
    if (b & Qt::MiddleButton) button |= 4;
    const Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::ShiftModifier) shift |= 1;
    if (m & Qt::ControlModifier) shift |= 2;
    if (m & Qt::AltModifier) shift |= 4;
    const QPointF p = e->position();
    const float x = float(p.x()) * TwipsPerPixel, y = float(p.y()) * TwipsPerPixel;
    run([&] { onMouseMove(button, shift, x, y); });
}

static void clickOnRelease(Control& c, QWidget* w, bool& pressed, QMouseEvent* e) {
    const bool wasPressed = pressed;
    pressed = false;
    e->accept();
    if (e->button() == Qt::LeftButton && wasPressed && w->rect().contains(e->position().toPoint()) && c.onClick)
        run(c.onClick);
}

// ---- Label

Label::Label(QWidget* parent) : QWidget(parent), Control(this) {}

void Label::SetBackStyle(int style) {
    if (m_opaque == (style != 0)) return;
    m_opaque = style != 0;
    update();
}

void Label::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    if (m_opaque) p.fillRect(r, toQColor(m_back));
    if (m_border) {
        // A single sunken line, as the menu entries are drawn.
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    const int align = Qt::AlignTop | Qt::TextWordWrap |
                      (m_align == Center ? Qt::AlignHCenter : m_align == RightJustify ? Qt::AlignRight : Qt::AlignLeft);
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(toQColor(m_fore));
        p.drawText(r, align, m_caption);
    } else {
        // Greyed: an etched caption, white under grey.
        p.setPen(Qt::white);
        p.drawText(r.translated(1, 1), align, m_caption);
        p.setPen(QColor(128, 128, 128));
        p.drawText(r, align, m_caption);
    }
}

void Label::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) m_pressed = true;
}

void Label::mouseReleaseEvent(QMouseEvent* e) { clickOnRelease(*this, this, m_pressed, e); }

// ---- CommandButton

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent), Control(this) {
    connect(this, &QPushButton::clicked, this, [this] { if (onClick) run(onClick); });
}

// ---- Frame

Frame::Frame(QWidget* parent) : QWidget(parent), Control(this) {}

void Frame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_back));
    p.setFont(font());
    const int top = m_caption.isEmpty() ? 0 : fontMetrics().height() / 2;
    const QRect r = rect().adjusted(0, top, -1, -1);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(Qt::white);
    p.drawRect(r.adjusted(1, 1, 0, 0));
    if (!m_caption.isEmpty()) {
        const QRect text(8, 0, fontMetrics().horizontalAdvance(m_caption) + 4, fontMetrics().height());
        p.fillRect(text, toQColor(m_back));
        p.setPen(toQColor(m_fore));
        p.drawText(text, Qt::AlignCenter, m_caption);
    }
}

// ---- PictureBox / Image

PictureBox::PictureBox(QWidget* parent, bool framed) : QWidget(parent), Control(this), m_framed(framed) {}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    int inset = 0;
    if (m_framed) {
        p.fillRect(rect(), toQColor(m_back));
        const QRect r = rect();
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        inset = 2;
        p.setClipRect(rect().adjusted(inset, inset, -inset, -inset));
    }
    m_picture.draw(p, QPoint(inset, inset));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick) run(onClick);
}

// ---- TextBox

TextBox::TextBox(QWidget* parent) : QLineEdit(parent), Control(this) {
    m_back = White;
    connect(this, &QLineEdit::textEdited, this, &TextBox::edited);
}

void TextBox::edited(const QString& t) {
    // Typing or pasting past the limit is refused; text the program put there is never cut.
    if (m_max > 0 && t.size() > m_max && t.size() > m_last.size()) {
        const int cursor = cursorPosition() - int(t.size() - m_last.size());
        setText(m_last);
        setCursorPosition(std::max(0, cursor));
        return;
    }
    m_last = t;
}

void TextBox::keyPressEvent(QKeyEvent* e) {
    if (onKeyPress) {
        int key = 0;
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) key = 13;
        else if (e->text().size() == 1) key = e->text().at(0).unicode();
        if (key) {
            run([&] { onKeyPress(key); });
            if (key == 0) return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

static void setRole(QWidget* w, QPalette::ColorRole role, quint32 bgr) {
    QPalette p = w->palette();
    p.setColor(role, toQColor(bgr));
    w->setPalette(p);
}

void TextBox::SetBackColor(quint32 bgr) { Control::SetBackColor(bgr); setRole(this, QPalette::Base, bgr); }
void TextBox::SetForeColor(quint32 bgr) { Control::SetForeColor(bgr); setRole(this, QPalette::Text, bgr); }

// ---- CheckBox and OptionButton

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent), Control(this) {
    setAutoFillBackground(true);
    connect(this, &QCheckBox::stateChanged, this, [this] { if (onClick) run(onClick); });
}
void CheckBox::SetBackColor(quint32 bgr) {
    Control::SetBackColor(bgr);
    setRole(this, QPalette::Window, bgr);
    setRole(this, QPalette::Button, bgr);
}
void CheckBox::SetForeColor(quint32 bgr) { Control::SetForeColor(bgr); setRole(this, QPalette::WindowText, bgr); }

OptionButton::OptionButton(QWidget* parent) : QRadioButton(parent), Control(this) {
    setAutoFillBackground(true);
    connect(this, &QRadioButton::toggled, this, [this](bool on) { if (on && onClick) run(onClick); });
}
void OptionButton::SetBackColor(quint32 bgr) {
    Control::SetBackColor(bgr);
    setRole(this, QPalette::Window, bgr);
    setRole(this, QPalette::Button, bgr);
}
void OptionButton::SetForeColor(quint32 bgr) { Control::SetForeColor(bgr); setRole(this, QPalette::WindowText, bgr); }

// ---- Timer

Timer::Timer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [this] { if (onTimer) run(onTimer); });
}

}  // namespace platform
