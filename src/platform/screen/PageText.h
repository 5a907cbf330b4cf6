// A page as a screen reader reads it: its words as one text, line by line, each character with its
// place on the page; and the caret a reader moves through it.
#pragma once
#include "platform/pictures/Metafile.h"

#include <QObject>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace platform {

class PictureBox;

// Its texts gathered into lines in the order the page writes them (a table's cells, a Greek word
// and its gloss, share a line; a table set in columns is written, and so read, a column at a time),
// each character with its box on the page, and the lines larger or bolder than the body text marked
// as headings.
struct PageText {
    struct Line {
        qsizetype start = 0, end = 0;  // the line's characters, its line break not counted
        double pixelSize = 0;
        int weight = 400;
        bool heading = false;
    };
    QString text;
    std::vector<QRectF> boxes;  // one to a character, on the page played at its own size
    std::vector<Line> lines;

    explicit PageText(const Metafile& page);
    const Line* lineAt(qsizetype offset) const {
        for (const Line& l : lines)
            if (offset <= l.end) return &l;
        return nullptr;
    }
    // Where a caret before character `offset` stands (at the end: after the last character).
    QRectF caretBox(qsizetype offset) const;

private:
    void add(QChar c, const QRectF& box) {
        text += c;
        boxes.push_back(box);
    }
};

// The caret of a page shown in a picture box, moved by the keys a text is read with: Down and Up a
// line, Right and Left a character, Home and End to the line's start and end, Ctrl+Home and Ctrl+End
// to the page's. Each move is told to a screen reader, which says the line or character reached; the
// caret shows as a thin bar, only while the page has the keyboard. A new page starts at its top.
class PageCaret : public QObject {
public:
    static PageCaret* attach(PictureBox* page);
    static PageCaret* of(const QWidget* page);  // null: a picture without a caret

    const PageText* text() const;  // null: the picture is not a page
    int position() const;
    // Puts the caret before character `offset` (kept within the page) and tells a reader.
    void setPosition(int offset);
    // A key a reader moves by: true when it was one.
    bool moveBy(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    explicit PageCaret(PictureBox* page);
    void placeMark();
    PictureBox* m_page;
    QWidget* m_mark;
    mutable std::shared_ptr<const Metafile> m_shown;  // the page the text and caret belong to
    mutable std::optional<PageText> m_text;
    mutable int m_position = 0;
    double m_goalX = -1;  // where Up and Down aim along a line: where the first of them started
};

}  // namespace platform
