// Makes the program's reference pages and logos from the sources in assets/pages and this file:
// each page as a screen metafile (data/wmf) and a print metafile (data/wmf2), the publisher's logo
// (data/logo/halvern2.bmp) and the twenty frames of the animated logo (data/logo/hvrn00nn.gif).
// Run through make_pages.sh. Text stays text in the metafiles, in fonts the program finds.
#include "Figures.h"
#include "WmfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringEncoder>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

// ---- Page layout

struct Style {
    QString face;
    int points10;  // tenths of a point
    bool bold;
    uint32_t colour;
};

struct Sheet {
    int width, height, margin;  // twips
    Style title, heading, body;
    uint32_t paper;             // 0xFFFFFFFF: no paper drawn, the form shows through
    int textRight;              // text stops here (the Acknowledgments page leaves the logos' corner free)
};

constexpr uint32_t NoPaper = 0xFFFFFFFFu;

// The screen page fits the viewer above its button row; the print page fits A4 at 1000, 1000 twips.
Sheet screenSheet(bool light) {
    const uint32_t ink = light ? WmfWriter::rgb(255, 255, 255) : WmfWriter::rgb(28, 28, 36);
    return {10485, 7800, 300,
            {QStringLiteral("Times New Roman"), 260, true, light ? WmfWriter::rgb(255, 255, 0) : WmfWriter::rgb(31, 52, 120)},
            {QStringLiteral("Arial"), 150, true, light ? WmfWriter::rgb(255, 255, 160) : WmfWriter::rgb(150, 40, 30)},
            {QStringLiteral("Times New Roman"), 130, false, ink},
            light ? NoPaper : WmfWriter::rgb(252, 248, 236),
            light ? 8100 : 10485 - 300};
}
Sheet printSheet() {
    return {9900, 14800, 0,
            {QStringLiteral("Times New Roman"), 260, true, WmfWriter::rgb(0, 0, 0)},
            {QStringLiteral("Arial"), 150, true, WmfWriter::rgb(0, 0, 0)},
            {QStringLiteral("Times New Roman"), 120, false, WmfWriter::rgb(0, 0, 0)},
            NoPaper, 9900};
}

int emTwips(const Style& s) { return s.points10 * 2; }  // points x 20 twips, in tenths

QFont qfont(const Style& s) {
    QFont f(s.face);
    f.setPixelSize(emTwips(s));  // measured in twips: one "pixel" per twip
    f.setBold(s.bold);
    return f;
}

// A page's text in the font's code page; a character the code page lacks would show as "?", so
// the page is refused instead.
std::string encode(const QString& text, const char* codec = "windows-1252") {
    QStringEncoder e(codec);
    const QByteArray b = e.encode(text);
    if (e.hasError()) {
        std::fprintf(stderr, "\"%s\" has a character that %s cannot write\n", qPrintable(text), codec);
        std::exit(1);
    }
    return std::string(b.constData(), size_t(b.size()));
}

class PageWriter {
public:
    PageWriter(const Sheet& sheet) : m_sheet(sheet), m_wmf(sheet.width, sheet.height) {
        m_wmf.mapMode(8);  // anisotropic: the window below fills the picture
        m_wmf.windowOrg(0, 0);
        m_wmf.windowExt(sheet.width, sheet.height);
        m_wmf.bkMode(1);       // transparent
        m_wmf.textAlign(24);   // reference point on the baseline, at the left
        if (sheet.paper != NoPaper) {
            const int pen = m_wmf.pen(0, 15, WmfWriter::rgb(120, 110, 90)), brush = m_wmf.brush(0, sheet.paper);
            m_wmf.select(pen);
            m_wmf.select(brush);
            m_wmf.roundRect(0, 0, sheet.width, sheet.height, 240, 240);
            m_wmf.remove(pen);
            m_wmf.remove(brush);
        }
        m_y = sheet.margin;
    }

