#include "platform/pictures/PageGeometry.h"

#include <QLineF>
#include <cmath>

namespace platform::wmf {

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
Extent extent(const QRectF& box, bool curved) {
    const double outline = 2 * (box.width() + box.height());
    return {outline, curved ? outline : 0};
}

}  // namespace platform::wmf
