// The drawings on the Key Facts page as geometry, so the page generator draws them and the tests
// can check them: the five regular solids as the faces a pupil sees, and the dice nets with the
// numbers written on their squares.
#pragma once

#include <QPoint>
#include <QPointF>
#include <cmath>
#include <vector>

namespace figures {

// A face: its corners in order round it, in a unit square (y downwards).
using Face = std::vector<QPointF>;

enum Solid { Tetrahedron, Cube, Octahedron, Dodecahedron, Icosahedron };

// The regular polygon of n corners round the middle of the square, the first `turn` radians
// clockwise from straight up.
inline std::vector<QPointF> regular(int n, double r, double turn) {
    std::vector<QPointF> ring;
    for (int k = 0; k < n; ++k) {
        const double a = turn + 2 * M_PI * k / n;
        ring.emplace_back(0.5 + r * std::sin(a), 0.5 - r * std::cos(a));
    }
    return ring;
}

inline QPointF at(const std::vector<QPointF>& ring, int k) {
    const int n = int(ring.size());
    return ring[size_t(((k % n) + n) % n)];
}

// Every face of the solid that faces the pupil, as it is drawn; together they fill its outline.
inline std::vector<Face> visibleFaces(Solid solid) {
    std::vector<Face> faces;
    switch (solid) {
    case Tetrahedron: {  // a triangle seen with its fourth corner in front
        const auto outline = regular(3, 0.48, 0);
        const QPointF front(0.5, 0.62);
        for (int k = 0; k < 3; ++k) faces.push_back({at(outline, k), at(outline, k + 1), front});
        break;
    }
    case Cube:
        faces.push_back({{0.05, 0.3}, {0.7, 0.3}, {0.7, 0.95}, {0.05, 0.95}});
        faces.push_back({{0.05, 0.3}, {0.3, 0.05}, {0.95, 0.05}, {0.7, 0.3}});
        faces.push_back({{0.7, 0.3}, {0.95, 0.05}, {0.95, 0.7}, {0.7, 0.95}});
        break;
    case Octahedron: {  // a square on its corner, with the corner nearest the pupil a little low and left
        const QPointF top(0.5, 0.02), right(0.95, 0.5), bottom(0.5, 0.98), left(0.05, 0.5), front(0.38, 0.6);
        faces = {{top, front, left}, {top, right, front}, {left, front, bottom}, {front, right, bottom}};
        break;
    }
    case Dodecahedron: {  // face on: a pentagon in front, and round it five pentagons out to the outline
        const auto front = regular(5, 0.26, M_PI), outline = regular(10, 0.47, 0);
        faces.push_back(front);
        // Front corner k points at the outline's corner 5 + 2k, the one in its direction.
        for (int k = 0; k < 5; ++k)
            faces.push_back({at(front, k), at(outline, 5 + 2 * k), at(outline, 6 + 2 * k), at(outline, 7 + 2 * k),
                             at(front, k + 1)});
        break;
    }
    case Icosahedron: {  // face on: a triangle in front, each of its corners meeting three of the outline's
        const auto front = regular(3, 0.3, 0), outline = regular(6, 0.48, 0);
        faces.push_back(front);
        for (int k = 0; k < 3; ++k) {
            faces.push_back({at(front, k), at(outline, 2 * k - 1), at(outline, 2 * k)});
            faces.push_back({at(front, k), at(outline, 2 * k), at(outline, 2 * k + 1)});
            faces.push_back({at(front, k), at(outline, 2 * k + 1), at(front, k + 1)});
        }
        break;
    }
    }
    return faces;
}

// A net of a die: each row a string, a digit for a square and '.' for none.
using Net = std::vector<const char*>;

// The two nets under the dice rule: a cross (opposite squares in a line, one square between them),
// and a net with two Zs, one with two squares in its middle (1 and 6) and one with three (3 and 4).
inline std::vector<Net> diceRuleNets() {
    return {{".2..", "3146", ".5.."}, {"13..", ".265", "...4"}};
}

}  // namespace figures
