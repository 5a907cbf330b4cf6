#include "platform/screen/Controls.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Form.h"
#include "core/Contrast.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace platform {

MouseArgs mouseArgs(const QMouseEvent* e) {
    MouseArgs a;
    const Qt::MouseButtons b = e->type() == QEvent::MouseMove ? e->buttons() : Qt::MouseButtons(e->button());
    if (b & Qt::LeftButton) a.button |= 1;
    if (b & Qt::RightButton) a.button |= 2;
    if (b & Qt::MiddleButton) a.button |= 4;
    const Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::ShiftModifier) a.shift |= 1;
    if (m & Qt::ControlModifier) a.shift |= 2;
    if (m & Qt::AltModifier) a.shift |= 4;
    const QPointF p = e->position();
    a.x = float(p.x()) * TwipsPerPixel;
    a.y = float(p.y()) * TwipsPerPixel;
    return a;
}

void drawSunkenEdge(QPainter& p, const QRect& r) {
    // One-pixel fills: the raster engine draws them faster than lines.
    const QColor shadow(128, 128, 128);
    p.fillRect(r.left(), r.top(), r.width(), 1, shadow);
    p.fillRect(r.left(), r.top(), 1, r.height(), shadow);
    p.fillRect(r.left() + 1, r.bottom(), r.width() - 1, 1, Qt::white);
    p.fillRect(r.right(), r.top() + 1, 1, r.height() - 1, Qt::white);
}

void drawOutline(QPainter& p, const QRect& r, const QColor& c) {
    const int x0 = r.left(), y0 = r.top(), x1 = r.left() + r.width(), y1 = r.top() + r.height();
    p.fillRect(x0, y0, x1 - x0 + 1, 1, c);
    p.fillRect(x0, y0, 1, y1 - y0 + 1, c);
    p.fillRect(x1, y0, 1, y1 - y0 + 1, c);
    p.fillRect(x0, y1, x1 - x0 + 1, 1, c);
}

// The part of `shows` that the control's containers let show, and the colour beyond each of its sides
// (left, top, right, bottom): what lies round the control, except where a container's edge bounds it.
// A button of the bottom row reaches the screen's edge or past it, and there the window's frame lies
// beyond; at a frame's edge, what lies round the frame.
static QRect shownPart(const QWidget* w, QRect shows, quint32 around, quint32 (&beyond)[4]) {
    std::fill(std::begin(beyond), std::end(beyond), around);
    for (const QWidget* a = w->parentWidget(); a; a = a->parentWidget()) {
        const QRect edge(w->mapFrom(a, QPoint(0, 0)), a->size());
        shows &= edge;
        const bool screen = qobject_cast<const Form*>(a->parentWidget());
        const Control* frame = Control::of(a);
        if (screen || frame) {
            const quint32 colour = screen ? fromQColor(theme::frameFace()) : frame->backAround();
            if (shows.left() == edge.left()) beyond[0] = colour;
            if (shows.top() == edge.top()) beyond[1] = colour;
            if (shows.right() == edge.right()) beyond[2] = colour;
            if (shows.bottom() == edge.bottom()) beyond[3] = colour;
        }
        if (screen) break;
    }
    return shows;
}

void drawFocusFrame(QPainter& p, const QWidget* w, quint32 back, QRect around) {
    const Control* c = Control::of(w);
    quint32 beyond[4];
    // Drawn where the control shows, so that no side of it is cut away with the control's rectangle.
    const QRect r = shownPart(w, around.isEmpty() ? w->rect() : around, c ? c->backAround() : back, beyond);
    if (r.isEmpty()) return;
    constexpr int t = 2;
    p.setClipping(false);
    // Each side in the colours that stand out from what lies beyond that side: a side on the window's
    // edge gets an outer ring of its own.
    const auto side = [](const QRect& r, int k) {
        return k == 0 ? QRect(r.left(), r.top(), t, r.height())
               : k == 1 ? QRect(r.left(), r.top(), r.width(), t)
               : k == 2 ? QRect(r.right() - t + 1, r.top(), t, r.height())
                        : QRect(r.left(), r.bottom() - t + 1, r.width(), t);
    };
    core::FrameRings rings[4];
    for (int k = 0; k < 4; ++k) {
        rings[k] = core::focusFrameRings(back, beyond[k]);
        p.fillRect(side(r, k), toQColor(rings[k].outer));
    }
    for (int k = 0; k < 4; ++k)
        if (rings[k].inner != rings[k].outer) p.fillRect(side(r.adjusted(t, t, -t, -t), k), toQColor(rings[k].inner));
}

