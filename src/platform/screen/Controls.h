// The controls our screens are made of, placed in twips on a form's client area.
#pragma once
#include "platform/screen/StagePictures.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Fonts.h"
#include "platform/screen/Theme.h"
#include "platform/files/Core.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QStaticText>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

class QPainter;

namespace platform {

inline int toPixels(float twips) { return int(std::lround(twips / TwipsPerPixel)); }

enum Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

// A mouse event as the screens receive it: the button mask (1 left, 2 right, 4 middle), the shift
// mask (1 shift, 2 ctrl, 4 alt) and the position in twips relative to the control.
struct MouseArgs {
    int button = 0, shift = 0;
    float x = 0, y = 0;
};
// For a move the buttons held; for a press or release the one button that changed.
MouseArgs mouseArgs(const QMouseEvent* e);

// The single sunken line around menu entries and picture boxes.
void drawSunkenEdge(QPainter& p, const QRect& r);
// The outline QPainter::drawRect draws with a one-pixel pen (its right and bottom edges one pixel past
// the rectangle's), made of fills, which the raster engine draws many times faster.
void drawOutline(QPainter& p, const QRect& r, const QColor& c);

// The frame that shows which control has the keyboard: two pixels inside the edge of the part of the
// control that shows, in the colour that stands out from the control's back and, where one can, from
// what lies beyond each side too (the window's frame, where a control reaches the screen's edge).
void drawFocusFrame(QPainter& p, const QWidget* w, quint32 back, QRect around = {});

// Qt clips a painter to the region being repainted. Where that region is more than one rectangle
// (a frame round opaque children) every fill is blended line by line; clipped to one rectangle at a
// time, fills are plain memory fills. `paint` gets each rectangle, to pass over what lies outside it.
template <class Paint>
void paintByRects(QPainter& p, const QRegion& exposed, Paint paint) {
    if (exposed.rectCount() == 1) return paint(exposed.boundingRect());
    for (const QRect& r : exposed) {
        p.setClipRect(r);
        paint(r);
    }
}

// What every control has, beside the Qt widget that shows it.
class Control;
// Reading order for controls of one container: top to bottom, then left to right.
bool readingOrder(const Control* a, const Control* b);
// The item `step` places on from the one at `at` in a list that goes round; from none (`at` -1), the
// first going forward and the last going back. The list is not empty.
template <class T>
T* roundStep(const std::vector<T*>& items, qsizetype at, int step) {
    const qsizetype n = qsizetype(items.size());
    return items[size_t(at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n)];
}

class Control {
public:
    explicit Control(QWidget* self);
    // Forgets the widget's link to the control first: Qt may still ask about the widget as it goes.
    virtual ~Control();
    QWidget* widget() const { return m_w; }
    // The control a widget is, or null for a widget that is none of ours.
    static Control* of(const QObject* w);

    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    float widthTwips() const { return m_width; }
    float heightTwips() const { return m_height; }
    void moveTo(float left, float top, float width, float height);
    void moveTo(float left, float top) { moveTo(left, top, m_width, m_height); }

    bool isShown() const { return !m_w->isHidden(); }
    void setShown(bool v) { m_w->setVisible(v); }
    bool isEnabled() const { return m_w->isEnabled(); }
    void setEnabled(bool e);
    void setFocus() { m_w->setFocus(Qt::OtherFocusReason); }
    // Whether Tab stops on the control. A label does where it can be clicked, unless a screen says otherwise.
    // (Our own flag: Qt takes Tab from the options of a group that are not selected.)
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool stop) {
        m_tabStopSet = false;
        setTabStopByDefault(stop);
        m_tabStopSet = true;
    }
    // What a label is when its screen has not said: a stop if it can be clicked.
    void setTabStopByDefault(bool stop) {
        if (m_tabStopSet) return;
        m_tabStop = stop;
        m_w->setFocusPolicy(stop ? Qt::TabFocus : Qt::NoFocus);
    }
    // Brings the control in front of every other control of its container.
    void putOnTop() { m_w->raise(); }
    // Where the control stands among its container's children: a higher one is drawn over a lower one.
    int stackPosition() const { return m_w->parentWidget() ? int(m_w->parentWidget()->children().indexOf(m_w)) : 0; }

