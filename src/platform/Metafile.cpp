#include "platform/Metafile.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QLoggingCategory>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStringDecoder>
#include <QtEndian>
#include <functional>
#include <cmath>

Q_LOGGING_CATEGORY(lcPages, "vellacourt.pages")

namespace platform {

namespace {

using Limits = Metafile::Limits;

// The record functions we know. Records of any other function are skipped.
enum Function : quint16 {
    META_EOF = 0x0000, SAVEDC = 0x001E, CREATEPALETTE = 0x00F7, SETBKMODE = 0x0102, SETMAPMODE = 0x0103,
    SETROP2 = 0x0104, SETPOLYFILLMODE = 0x0106, RESTOREDC = 0x0127, SELECTOBJECT = 0x012D, SETTEXTALIGN = 0x012E,
    DIBCREATEPATTERNBRUSH = 0x0142, DELETEOBJECT = 0x01F0, CREATEPATTERNBRUSH = 0x01F9, SETBKCOLOR = 0x0201,
    SETTEXTCOLOR = 0x0209, SETWINDOWORG = 0x020B, SETWINDOWEXT = 0x020C, LINETO = 0x0213, MOVETO = 0x0214,
    CREATEPENINDIRECT = 0x02FA, CREATEFONTINDIRECT = 0x02FB, CREATEBRUSHINDIRECT = 0x02FC, POLYGON = 0x0324,
    POLYLINE = 0x0325, EXCLUDECLIPRECT = 0x0415, INTERSECTCLIPRECT = 0x0416, ELLIPSE = 0x0418, RECTANGLE = 0x041B,
    TEXTOUT = 0x0521, POLYPOLYGON = 0x0538, ROUNDRECT = 0x061C, CREATEREGION = 0x06FF, ARC = 0x0817, PIE = 0x081A,
    CHORD = 0x0830, DIBBITBLT = 0x0940, EXTTEXTOUT = 0x0A32, DIBSTRETCHBLT = 0x0B41, STRETCHDIB = 0x0F43,
};

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr int MaxObjects = 4096, MaxRecords = 1000000, MaxDibSide = 8192;

bool createsObject(quint16 f) {
    return f == CREATEPENINDIRECT || f == CREATEBRUSHINDIRECT || f == CREATEFONTINDIRECT || f == CREATEPALETTE ||
           f == CREATEPATTERNBRUSH || f == DIBCREATEPATTERNBRUSH || f == CREATEREGION;
}

// The parameters of one record, read only inside the record.
class Params {
public:
    Params(const QByteArray& bytes, const Metafile::Record& r)
        : m_p(reinterpret_cast<const uchar*>(bytes.constData()) + r.offset), m_words(r.words) {}
    int words() const { return m_words; }
    qint16 s(int i) const { return i >= 0 && i < m_words ? qFromLittleEndian<qint16>(m_p + 2 * i) : 0; }
    quint16 u(int i) const { return quint16(s(i)); }
    quint32 u32(int i) const { return quint32(u(i)) | quint32(u(i + 1)) << 16; }
    // Bytes from word i to the end of the record.
    const uchar* bytesFrom(int i) const { return m_p + 2 * i; }
    qsizetype bytesLeft(int i) const { return i >= m_words ? 0 : 2 * qsizetype(m_words - i); }
    QColor colour(int i) const { return QColor(u(i) & 0xFF, u(i) >> 8, u(i + 1) & 0xFF); }

private:
    const uchar* m_p;
    int m_words;
};

// The pixels a bitmap's header says it holds, before anything is decoded.
qint64 dibPixels(const uchar* p, qsizetype bytes) {
    if (bytes < 40) return 0;
    return std::abs(qint64(qFromLittleEndian<qint32>(p + 4))) * std::abs(qint64(qFromLittleEndian<qint32>(p + 8)));
}

// A device-independent bitmap (BITMAPINFOHEADER, palette, bits) of `bytes` bytes, or a null image.
QImage decodeDib(const uchar* p, qsizetype bytes) {
    if (bytes < 40) return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(p);
    const qint32 width = qFromLittleEndian<qint32>(p + 4), height = qFromLittleEndian<qint32>(p + 8);
    const int bits = qFromLittleEndian<quint16>(p + 14);
    const quint32 compression = qFromLittleEndian<quint32>(p + 16), used = qFromLittleEndian<quint32>(p + 32);
    if (headerSize < 40 || headerSize > quint32(bytes) || compression != 0) return {};
    if (width <= 0 || width > MaxDibSide || height == 0 || height < -MaxDibSide || height > MaxDibSide) return {};
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
    const qint64 colours = bits <= 8 ? (used ? qint64(used) : qint64(1) << bits) : 0;
    if (colours > 256) return {};
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4, rows = std::abs(qint64(height));
    const qint64 paletteAt = headerSize, pixelsAt = paletteAt + 4 * colours;
    if (pixelsAt + stride * rows > bytes) return {};
    QImage image(width, int(rows), QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (qint64 row = 0; row < rows; ++row) {
        const uchar* src = p + pixelsAt + stride * row;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(height > 0 ? rows - 1 - row : row)));
        for (int x = 0; x < width; ++x) {
            if (bits >= 24) {
                const uchar* px = src + x * (bits / 8);
                dst[x] = qRgb(px[2], px[1], px[0]);
                continue;
            }
            const int index = bits == 8 ? src[x] : bits == 4 ? (src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF
                                                             : (src[x / 8] >> (7 - x % 8)) & 1;
            if (index >= colours) {
                dst[x] = qRgb(0, 0, 0);
                continue;
            }
            const uchar* c = p + paletteAt + 4 * index;
            dst[x] = qRgb(c[2], c[1], c[0]);
        }
    }
    return image;
}

// Where the bitmap of a bitmap record starts (in words), or -1 for a record without one.
int dibStart(quint16 function, int words) {
    switch (function) {
    case STRETCHDIB: return 11;
    case DIBSTRETCHBLT: return words == (DIBSTRETCHBLT >> 8) ? -1 : 10;
    case DIBBITBLT: return words == (DIBBITBLT >> 8) ? -1 : 8;
    default: return -1;
    }
}

// The words a record of this function needs at the least, from its fixed part and its counts; -1: it
// cannot hold what it says.
qint64 wordsNeeded(const Params& p, quint16 f) {
    switch (f) {
    case SETBKMODE: case SETMAPMODE: case SETROP2: case SETPOLYFILLMODE: case RESTOREDC: case SELECTOBJECT:
    case SETTEXTALIGN: case DELETEOBJECT: return 1;
    case SETBKCOLOR: case SETTEXTCOLOR: case SETWINDOWORG: case SETWINDOWEXT: case LINETO: case MOVETO: return 2;
    case EXCLUDECLIPRECT: case INTERSECTCLIPRECT: case ELLIPSE: case RECTANGLE: case CREATEBRUSHINDIRECT: return 4;
    case CREATEPENINDIRECT: return 5;
    case ROUNDRECT: return 6;
    case ARC: case PIE: case CHORD: return 8;
    case CREATEFONTINDIRECT: return 9;
    case POLYGON: case POLYLINE: return p.words() < 1 ? 1 : 1 + 2 * qint64(p.s(0) < 0 ? -1 : p.s(0));
    case POLYPOLYGON: {
        if (p.words() < 1) return 1;
        const int polys = p.s(0);
        if (polys < 0 || 1 + polys > p.words()) return -1;
        qint64 points = 0;
        for (int i = 0; i < polys; ++i) {
            if (p.s(1 + i) < 0) return -1;
            points += p.s(1 + i);
        }
        return 1 + polys + 2 * points;
    }
    case TEXTOUT: return p.words() < 1 ? 1 : (p.s(0) < 0 ? -1 : 1 + (qint64(p.s(0)) + 1) / 2 + 2);
    case EXTTEXTOUT: {
        if (p.words() < 4) return 4;
        const bool rect = p.u(3) & 0x0006;
        return p.s(2) < 0 ? -1 : 4 + (rect ? 4 : 0) + (qint64(p.s(2)) + 1) / 2;
    }
    case STRETCHDIB: return 11 + 20;
    case DIBSTRETCHBLT: case DIBBITBLT: return dibStart(f, p.words()) < 0 ? 0 : dibStart(f, p.words()) + 20;
    default: return 0;
    }
}

QString textOf(const uchar* bytes, int count, int charset);

// ---- Cutting shapes to the page, so that what lies far outside it costs nothing to draw

// Liang-Barsky: shortens a-b to its part inside r; false when no part of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const QPointF d = b - a;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF from = a;
    if (t0 > 0) a = from + d * t0;
    if (t1 < 1) b = from + d * t1;
    return true;
}

// A polyline cut to r: the runs of it that lie inside.
std::vector<QPolygonF> clipPolyline(const QPolygonF& line, const QRectF& r) {
    std::vector<QPolygonF> runs;
    for (qsizetype i = 1; i < line.size(); ++i) {
        QPointF a = line[i - 1], b = line[i];
        if (!clipSegment(a, b, r)) continue;
        if (runs.empty() || runs.back().last() != a) runs.emplace_back(QPolygonF{a});
        runs.back() << b;
    }
    return runs;
}

// Sutherland-Hodgman: a polygon cut to r, filling the same inside r under either fill rule.
QPolygonF clipPolygon(const QPolygonF& polygon, const QRectF& r) {
    QPolygonF out = polygon;
    for (int edge = 0; edge < 4 && !out.isEmpty(); ++edge) {
        const bool vertical = edge < 2;
        const double bound = edge == 0 ? r.left() : edge == 1 ? r.right() : edge == 2 ? r.top() : r.bottom();
        const auto inside = [&](const QPointF& p) {
            const double v = vertical ? p.x() : p.y();
            return edge % 2 == 0 ? v >= bound : v <= bound;
        };
        const auto cross = [&](const QPointF& a, const QPointF& b) {
            const double t = vertical ? (bound - a.x()) / (b.x() - a.x()) : (bound - a.y()) / (b.y() - a.y());
            return a + (b - a) * t;
        };
        QPolygonF next;
        for (qsizetype i = 0; i < out.size(); ++i) {
            const QPointF& now = out[i];
            const QPointF& before = out[(i + out.size() - 1) % out.size()];
            if (inside(now)) {
                if (!inside(before)) next << cross(before, now);
                next << now;
            } else if (inside(before)) {
                next << cross(before, now);
            }
        }
        out = std::move(next);
    }
    return out;
}

// A line's length, and the pixels its edges pass through, in device pixels: filling a shape costs
// a cell for each, and more than in proportion where many crowd into the same rows.
struct Extent {
    double length = 0, cells = 0;
    Extent& operator+=(const Extent& e) {
        length += e.length;
        cells += e.cells;
        return *this;
    }
};
Extent extent(const QPolygonF& line, bool closed) {
    Extent e;
    const auto edge = [&e](const QPointF& a, const QPointF& b) {
        e.length += QLineF(a, b).length();
        e.cells += std::max(std::fabs(b.x() - a.x()), std::fabs(b.y() - a.y()));
    };
    for (qsizetype i = 1; i < line.size(); ++i) edge(line[i - 1], line[i]);
    if (closed && line.size() > 2) edge(line.last(), line.first());
    return e;
}
// A box's outline: a rectangle is filled without cells, a curve through the pixels of its outline.
Extent extent(const QRectF& box, bool curved) {
    const double outline = 2 * (box.width() + box.height());
    return {outline, curved ? outline : 0};
}

// ---- Playing

struct FontDef {
    int height = 0, escapement = 0, weight = 400, charset = 0;
    bool italic = false, underline = false, strikeout = false;
    QString face;
};
struct Object {
    enum Kind { None, Pen, Brush, Font, Other } kind = None;
    QPen pen;
    QBrush brush;
    FontDef font;
};
struct State {
    QPointF windowOrg, windowExt;
    int bkMode = 2, polyFill = 1, textAlign = 0, rop2 = 13;
    QColor bk = Qt::white, text = Qt::black;
    int pen = -1, brush = -1, font = -1;
    QPointF current;
};

class Player {
public:
    Player(QPainter& p, const QByteArray& bytes, QRect bounds, QRectF target, int objects)
        : m_p(p), m_bytes(bytes), m_target(target), m_objects(objects),
          m_pageArea(std::max(1.0, target.width() * target.height())),
          m_pageSide(std::max({1.0, target.width(), target.height()})) {
        m_s.windowOrg = bounds.topLeft();
        m_s.windowExt = QPointF(bounds.width(), bounds.height());
    }
    void play(const Metafile::Record& r);
    QStringList* texts = nullptr;  // when set, every text written is added here
    // Why the play stopped before the end, or empty.
    QString stopped;
    QString ignored;  // a request that was not carried out, as Windows would refuse it