static const char* const ControlProperty = "vellacourtControl";

Control::Control(QWidget* self) : m_w(self) {
    // A control takes its own mouse events; only the bare form reports movement to the form.
    m_w->setAttribute(Qt::WA_NoMousePropagation);
    m_w->setMouseTracking(true);
    m_w->setProperty(ControlProperty, QVariant::fromValue(static_cast<void*>(this)));
    // Only Tab gives a control the keyboard, so a click never leaves a focus frame behind it; a text
    // box takes it from a click too, to be typed in.
    m_tabStop = m_w->focusPolicy() != Qt::NoFocus;
    if (!qobject_cast<QLineEdit*>(m_w)) m_w->setFocusPolicy(m_tabStop ? Qt::TabFocus : Qt::NoFocus);
}

bool readingOrder(const Control* a, const Control* b) {
    return std::pair(a->topTwips(), a->leftTwips()) < std::pair(b->topTwips(), b->leftTwips());
}

Control::~Control() { m_w->setProperty(ControlProperty, QVariant()); }

Control* Control::of(const QObject* w) {
    return w ? static_cast<Control*>(w->property(ControlProperty).value<void*>()) : nullptr;
}

quint32 Control::backAround() const {
    const QWidget* parent = m_w->parentWidget();
    // A square of colour under the control and round its edge (a tile on a net's square) is what lies
    // beside the frame, not the screen's own colour.
    if (parent) {
        const QRect edge = m_w->geometry().adjusted(-2, -2, 2, 2);
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(m_w) - 1; i >= 0; --i) {
            const auto* w = qobject_cast<const QWidget*>(siblings[i]);
            const auto* square = w && !w->isHidden() ? dynamic_cast<const Shape*>(of(w)) : nullptr;
            if (square && w->geometry().contains(edge)) return square->backColor();
        }
    }
    if (const Control* frame = of(parent)) return frame->backColor();
    if (const auto* form = parent ? qobject_cast<const Form*>(parent->parentWidget()) : nullptr) return form->backColor();
    return m_back;
}

void Control::moveTo(float left, float top, float width, float height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_w->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

void Control::setEnabled(bool e) {
    m_w->setEnabled(e);
    // A disabled control is not there for the mouse: movement over it is movement over its container.
    m_w->setAttribute(Qt::WA_NoMousePropagation, e);
}

void Control::setPaletteColours(QPalette::ColorRole back1, QPalette::ColorRole back2, QPalette::ColorRole fore) {
    QPalette p = m_w->palette();
    p.setColor(back1, toQColor(m_back));
    p.setColor(back2, toQColor(m_back));
    p.setColor(fore, toQColor(m_fore));
    m_w->setPalette(p);
}

static void fire(const std::function<void(int, int, float, float)>& event, const QMouseEvent* e) {
    if (!event) return;
    const MouseArgs a = mouseArgs(e);
    run([&] { event(a.button, a.shift, a.x, a.y); });
}

void Control::firePress(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) m_pressed = true;
    fire(onMouseDown, e);
}

void Control::fireMove(QMouseEvent* e) {
    e->accept();
    fire(onMouseMove, e);
}

bool Control::fireRelease(QMouseEvent* e) {
    e->accept();
    const bool click = e->button() == Qt::LeftButton && m_pressed && m_w->rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) m_pressed = false;
    fire(onMouseUp, e);
    return click;
}

// ---- Label

Label::Label(QWidget* parent) : ControlWidget(parent) {
    m_text.setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaque);
}

