// The controls our screens are made of, placed in twips on a form's client area.
#pragma once
#include "platform/Picture.h"
#include "platform/Vb.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace platform {

constexpr float TwipsPerPixel = 15.0f;
inline int toPixels(float twips) { return int(std::lround(twips / TwipsPerPixel)); }

enum Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

// What every control has, beside the Qt widget that shows it.
class Control {
public:
    explicit Control(QWidget* self);
    virtual ~Control() = default;
    QWidget* widget() const { return m_w; }

    QString Name;
    int Index = -1;

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void Move(float left, float top, float width, float height);
    void Move(float left, float top) { Move(left, top, m_width, m_height); }

    bool Visible() const { return !m_w->isHidden(); }
    void SetVisible(bool v) { m_w->setVisible(v); }
    bool Enabled() const { return m_w->isEnabled(); }
    void SetEnabled(bool e);
    void SetFocus() { m_w->setFocus(Qt::OtherFocusReason); }

    quint32 BackColor() const { return m_back; }
    virtual void SetBackColor(quint32 bgr);
    quint32 ForeColor() const { return m_fore; }
    virtual void SetForeColor(quint32 bgr);
    void SetFont(const FontSpec& f) { m_w->setFont(makeFont(f)); }
    virtual QString Caption() const { return {}; }
    virtual void SetCaption(const QString&) {}

    // Events, bound by the form to its event procedures.
    std::function<void()> onClick;
    std::function<void(int button, int shift, float x, float y)> onMouseMove;

    // Mouse movement in twips with the button and shift masks, as the screens receive it.
    void fireMouseMove(QMouseEvent* e);

protected:
    QWidget* m_w;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    quint32 m_back = RGB(212, 208, 200), m_fore = Black;
};

// A caption drawn by us: opaque or transparent back, single-line border, greyed when disabled.
class Label : public QWidget, public Control {
    Q_OBJECT
public:
    explicit Label(QWidget* parent);
    QString Caption() const override { return m_caption; }
    void SetCaption(const QString& c) override { m_caption = c; update(); }
    int BackStyle() const { return m_opaque ? 1 : 0; }  // 0 transparent, 1 opaque
    void SetBackStyle(int style);
    void SetAlignment(Alignment a) { m_align = a; update(); }
    void SetBorder(bool single) { m_border = single; update(); }
    void SetBackColor(quint32 bgr) override { Control::SetBackColor(bgr); update(); }
    void SetForeColor(quint32 bgr) override { Control::SetForeColor(bgr); update(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); }

private:
    QString m_caption;
    bool m_opaque = true, m_border = false, m_pressed = false;
    Alignment m_align = LeftJustify;
};

class CommandButton : public QPushButton, public Control {
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent);
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
protected:
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); QPushButton::mouseMoveEvent(e); }
};

// A panel that holds other controls; an optional caption and an etched single-line border.
class Frame : public QWidget, public Control {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent);
    QString Caption() const override { return m_caption; }
    void SetCaption(const QString& c) override { m_caption = c; update(); }
    void SetBackColor(quint32 bgr) override { Control::SetBackColor(bgr); update(); }
protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); }
private:
    QString m_caption;
};

// Image (no back, no border) and picture box (back colour and a sunken border): a picture at its own size.
class PictureBox : public QWidget, public Control {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, bool framed);
    const Picture& picture() const { return m_picture; }
    void SetPicture(const Picture& p) { m_picture = p; update(); }
    void SetBackColor(quint32 bgr) override { Control::SetBackColor(bgr); update(); }
protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); }
    void mousePressEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent* e) override;
private:
    Picture m_picture;
    bool m_framed;
};

// A one-line text box; the maximum length limits typing only, so longer text set by the program stays whole.
class TextBox : public QLineEdit, public Control {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent);
    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); m_last = t; }
    int MaxLength() const { return m_max; }
    void SetMaxLength(int n) { m_max = n; }
    void SetBackColor(quint32 bgr) override;
    void SetForeColor(quint32 bgr) override;
    std::function<void(int& keyAscii)> onKeyPress;
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); QLineEdit::mouseMoveEvent(e); }
private:
    void edited(const QString& t);
    int m_max = 0;
    QString m_last;
};

class CheckBox : public QCheckBox, public Control {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent);
    int Value() const { return isChecked() ? 1 : 0; }
    void SetValue(int v) { setChecked(v != 0); }
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
    void SetBackColor(quint32 bgr) override;
    void SetForeColor(quint32 bgr) override;
protected:
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); QCheckBox::mouseMoveEvent(e); }
};

// Option buttons on one container form one group: selecting one clears the others.
class OptionButton : public QRadioButton, public Control {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent);
    bool Value() const { return isChecked(); }
    void SetValue(bool v) { setChecked(v); }
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
    void SetBackColor(quint32 bgr) override;
    void SetForeColor(quint32 bgr) override;
protected:
    void mouseMoveEvent(QMouseEvent* e) override { fireMouseMove(e); QRadioButton::mouseMoveEvent(e); }
};

// A timer that fires on the user-interface thread until it is disabled.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent);
    QString Name;
    bool Enabled() const { return m_timer.isActive(); }
    void SetEnabled(bool e) { e ? m_timer.start() : m_timer.stop(); }
    void SetInterval(int ms) { m_timer.setInterval(ms); }
    std::function<void()> onTimer;
private:
    QTimer m_timer;
};

}  // namespace platform
