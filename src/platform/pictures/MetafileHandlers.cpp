// The records we draw or keep, one handler each; Player::play reaches them through its table.
#include "platform/pictures/MetafilePlayer.h"

#include <QPainterPath>
#include <cmath>

namespace platform::wmf {

void Player::saveDC(const Params&, quint16) {
    if (m_saved.size() >= size_t(Limits::SavedStates)) {
        ignored = QStringLiteral("states saved more than %1 deep").arg(Limits::SavedStates);
        return;
    }
    if (!spendClip(true)) return;
    m_saved.push_back(m_s);
    m_p.save();
}

void Player::restoreDC(const Params& p, quint16) {
    const int n = p.s(0), depth = int(m_saved.size());
    const int target = n < 0 ? depth + n : n - 1;
    if (target < 0 || target >= depth) return;
    while (int(m_saved.size()) > target) {
        m_s = m_saved.back();
        m_saved.pop_back();
        m_p.restore();
    }
}

void Player::setWindowOrg(const Params& p, quint16) { m_s.windowOrg = QPointF(p.s(1), p.s(0)); }
void Player::setWindowExt(const Params& p, quint16) { m_s.windowExt = QPointF(p.s(1), p.s(0)); }
void Player::setBkMode(const Params& p, quint16) { m_s.bkMode = p.u(0); }
void Player::setBkColor(const Params& p, quint16) { m_s.bk = p.colour(0); }
void Player::setTextColor(const Params& p, quint16) { m_s.text = p.colour(0); }
void Player::setPolyFillMode(const Params& p, quint16) { m_s.polyFill = p.u(0); }
void Player::setTextAlign(const Params& p, quint16) { m_s.textAlign = p.u(0); }
void Player::setRop2(const Params& p, quint16) { m_s.rop2 = p.u(0); }

void Player::createPen(const Params& p, quint16) {
    Object o;
    o.kind = Object::Pen;
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const int style = p.u(0) & 0xF;
    o.pen = QPen(p.colour(3), p.s(1) < 0 ? 0 : p.s(1), style < 7 ? styles[style] : Qt::SolidLine);
    create(o);
}

void Player::createBrush(const Params& p, quint16) {
    Object o;
    o.kind = Object::Brush;
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,      Qt::FDiagPattern,
                                             Qt::BDiagPattern, Qt::CrossPattern,    Qt::DiagCrossPattern};
    const int style = p.u(0), hatch = p.u(3);
    o.brush = style == 1   ? QBrush(Qt::NoBrush)
              : style == 2 ? QBrush(p.colour(1), hatch < 6 ? hatches[hatch] : Qt::SolidPattern)
                           : QBrush(p.colour(1));
    create(o);
}

void Player::createFont(const Params& p, quint16) {
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
}

void Player::createOther(const Params&, quint16) {
    Object o;
    o.kind = Object::Other;
    create(o);
}

void Player::selectObject(const Params& p, quint16) {
    if (const Object* o = object(p.u(0))) {
        if (o->kind == Object::Pen) m_s.pen = p.u(0);
        else if (o->kind == Object::Brush) m_s.brush = p.u(0);
        else if (o->kind == Object::Font) m_s.font = p.u(0);
    }
}

void Player::deleteObject(const Params& p, quint16) {
    if (Object* o = object(p.u(0))) *o = Object();
}

void Player::moveTo(const Params& p, quint16) {
    m_s.current = QPointF(p.s(1), p.s(0));
}

void Player::lineTo(const Params& p, quint16) {
    QPointF from = map(m_s.current.x(), m_s.current.y()), to = map(p.s(1), p.s(0));
    m_s.current = QPointF(p.s(1), p.s(0));
    if (!clipSegment(from, to, reach()) || !spendShape(2, extent(QPolygonF{from, to}, false))) return;
    shape([&] { m_p.drawLine(from, to); });
}

void Player::polyline(const Params& p, quint16) {
    QPolygonF points;
    polygon(p, 1, p.s(0), points);
    const QRectF within = reach();
    const std::vector<QPolygonF> runs =
        within.contains(points.boundingRect()) ? std::vector<QPolygonF>{points} : clipPolyline(points, within);
    Extent along;
    for (const QPolygonF& run : runs) along += extent(run, false);
    if (!spendShape(points.size(), along)) return;
    shape([&] {
        for (const QPolygonF& run : runs) m_p.drawPolyline(run);
    });
}

