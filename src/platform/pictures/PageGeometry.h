// Shapes cut to the page before they are drawn, so that what lies far outside it costs nothing, and
// what drawing a shape costs: its length and the pixels its edges pass through.
#pragma once
#include <QPolygonF>
#include <QRectF>
#include <vector>

namespace platform::wmf {

// Liang-Barsky: shortens a-b to its part inside r; false when no part of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r);
// A polyline cut to r: the runs of it that lie inside.
std::vector<QPolygonF> clipPolyline(const QPolygonF& line, const QRectF& r);
// Sutherland-Hodgman: a polygon cut to r, filling the same inside r under either fill rule.
QPolygonF clipPolygon(const QPolygonF& polygon, const QRectF& r);

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
Extent extent(const QPolygonF& line, bool closed);
// A box's outline: a rectangle is filled without cells, a curve through the pixels of its outline.
Extent extent(const QRectF& box, bool curved);

}  // namespace platform::wmf