    void title(const QString& text) {
        if (QFontMetricsF(qfont(m_sheet.title)).horizontalAdvance(text) > m_sheet.textRight - m_sheet.margin)
            fail(QStringLiteral("the title \"%1\" is wider than the page").arg(text));
        line(m_sheet.title, text, 1.25);
        m_y += 60;
    }
    void heading(const QString& text) { m_y += 60; line(m_sheet.heading, text, 1.2); }
    void paragraph(const QString& text, int indent = 0, const QString& marker = {}) {
        const Style& s = m_sheet.body;
        const QFontMetricsF fm(qfont(s));
        const int left = m_sheet.margin + indent;
        const int figure = m_beside != Beside::Nothing ? besideWidth() + FigureGap : 0;
        const int width = m_sheet.textRight - left - figure, top = m_y;
        QStringList words = unbreakable(text.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        bool first = true;
        while (!words.isEmpty()) {
            QString current = words.takeFirst();
            while (!words.isEmpty() && fm.horizontalAdvance(current + QLatin1Char(' ') + words.first()) <= width)
                current += QLatin1Char(' ') + words.takeFirst();
            advance(s, 1.22);
            if (first && !marker.isEmpty()) put(s, left - 240, marker);
            put(s, left, current);
            first = false;
        }
        if (m_beside != Beside::Nothing) {
            m_y = std::max(m_y, drawBeside(m_sheet.textRight - figure + FigureGap, top + 60));
            m_beside = Beside::Nothing;
        }
        m_y += 50;
    }
    // Rows of cells; the columns take the widths their widest cells need. A table set in `columns`
    // side by side (answers 1 to 5 beside 6 to 10, two worked examples) is written a column at a time,
    // each row of it left to right: a reader follows the order a page is written in, and reads each
    // column to its foot before the next. A table of records (one solid to a row) is written row by row.
    void table(const std::vector<QStringList>& rows, int columns = 1) {
        const Style& s = m_sheet.body;
        const QFontMetricsF fm(qfont(s));
        std::vector<double> widths;
        for (const QStringList& r : rows)
            for (int c = 0; c < r.size(); ++c) {
                if (size_t(c) >= widths.size()) widths.push_back(0);
                widths[size_t(c)] = std::max(widths[size_t(c)], fm.horizontalAdvance(r[c]) + 300);
            }
        std::vector<double> lefts{m_sheet.margin + 120.0};
        for (double w : widths) lefts.push_back(lefts.back() + w);
        for (const QStringList& r : rows)
            if (lefts[size_t(r.size())] > m_sheet.textRight + 300) fail(QStringLiteral("a table is wider than the page"));
        if (columns < 1 || widths.size() % size_t(columns) != 0)
            fail(QStringLiteral("a table of %1 cells a row cannot be set in %2 columns").arg(widths.size()).arg(columns));
        const int top = m_y, cells = int(widths.size()) / columns;
        for (int column = 0; column < columns; ++column) {
            m_y = top;
            for (const QStringList& r : rows) {
                advance(s, 1.25);
                for (int c = column * cells; c < std::min(int(r.size()), (column + 1) * cells); ++c)
                    put(s, int(lefts[size_t(c)]), r[c]);
            }
        }
        m_y += 60;
    }
    // A word in Greek letters (the Greek code page), followed by text in the body face.
    void greek(const QString& word, const QString& rest) {
        const Style& s = m_sheet.body;
        advance(s, 1.4);
        const int big = emTwips(s) * 14 / 10;
        const int font = m_wmf.font(-big, 400, "Times New Roman", true, 161);
        m_wmf.select(font);
        m_wmf.textColour(m_sheet.title.colour);
        m_wmf.text(m_sheet.margin, m_y, encode(word, "windows-1253"));
        m_wmf.remove(font);
        QFont g(QStringLiteral("Times New Roman"));
        g.setPixelSize(big);
        g.setItalic(true);
        put(s, m_sheet.margin + int(QFontMetricsF(g).horizontalAdvance(word)) + 120, rest);
        m_y += 80;
    }
    // The five regular solids drawn as outlines, side by side.
    void solids() {
        const int size = 500, gap = (m_sheet.textRight - m_sheet.margin - 5 * size) / 4;
        const int top = m_y + 80;
        const int pen = m_wmf.pen(0, 20, m_sheet.title.colour), brush = m_wmf.brush(1, 0);
        m_wmf.select(pen);
        m_wmf.select(brush);
        for (int i = 0; i < 5; ++i) drawSolid(i, m_sheet.margin + i * (size + gap), top, size);
        m_wmf.remove(pen);
        m_wmf.remove(brush);
        m_y = top + size + 20;
    }

    // The next paragraph leaves room at its right for a figure, drawn there beside it.
    enum class Beside { Nothing, Dice, TriangleSquares };
    void besideNext(Beside figure) { m_beside = figure; }

    // The card's margin below the last line    // The card's margin below the last line is at least its margin above the first.
    std::string finish(const QString& name) const {
        const int above = m_textTop, below = m_sheet.height - m_textBottom;
        if (below < above)
            fail(QStringLiteral("%1 (%2 twips high): the text ends %3 twips from the foot of the page, %4 from its head")
                     .arg(name).arg(m_sheet.height).arg(below).arg(above));
        return m_wmf.bytes();
    }

private:
    [[noreturn]] static void fail(const QString& why) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        std::exit(1);
    }
    // An equation is read as one: a word that is a sign (=, ×, ÷, +, −) joins the words on either
    // side of it, so "154 ÷ 2 = 77" never breaks across lines. The pages write minus as an en dash
    // (–), the Western code page having no minus sign of its own.
    static QStringList unbreakable(const QStringList& words) {
        static const QStringList signs{QStringLiteral("="), QStringLiteral("\u00D7"), QStringLiteral("\u00F7"),
                                       QStringLiteral("+"), QStringLiteral("\u2212"),
                                       QStringLiteral("\u2013")};
        QStringList out;
        bool glue = false;
        for (const QString& w : words) {
            const bool sign = signs.contains(w);
            if (!out.isEmpty() && (glue || sign)) out.last() += QStringLiteral("\u00A0") + w;
            else out << w;
            glue = sign;
        }
        return out;
    }
    void advance(const Style& s, double spacing) { m_y += int(emTwips(s) * spacing); }
    void line(const Style& s, const QString& text, double spacing) {
        advance(s, spacing);
        put(s, m_sheet.margin, text);
    }
    // One run of text in a style, its baseline at the current line.
    void put(const Style& s, int x, const QString& text) {
        const QFontMetricsF fm(qfont(s));
        if (m_textTop < 0) m_textTop = m_y - int(fm.ascent());
        m_textBottom = std::max(m_textBottom, m_y + int(std::ceil(fm.descent())));
        const std::string face = s.face.toStdString();
        const int font = m_wmf.font(-emTwips(s), s.bold ? 700 : 400, face);
        m_wmf.select(font);
        m_wmf.textColour(s.colour);
        m_wmf.text(x, m_y, encode(text));
        m_wmf.remove(font);
    }
    static constexpr int DiceSquare = 270, DiceGap = 360, FigureGap = 360;
    int besideWidth() const {
        switch (m_beside) {
        case Beside::Dice: return diceNetsWidth();
        case Beside::TriangleSquares: return 10 * TriangleUnit;
        case Beside::Nothing: break;
        }
        return 0;
    }
    // Draws the figure with its top left corner at (left, top); returns its foot.
    int drawBeside(int left, int top) {
        switch (m_beside) {
        case Beside::Dice: return diceNets(left, top);
        case Beside::TriangleSquares: return triangleSquares(left, top);
        case Beside::Nothing: break;
        }
        return top;
    }
    static int netColumns(const figures::Net& net) {
        int columns = 0;
        for (const char* row : net) columns = std::max(columns, int(qstrlen(row)));
        return columns;
    }
    static int diceNetsWidth() {
        int width = -DiceGap;
        for (const figures::Net& net : figures::diceRuleNets()) width += netColumns(net) * DiceSquare + DiceGap;
        return width;
    }
    // Dice nets side by side from (left, top), a digit in each square, so a pupil sees the rule at
    // work; returns the foot of the tallest.
    int diceNets(int left, int top) {
        const Style& s = m_sheet.body;
        const int pen = m_wmf.pen(0, 15, m_sheet.title.colour), brush = m_wmf.brush(1, 0);
        const int font = m_wmf.font(-emTwips(s), 700, s.face.toStdString());
        m_wmf.select(pen);
        m_wmf.select(brush);
        m_wmf.select(font);
        m_wmf.textColour(s.colour);
        m_wmf.textAlign(24 | 6);  // baseline, centred
        const double cap = QFontMetricsF(qfont({s.face, s.points10, true, s.colour})).capHeight();
        int x = left, bottom = top;
        for (const figures::Net& net : figures::diceRuleNets()) {
            for (size_t row = 0; row < net.size(); ++row)
                for (int c = 0; net[row][c]; ++c) {
                    if (net[row][c] == '.') continue;
                    const int l = x + c * DiceSquare, t = top + int(row) * DiceSquare;
                    m_wmf.rectangle(l, t, l + DiceSquare, t + DiceSquare);
                    m_wmf.text(l + DiceSquare / 2, t + int((DiceSquare + cap) / 2), std::string(1, net[row][c]));
                    bottom = std::max(bottom, t + DiceSquare);
                }
            x += netColumns(net) * DiceSquare + DiceGap;
        }
        m_wmf.textAlign(24);
        m_wmf.remove(font);
        m_wmf.remove(pen);
        m_wmf.remove(brush);
        m_textBottom = std::max(m_textBottom, bottom);
        return bottom;
    }
    static constexpr int TriangleUnit = 150;
    // A number in bold on a patch of the page's own paper, so the lines under it do not cross it.
    void label(double x, double y, int em, const QString& text) {
        const Style s{m_sheet.body.face, em / 2, true, m_sheet.title.colour};  // em twips, in tenths of a point
        const QFontMetricsF fm(qfont(s));
        const double w = fm.horizontalAdvance(text), cap = fm.capHeight();
        const uint32_t paper = m_sheet.paper == NoPaper ? WmfWriter::rgb(255, 255, 255) : m_sheet.paper;
        const int pen = m_wmf.pen(5, 0, 0), brush = m_wmf.brush(0, paper);
        m_wmf.select(pen);
        m_wmf.select(brush);
        m_wmf.rectangle(int(x - w / 2 - 30), int(y - cap / 2 - 40), int(x + w / 2 + 30), int(y + cap / 2 + 40));
        m_wmf.remove(pen);
        m_wmf.remove(brush);
        const int font = m_wmf.font(-em, 700, s.face.toStdString());
        m_wmf.select(font);
        m_wmf.textColour(s.colour);
        m_wmf.textAlign(24 | 6);  // baseline, centred
        m_wmf.text(int(std::lround(x)), int(std::lround(y + cap / 2)), encode(text));
        m_wmf.textAlign(24);
        m_wmf.remove(font);
        m_textBottom = std::max(m_textBottom, int(y + cap / 2 + 40));
    }
    // A square of n x n cells from corner p, its sides along the unit vectors a and b, ruled into
    // cells a pupil can count, its area written in the middle.
    void ruledSquare(QPointF p, QPointF a, QPointF b, int n, int unit) {
        const auto corner = [&](double i, double j) {
            const QPointF c = p + (a * i + b * j) * unit;
            return std::pair{int(std::lround(c.x())), int(std::lround(c.y()))};
        };
        const int thin = m_wmf.pen(0, 8, m_sheet.title.colour), thick = m_wmf.pen(0, 20, m_sheet.title.colour);
        const int hollow = m_wmf.brush(1, 0);
        m_wmf.select(hollow);
        m_wmf.select(thin);
        for (int i = 1; i < n; ++i) {
            m_wmf.polyline({corner(i, 0), corner(i, n)});
            m_wmf.polyline({corner(0, i), corner(n, i)});
        }
        m_wmf.select(thick);
        m_wmf.polygon({corner(0, 0), corner(n, 0), corner(n, n), corner(0, n)});
        m_wmf.remove(thin);
        m_wmf.remove(thick);
        m_wmf.remove(hollow);
        const QPointF middle = p + (a + b) * (n * unit / 2.0);
        label(middle.x(), middle.y(), emTwips(m_sheet.body), QString::number(n * n));
    }
    // The right-angled triangle of sides 3, 4 and 5 with a square on each side: the 9 and 16 small
    // squares on the shorter sides make the 25 on the hypotenuse. Returns the figure's foot.
    int triangleSquares(int left, int top) {
        const int u = TriangleUnit;
        // The right angle at o; the side of 4 runs right from it, the side of 3 up from it.
        const QPointF o(left + 3 * u, top + 7 * u), right(1, 0), up(0, -1), down(0, 1), leftward(-1, 0);
        const QPointF a = o + right * (4 * u), b = o + up * (3 * u);
        ruledSquare(o, right, down, 4, u);                                // below the side of 4
        ruledSquare(o, up, leftward, 3, u);                               // left of the side of 3
        ruledSquare(b, QPointF(4, 3) / 5.0, QPointF(3, -4) / 5.0, 5, u);  // outside the hypotenuse
        const int pen = m_wmf.pen(0, 20, m_sheet.title.colour), brush = m_wmf.brush(0, m_sheet.heading.colour);
        m_wmf.select(pen);
        m_wmf.select(brush);
        const auto pt = [](QPointF p) { return std::pair{int(std::lround(p.x())), int(std::lround(p.y()))}; };
        m_wmf.polygon({pt(o), pt(a), pt(b)});
        m_wmf.remove(pen);
        m_wmf.remove(brush);
        // The right angle's mark.
        const int mark = m_wmf.pen(0, 12, m_sheet.paper == NoPaper ? WmfWriter::rgb(255, 255, 255) : m_sheet.paper);
        m_wmf.select(mark);
        m_wmf.polyline({pt(o + right * (u / 2)), pt(o + (right + up) * (u / 2)), pt(o + up * (u / 2))});
        m_wmf.remove(mark);
        m_textBottom = std::max(m_textBottom, top + 11 * u);
        return top + 11 * u;
    }
    void drawSolid(int kind, int x, int y, int s) {
        for (const figures::Face& face : figures::visibleFaces(figures::Solid(kind))) {
            std::vector<std::pair<int, int>> corners;
            for (const QPointF& c : face) corners.emplace_back(x + int(c.x() * s), y + int(c.y() * s));
            m_wmf.polygon(corners);
        }
    }