    quint32 backColor() const { return m_back; }
    void setBackColor(quint32 bgr) {
        m_back = bgr;
        coloursChanged();
    }
    quint32 foreColor() const { return m_fore; }
    void setForeColor(quint32 bgr) {
        m_fore = bgr;
        coloursChanged();
    }
    void setFont(const FontDesc& f) { m_w->setFont(makeFont(f)); }
    virtual QString text() const { return {}; }
    virtual void setText(const QString&) {}
    // What a screen reader calls the control: its caption, unless the screen describes it (a tile
    // says which digit it carries and where it stands).
    std::function<QString()> describe;
    QString accessibleName() const {
        return !m_w->accessibleName().isEmpty() ? m_w->accessibleName() : describe ? describe() : text();
    }
    // A fixed name, for a box or tick that has no caption of its own.
    void setAccessibleName(const QString& name) { m_w->setAccessibleName(name); }
    // The control whose name this one's words are already part of (the quiz's question, in its
    // answers' group): a reader then does not read them again as loose words on the screen.
    Control* labels = nullptr;
    // The colour around the control: its container's back.
    quint32 backAround() const;

    // Events, bound by the form to its event procedures.
    std::function<void()> onClick;
    std::function<void(int button, int shift, float x, float y)> onMouseDown, onMouseMove, onMouseUp;

protected:
    // Controls Qt draws itself take their colours through the palette; ours just repaint.
    virtual void coloursChanged() { m_w->update(); }
    void setPaletteColours(QPalette::ColorRole back1, QPalette::ColorRole back2, QPalette::ColorRole fore);
    // Mouse events handed on to the screen: true when the left button went down and up on the control.
    void firePress(QMouseEvent* e);
    void fireMove(QMouseEvent* e);
    bool fireRelease(QMouseEvent* e);

    QWidget* m_w;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    quint32 m_back = theme::ButtonFace, m_fore = Black;

private:
    bool m_pressed = false;
    bool m_tabStop = false, m_tabStopSet = false;
};

// A Qt widget that is a control: its mouse goes to the screen's events, then to Qt's own handling.
// A press keeps the moves and the release of that button for this control until it is released.
template <class QtBase>
class ControlWidget : protected QtBase, public Control {
public:
    explicit ControlWidget(QWidget* parent) : QtBase(parent), Control(this) {}
    // A control's words are the control's, whatever its Qt widget calls its own.
    using Control::setText;
    using Control::text;
    using Control::setEnabled;
    using Control::isEnabled;
    using Control::setFocus;
    using Control::setFont;
    using Control::setAccessibleName;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        QtBase::mousePressEvent(e);
        firePress(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QtBase::mouseMoveEvent(e);
        fireMove(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QtBase::mouseReleaseEvent(e);
        // Buttons and boxes report their click through Qt's own signal (keyboard included).
        if (fireRelease(e) && !std::is_base_of_v<QAbstractButton, QtBase> && onClick) run(onClick);
    }
    // Controls Qt draws get our focus frame over Qt's own faint mark.
    void paintEvent(QPaintEvent* e) override {
        QtBase::paintEvent(e);
        if (this->hasFocus()) {
            QPainter p(this);
            drawFocusFrame(p, this, m_back);
        }
    }
};

// A caption drawn by us: opaque or transparent back, single-line border, greyed when disabled.
class Label : public ControlWidget<QWidget> {
public:
    explicit Label(QWidget* parent);
    QString text() const override { return m_caption; }
    void setText(const QString& c) override;
    int backStyle() const { return m_opaque ? 1 : 0; }  // 0 transparent, 1 opaque
    void setBackStyle(int style);
    void setAlignment(Alignment a);
    void setBorder(bool single) {
        m_border = single;
        update();
    }
    // A menu entry: lit while the pointer is on it (the screen puts it out again).
    bool hovers() const { return m_hover; }
    void setHover(bool hover) { m_hover = hover; }

protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent* e) override;
    // Enter and Space do what a click does.
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (m_hover) setBackStyle(1);
        ControlWidget::mouseMoveEvent(e);
    }