void Label::setBackStyle(int style) {
    if (m_opaque == (style != 0)) return;
    m_opaque = style != 0;
    // An opaque label covers its rectangle, so what lies beneath it need not be painted.
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaque);
    update();
}

void Label::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    if (m_opaque) p.fillRect(r, toQColor(m_back));
    if (m_border) {
        drawSunkenEdge(p, r);
        r.adjust(1, 1, -1, -1);
    }
    if (m_caption.isEmpty()) return;
    // The caption is laid out once and drawn from that layout until it, the font or the width changes.
    if (m_layoutWidth != r.width()) {
        QTextOption option(m_align == Center         ? Qt::AlignHCenter
                           : m_align == RightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft);
        option.setWrapMode(QTextOption::WordWrap);
        m_text.setTextOption(option);
        m_text.setTextWidth(r.width());
        m_text.prepare(QTransform(), font());
        m_layoutWidth = r.width();
    }
    p.setFont(font());
    if (hasFocus()) drawFocusFrame(p, this, m_opaque ? m_back : backAround());
    if (isEnabled()) {
        p.setPen(toQColor(m_fore));
        p.drawStaticText(r.topLeft(), m_text);
    } else {
        // Greyed: an etched caption, white under grey.
        p.setPen(Qt::white);
        p.drawStaticText(r.topLeft() + QPoint(1, 1), m_text);
        p.setPen(theme::shadow());
        p.drawStaticText(r.topLeft(), m_text);
    }
}

void Label::setText(const QString& c) {
    if (c == m_caption) return;
    m_caption = c;
    m_text.setText(c);
    m_layoutWidth = -1;
    update();
}

void Label::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) m_layoutWidth = -1;
    ControlWidget::changeEvent(e);
}

// Enter or Space clicks a label or picture that can be clicked; true when it did.
static bool clickedByKey(Control& c, QKeyEvent* e) {
    const int k = e->key();
    if ((k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Space) || !c.onClick || e->isAutoRepeat()) return false;
    e->accept();
    run(c.onClick);
    return true;
}

void Label::keyPressEvent(QKeyEvent* e) {
    if (!clickedByKey(*this, e)) ControlWidget::keyPressEvent(e);
}

void Label::setAlignment(Alignment a) {
    m_align = a;
    m_layoutWidth = -1;
    update();
}

// ---- CommandButton

CommandButton::CommandButton(QWidget* parent) : ControlWidget(parent) {
    connect(this, &QPushButton::clicked, this, [this] {
        if (onClick) run(onClick);
    });
}

// ---- Frame

void Frame::paintEvent(QPaintEvent* e) {
    if (m_plain) return;
    QPainter p(this);
    p.setFont(font());
    const int top = m_caption.isEmpty() ? 0 : fontMetrics().height() / 2;
    const QRect r = rect().adjusted(0, top, -1, -1);
    const QRect text(8, 0, fontMetrics().horizontalAdvance(m_caption) + 4, fontMetrics().height());
    paintByRects(p, e->region(), [&](const QRect& area) {
        p.fillRect(area, toQColor(m_back));
        drawOutline(p, r.adjusted(0, 0, -1, -1), theme::shadow());
        drawOutline(p, r.adjusted(1, 1, 0, 0), Qt::white);
        if (m_caption.isEmpty() || !area.intersects(text)) return;
        p.fillRect(text, toQColor(m_back));
        p.setPen(toQColor(m_fore));
        p.drawText(text, Qt::AlignCenter, m_caption);
    });
}

// ---- PictureBox / Image

