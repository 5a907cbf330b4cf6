#include "platform/screen/PageText.h"
#include "platform/screen/Controls.h"

#include <QAccessible>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace platform {

// Lines in the order the page writes its texts: a text whose middle lies within the height of the
// line's first joins the line, otherwise it starts the next. The order written is the author's, and
// only the author knows it: two worked examples set side by side and a table of solids look alike,
// but the one is read a column at a time and the other a row at a time. Within a line, left to right.
PageText::PageText(const Metafile& page) {
    const std::vector<Metafile::Text> runs = page.textBoxes();
    std::vector<std::vector<const Metafile::Text*>> rows;
    for (const Metafile::Text& r : runs) {
        if (r.text.trimmed().isEmpty()) continue;  // a table's empty cell is no line of its own
        const double middle = r.box.center().y();
        if (rows.empty() || middle < rows.back().front()->box.top() || middle > rows.back().front()->box.bottom())
            rows.emplace_back();
        rows.back().push_back(&r);
    }
    QHash<int, qsizetype> letters;  // characters written at each size: the commonest is the body's
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->box.left() < b->box.left(); });
        if (!lines.empty()) add(QLatin1Char('\n'), QRectF(boxes.back().topRight(), QSizeF(0, boxes.back().height())));
        Line line{text.size()};
        for (const Metafile::Text* r : row) {
            if (text.size() > line.start) add(QLatin1Char(' '), QRectF(QPointF(boxes.back().right(), r->box.top()), QPointF(r->box.left(), r->box.bottom())));
            for (qsizetype i = 0; i < r->text.size(); ++i)
                add(r->text.at(i), QRectF(QPointF(r->edges[size_t(i)], r->box.top()), QPointF(r->edges[size_t(i) + 1], r->box.bottom())));
            line.pixelSize = std::max(line.pixelSize, r->pixelSize);
            line.weight = std::max(line.weight, r->weight);
            letters[int(std::lround(r->pixelSize))] += r->text.size();
        }
        line.end = text.size();
        lines.push_back(line);
    }
    const auto body = std::max_element(letters.cbegin(), letters.cend());
    for (Line& l : lines)
        l.heading = l.weight >= 600 || (body != letters.cend() && std::lround(l.pixelSize) > body.key() * 11 / 10);
}

QRectF PageText::caretBox(qsizetype offset) const {
    if (boxes.empty()) return {};
    if (offset < qsizetype(boxes.size())) {
        const QRectF& b = boxes[size_t(std::max<qsizetype>(offset, 0))];
        return QRectF(b.topLeft(), QSizeF(0, b.height()));
    }
    const QRectF& last = boxes.back();
    return QRectF(last.topRight(), QSizeF(0, last.height()));
}

namespace {
const char* const CaretProperty = "vellacourtPageCaret";

// The caret's bar: the page beneath it turned to its opposite colour, so it shows on the cream
// paper, in the headings' colours and on the Acknowledgments' blue alike, never hiding a letter.
class CaretMark : public QWidget {
public:
    explicit CaretMark(QWidget* page) : QWidget(page) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Difference);
        p.fillRect(rect(), Qt::white);
    }
};
}  // namespace

PageCaret* PageCaret::attach(PictureBox* page) {
    if (PageCaret* c = of(page->widget())) return c;
    return new PageCaret(page);
}

PageCaret* PageCaret::of(const QWidget* page) {
    return page ? static_cast<PageCaret*>(page->property(CaretProperty).value<void*>()) : nullptr;
}

PageCaret::PageCaret(PictureBox* page) : QObject(page->widget()), m_page(page), m_mark(new CaretMark(page->widget())) {
    page->widget()->setProperty(CaretProperty, QVariant::fromValue(static_cast<void*>(this)));
    page->widget()->installEventFilter(this);
}

const PageText* PageCaret::text() const {
    const std::shared_ptr<const Metafile>& shown = m_page->picture().sharedMetafile();
    if (!shown) return nullptr;
    if (shown != m_shown) {
        m_shown = shown;
        m_text.emplace(*shown);
        m_position = 0;
    }
    return &*m_text;
}

int PageCaret::position() const {
    text();
    return m_position;
}

void PageCaret::setPosition(int offset) {
    const PageText* page = text();
    if (!page) return;
    m_position = std::clamp(offset, 0, int(page->text.size()));
    m_goalX = -1;
    placeMark();
    QAccessibleTextCursorEvent moved(m_page->widget(), m_position);
    QAccessible::updateAccessibility(&moved);
}

bool PageCaret::moveBy(int key, Qt::KeyboardModifiers modifiers) {
    const PageText* page = text();
    if (!page || page->lines.empty() || (modifiers & ~(Qt::ControlModifier | Qt::KeypadModifier))) return false;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const qsizetype at = m_position;
    const auto line = std::find_if(page->lines.begin(), page->lines.end(), [at](const PageText::Line& l) { return at <= l.end; });
    // The character on `l` nearest `x` along it: the line's end beyond its last.
    const auto along = [page](const PageText::Line& l, double x) {
        for (qsizetype k = l.start; k < l.end; ++k)
            if (x < page->boxes[size_t(k)].center().x()) return int(k);
        return int(l.end);
    };
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    if (vertical && m_goalX < 0) m_goalX = page->caretBox(at).left();
    int to = -1;
    switch (key) {
    case Qt::Key_Right: to = int(std::min(at + 1, page->text.size())); break;
    case Qt::Key_Left: to = int(std::max<qsizetype>(at - 1, 0)); break;
    case Qt::Key_Home: to = ctrl ? 0 : int(line->start); break;
    case Qt::Key_End: to = ctrl ? int(page->text.size()) : int(line->end); break;
    // Past the last line Down goes to its end, past the first Up to its start, as in a text box.
    case Qt::Key_Down: to = line + 1 == page->lines.end() ? int(line->end) : along(*(line + 1), m_goalX); break;
    case Qt::Key_Up: to = line == page->lines.begin() ? int(line->start) : along(*(line - 1), m_goalX); break;
    default: return false;
    }
    const double goal = vertical ? m_goalX : -1;
    if (to != at) setPosition(to);
    m_goalX = goal;
    return true;
}

bool PageCaret::eventFilter(QObject* watched, QEvent* e) {
    if (watched != m_page->widget()) return false;
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (!moveBy(k->key(), k->modifiers())) return false;
        k->accept();
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Resize:
    case QEvent::Paint: placeMark(); break;
    default: break;
    }
    return false;
}

// The bar two pixels wide down the line's height where the caret stands, while the page has the keyboard.
void PageCaret::placeMark() {
    const PageText* page = m_page->widget()->hasFocus() ? text() : nullptr;
    if (!page || page->boxes.empty()) {
        m_mark->hide();
        return;
    }
    const QRectF at = page->caretBox(m_position);
    const QRect bar(int(std::lround(at.left())) - 1, int(std::floor(at.top())), 2, int(std::ceil(at.height())));
    if (m_mark->geometry() != bar) m_mark->setGeometry(bar);
    m_mark->show();
}

}  // namespace platform