private:
    QString m_caption;
    QStaticText m_text;
    int m_layoutWidth = -1;  // the width the caption was laid out for; -1: lay it out again
    bool m_opaque = true, m_border = false, m_hover = false;
    Alignment m_align = LeftJustify;
};

class CommandButton : public ControlWidget<QPushButton> {
public:
    explicit CommandButton(QWidget* parent);
    QString text() const override { return QPushButton::text(); }
    void setText(const QString& c) override { QPushButton::setText(c); }

protected:
    // Enter does what Space and a click do.
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) return click();
        QPushButton::keyPressEvent(e);
    }
};

// A panel that holds other controls; an optional caption and an etched single-line border.
class Frame : public ControlWidget<QWidget> {
public:
    // A frame fills its rectangle, so what lies beneath need not be painted.
    explicit Frame(QWidget* parent) : ControlWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    // A plain frame draws nothing: it only gathers what lies in it (the quiz's answers, one group to a
    // screen reader).
    void setPlain(bool plain) {
        m_plain = plain;
        setAttribute(Qt::WA_OpaquePaintEvent, !plain);
    }
    QString text() const override { return m_caption; }
    void setText(const QString& c) override {
        m_caption = c;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_caption;
    bool m_plain = false;
};

// Image (no back, no border) and picture box (back colour and a sunken border): a picture at its own size.
class PictureBox : public ControlWidget<QWidget> {
public:
    // A picture box fills its back colour over its rectangle; an image shows what lies beneath.
    PictureBox(QWidget* parent, bool framed) : ControlWidget(parent), m_framed(framed) {
        setAttribute(Qt::WA_OpaquePaintEvent, framed);
    }
    const Picture& picture() const { return m_picture; }
    void setPicture(const Picture& p) {
        m_picture = p;
        m_shown.forget();
        update();
    }
    QString text() const override { return m_picture.description(); }
    void setStretch(bool stretch) { m_stretch = stretch; }
    // What lies under the picture: the back colour of a picture box, or of the screen under an image
    // that lies lowest on a screen of one colour; otherwise nothing known (the picture is blended).
    QColor fill() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    Picture m_picture;
    ShownPicture m_shown;
    bool m_framed;
    bool m_stretch = false;
};

// A filled rectangle with a thin border; it lies under the other controls and never takes the mouse.
// A picture without a back or frame of its own: what lies beneath shows round it.
class Image : public PictureBox {
public:
    explicit Image(QWidget* parent) : PictureBox(parent, false) {}
};

class Shape : public ControlWidget<QWidget> {
public:
    explicit Shape(QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A one-line text box; the maximum length limits typing only, so longer text set by the program stays whole.
class TextBox : public ControlWidget<QLineEdit> {
public:
    explicit TextBox(QWidget* parent);
    // What is typed in the box.
    QString contents() const { return QLineEdit::text(); }
    void setContents(const QString& t) {
        QLineEdit::setText(t);
        m_last = t;
    }
    int MaxLength() const { return m_max; }
    void setTypingLimit(int n) { m_max = n; }
    std::function<void(int& keyAscii)> onKeyPress;

protected:
    void coloursChanged() override { setPaletteColours(QPalette::Base, QPalette::Base, QPalette::Text); }
    void keyPressEvent(QKeyEvent* e) override;

private:
    void edited(const QString& t);
    int m_max = 0;
    QString m_last;
};

// Check boxes and option buttons: a box and a caption on the control's own back colour.
template <class QtButton>
class ChoiceControl : public ControlWidget<QtButton> {
public:
    explicit ChoiceControl(QWidget* parent) : ControlWidget<QtButton>(parent) { this->setAutoFillBackground(true); }
    QString text() const override { return QtButton::text(); }
    void setText(const QString& c) override { QtButton::setText(c); }

protected:
    void coloursChanged() override {
        this->setPaletteColours(QPalette::Window, QPalette::Button, QPalette::WindowText);
    }
    // Enter does what Space and a click do.
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) return this->click();
        QtButton::keyPressEvent(e);
    }
    // The whole rectangle is the button, not only its box and words: a pupil clicks anywhere on the row.
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

class CheckBox : public ChoiceControl<QCheckBox> {
public:
    explicit CheckBox(QWidget* parent);
    bool isTicked() const { return isChecked(); }
    void setTicked(bool on) { setChecked(on); }
};

// Option buttons on one container form one group: selecting one clears the others.
class OptionButton : public ChoiceControl<QRadioButton> {
public:
    explicit OptionButton(QWidget* parent);
    bool isChosen() const { return isChecked(); }
    void setChosen(bool on) { setChecked(on); }
    // The options of this group a pupil can reach, top to bottom; an option kept out of the keyboard's
    // way (the quiz's "no answer") is never one of them.
    std::vector<OptionButton*> group() const;
    // The one of its group that Tab stops at: the chosen one, else the first.
    OptionButton* groupStop() const;
    // Where it stands in its group, as a reader says it: "2 of 4" (empty when out of the group).
    QString placeInGroup() const;

protected:
    // The arrow keys move to the group's next or previous option the pupil can see, and select it;
    // Enter selects, as Space does.
    void keyPressEvent(QKeyEvent* e) override;
};

// A list to choose one of, closed to a line until opened (by a click, a tap, Alt+Down or F4); the
// arrow keys choose the next or previous without opening it.
class ChoiceBox : public ControlWidget<QComboBox> {
public:
    explicit ChoiceBox(QWidget* parent);
    // The choices; the first is chosen. Setting them is not a change of the pupil's.
    void setChoices(const QStringList& choices);
    int chosen() const { return currentIndex(); }
    QString chosenText() const { return currentText(); }
    void choose(int index);
    std::function<void()> onChange;  // chosen by the user

protected:
    void coloursChanged() override;
};

// A table of the rows a model gives: a row is chosen by a click, a tap or the arrow keys, and opened by
// a double click or Enter; a click on a column's heading sorts by it. Tab leaves the table.
class TableBox : public ControlWidget<QTableView> {
public:
    explicit TableBox(QWidget* parent);
    // The rows shown (a model of the screen's, sorted by the column that `sortRole` gives a value for).
    void showRows(QAbstractItemModel* model);
    QAbstractItemModel* rows() const { return model(); }
    // The chosen row (-1 for none), in the order shown.
    int chosenRow() const;
    void sortBy(int column, Qt::SortOrder order) { sortByColumn(column, order); }
    int sortColumn() const { return horizontalHeader()->sortIndicatorSection(); }
    Qt::SortOrder sortOrder() const { return horizontalHeader()->sortIndicatorOrder(); }
    // Column widths in twips; the last column takes what is left.
    void setColumnWidths(const std::vector<float>& twips);
    std::function<void()> onOpen;            // a row opened
    std::function<void()> onSortChange;      // sorted by another column or order

protected:
    void coloursChanged() override;
    void keyPressEvent(QKeyEvent* e) override;
    // Coming to the table, the keyboard is on its first row, which a reader then says.
    void focusInEvent(QFocusEvent* e) override;
    // The focus frame round the rows' part of the table (the part that scrolls draws itself).
    void paintEvent(QPaintEvent* e) override;
};

// A timer that fires on the user-interface thread until it is disabled.
class Timer : public QObject {
public:
    explicit Timer(QObject* parent);
    bool isEnabled() const { return m_timer.isActive(); }
    void setEnabled(bool e) { e ? m_timer.start() : m_timer.stop(); }
    int interval() const { return m_timer.interval(); }
    void setInterval(int ms) { m_timer.setInterval(ms); }
    std::function<void()> onTimer;

private:
    QTimer m_timer;
};

}  // namespace platform
