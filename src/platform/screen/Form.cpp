#include "platform/screen/Form.h"
#include "platform/screen/Stage.h"
#include "platform/screen/Navigator.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QHash>
#include <QPainter>
#include <QRegion>

namespace platform {

namespace {
// The client area: the form's colour and picture, and the form's own mouse movement.
class ClientArea : public QWidget {
public:
    explicit ClientArea(Form* form) : QWidget(form), m_form(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        // The back colour shows only where no opaque picture covers it.
        const Picture& picture = m_form->picture();
        QRegion back = e->region();
        if (picture.isOpaque()) back -= QRect(QPoint(0, 0), picture.size());
        paintByRects(p, back, [&](const QRect& area) { p.fillRect(area, toQColor(m_form->backColor())); });
        p.setClipping(false);
        picture.draw(p, QPoint(0, 0));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        e->accept();
        const MouseArgs a = mouseArgs(e);
        m_form->unhover();
        run([&] { m_form->clientMouseMove(a.button, a.shift, a.x, a.y); });
    }
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }

private:
    Form* m_form;
};
}  // namespace

Form::Form(float designClientWidth, float designClientHeight)
    : QWidget(Stage::instance()),
      m_client(new ClientArea(this)),
      m_width(designClientWidth + 2 * BorderPx * TwipsPerPixel),
      m_height(designClientHeight + (2 * BorderPx + CaptionPx) * TwipsPerPixel) {
    // Loaded screens stay unseen until shown. A screen paints every pixel it covers, so Qt need not
    // repaint the screens beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setVisible(false);
    place();
}

void Form::place() {
    setGeometry(toPixels(m_left), toPixels(m_top), toPixels(m_width), toPixels(m_height));
    m_client->setGeometry(BorderPx, BorderPx + CaptionPx, std::max(0, width() - 2 * BorderPx),
                          std::max(0, height() - 2 * BorderPx - CaptionPx));
}

void Form::setText(const QString& c) {
    m_caption = c;
    update();
    if (Stage::instance()->front() == this) Stage::instance()->frontChanged();
}

void Form::setBackColor(quint32 bgr) {
    m_back = bgr;
    m_client->update();
}

void Form::setPicture(const Picture& p) {
    m_picture = p;
    m_client->update();
}

void Form::showInFront() {
    // A label a pupil can click is a stop for Tab, unless the screen said otherwise.
    for (Control* c : m_controls)
        if (auto* l = dynamic_cast<Label*>(c)) l->setTabStopByDefault(bool(l->onClick));
    setVisible(true);
    raise();
    Stage::instance()->frontChanged();
}

// The caption bar's gradient runs across only: one row of it is drawn for each width (every screen
// has the same) and stretched down the bar in one draw (row by row, a fractional scale leaves gaps).
static const QImage& captionRow(int width) {
    static QHash<int, QImage> rows;
    QImage& row = rows[width];
    if (row.isNull()) {
        row = QImage(width, 1, QImage::Format_RGB32);
        QPainter p(&row);
        QLinearGradient g(0, 0, width, 0);
        g.setColorAt(0, theme::captionDark());
        g.setColorAt(1, theme::captionLight());
        p.fillRect(row.rect(), g);
    }
    return row;
}

void Form::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = rect();
    const QRect bar(BorderPx - 3, BorderPx - 3, r.width() - 2 * (BorderPx - 3), CaptionPx);
    // Only the frame round the client area: the client area paints itself.
    paintByRects(p, e->region(), [&](const QRect& area) {
        p.fillRect(area, theme::frameFace());
        // The fixed single-line border: a raised edge.
        drawOutline(p, r.adjusted(0, 0, -1, -1), theme::frameOutline());
        p.fillRect(1, 1, r.width() - 3, 1, Qt::white);
        p.fillRect(1, 1, 1, r.height() - 3, Qt::white);
        p.fillRect(1, r.height() - 2, r.width() - 2, 1, theme::shadow());
        p.fillRect(r.width() - 2, 1, 1, r.height() - 2, theme::shadow());
        // The caption bar: caption only, no buttons.
        if (!area.intersects(bar)) return;
        const QImage& row = captionRow(bar.width());
        p.drawImage(bar, row);
        if (m_caption.trimmed().isEmpty()) return;
        static const QFont captionFont = makeFont({"Tahoma", 9.75, true});
        p.setPen(Qt::white);
        p.setFont(captionFont);
        p.drawText(bar.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, m_caption);
    });
}

namespace detail {
void badSlot(const char* why) { qFatal("A screen's layout puts %s into a handle", why); }
}  // namespace detail

