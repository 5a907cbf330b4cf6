#include "activities/BoardSheets.h"
#include "activities/BoardKinds.h"
#include "platform/printing/Printer.h"
#include "platform/screen/Dialogs.h"

#include <algorithm>
#include <numeric>

using namespace platform;

namespace {
constexpr float Gap = 180;                    // between a clue, a box and a sign
constexpr float BoxWidth = 1200, MostStep = 1500;  // a box wide enough for a number written by hand
constexpr float TileGap = 450;                     // between the tiles listed
const QString Text = QStringLiteral("Times New Roman"), Numbers = QStringLiteral("Arial");

void setFont(Printer& printer, const QString& family, double points, bool bold) {
    printer.setFontName(family);
    printer.setFontSize(points);
    printer.setFontBold(bold);
}

// The height of a line in the font set, as the printer moves down by it.
float lineHeight(Printer& printer) {
    const float y = printer.currentY();
    printer.setCurrentY(0);
    printer.print(QString());
    const float height = printer.currentY();
    printer.setCurrentY(y);
    return height;
}

// Text at a place, the position left where it was.
void printAt(Printer& printer, const QString& text, float x, float y) {
    printer.setCurrentX(x);
    printer.setCurrentY(y);
    printer.print(text, false);
}

// The lines of `text`, broken at spaces, none wider than `width` in the font set.
QStringList wrapped(Printer& printer, const QString& text, float width) {
    QStringList lines;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && printer.textWidth(lines.last() + u' ' + word) <= width)
            lines.last() += u' ' + word;
        else
            lines << word;
    }
    return lines;
}

void frame(Printer& printer, float left, float top, float width, float height) {
    printer.line(left, top, left + width, top, Black);
    printer.line(left + width, top, left + width, top + height, Black);
    printer.line(left, top + height, left + width, top + height, Black);
    printer.line(left, top, left, top + height, Black);
}

// The printer goes on at the top of a new page when a line would pass the bottom.
void newPage(Printer& printer) {
    printer.setCurrentX(0);
    printer.setCurrentY(printer.printableHeight());
    printer.print(QString());
    printer.setCurrentY(0);
}