    Sheet m_sheet;
    WmfWriter m_wmf;
    int m_y = 0;
    int m_textTop = -1, m_textBottom = 0;  // the first line's top and the last line's foot
    Beside m_beside = Beside::Nothing;
};

// Reads a page source: "# " title, "## " heading, "- " bullet, "| " table row ("@columns N" before
// a table: it is set in N columns side by side, each of its rows' cells / N cells), "@greek",
// "@figure solids", "@figure dice" and "@figure squares" (a 3, 4, 5 triangle with the squares on
// its sides; these two beside the paragraph after them), and paragraphs of one line each.
std::string makePage(const QString& source, const Sheet& sheet) {
    QFile f(source);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(source));
        std::exit(1);
    }
    PageWriter page(sheet);
    std::vector<QStringList> table;
    int columns = 1;  // the next table's, as "@columns N" before it sets it
    const auto flush = [&] {
        if (!table.empty()) page.table(table, columns);
        if (!table.empty()) columns = 1;
        table.clear();
    };
    for (const QString& raw : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (!line.startsWith(QLatin1Char('|'))) flush();
        if (line.isEmpty()) continue;
        if (line.startsWith(QLatin1String("## "))) page.heading(line.mid(3));
        else if (line.startsWith(QLatin1String("# "))) page.title(line.mid(2));
        else if (line.startsWith(QLatin1String("- "))) page.paragraph(line.mid(2), 360, QStringLiteral("\u2022"));
        else if (line.startsWith(QLatin1Char('|'))) {
            QStringList cells = line.mid(1).split(QLatin1Char('|'));
            for (QString& c : cells) c = c.trimmed();
            table.push_back(cells);
        } else if (line.startsWith(QLatin1String("@greek "))) {
            const QString rest = line.mid(7);
            page.greek(rest.section(QLatin1Char(' '), 0, 0), rest.section(QLatin1Char(' '), 1).trimmed());
        } else if (line.startsWith(QLatin1String("@columns "))) {
            columns = line.mid(9).toInt();
        } else if (line == QLatin1String("@figure solids")) page.solids();
        else if (line == QLatin1String("@figure dice")) page.besideNext(PageWriter::Beside::Dice);
        else if (line == QLatin1String("@figure squares")) page.besideNext(PageWriter::Beside::TriangleSquares);
        else page.paragraph(line);
    }
    flush();
    return page.finish(source);
}