void Form::buildRows(std::span<const ControlRow> table, const HandleSet& handles) {
    for (const ControlRow& s : table) {
        // (A constant table is checked as it compiles; rows made as the screen is built, here.)
        if ((s.to.kind != Kind::OfHandle) == (s.kind != Kind::OfHandle))
            detail::badSlot("a control whose kind is named twice or not at all");
        const Kind kind = s.to.fill ? s.to.kind : s.kind;
        if (kind == Kind::Timer) {
            auto* t = new Timer(this);
            t->setInterval(s.interval);
            m_timers.push_back(t);
            if (s.to.fill) s.to.fill(handles, nullptr, t, s.index);
            continue;
        }
        QWidget* parent = s.container ? s.container(handles) : m_client;
        Control* c = nullptr;
        switch (kind) {
        case Kind::Label: {
            auto* l = new Label(parent);
            l->setAlignment(s.flags & Centered ? Center : s.flags & RightAligned ? RightJustify : LeftJustify);
            l->setBorder(s.flags & Border);
            l->setBackStyle(s.flags & Transparent ? 0 : 1);
            l->setHover(s.flags & Hover);
            c = l;
            break;
        }
        case Kind::Command: c = new CommandButton(parent); break;
        case Kind::Frame: {
            auto* f = new Frame(parent);
            f->setPlain(s.flags & Transparent);
            c = f;
            break;
        }
        case Kind::Image:
        case Kind::PictureBox: {
            auto* i = kind == Kind::Image ? new Image(parent) : new PictureBox(parent, true);
            i->setStretch(s.flags & Stretch);
            c = i;
            break;
        }
        case Kind::Shape: c = new Shape(parent); break;
        case Kind::TextBox: {
            auto* t = new TextBox(parent);
            t->setTypingLimit(s.maxLength);
            c = t;
            break;
        }
        case Kind::CheckBox: c = new CheckBox(parent); break;
        case Kind::Option: c = new OptionButton(parent); break;
        case Kind::Choice: c = new ChoiceBox(parent); break;
        case Kind::Table: c = new TableBox(parent); break;
        case Kind::Timer:
        case Kind::OfHandle: break;
        }
        c->setFont(s.font);
        c->setText(QString::fromUtf8(s.caption));
        c->setBackColor(s.back != DefaultColour ? s.back : m_back);
        if (s.fore != DefaultColour) c->setForeColor(s.fore);
        c->moveTo(s.at.left, s.at.top, s.at.width, s.at.height);
        if (s.flags & Disabled) c->setEnabled(false);
        if (s.flags & Hidden) c->setShown(false);
        m_controls.push_back(c);
        if (s.to.fill) s.to.fill(handles, c, nullptr, s.index);
    }
}

void Form::unhover() {
    for (Control* c : m_controls)
        if (auto* l = dynamic_cast<Label*>(c); l && l->hovers()) l->setBackStyle(0);
}

std::vector<Control*> Form::tabOrder() const {
    std::vector<std::pair<QPoint, Control*>> stops;
    for (Control* c : m_controls) {
        const QWidget* w = c->widget();
        if (c->tabStop() && w->isVisibleTo(m_client) && w->isEnabledTo(m_client))
            stops.emplace_back(w->mapTo(m_client, QPoint(0, 0)), c);
    }
    std::stable_sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) {
        return std::pair(a.first.y(), a.first.x()) < std::pair(b.first.y(), b.first.x());
    });
    // Options of one group are one stop: the arrows move within it.
    std::erase_if(stops, [](const auto& s) {
        auto* o = dynamic_cast<OptionButton*>(s.second);
        return o && o->groupStop() != o;
    });
    std::vector<Control*> out;
    for (Control* c : m_tabOrder)
        if (std::any_of(stops.begin(), stops.end(), [c](const auto& s) { return s.second == c; })) out.push_back(c);
    for (const auto& s : stops)
        if (std::find(m_tabOrder.begin(), m_tabOrder.end(), s.second) == m_tabOrder.end()) out.push_back(s.second);
    return out;
}

bool Form::focusNextPrevChild(bool next) {
    // A screen being taken away keeps the keyboard to itself: the one coming to the front takes it next.
    if (!isVisible()) return true;
    const std::vector<Control*> order = tabOrder();
    if (order.empty()) return true;
    // An option of a group stands at its group's stop.
    const auto at = std::find_if(order.begin(), order.end(), [](const Control* c) {
        if (auto* o = dynamic_cast<const OptionButton*>(c))
            return std::ranges::any_of(o->group(), [](const OptionButton* b) { return b->widget()->hasFocus(); });
        return c->widget()->hasFocus();
    });
    // The control with the keyboard is going (hidden or greyed, as "Next Page" on the last page): the
    // keyboard moves to its nearest neighbour, not back to the top of the screen.
    const QWidget* going = QApplication::focusWidget();
    if (at == order.end() && going && going != this && isAncestorOf(going)) {
        const QPoint from = going->mapTo(this, going->rect().center());
        const auto distance = [&](const Control* c) {
            return (c->widget()->mapTo(this, c->widget()->rect().center()) - from).manhattanLength();
        };
        (*std::min_element(order.begin(), order.end(), [&](const Control* a, const Control* b) { return distance(a) < distance(b); }))
            ->widget()->setFocus(Qt::OtherFocusReason);
        return true;
    }
    // From the screen itself, Tab goes to the first stop and Shift+Tab to the last; past either end it goes round.
    roundStep(order, at == order.end() ? -1 : at - order.begin(), next ? 1 : -1)->widget()->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void Form::takeFocus(bool keyboardUser) {
    if (isAncestorOf(QApplication::focusWidget())) return;
    const std::vector<Control*> order = tabOrder();
    if (m_defaultFocus && m_defaultFocus->widget()->isVisibleTo(this)) m_defaultFocus->widget()->setFocus(Qt::OtherFocusReason);
    else if (keyboardUser && m_keyboardStart && std::find(order.begin(), order.end(), m_keyboardStart) != order.end())
        m_keyboardStart->widget()->setFocus(Qt::TabFocusReason);
    else if (keyboardUser && !order.empty()) order.front()->widget()->setFocus(Qt::TabFocusReason);
    else setFocus(Qt::OtherFocusReason);
}

void Form::cancel() {
    Control* c = m_cancel;
    if (!c || !c->widget()->isVisibleTo(this) || !c->isEnabled()) return;
    if (auto* b = qobject_cast<QAbstractButton*>(c->widget()))
        b->click();
    else if (c->onClick)
        run(c->onClick);
}

void Form::destroyForm() {
    for (Timer* t : m_timers) t->setEnabled(false);
    hide();
    Stage::instance()->frontChanged();
    deleteLater();
}

}  // namespace platform