void Player::polygons(const Params& p, quint16 function) {
    // A polygon is a polypolygon of one ring.
    const int polys = function == POLYGON ? 1 : p.s(0);
    QPainterPath path;
    path.setFillRule(m_s.polyFill == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    QPolygonF single;
    const QRectF within = reach();
    Extent along;
    qint64 count = 0;
    int at = function == POLYGON ? 1 : 1 + polys;
    for (int i = 0; i < polys; ++i) {
        const int n = function == POLYGON ? p.s(0) : p.s(1 + i);
        QPolygonF points;
        polygon(p, at, n, points);
        at += 2 * n;
        count += n;
        if (!within.contains(points.boundingRect())) points = clipPolygon(points, within);
        along += extent(points, true);
        if (function == POLYGON) single = points;
        path.addPolygon(points);
        path.closeSubpath();
    }
    if (!spendShape(count, along, visibleArea(path.boundingRect()))) return;
    shape([&] {
        if (function == POLYGON) m_p.drawPolygon(single, m_s.polyFill == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        else m_p.drawPath(path);
    });
}

void Player::rectangle(const Params& p, quint16) {
    QRectF box = rect(p, 0);
    if (!reach().contains(box)) box &= reach();
    if (box.isEmpty() || !spendShape(4, extent(box, false), visibleArea(box))) return;
    shape([&] { m_p.drawRect(box); });
}

void Player::ellipse(const Params& p, quint16) {
    const QRectF box = rect(p, 0);
    if (farTooLarge(box) || !spendShape(4, outline(box), visibleArea(box))) return;
    shape([&] { m_p.drawEllipse(box); });
}

void Player::roundRect(const Params& p, quint16) {
    const QRectF box = rect(p, 2);
    const double w = std::fabs(p.s(1) * sx()) / 2, h = std::fabs(p.s(0) * sy()) / 2;
    if (farTooLarge(box) || !spendShape(4, outline(box), visibleArea(box))) return;
    shape([&] { m_p.drawRoundedRect(box, w, h); });
}

void Player::arc(const Params& p, quint16 function) {
    const QRectF box = rect(p, 4);
    if (box.isEmpty() || farTooLarge(box) || !spendShape(4, outline(box), visibleArea(box))) return;
    const QPointF c = box.center(), start = map(p.s(3), p.s(2)), end = map(p.s(1), p.s(0));
    // Counter-clockwise from the start radial to the end radial, as the y axis points down.
    const double a0 = std::atan2(c.y() - start.y(), start.x() - c.x()) * 180 / M_PI;
    double sweep = std::atan2(c.y() - end.y(), end.x() - c.x()) * 180 / M_PI - a0;
    if (sweep <= 0) sweep += 360;
    const int qa = int(std::lround(a0 * 16)), qs = int(std::lround(sweep * 16));
    shape([&] {
        if (function == ARC) m_p.drawArc(box, qa, qs);
        else if (function == PIE) m_p.drawPie(box, qa, qs);
        else m_p.drawChord(box, qa, qs);
    });
}

void Player::intersectClip(const Params& p, quint16) {
    if (!spendClip(false)) return;
    m_p.setClipRect(rect(p, 0), Qt::IntersectClip);
}

void Player::excludeClip(const Params& p, quint16) {
    if (!spendClip(false)) return;
    const QRegion now = m_p.hasClipping() ? m_p.clipRegion() : QRegion(m_target.toAlignedRect());
    m_p.setClipRegion(now.subtracted(QRegion(rect(p, 0).toAlignedRect())));
}

void Player::textOut(const Params& p, quint16) {
    const int count = p.s(0), words = (count + 1) / 2;
    const QString s = textOf(p.bytesFrom(1), count, m_s.font >= 0 && m_s.font < int(m_table.size())
                                                         ? m_table[m_s.font].font.charset : 0);
    text(map(p.s(2 + words), p.s(1 + words)), s, {}, nullptr);
}

void Player::extTextOut(const Params& p, quint16) {
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
}

}  // namespace platform::wmf