// One page: the heading, the Name, Class and Date lines (on the key, "Answers"), the instruction, the
// boxes in the board's own shape (rows with their signs, clues each beside its box, or, for a board
// with neither, a list of the boxes in the words the board gives a screen reader), and the tiles. On
// the key each box holds its answer; the page is otherwise the same, so the two can be laid side by side.
void printPage(Printer& printer, const BoardKind& kind, const QString& heading, const core::BoardSheet& sheet, bool key) {
    const float W = printer.printableWidth(), H = printer.printableHeight();
    const GalleryLayout& layout = kind.layout;
    const core::GalleryProblem& problem = sheet.problem;

    setFont(printer, Text, 20, true);
    printer.setCurrentY(0);
    printer.printCentred(heading);
    float y = printer.currentY() + 240;
    setFont(printer, Text, 13, false);
    const float fieldsLine = lineHeight(printer);  // the key's "Answers" takes the same room
    if (key) {
        setFont(printer, Text, 16, true);
        printer.setCurrentY(y);
        printer.printCentred(QStringLiteral("Answers"));
    } else {
        // Name across half the width, Class and Date a quarter each, a line to write on after each.
        const float underline = y + lineHeight(printer) - 30;
        const struct {
            const char* label;
            float from, to;
        } fields[] = {{"Name", 0, W / 2}, {"Class", W / 2 + Gap, W * 3 / 4}, {"Date", W * 3 / 4 + Gap, W}};
        for (const auto& f : fields) {
            printAt(printer, QString::fromLatin1(f.label), f.from, y);
            printer.line(printer.currentX() + 90, underline, f.to, underline, Black);
        }
    }
    y += fieldsLine + 240;
    setFont(printer, Text, 13, false);
    const float textLine = lineHeight(printer);
    for (const QString& line : wrapped(printer, QString::fromUtf8(layout.instruction), W)) {
        printAt(printer, line, 0, y);
        y += textLine;
    }
    y += 300;

    // The tiles go below the boxes; the boxes share out what room is left, less a little to spare.
    // Each tile stands apart from the next, a line holding as many as fit across.
    setFont(printer, Numbers, 18, true);
    QList<QStringList> tileLines{{}};
    for (float x = 0; const QString& tile : sheet.tiles) {
        if (x > 0 && x + printer.textWidth(tile) > W) tileLines << QStringList(), x = 0;
        tileLines.last() << tile;
        x += printer.textWidth(tile) + TileGap;
    }
    const float tilesHeight = textLine + 120 + lineHeight(printer) * float(tileLines.size());
    const bool rows = !layout.cells && *layout.signs[0];
    const int lines = layout.cells || rows ? 4 : 12;
    const float step = std::min(MostStep, (H - y - tilesHeight - 600) / float(lines));
    const float boxHeight = step * 0.7f;
    const auto box = [&](int b, float left, float top) {
        frame(printer, left, top, BoxWidth, boxHeight);
        if (!key) return;
        setFont(printer, Numbers, 18, true);
        const QString answer = problem.answers[size_t(b)];
        printAt(printer, answer, left + (BoxWidth - printer.textWidth(answer)) / 2, top + (boxHeight - lineHeight(printer)) / 2);
    };
    // A clue printed so that it ends at `right`, level with a box at `top`, in lines no wider than
    // `width` and no taller together than a row: on one line if a font down to 12 points allows,
    // else broken at ordinary spaces down to 10 points, and only then at the spaces that keep words
    // together too.
    const auto clue = [&](const QString& text, float right, float top, float width, double points) {
        QStringList lines;
        const auto fitsIn = [&](qsizetype most, double smallest) {
            for (double size = points; size >= smallest; --size) {
                printer.setFontSize(size);
                lines = wrapped(printer, text, width);
                if (lines.size() <= most && float(lines.size()) * lineHeight(printer) <= step - Gap &&
                    std::all_of(lines.begin(), lines.end(), [&](const QString& l) { return printer.textWidth(l) <= width; }))
                    return true;
            }
            return false;
        };
        if (!fitsIn(1, 12) && !fitsIn(12, 10)) lines = wrapped(printer, QString(text).replace(QChar::Nbsp, u' '), width);
        float at = top + (boxHeight - lineHeight(printer) * float(lines.size())) / 2;
        for (const QString& line : lines) {
            printAt(printer, line, right - printer.textWidth(line), at);
            at += lineHeight(printer);
        }
    };
    if (rows) {
        setFont(printer, Numbers, 18, true);
        float clueWidth = 0, signsWidth = 0;
        for (int r = 0; r < 4; ++r) clueWidth = std::max(clueWidth, printer.textWidth(problem.clues[size_t(3 * r)]));
        for (const char* sign : layout.signs) signsWidth += printer.textWidth(QString::fromUtf8(sign)) + 2 * Gap;
        clueWidth = std::min(clueWidth, W - (Gap + 3 * BoxWidth + signsWidth));
        const float left = (W - (clueWidth + Gap + 3 * BoxWidth + signsWidth)) / 2;
        for (int r = 0; r < 4; ++r, y += step) {
            setFont(printer, Numbers, 18, true);
            clue(problem.clues[size_t(3 * r)], left + clueWidth, y, clueWidth, 18);
            float x = left + clueWidth + Gap;
            for (int k = 0; k < 3; ++k) {
                box(3 * r + k, x, y);
                setFont(printer, Numbers, 18, true);
                const QString sign = QString::fromUtf8(layout.signs[k]);
                printAt(printer, sign, x + BoxWidth + Gap, y + (boxHeight - lineHeight(printer)) / 2);
                x += BoxWidth + 2 * Gap + printer.textWidth(sign);
            }
        }
    } else if (layout.cells) {
        for (int b = 0; b < 12; ++b) {
            const float right = W / 3 * float(b % 3 + 1) - Gap, top = y + step * float(b / 3);
            setFont(printer, Numbers, 16, true);
            clue(problem.clues[size_t(b)], right - BoxWidth - Gap, top, W / 3 - BoxWidth - 2 * Gap, 16);
            box(b, right - BoxWidth, top);
        }
        y += 4 * step;
    } else {
        setFont(printer, Text, 13, false);
        float said = 0;
        for (const QString& words : sheet.boxes) said = std::max(said, printer.textWidth(words));
        const float left = (W - said - Gap - BoxWidth) / 2;
        // Listed net by net, each net's boxes in order, as the words sort.
        std::array<int, 12> order;
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&sheet](int x, int z) { return sheet.boxes[size_t(x)] < sheet.boxes[size_t(z)]; });
        for (int b : order) {
            setFont(printer, Text, 13, false);
            QString words = sheet.boxes[size_t(b)];
            words[0] = words[0].toUpper();
            clue(words, left + said, y, said, 13);
            box(b, left + said + Gap, y);
            y += step;
        }
    }

    y += 300;
    setFont(printer, Text, 13, false);
    printAt(printer, sheet.tiles.contains(QStringLiteral("Yes")) ? QStringLiteral("Write one of these in each box:")
                                                                  : QStringLiteral("Write each of these in one box:"),
            0, y);
    y += textLine + 120;
    setFont(printer, Numbers, 18, true);
    for (const QStringList& line : tileLines) {
        float x = 0;
        for (const QString& tile : line) {
            printAt(printer, tile, x, y);
            x += printer.textWidth(tile) + TileGap;
        }
        y += lineHeight(printer);
    }
}
}  // namespace

void printBoardSheets(const core::Topic& topic) {
    const bool printed = PrintDocument([&topic](Printer& printer) {
        bool first = true;
        for (const core::TopicActivity& activity : topic.activities) {
            const BoardKind* kind = boardKind(activity.kind);
            if (!kind || !kind->rule) continue;
            const core::BoardSheet sheet = core::drawSheet(*kind->rule);
            const QString heading = topic.heading + QStringLiteral(" — ") + activity.caption;
            for (bool key : {false, true}) {
                if (!first) newPage(printer);
                first = false;
                printPage(printer, *kind, heading, sheet, key);
            }
        }
    });
    if (printed) showMessage(QStringLiteral("The board sheets and their answers are now printing."));
}