    // Gives the painter back as it came: states the page saved and never restored are dropped.
    void unwind() {
        for (; !m_saved.empty(); m_saved.pop_back()) m_p.restore();
    }

    // Charges one drawing against the page's limits; false, with the reason kept, once one is passed.
    bool spend(qint64 points, double dashes, double area, double cells = 0) {
        m_points += points;
        m_dashes += dashes;
        m_area += area / m_pageArea;
        m_cells += cells / m_pageSide;
        if (m_points > Limits::Points) stopped = QStringLiteral("more than %1 points and letters").arg(Limits::Points);
        else if (m_cells > Limits::CellSides)
            stopped = QStringLiteral("shapes whose edges run longer than %1 times the page's side").arg(Limits::CellSides);
        else if (m_dashes > double(Limits::Dashes)) stopped = QStringLiteral("more than %1 dashes").arg(Limits::Dashes);
        else if (m_area > Limits::PageAreas) stopped = QStringLiteral("more paint than %1 pages' worth").arg(Limits::PageAreas);
        return stopped.isEmpty();
    }

private:
    QPointF map(double x, double y) const {
        return {m_target.left() + (x - m_s.windowOrg.x()) * sx(), m_target.top() + (y - m_s.windowOrg.y()) * sy()};
    }
    double sx() const { return m_s.windowExt.x() == 0 ? 0 : m_target.width() / m_s.windowExt.x(); }
    double sy() const { return m_s.windowExt.y() == 0 ? 0 : m_target.height() / m_s.windowExt.y(); }
    QRectF rect(const Params& p, int at) const {  // bottom, right, top, left from word `at`
        return QRectF(map(p.s(at + 3), p.s(at + 2)), map(p.s(at + 1), p.s(at))).normalized();
    }
    QPen pen() const;
    QBrush brush() const;
    bool drawsNothing() const { return m_s.rop2 == 11; }  // R2_NOP
    void applyRop();
    void shape(const std::function<void()>& draw);
    void polygon(const Params& p, int at, int count, QPolygonF& out) const {
        for (int i = 0; i < count; ++i) out << map(p.s(at + 2 * i), p.s(at + 2 * i + 1));
    }
    void text(QPointF at, const QString& s, const std::vector<double>& dx, const QRectF* opaque);
    void bitmap(const Params& p, quint16 function);
    Object* object(int index) {
        return index >= 0 && index < int(m_table.size()) && m_table[index].kind != Object::None ? &m_table[index]
                                                                                                 : nullptr;
    }
    void create(Object o) {
        for (auto& slot : m_table)
            if (slot.kind == Object::None) {
                slot = std::move(o);
                return;
            }
        if (int(m_table.size()) < m_objects) m_table.push_back(std::move(o));
    }

