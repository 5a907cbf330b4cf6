#include "platform/pictures/MetafilePlayer.h"
#include "platform/pictures/ThreadClock.h"
#include "platform/pictures/MetafileBitmap.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLoggingCategory>
#include <QPaintEngine>
#include <cmath>

Q_LOGGING_CATEGORY(lcPages, "vellacourt.pages")

namespace platform {
namespace wmf {

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
    if (texts) {
        Metafile::Text& t = texts->emplace_back(Metafile::Text{s, QRectF(at.x() + x, at.y() + y - fm.ascent(), width, fm.height()), {}, em, font.weight()});
        for (double p : place) t.edges.push_back(t.box.left() + p);
    }
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
    using Handler = void (Player::*)(const Params&, quint16);
    static const QHash<quint16, Handler> handlers = {
        {SAVEDC, &Player::saveDC},
        {RESTOREDC, &Player::restoreDC},
        {SETWINDOWORG, &Player::setWindowOrg},
        {SETWINDOWEXT, &Player::setWindowExt},
        {SETBKMODE, &Player::setBkMode},
        {SETBKCOLOR, &Player::setBkColor},
        {SETTEXTCOLOR, &Player::setTextColor},
        {SETPOLYFILLMODE, &Player::setPolyFillMode},
        {SETTEXTALIGN, &Player::setTextAlign},
        {SETROP2, &Player::setRop2},
        {CREATEPENINDIRECT, &Player::createPen},
        {CREATEBRUSHINDIRECT, &Player::createBrush},
        {CREATEFONTINDIRECT, &Player::createFont},
        {CREATEPALETTE, &Player::createOther},
        {CREATEPATTERNBRUSH, &Player::createOther},
        {DIBCREATEPATTERNBRUSH, &Player::createOther},
        {CREATEREGION, &Player::createOther},
        {SELECTOBJECT, &Player::selectObject},
        {DELETEOBJECT, &Player::deleteObject},
        {MOVETO, &Player::moveTo},
        {LINETO, &Player::lineTo},
        {POLYLINE, &Player::polyline},
        {POLYGON, &Player::polygons},
        {POLYPOLYGON, &Player::polygons},
        {RECTANGLE, &Player::rectangle},
        {ELLIPSE, &Player::ellipse},
        {ROUNDRECT, &Player::roundRect},
        {ARC, &Player::arc},
        {PIE, &Player::arc},
        {CHORD, &Player::arc},
        {INTERSECTCLIPRECT, &Player::intersectClip},
        {EXCLUDECLIPRECT, &Player::excludeClip},
        {TEXTOUT, &Player::textOut},
        {EXTTEXTOUT, &Player::extTextOut},
        {STRETCHDIB, &Player::bitmap},
        {DIBSTRETCHBLT, &Player::bitmap},
        {DIBBITBLT, &Player::bitmap}};
    if (const auto it = handlers.constFind(r.function); it != handlers.cend()) (this->*it.value())(Params(m_bytes, r), r.function);
}

void playAll(Player& player, const std::vector<Metafile::Record>& records, const QString& picture,
             const std::atomic<bool>* stop) {
    const auto end = threadTime() + std::chrono::milliseconds(Limits::Milliseconds);
    for (size_t i = 0; i < records.size() && player.stopped.isEmpty() && !(stop && *stop); ++i) {
        player.play(records[i]);
        // After every record: one record may cost as much as many.
        if (threadTime() > end)
            player.stopped = QStringLiteral("longer than %1 ms to draw").arg(Limits::Milliseconds);
    }
    player.unwind();
    const QString name = picture.isEmpty() ? QStringLiteral("a picture") : picture;
    if (!player.ignored.isEmpty()) qCWarning(lcPages, "%s: %s were not kept", qPrintable(name), qPrintable(player.ignored));
    if (!player.stopped.isEmpty())
        qCWarning(lcPages, "%s is shown only in part: it asks for %s", qPrintable(name), qPrintable(player.stopped));
}

}  // namespace wmf

using namespace wmf;

void Metafile::play(QPainter& painter, const QRectF& target, const std::atomic<bool>* stop) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(target, Qt::IntersectClip);
    Player player(painter, m_bytes, m_bounds, target, m_objects);
    playAll(player, m_records, m_name, stop);
    painter.restore();
}

std::vector<Metafile::Text> Metafile::textBoxes() const {
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    std::vector<Text> out;
    // Played at its own size, so that the limits judge it as on a screen.
    Player player(painter, m_bytes, m_bounds, QRectF(QPointF(0, 0), m_sizeTwips / 15), m_objects);
    player.texts = &out;
    playAll(player, m_records, m_name);
    return out;
}

QStringList Metafile::texts() const {
    QStringList out;
    for (const Text& t : textBoxes()) out << t.text;
    return out;
}

}  // namespace platform