// An image played onto a known colour is shown as a plain copy, not blended over what lies beneath:
// at a whiteboard's scale a page blended takes several times as long to show.
QColor PictureBox::fill() const {
    if (m_framed) return toQColor(m_back);
    const QWidget* parent = parentWidget();
    const auto* form = parent ? qobject_cast<const Form*>(parent->parentWidget()) : nullptr;
    if (!form || !form->picture().isNull() || parent->children().isEmpty() || parent->children().first() != this)
        return {};
    return toQColor(form->backColor());
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    int inset = 0;
    if (m_framed) {
        p.fillRect(rect(), toQColor(m_back));
        drawSunkenEdge(p, rect());
        inset = 2;
        p.setClipRect(rect().adjusted(inset, inset, -inset, -inset));
    }
    if (m_stretch && !m_picture.isNull()) {
        // Whole and centred in the box, smoothly: a portrait larger than its box shows its sitter, not a corner.
        const QSizeF room = QSizeF(size()) - QSizeF(2 * inset, 2 * inset);
        const QSizeF fitted = QSizeF(m_picture.size()).scaled(room, Qt::KeepAspectRatio);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        m_picture.draw(p, QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted));
    } else {
        m_shown.draw(p, m_picture, QPoint(inset, inset), fill());
    }
    // A page taller than its screen is framed where it shows, against the paper just inside.
    if (hasFocus()) {
        const QRect shows = visibleRegion().boundingRect();
        const QColor inside = m_shown.colourAt(QPoint(shows.left() + 4, shows.center().y()));
        drawFocusFrame(p, this, inside.isValid() ? fromQColor(inside) : backAround(), shows);
    }
}

void PictureBox::keyPressEvent(QKeyEvent* e) {
    if (!clickedByKey(*this, e)) ControlWidget::keyPressEvent(e);
}

// ---- Shape

Shape::Shape(QWidget* parent) : ControlWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_back));
    // Filled, not stroked: at a fractional scale a pen would leave a sliver of what lies beneath.
    drawOutline(p, rect().adjusted(0, 0, -1, -1), toQColor(m_fore));
}

// ---- TextBox

TextBox::TextBox(QWidget* parent) : ControlWidget(parent) {
    m_back = White;
    // Text the program sets is never cut, so Qt's own limit must lie beyond any text a worksheet holds.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { edited(text); });
}

void TextBox::edited(const QString& t) {
    // Typing or pasting past the limit is refused; text the program put there is never cut.
    if (m_max > 0 && t.size() > m_max && t.size() > m_last.size()) {
        const int cursor = cursorPosition() - int(t.size() - m_last.size());
        QLineEdit::setText(m_last);
        setCursorPosition(std::max(0, cursor));
        return;
    }
    m_last = t;
}

void TextBox::keyPressEvent(QKeyEvent* e) {
    if (onKeyPress) {
        int key = 0;
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            key = 13;
        else if (e->text().size() == 1)
            key = e->text().at(0).unicode();
        if (key) {
            run([&] { onKeyPress(key); });
            if (key == 0) return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

// ---- CheckBox and OptionButton

CheckBox::CheckBox(QWidget* parent) : ChoiceControl(parent) {
    connect(this, &QCheckBox::stateChanged, this, [this] {
        if (onClick) run(onClick);
    });
}

OptionButton::OptionButton(QWidget* parent) : ChoiceControl(parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on && onClick) run(onClick);
    });
}

std::vector<OptionButton*> OptionButton::group() const {
    std::vector<OptionButton*> group;
    for (QObject* o : parentWidget()->children()) {
        auto* b = dynamic_cast<OptionButton*>(Control::of(o));
        if (b && b->isVisible() && b->isEnabled() && b->tabStop()) group.push_back(b);
    }
    std::sort(group.begin(), group.end(), readingOrder);
    return group;
}

OptionButton* OptionButton::groupStop() const {
    const std::vector<OptionButton*> options = group();
    const auto chosen = std::find_if(options.begin(), options.end(), [](const OptionButton* b) { return b->isChosen(); });
    return chosen != options.end() ? *chosen : options.empty() ? nullptr : options.front();
}

QString OptionButton::placeInGroup() const {
    const std::vector<OptionButton*> options = group();
    const auto at = std::find(options.begin(), options.end(), this);
    if (at == options.end()) return {};
    return QStringLiteral("%1 of %2").arg(at - options.begin() + 1).arg(options.size());
}