bool writeFile(const QString& path, const std::string& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// ---- Logos

const QColor Navy(31, 52, 120), Gold(222, 178, 60), Cream(252, 248, 236);
// Behind the logos and the Acknowledgments page: dark enough for the page's white text (5:1).
const QColor AcknowledgmentsBlue(30, 110, 190);

// The publisher's logo: a shield with a pair of dividers and the letters VN.
QImage publisherLogo(int k) {
    QImage image(120 * k, 89 * k, QImage::Format_RGB32);
    image.fill(AcknowledgmentsBlue);
    QPainter p(&image);
    p.scale(k, k);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Gold, 3));
    p.setBrush(Navy);
    p.drawRoundedRect(QRectF(4, 4, 112, 81), 12, 12);
    p.setPen(QPen(Cream, 2.5));
    p.drawLine(QPointF(30, 66), QPointF(42, 22));
    p.drawLine(QPointF(54, 66), QPointF(42, 22));
    p.drawEllipse(QPointF(42, 22), 3, 3);
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(34);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Gold);
    p.drawText(QRectF(56, 16, 58, 56), Qt::AlignCenter, QStringLiteral("VN"));
    return image;
}

// One frame of the animated logo: dividers walking round a circle and drawing it as they go; after
// twenty frames the picture is back where it began, so the loop has no seam.
QImage logoFrame(int n, int k) {
    QImage image(120 * k, 120 * k, QImage::Format_RGB32);
    image.fill(AcknowledgmentsBlue);
    QPainter p(&image);
    p.scale(k, k);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(60, 60);
    const double r = 40, turn = 2 * M_PI * n / 20;
    p.setPen(QPen(Cream, 2));
    p.setBrush(Navy);
    p.drawEllipse(c, 54, 54);
    // The arc drawn so far grows through the loop and starts again full, as a compass redraws it.
    p.setPen(QPen(Gold, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90 * 16, -int(360 * 16 * (n + 1) / 20.0));
    const QPointF tip(c.x() + r * std::sin(turn + 2 * M_PI / 20), c.y() - r * std::cos(turn + 2 * M_PI / 20));
    const QPointF hinge = c + (tip - c) * 0.5 + QPointF(0, -34);
    p.setPen(QPen(Cream, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, hinge);
    p.drawLine(hinge, tip);
    p.setBrush(Gold);
    p.drawEllipse(hinge, 4, 4);
    return image;
}

// GIF (89a) of an image in a fixed palette, LZW-coded.
std::string gif(const QImage& source, const QVector<QRgb>& palette) {
    const QImage image = source.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    std::string out = "GIF89a";
    const auto put16 = [&out](int v) {
        out += char(v & 0xFF);
        out += char(v >> 8);
    };
    put16(image.width());
    put16(image.height());
    out += char(0xF7);  // global colour table of 256 entries
    out += char(0);
    out += char(0);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        out += char(qRed(c));
        out += char(qGreen(c));
        out += char(qBlue(c));
    }
    out += ',';
    put16(0);
    put16(0);
    put16(image.width());
    put16(image.height());
    out += char(0);
    out += char(8);  // minimum code size
    std::string data;
    uint32_t bits = 0;
    int count = 0, width = 9, next = 258;
    const auto writeCode = [&](int code) {
        bits |= uint32_t(code) << count;
        count += width;
        while (count >= 8) {
            data += char(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    std::map<std::pair<int, int>, int> table;
    writeCode(256);
    int prefix = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int k = image.scanLine(y)[x];
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const auto it = table.find({prefix, k});
            if (it != table.end()) {
                prefix = it->second;
                continue;
            }
            writeCode(prefix);
            table[{prefix, k}] = next++;
            if (next - 1 == (1 << width) && width < 12) ++width;
            if (next == 4095) {
                writeCode(256);
                table.clear();
                next = 258;
                width = 9;
            }
            prefix = k;
        }
    writeCode(prefix);
    writeCode(257);
    if (count > 0) data += char(bits & 0xFF);
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out += char(n);
        out += data.substr(i, n);
    }
    out += char(0);
    out += ';';
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString assets = QString::fromLocal8Bit(argv[1]), data = QString::fromLocal8Bit(argv[2]);
    for (const char* folder : {"wmf", "wmf2", "logo"}) QDir(data).mkpath(QString::fromLatin1(folder));
    bool ok = true;
    for (const QFileInfo& source : QDir(assets + QStringLiteral("/pages")).entryInfoList({QStringLiteral("*.txt")})) {
        const QString name = source.completeBaseName() + QStringLiteral(".wmf");
        const bool light = name == QLatin1String("acknowledgments.wmf");
        ok = ok && writeFile(data + QStringLiteral("/wmf/") + name, makePage(source.filePath(), screenSheet(light)));
        ok = ok && writeFile(data + QStringLiteral("/wmf2/") + name, makePage(source.filePath(), printSheet()));
    }
    // Each logo at its own size, and at twice and four times it ("name@2x.gif") for a scaled stage.
    for (int k : {1, 2, 4}) {
        const QString size = k == 1 ? QString() : QStringLiteral("@%1x").arg(k);
        ok = ok && publisherLogo(k).save(data + QStringLiteral("/logo/halvern2") + size + QStringLiteral(".bmp"), "BMP");
        // One palette for every frame, so the colours do not flicker from frame to frame.
        QImage all(120 * k, 120 * k * 20, QImage::Format_RGB32);
        {
            QPainter p(&all);
            for (int n = 0; n < 20; ++n) p.drawImage(0, 120 * k * n, logoFrame(n, k));
        }
        QVector<QRgb> palette = all.convertToFormat(QImage::Format_Indexed8).colorTable();
        // The page's own blue exactly, so the logo's square matches the page around it.
        const QRgb back = AcknowledgmentsBlue.rgb();
        if (!palette.contains(back)) {
            if (palette.size() < 256) palette.append(back);
            else palette.last() = back;
        }
        for (int n = 0; n < 20; ++n)
            ok = ok && writeFile(data + QStringLiteral("/logo/hvrn%1").arg(n, 4, 10, QLatin1Char('0')) + size +
                                     QStringLiteral(".gif"),
                                 gif(logoFrame(n, k), palette));
    }
    return ok ? 0 : 1;
}