    // What drawing a shape of this outline with the current pen, and filling `fillArea` of it with
    // the current brush, costs. A stroke is filled as a thin shape with edges on both sides.
    bool spendShape(qint64 points, const Extent& outline, double fillArea = 0) {
        const bool filled = fillArea > 0 && brush().style() != Qt::NoBrush;
        const double fill = filled ? outline.cells : 0;
        const QPen pen = this->pen();
        if (pen.style() == Qt::NoPen) return spend(points, 0, filled ? fillArea : 0, fill);
        const double width = std::max(1.0, pen.widthF());
        double period = 0;
        if (pen.style() != Qt::SolidLine)
            for (double d : pen.dashPattern()) period += d * width;
        // A line of a pixel is drawn along its length; a wider one is filled as a thin shape with an
        // edge on either side of the line.
        const double stroke = pen.widthF() > 1 ? 2 * outline.cells : 0;
        return spend(points, period > 0 ? outline.length / period : 0, (filled ? fillArea : 0) + outline.length * width,
                     fill + stroke);
    }
    // The page with room for the widest pen: what lies outside it cannot show.
    QRectF reach() const {
        const double pad = std::max(1.0, pen().widthF()) + 2;
        return m_target.adjusted(-pad, -pad, pad, pad);
    }
    // A box far larger than the page is no drawing of ours: it would cost without end to draw.
    bool farTooLarge(const QRectF& box) {
        const double most = 64 * std::max(m_target.width(), m_target.height());
        if (box.width() <= most && box.height() <= most) return false;
        stopped = QStringLiteral("a shape far larger than the page");
        return true;
    }
    // The outline of a box, as far as it can show.
    Extent outline(const QRectF& box) const { return extent(box & reach(), true); }
    double visibleArea(const QRectF& box) const {
        const QRectF seen = box.normalized() & m_target;
        return seen.width() * seen.height();
    }