void OptionButton::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    const int step = k == Qt::Key_Down || k == Qt::Key_Right ? 1 : k == Qt::Key_Up || k == Qt::Key_Left ? -1 : 0;
    // Space or Enter on the option already chosen changes nothing a reader would hear: it is said.
    if ((k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter) && isChosen() && !e->isAutoRepeat()) {
        e->accept();
        return announce(text() + QStringLiteral(", selected"));
    }
    if (!step) return ChoiceControl::keyPressEvent(e);
    e->accept();
    const std::vector<OptionButton*> options = group();
    const auto at = std::find(options.begin(), options.end(), this);
    if (at == options.end()) return;
    OptionButton* next = roundStep(options, at - options.begin(), step);
    next->widget()->setFocus(Qt::TabFocusReason);
    next->setChecked(true);
}

// ---- ChoiceBox

ChoiceBox::ChoiceBox(QWidget* parent) : ControlWidget(parent) {
    m_back = White;
    // A list is chosen from by a click or a tap as well as by the keyboard, as a text box is typed in.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        // Chosen by the arrow keys with the list closed, the new choice is said (a reader says an
        // open list's choices itself).
        if (hasFocus() && !view()->isVisible()) announce(currentText());
        if (onChange) run(onChange);
    });
}

void ChoiceBox::setChoices(const QStringList& choices) {
    const QSignalBlocker quiet(this);
    clear();
    addItems(choices);
    setCurrentIndex(choices.isEmpty() ? -1 : 0);
}

void ChoiceBox::choose(int index) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
}

void ChoiceBox::coloursChanged() {
    setPaletteColours(QPalette::Base, QPalette::Button, QPalette::Text);
    QPalette p = palette();
    p.setColor(QPalette::ButtonText, toQColor(m_fore));
    setPalette(p);
}

// ---- TableBox

TableBox::TableBox(QWidget* parent) : ControlWidget(parent) {
    m_back = White;
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setSortingEnabled(true);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(true);
    // The headings in the program's colours: yellow on navy, as its menu entries are.
    horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background: #000080; color: yellow; font-weight: bold; padding: 2px 4px;"
        " border: 0; border-right: 1px solid #404040; border-bottom: 1px solid #404040; }"));
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (onOpen) run(onOpen);
    });
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this] {
        if (onSortChange) run(onSortChange);
    });
}

void TableBox::showRows(QAbstractItemModel* m) {
    setModel(m);
    // Rows as tall as their font needs, at every scale.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setFixedHeight(fontMetrics().height() + 8);
}

int TableBox::chosenRow() const {
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TableBox::setColumnWidths(const std::vector<float>& twips) {
    // The last column stretches to the table's edge: no scroll bar for a pixel's difference.
    for (size_t i = 0; i + 1 < twips.size(); ++i) setColumnWidth(int(i), toPixels(twips[i]));
}

void TableBox::coloursChanged() {
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(m_back));
    p.setColor(QPalette::AlternateBase, QColor(232, 236, 248));
    p.setColor(QPalette::Text, toQColor(m_fore));
    p.setColor(QPalette::Highlight, toQColor(Navy));
    p.setColor(QPalette::HighlightedText, toQColor(Yellow));
    setPalette(p);
}

void TableBox::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat() && onOpen) {
        e->accept();
        return run(onOpen);
    }
    ControlWidget::keyPressEvent(e);
}

void TableBox::focusInEvent(QFocusEvent* e) {
    ControlWidget::focusInEvent(e);
    // After the table's own focus is told, so that the row is said after the table, not before it.
    QTimer::singleShot(0, this, [this] {
        if (!hasFocus() || !model() || model()->rowCount() == 0 || chosenRow() >= 0) return;
        setCurrentIndex({});  // Qt's own first place, taken silently: made anew, it is told
        selectRow(0);
    });
}

void TableBox::paintEvent(QPaintEvent* e) {
    QTableView::paintEvent(e);
    if (hasFocus()) {
        QPainter p(viewport());
        drawFocusFrame(p, viewport(), m_back);
    }
}

// ---- Timer

Timer::Timer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (onTimer) run(onTimer);
    });
}

}  // namespace platform
