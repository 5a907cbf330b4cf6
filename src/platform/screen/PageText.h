// A page as a screen reader reads it: its words as one text, line by line, each character with its
// place on the page.
#pragma once
#include "platform/pictures/Metafile.h"

#include <QRectF>
#include <QString>
#include <vector>

namespace platform {

// Its texts gathered into lines top to bottom (a table's cells, a
// Greek word and its gloss, share a line), each character with its box on the page, and the lines
// larger or bolder than the body text marked as headings.
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

private:
    void add(QChar c, const QRectF& box) {
        text += c;
        boxes.push_back(box);
    }
};

}  // namespace platform