    QPainter& m_p;
    const QByteArray& m_bytes;
    QRectF m_target;
    int m_objects;
    double m_pageArea, m_pageSide;
    qint64 m_points = 0, m_pixels = 0;
    double m_dashes = 0, m_area = 0, m_cells = 0;
    State m_s;
    std::vector<State> m_saved;
    std::vector<Object> m_table;
};

QPen Player::pen() const {
    if (m_s.pen >= 0 && m_s.pen < int(m_table.size()) && m_table[m_s.pen].kind == Object::Pen) {
        QPen pen = m_table[m_s.pen].pen;
        // No wider than the page: a wider pen shows the same and costs far more to draw.
        if (pen.style() != Qt::NoPen && pen.widthF() > 0)
            pen.setWidthF(std::clamp(pen.widthF() * std::fabs(sx()), 1.0,
                                     std::max({1.0, m_target.width(), m_target.height()})));
        return pen;
    }
    return QPen(Qt::black, 0);  // the default pen: black, one device pixel
}

QBrush Player::brush() const {
    if (m_s.brush >= 0 && m_s.brush < int(m_table.size()) && m_table[m_s.brush].kind == Object::Brush)
        return m_table[m_s.brush].brush;
    return QBrush(Qt::white);
}

void Player::applyRop() {
    if (m_p.paintEngine() && !m_p.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) return;
    switch (m_s.rop2) {
    case 6: m_p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case 7: m_p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case 10: m_p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    default: m_p.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    }
}

// Draws a shape with the selected pen and brush, honouring the mix mode and the background mode.
void Player::shape(const std::function<void()>& draw) {
    if (drawsNothing()) return;
    QPen pen = this->pen();
    QBrush brush = this->brush();
    if (m_s.rop2 == 1 || m_s.rop2 == 16) {  // R2_BLACK, R2_WHITE
        const QColor c = m_s.rop2 == 1 ? Qt::black : Qt::white;
        pen.setColor(c);
        if (brush.style() != Qt::NoBrush) brush = QBrush(c, brush.style());
    }
    m_p.setBackgroundMode(m_s.bkMode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
    m_p.setBackground(m_s.bk);
    applyRop();
    m_p.setPen(pen);
    m_p.setBrush(brush);
    draw();
    m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Player::text(QPointF at, const QString& s, const std::vector<double>& dx, const QRectF* opaque) {
    if (texts) texts->append(s);
    FontDef def;
    if (m_s.font >= 0 && m_s.font < int(m_table.size()) && m_table[m_s.font].kind == Object::Font)
        def = m_table[m_s.font].font;
    QFont font(def.face.isEmpty() ? QStringLiteral("Arial") : def.face);
    font.setWeight(QFont::Weight(std::clamp(def.weight ? def.weight : 400, 1, 1000)));
    font.setItalic(def.italic);
    font.setUnderline(def.underline);
    font.setStrikeOut(def.strikeout);
    const double scale = std::fabs(sy());
    // A negative height is the em size; a positive one the cell height (ascent and descent); 0, a default.
    double em = def.height < 0 ? -def.height * scale : def.height == 0 ? 12 * 1440 / 72.0 * scale : 0;
    if (def.height > 0) {
        font.setPixelSize(100);
        const QFontMetricsF probe(font);
        em = def.height * scale * 100 / std::max(1.0, probe.ascent() + probe.descent());
    }
    if (em > 4 * std::max(1.0, m_target.height())) {
        stopped = QStringLiteral("letters taller than the page");
        return;
    }
    if (!spend(s.size(), 0, double(s.size()) * em * em / 2)) return;
    font.setPixelSize(std::max(1, int(std::lround(em))));
    const QFontMetricsF fm(font);
    // Each character's place along the line: from the spacing array where there is one.
    std::vector<double> place(size_t(s.size()) + 1, 0.0);
    for (qsizetype i = 0; i < s.size(); ++i)
        place[i + 1] = place[i] + (size_t(i) < dx.size() ? dx[i] * std::fabs(sx()) : fm.horizontalAdvance(s.at(i)));
    const double width = place.back();
    const int align = m_s.textAlign;
    if (align & 1) at = map(m_s.current.x(), m_s.current.y());  // TA_UPDATECP
    double x = 0, y = 0;
    if ((align & 6) == 6) x = -width / 2;
    else if (align & 2) x = -width;
    if ((align & 24) == 24) y = 0;  // baseline
    else if (align & 8) y = -fm.descent();
    else y = fm.ascent();
    m_p.save();
    m_p.translate(at);
    if (def.escapement) m_p.rotate(-def.escapement / 10.0);
    if (opaque) m_p.fillRect(opaque->translated(-at), m_s.bk);
    else if (m_s.bkMode == 2) m_p.fillRect(QRectF(x, y - fm.ascent(), width, fm.height()), m_s.bk);
    m_p.setFont(font);
    m_p.setPen(m_s.text);
    if (dx.empty()) m_p.drawText(QPointF(x, y), s);
    else
        for (qsizetype i = 0; i < s.size(); ++i) m_p.drawText(QPointF(x + place[i], y), QString(s.at(i)));
    m_p.restore();
    if (align & 1) m_s.current.rx() += sx() == 0 ? 0 : width / sx();
}

void Player::bitmap(const Params& p, quint16 f) {
    const int at = dibStart(f, p.words());
    if (at < 0 || drawsNothing()) return;
    // STRETCHDIB and DIBSTRETCHBLT: source height, width, y, x, then destination height, width, y, x.
    const int base = f == STRETCHDIB ? 3 : 2;
    QRectF source, dest;
    if (f == DIBBITBLT) {
        source = QRectF(p.s(3), p.s(2), p.s(5), p.s(4));
        dest = QRectF(map(p.s(7), p.s(6)), map(p.s(7) + p.s(5), p.s(6) + p.s(4)));
    } else {
        source = QRectF(p.s(base + 3), p.s(base + 2), p.s(base + 1), p.s(base));
        dest = QRectF(map(p.s(base + 7), p.s(base + 6)), map(p.s(base + 7) + p.s(base + 5), p.s(base + 6) + p.s(base + 4)));
    }
    // Counted before decoding: a page's bitmaps together stay within the limit.
    m_pixels += dibPixels(p.bytesFrom(at), p.bytesLeft(at));
    if (m_pixels > Limits::BitmapPixels) {
        stopped = QStringLiteral("bitmaps of more than %1 pixels").arg(Limits::BitmapPixels);
        return;
    }
    if (!spend(1, 0, visibleArea(dest))) return;
    const QImage image = decodeDib(p.bytesFrom(at), p.bytesLeft(at));
    if (image.isNull()) return;
    // Bitmap rows run from the bottom: the source rectangle counts from the image's bottom.
    source.moveTop(image.height() - source.bottom());
    m_p.drawImage(dest.normalized(), image, source.normalized());
}

void Player::play(const Metafile::Record& r) {
    const Params p(m_bytes, r);
    switch (r.function) {
    case SAVEDC:
        if (m_saved.size() >= size_t(Limits::SavedStates)) {
            ignored = QStringLiteral("states saved more than %1 deep").arg(Limits::SavedStates);
            break;
        }
        m_saved.push_back(m_s);
        m_p.save();
        break;
    case RESTOREDC: {
        const int n = p.s(0), depth = int(m_saved.size());
        const int target = n < 0 ? depth + n : n - 1;
        if (target < 0 || target >= depth) break;
        while (int(m_saved.size()) > target) {
            m_s = m_saved.back();
            m_saved.pop_back();
            m_p.restore();
        }
        break;
    }
    case SETWINDOWORG: m_s.windowOrg = QPointF(p.s(1), p.s(0)); break;
    case SETWINDOWEXT: m_s.windowExt = QPointF(p.s(1), p.s(0)); break;
    case SETBKMODE: m_s.bkMode = p.u(0); break;
    case SETBKCOLOR: m_s.bk = p.colour(0); break;
    case SETTEXTCOLOR: m_s.text = p.colour(0); break;
    case SETPOLYFILLMODE: m_s.polyFill = p.u(0); break;
    case SETTEXTALIGN: m_s.textAlign = p.u(0); break;
    case SETROP2: m_s.rop2 = p.u(0); break;
    case CREATEPENINDIRECT: {
        Object o;
        o.kind = Object::Pen;
        static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                              Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
        const int style = p.u(0) & 0xF;
        o.pen = QPen(p.colour(3), p.s(1) < 0 ? 0 : p.s(1), style < 7 ? styles[style] : Qt::SolidLine);
        create(o);
        break;
    }
    case CREATEBRUSHINDIRECT: {
        Object o;
        o.kind = Object::Brush;
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,      Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern,    Qt::DiagCrossPattern};
        const int style = p.u(0), hatch = p.u(3);
        o.brush = style == 1   ? QBrush(Qt::NoBrush)
                  : style == 2 ? QBrush(p.colour(1), hatch < 6 ? hatches[hatch] : Qt::SolidPattern)
                               : QBrush(p.colour(1));
        create(o);
        break;
    }
    case CREATEFONTINDIRECT: {
        Object o;
        o.kind = Object::Font;
        o.font.height = p.s(0);
        o.font.escapement = p.s(2);
        o.font.weight = p.s(4);
        o.font.italic = p.u(5) & 0xFF;
        o.font.underline = p.u(5) >> 8;
        o.font.strikeout = p.u(6) & 0xFF;
        o.font.charset = p.u(6) >> 8;
        const qsizetype faceBytes = std::min<qsizetype>(32, p.bytesLeft(9));
        const auto* face = reinterpret_cast<const char*>(p.bytesFrom(9));
        o.font.face = QString::fromLatin1(face, qstrnlen(face, size_t(faceBytes)));
        create(o);
        break;
    }
    case CREATEPALETTE: case CREATEPATTERNBRUSH: case DIBCREATEPATTERNBRUSH: case CREATEREGION: {
        Object o;
        o.kind = Object::Other;
        create(o);
        break;
    }
    case SELECTOBJECT:
        if (const Object* o = object(p.u(0))) {
            if (o->kind == Object::Pen) m_s.pen = p.u(0);
            else if (o->kind == Object::Brush) m_s.brush = p.u(0);
            else if (o->kind == Object::Font) m_s.font = p.u(0);
        }
        break;
    case DELETEOBJECT:
        if (Object* o = object(p.u(0))) *o = Object();
        break;
    case MOVETO: m_s.current = QPointF(p.s(1), p.s(0)); break;
    case LINETO: {
        QPointF from = map(m_s.current.x(), m_s.current.y()), to = map(p.s(1), p.s(0));
        m_s.current = QPointF(p.s(1), p.s(0));
        if (!clipSegment(from, to, reach()) || !spendShape(2, extent(QPolygonF{from, to}, false))) break;
        shape([&] { m_p.drawLine(from, to); });
        break;
    }
    case POLYLINE: {
        QPolygonF points;
        polygon(p, 1, p.s(0), points);
        const QRectF within = reach();
        const std::vector<QPolygonF> runs =
            within.contains(points.boundingRect()) ? std::vector<QPolygonF>{points} : clipPolyline(points, within);
        Extent along;
        for (const QPolygonF& run : runs) along += extent(run, false);
        if (!spendShape(points.size(), along)) break;
        shape([&] {
            for (const QPolygonF& run : runs) m_p.drawPolyline(run);
        });
        break;
    }
    case POLYGON: case POLYPOLYGON: {
        // A polygon is a polypolygon of one ring.
        const int polys = r.function == POLYGON ? 1 : p.s(0);
        QPainterPath path;
        path.setFillRule(m_s.polyFill == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        QPolygonF single;
        const QRectF within = reach();
        Extent along;
        qint64 count = 0;
        int at = r.function == POLYGON ? 1 : 1 + polys;
        for (int i = 0; i < polys; ++i) {
            const int n = r.function == POLYGON ? p.s(0) : p.s(1 + i);
            QPolygonF points;
            polygon(p, at, n, points);
            at += 2 * n;
            count += n;
            if (!within.contains(points.boundingRect())) points = clipPolygon(points, within);
            along += extent(points, true);
            if (r.function == POLYGON) single = points;
            path.addPolygon(points);
            path.closeSubpath();
        }
        if (!spendShape(count, along, visibleArea(path.boundingRect()))) break;
        shape([&] {
            if (r.function == POLYGON) m_p.drawPolygon(single, m_s.polyFill == 2 ? Qt::WindingFill : Qt::OddEvenFill);
            else m_p.drawPath(path);
        });
        break;
    }
    case RECTANGLE: {
        QRectF box = rect(p, 0);
        if (!reach().contains(box)) box &= reach();
        if (box.isEmpty() || !spendShape(4, extent(box, false), visibleArea(box))) break;
        shape([&] { m_p.drawRect(box); });
        break;
    }
    case ELLIPSE: {
        const QRectF box = rect(p, 0);
        if (farTooLarge(box) || !spendShape(4, outline(box), visibleArea(box))) break;
        shape([&] { m_p.drawEllipse(box); });
        break;
    }
    case ROUNDRECT: {
        const QRectF box = rect(p, 2);
        const double w = std::fabs(p.s(1) * sx()) / 2, h = std::fabs(p.s(0) * sy()) / 2;
        if (farTooLarge(box) || !spendShape(4, outline(box), visibleArea(box))) break;
        shape([&] { m_p.drawRoundedRect(box, w, h); });
        break;
    }
    case ARC: case PIE: case CHORD: {
        const QRectF box = rect(p, 4);
        if (box.isEmpty() || farTooLarge(box) || !spendShape(4, outline(box), visibleArea(box))) break;
        const QPointF c = box.center(), start = map(p.s(3), p.s(2)), end = map(p.s(1), p.s(0));
        // Counter-clockwise from the start radial to the end radial, as the y axis points down.
        const double a0 = std::atan2(c.y() - start.y(), start.x() - c.x()) * 180 / M_PI;
        double sweep = std::atan2(c.y() - end.y(), end.x() - c.x()) * 180 / M_PI - a0;
        if (sweep <= 0) sweep += 360;
        const int qa = int(std::lround(a0 * 16)), qs = int(std::lround(sweep * 16));
        shape([&] {
            if (r.function == ARC) m_p.drawArc(box, qa, qs);
            else if (r.function == PIE) m_p.drawPie(box, qa, qs);
            else m_p.drawChord(box, qa, qs);
        });
        break;
    }
    case INTERSECTCLIPRECT: m_p.setClipRect(rect(p, 0), Qt::IntersectClip); break;
    case EXCLUDECLIPRECT: {
        const QRegion now = m_p.hasClipping() ? m_p.clipRegion() : QRegion(m_target.toAlignedRect());
        m_p.setClipRegion(now.subtracted(QRegion(rect(p, 0).toAlignedRect())));
        break;
    }
    case TEXTOUT: {
        const int count = p.s(0), words = (count + 1) / 2;
        const QString s = textOf(p.bytesFrom(1), count, m_s.font >= 0 && m_s.font < int(m_table.size())
                                                             ? m_table[m_s.font].font.charset : 0);
        text(map(p.s(2 + words), p.s(1 + words)), s, {}, nullptr);
        break;
    }
    case EXTTEXTOUT: {
        const int count = p.s(2), options = p.u(3);
        int at = 4;
        QRectF box;
        const bool hasRect = options & 0x0006;
        if (hasRect) {
            box = QRectF(map(p.s(4), p.s(5)), map(p.s(6), p.s(7))).normalized();  // left, top, right, bottom
            at = 8;
        }
        const int charset = m_s.font >= 0 && m_s.font < int(m_table.size()) ? m_table[m_s.font].font.charset : 0;
        const QString s = textOf(p.bytesFrom(at), count, charset);
        const int dxAt = at + (count + 1) / 2;
        std::vector<double> dx;
        if (p.words() - dxAt >= count)
            for (int i = 0; i < s.size() && i < count; ++i) dx.push_back(p.s(dxAt + i));
        if (dx.size() != size_t(s.size())) dx.clear();  // a code page that joined bytes: no per-byte spacing
        m_p.save();
        if (options & 0x0004) m_p.setClipRect(box, Qt::IntersectClip);
        text(map(p.s(1), p.s(0)), s, dx, (options & 0x0002) ? &box : nullptr);
        m_p.restore();
        break;
    }
    case STRETCHDIB: case DIBSTRETCHBLT: case DIBBITBLT: bitmap(p, r.function); break;
    default: break;  // a record we do not draw
    }
}

// Plays every record until a limit is passed or the time is up, and says so in the log.
void playAll(Player& player, const std::vector<Metafile::Record>& records, const QString& picture) {
    QElapsedTimer clock;
    clock.start();
    for (size_t i = 0; i < records.size() && player.stopped.isEmpty(); ++i) {
        player.play(records[i]);
        if (i % 64 == 63 && clock.elapsed() > Limits::Milliseconds)
            player.stopped = QStringLiteral("longer than %1 ms to draw").arg(Limits::Milliseconds);
    }
    player.unwind();
    const QString name = picture.isEmpty() ? QStringLiteral("a picture") : picture;
    if (!player.ignored.isEmpty()) qCWarning(lcPages, "%s: %s were not kept", qPrintable(name), qPrintable(player.ignored));
    if (!player.stopped.isEmpty())
        qCWarning(lcPages, "%s is shown only in part: it asks for %s", qPrintable(name), qPrintable(player.stopped));
}

// The Symbol font's letters and signs that mathematics pages use, as Unicode.
QChar symbolChar(uchar b) {
    static const char16_t greekUpper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static const char16_t greekLower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    if (b >= 0x41 && b <= 0x5A) return QChar(greekUpper[b - 0x41]);
    if (b >= 0x61 && b <= 0x7A) return QChar(greekLower[b - 0x61]);
    switch (b) {
    case 0x22: return QChar(0x2200);  // for all
    case 0x24: return QChar(0x2203);  // there exists
    case 0x5E: return QChar(0x22A5);  // perpendicular
    case 0xA3: return QChar(0x2264);
    case 0xA5: return QChar(0x221E);
    case 0xB0: return QChar(0x00B0);
    case 0xB1: return QChar(0x00B1);
    case 0xB3: return QChar(0x2265);
    case 0xB4: return QChar(0x00D7);
    case 0xB8: return QChar(0x00F7);
    case 0xB9: return QChar(0x2260);
    case 0xBB: return QChar(0x2248);
    case 0xD0: return QChar(0x2220);  // angle
    case 0xD6: return QChar(0x221A);
    default: return QChar(b);
    }
}

// Text bytes in the code page of the font's character set.
QString textOf(const uchar* bytes, int count, int charset) {
    const QByteArray raw(reinterpret_cast<const char*>(bytes), count);
    if (charset == 2) {
        QString out;
        for (char c : raw) out += symbolChar(uchar(c));
        return out;
    }
    const char* codec = charset == 161   ? "windows-1253"
                        : charset == 238 ? "windows-1250"
                        : charset == 204 ? "windows-1251"
                        : charset == 162 ? "windows-1254"
                        : charset == 177 ? "windows-1255"
                        : charset == 178 ? "windows-1256"
                        : charset == 186 ? "windows-1257"
                                         : "windows-1252";
    QStringDecoder decoder(codec);
    return decoder.isValid() ? decoder.decode(raw) : QString::fromLatin1(raw);
}

}  // namespace

std::optional<Metafile> Metafile::read(const QByteArray& whole, QString* error, bool cut) {
    // A longer file is read as far as the limit, as if the rest were cut off.
    const QByteArray bytes = whole.size() > Limits::FileBytes ? whole.left(Limits::FileBytes) : whole;
    cut = cut || bytes.size() < whole.size();
    const auto fail = [error](const char* why) {
        if (error) *error = QString::fromLatin1(why);
        return std::optional<Metafile>();
    };
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < 22 + 18) return fail("too short for a placeable metafile");
    if (qFromLittleEndian<quint32>(b) != PlaceableKey) return fail("not a placeable metafile");
    const int left = qFromLittleEndian<qint16>(b + 6), top = qFromLittleEndian<qint16>(b + 8),
              right = qFromLittleEndian<qint16>(b + 10), bottom = qFromLittleEndian<qint16>(b + 12),
              inch = qFromLittleEndian<quint16>(b + 14);
    if (right <= left || bottom <= top || inch == 0) return fail("bounding box or units per inch unusable");
    const uchar* h = b + 22;
    const int type = qFromLittleEndian<quint16>(h), headerWords = qFromLittleEndian<quint16>(h + 2),
              objects = qFromLittleEndian<quint16>(h + 10);
    if ((type != 1 && type != 2) || headerWords != 9) return fail("bad metafile header");
    if (objects > MaxObjects) return fail("object table too large");

    Metafile m;
    m.m_bytes = bytes;
    m.m_bounds = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    m.m_sizeTwips = QSizeF((right - left) * 1440.0 / inch, (bottom - top) * 1440.0 / inch);
    m.m_objects = objects;
    // The header's own record count and file size are not trusted: the bytes are.
    std::vector<bool> used(size_t(objects), false);
    qsizetype at = 22 + 18;
    while (at + 6 <= bytes.size()) {
        const quint32 size = qFromLittleEndian<quint32>(b + at);
        const quint16 function = qFromLittleEndian<quint16>(b + at + 4);
        if (size < 3) return fail("record size below its own header");
        if (qint64(size) * 2 > bytes.size() - at) {
            if (cut && !m.m_records.empty()) break;
            return fail("record past the end of the file");
        }
        if (function == META_EOF) break;
        if (m.m_records.size() >= size_t(MaxRecords)) return fail("too many records");
        const Record r{function, at + 6, int(size - 3)};
        const Params p(m.m_bytes, r);
        const qint64 need = wordsNeeded(p, function);
        if (need < 0 || need > r.words) return fail("record shorter than its contents");
        if (createsObject(function)) {
            const auto slot = std::find(used.begin(), used.end(), false);
            if (slot == used.end()) return fail("object table full");
            *slot = true;
        } else if (function == SELECTOBJECT || function == DELETEOBJECT) {
            if (p.u(0) >= objects) return fail("object index out of range");
            if (function == DELETEOBJECT) used[p.u(0)] = false;
        }
        m.m_records.push_back(r);
        at += qsizetype(size) * 2;
    }
    if (at < bytes.size() && at + 6 > bytes.size() && !cut) return fail("truncated record");
    if (cut) qCWarning(lcPages, "a picture longer than %lld bytes: only its first part is shown", qlonglong(Limits::FileBytes));
    return m;
}

void Metafile::play(QPainter& painter, const QRectF& target) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(target, Qt::IntersectClip);
    Player player(painter, m_bytes, m_bounds, target, m_objects);
    playAll(player, m_records, m_name);
    painter.restore();
}

QStringList Metafile::texts() const {
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QStringList out;
    // Played at its own size, so that the limits judge it as on a screen.
    Player player(painter, m_bytes, m_bounds, QRectF(QPointF(0, 0), m_sizeTwips / 15), m_objects);
    player.texts = &out;
    playAll(player, m_records, m_name);
    return out;
}

}  // namespace platform
