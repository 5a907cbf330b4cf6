// Draws the program's own pictures: the mathematicians' portraits (Euclid at his desk with his geometry,
// Pythagoras at his drawing board, Fibonacci with his book, Eratosthenes by his sundial, Archimedes at his
// tray of sand, Al-Khwarizmi at his desk) and the publisher's logo.
// Run through make_pictures.sh, which writes them into data/Images.
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {

const QColor Ink(40, 30, 20), Parchment(238, 222, 180), Gold(222, 178, 60), Toga(236, 232, 220),
    TogaShade(196, 188, 170), Skin(222, 176, 136), SkinShade(186, 136, 100), Beard(214, 214, 208),
    Sky1(24, 44, 104), Sky2(72, 118, 186), Stone(214, 200, 168), StoneShade(170, 152, 118);

// Pythagoras on Samos: an evening sea, his mantle, his dark beard and the board he draws on.
const QColor DuskHigh(30, 42, 100), DuskLow(232, 170, 112), Sea(36, 92, 138), SeaDeep(20, 58, 98),
    Island(118, 96, 112), Mantle(150, 58, 46), MantleShade(104, 36, 30), DarkBeard(84, 70, 62),
    Wood(120, 78, 44), Sand(232, 216, 172), OnThree(214, 110, 86), OnFour(92, 146, 206), OnFive(236, 196, 84);

// Fibonacci in Pisa: striped marble arcades, a red cap and cape over a merchant's blue robe, his book.
const QColor NoonHigh(40, 78, 150), NoonLow(150, 186, 222), Marble(236, 230, 214), MarbleBand(96, 112, 108),
    Recess(138, 126, 108), Terracotta(176, 98, 66), Scarlet(170, 36, 40), ScarletShade(116, 22, 28),
    Robe(42, 78, 128), RobeShade(24, 46, 84), Hair(88, 58, 36), Leather(112, 44, 30), Rubric(176, 30, 30);

// The backdrop of a topic screen, and the quiz's small portrait.
constexpr int LargeW = 786, LargeH = 560, SmallW = 320, SmallH = 240;

// A picture `w` by `h` at `k` times that size, drawn by `draw` in the picture's own (1x) coordinates.
template <class Draw> QImage painted(int w, int h, int k, Draw draw) {
    QImage img(w * k, h * k, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(k, k);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return img;
}

// A sky from `high` at the top to `low` at `horizon`, over the whole picture.
void paintSky(QPainter& p, double w, double h, double horizon, const QColor& high, const QColor& low) {
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, high);
    sky.setColorAt(1, low);
    p.fillRect(QRectF(0, 0, w, h), sky);
}

// Darkens a backdrop where the topic screen's heading and entries stand, so their yellow text stays readable.
void shadeUnderControls(QPainter& p) {
    QLinearGradient shade(0, 0, 0, LargeH);
    shade.setColorAt(0, QColor(10, 16, 40, 200));
    shade.setColorAt(0.13, QColor(10, 16, 40, 0));
    shade.setColorAt(0.86, QColor(10, 16, 40, 0));
    shade.setColorAt(0.93, QColor(10, 16, 40, 190));
    p.fillRect(QRect(0, 0, LargeW, LargeH), shade);
}

// A figure drawn in the small picture's units, enlarged by `scale` from `at`.
template <class Draw> void drawEnlarged(QPainter& p, QPointF at, double scale, Draw draw) {
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    draw();
    p.restore();
}

// A temple front of Alexandria behind the figure.
void drawColumns(QPainter& p, double w, double h) {
    p.setPen(Qt::NoPen);
    const double base = h * 0.80, top = h * 0.22;
    p.setBrush(StoneShade);
    p.drawRect(QRectF(0, base, w, h - base));
    for (int i = 0; i < 6; ++i) {
        const double x = w * (0.04 + i * 0.19), cw = w * 0.07;
        QLinearGradient g(x, 0, x + cw, 0);
        g.setColorAt(0, StoneShade);
        g.setColorAt(0.45, Stone);
        g.setColorAt(1, StoneShade);
        p.setBrush(g);
        p.drawRect(QRectF(x, top + h * 0.05, cw, base - top - h * 0.05));
        p.setBrush(Stone);
        p.drawRect(QRectF(x - cw * 0.2, top + h * 0.02, cw * 1.4, h * 0.035));
        p.drawRect(QRectF(x - cw * 0.2, base - h * 0.03, cw * 1.4, h * 0.03));
    }
    p.setBrush(Stone);
    p.drawRect(QRectF(0, top - h * 0.03, w, h * 0.05));
    QPainterPath pediment;
    pediment.moveTo(-w * 0.02, top - h * 0.03);
    pediment.lineTo(w * 0.5, top - h * 0.2);
    pediment.lineTo(w * 1.02, top - h * 0.03);
    pediment.closeSubpath();
    p.setBrush(StoneShade);
    p.drawPath(pediment);
}

// The figure of the theorem: a right triangle whose legs run 3 units right and 4 units up from the
// right angle, with a square on each side (the hypotenuse's turned outwards).
struct TheoremFigure {
    QPointF a, b, c;         // the right angle, the end of the leg of 3, the end of the leg of 4
    QRectF onThree, onFour;  // the squares on the legs
    QPolygonF onFive;        // the square on the hypotenuse
    TheoremFigure(QPointF at, double s) : a(at), b(at + QPointF(3 * s, 0)), c(at + QPointF(0, -4 * s)) {
        onThree = QRectF(a.x(), a.y(), 3 * s, 3 * s);
        onFour = QRectF(a.x() - 4 * s, c.y(), 4 * s, 4 * s);
        const QPointF d = b - c, n(d.y(), -d.x());
        onFive = QPolygonF({c, b, b + n, c + n});
    }
};

// Euclid's Proposition 47, in outline.
void drawTheoremOutline(QPainter& p, QPointF at, double s) {
    const TheoremFigure f(at, s);
    p.drawLine(f.a, f.b);
    p.drawLine(f.a, f.c);
    p.drawLine(f.b, f.c);
    p.drawRect(f.onThree);
    p.drawRect(f.onFour);
    p.drawPolygon(f.onFive);
}

// A square of n by n cells from corner `o` along the sides `e1` and `e2`, tinted and ruled.
void drawGridSquare(QPainter& p, QPointF o, QPointF e1, QPointF e2, int n, const QColor& tint, double line) {
    p.setPen(Qt::NoPen);
    p.setBrush(tint);
    p.drawPolygon(QPolygonF({o, o + e1, o + e1 + e2, o + e2}));
    p.setPen(QPen(tint.darker(150), line * 0.5));
    for (int i = 1; i < n; ++i) {
        p.drawLine(o + e1 * i / n, o + e1 * i / n + e2);
        p.drawLine(o + e2 * i / n, o + e2 * i / n + e1);
    }
    p.setPen(QPen(Ink, line));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({o, o + e1, o + e1 + e2, o + e2}));
}

// The 3-4-5 triangle with its squares counted out in cells: 9 and 16 make 25.
void drawTheoremCounted(QPainter& p, QPointF at, double s) {
    const TheoremFigure f(at, s);
    const double line = s / 8;
    const QRectF& r3 = f.onThree;
    const QRectF& r4 = f.onFour;
    drawGridSquare(p, r3.topLeft(), QPointF(r3.width(), 0), QPointF(0, r3.height()), 3, OnThree, line);
    drawGridSquare(p, r4.topLeft(), QPointF(r4.width(), 0), QPointF(0, r4.height()), 4, OnFour, line);
    drawGridSquare(p, f.onFive[0], f.onFive[1] - f.onFive[0], f.onFive[3] - f.onFive[0], 5, OnFive, line);
    p.setPen(QPen(Ink, line * 1.6));
    p.setBrush(Toga);
    p.drawPolygon(QPolygonF({f.a, f.b, f.c}));
    p.setPen(QPen(Ink, line));
    p.setBrush(Qt::NoBrush);
    // The right angle's mark.
    const double m = 0.5 * s;
    p.drawPolyline(QPolygonF({f.a + QPointF(0, -m), f.a + QPointF(m, -m), f.a + QPointF(m, 0)}));
}

// ---- The parts every sitter shares, in the small picture's units: 240 tall, the middle at cx.

// The shoulders and body of a seated figure.
QPainterPath bodyOutline(double cx, double u) {
    QPainterPath body;
    body.moveTo(cx - 62 * u, 240 * u);
    body.cubicTo(cx - 64 * u, 170 * u, cx - 44 * u, 128 * u, cx - 8 * u, 122 * u);
    body.cubicTo(cx + 30 * u, 122 * u, cx + 58 * u, 150 * u, cx + 64 * u, 240 * u);
    body.closeSubpath();
    return body;
}

// A garment lit from the front: lighter in the middle, shaded at the sides.
QLinearGradient roundedCloth(double cx, double u, double halfWidth, const QColor& light, const QColor& shade) {
    QLinearGradient g(cx - halfWidth * u, 0, cx + halfWidth * u, 0);
    g.setColorAt(0, shade);
    g.setColorAt(0.5, light);
    g.setColorAt(1, shade);
    return g;
}

void drawBody(QPainter& p, double cx, double u, const QColor& light, const QColor& shade) {
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(roundedCloth(cx, u, 60, light, shade));
    p.drawPath(bodyOutline(cx, u));
}

// Folds falling across the chest from the left shoulder.
void drawFolds(QPainter& p, double cx, double u, const QColor& colour) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 1.5 * u));
    for (int i = 0; i < 4; ++i) {
        QPainterPath fold;
        fold.moveTo(cx - 40 * u + i * 8 * u, 140 * u + i * 6 * u);
        fold.cubicTo(cx - 10 * u + i * 10 * u, 160 * u + i * 10 * u, cx + 20 * u, 170 * u + i * 12 * u,
                     cx + 50 * u, 200 * u + i * 12 * u);
        p.drawPath(fold);
    }
}

void drawNeckAndHead(QPainter& p, double cx, double u) {
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(SkinShade);
    p.drawRect(QRectF(cx - 9 * u, 100 * u, 18 * u, 26 * u));
    QRadialGradient sg(cx - 6 * u, 70 * u, 36 * u);
    sg.setColorAt(0, Skin.lighter(110));
    sg.setColorAt(1, SkinShade);
    p.setBrush(sg);
    p.drawEllipse(QRectF(cx - 24 * u, 44 * u, 48 * u, 60 * u));
}

void drawHair(QPainter& p, double cx, double u, const QColor& colour) {
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(colour);
    QPainterPath hair;
    hair.moveTo(cx - 25 * u, 72 * u);
    hair.cubicTo(cx - 30 * u, 36 * u, cx + 30 * u, 30 * u, cx + 25 * u, 72 * u);
    hair.cubicTo(cx + 20 * u, 56 * u, cx - 20 * u, 52 * u, cx - 25 * u, 72 * u);
    p.drawPath(hair);
}

void drawBeard(QPainter& p, double cx, double u, const QColor& colour) {
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(colour);
    QPainterPath beard;
    beard.moveTo(cx - 23 * u, 78 * u);
    beard.cubicTo(cx - 24 * u, 110 * u, cx - 8 * u, 128 * u, cx, 132 * u);
    beard.cubicTo(cx + 8 * u, 128 * u, cx + 24 * u, 110 * u, cx + 23 * u, 78 * u);
    beard.cubicTo(cx + 14 * u, 94 * u, cx - 14 * u, 94 * u, cx - 23 * u, 78 * u);
    p.drawPath(beard);
    p.setPen(QPen(colour.darker(125), 1 * u));
    for (int i = -2; i <= 2; ++i) p.drawLine(QPointF(cx + i * 6 * u, 98 * u), QPointF(cx + i * 5 * u, 122 * u));
}

// Brows, eyes, nose and mouth.
void drawFace(QPainter& p, double cx, double u) {
    p.setPen(QPen(Ink, 1.4 * u));
    p.drawLine(QPointF(cx - 14 * u, 66 * u), QPointF(cx - 5 * u, 64 * u));
    p.drawLine(QPointF(cx + 5 * u, 64 * u), QPointF(cx + 14 * u, 66 * u));
    p.setBrush(Ink);
    p.drawEllipse(QPointF(cx - 9 * u, 71 * u), 1.8 * u, 1.6 * u);
    p.drawEllipse(QPointF(cx + 9 * u, 71 * u), 1.8 * u, 1.6 * u);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(cx, 72 * u), QPointF(cx - 3 * u, 84 * u));
    p.drawLine(QPointF(cx - 3 * u, 84 * u), QPointF(cx + 2 * u, 85 * u));
    p.drawLine(QPointF(cx - 6 * u, 92 * u), QPointF(cx + 6 * u, 92 * u));
}

// An arm reaching down and out to one side (+1 the picture's right, -1 its left), and its hand;
// the hand's middle is returned, for what it holds.
QPointF drawArm(QPainter& p, double cx, double u, double side, const QColor& sleeve) {
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(sleeve);
    QPainterPath arm;
    arm.moveTo(cx + side * 30 * u, 140 * u);
    arm.cubicTo(cx + side * 60 * u, 150 * u, cx + side * 80 * u, 170 * u, cx + side * 86 * u, 186 * u);
    arm.lineTo(cx + side * 72 * u, 194 * u);
    arm.cubicTo(cx + side * 60 * u, 178 * u, cx + side * 40 * u, 170 * u, cx + side * 24 * u, 164 * u);
    arm.closeSubpath();
    p.drawPath(arm);
    const QPointF hand(cx + side * 82 * u, 192 * u);
    p.setBrush(Skin);
    p.drawEllipse(hand, 8 * u, 7 * u);
    return hand;
}

// ---- Euclid

// Euclid: seated, bearded, in a toga, holding dividers over a scroll of figures.
void drawEuclidFigure(QPainter& p, double cx, double h) {
    const double u = h / 240.0;  // one unit of the small picture
    drawBody(p, cx, u, Toga, TogaShade);
    drawFolds(p, cx, u, TogaShade.darker(120));
    // Sash in gold.
    p.setPen(QPen(Gold.darker(130), 1 * u));
    p.setBrush(Gold);
    QPainterPath sash;
    sash.moveTo(cx - 30 * u, 128 * u);
    sash.lineTo(cx - 18 * u, 124 * u);
    sash.lineTo(cx + 50 * u, 230 * u);
    sash.lineTo(cx + 36 * u, 236 * u);
    sash.closeSubpath();
    p.drawPath(sash);
    drawNeckAndHead(p, cx, u);
    // Grey hair and the fillet of a scholar.
    drawHair(p, cx, u, Beard);
    p.setPen(QPen(Gold, 2.5 * u));
    p.drawArc(QRectF(cx - 24 * u, 46 * u, 48 * u, 30 * u), 20 * 16, 140 * 16);
    drawBeard(p, cx, u, Beard);
    drawFace(p, cx, u);
    drawArm(p, cx, u, 1, Toga);
    // The dividers in his hand.
    p.setPen(QPen(QColor(90, 90, 96), 2.2 * u));
    p.drawLine(QPointF(cx + 84 * u, 186 * u), QPointF(cx + 72 * u, 226 * u));
    p.drawLine(QPointF(cx + 84 * u, 186 * u), QPointF(cx + 102 * u, 222 * u));
    p.setBrush(Gold);
    p.setPen(QPen(Ink, 1 * u));
    p.drawEllipse(QPointF(cx + 84 * u, 185 * u), 3 * u, 3 * u);
}

// A scroll with a circle, an equilateral triangle (Book I, Proposition 1) and ruled lines.
void drawScroll(QPainter& p, QRectF r) {
    const double u = r.height() / 60.0;
    p.setPen(QPen(Ink, 1 * u));
    p.setBrush(Parchment);
    p.drawRoundedRect(r, 3 * u, 3 * u);
    p.setBrush(Parchment.darker(115));
    p.drawEllipse(QRectF(r.left() - 4 * u, r.top() - 2 * u, 8 * u, r.height() + 4 * u));
    p.drawEllipse(QRectF(r.right() - 4 * u, r.top() - 2 * u, 8 * u, r.height() + 4 * u));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 40, 30), 1.2 * u));
    const QPointF a(r.left() + r.width() * 0.22, r.center().y() + 8 * u), b = a + QPointF(22 * u, 0);
    p.drawEllipse(a, 22 * u, 22 * u * 0.6);
    p.drawEllipse(b, 22 * u, 22 * u * 0.6);
    p.setPen(QPen(Ink, 1.2 * u));
    p.drawPolygon(QPolygonF({a, b, QPointF((a.x() + b.x()) / 2, a.y() - 19 * u * 0.6 * 1.0)}));
    p.setPen(QPen(Ink.lighter(200), 0.8 * u));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(r.left() + r.width() * 0.55, r.top() + (12 + 9 * i) * u),
                   QPointF(r.right() - 8 * u, r.top() + (12 + 9 * i) * u));
}

QImage euclidSmall(int k) {
    return painted(SmallW, SmallH, k, [](QPainter& p) {
        const double w = SmallW, h = SmallH, figureX = 200;
        paintSky(p, w, h, h, Sky1, Sky2);
        drawColumns(p, w, h);
        // The figure of Proposition 47 drawn in the sand, left of the figure.
        p.setPen(QPen(Gold, h / 160.0));
        p.setBrush(Qt::NoBrush);
        drawTheoremOutline(p, QPointF(figureX - h * 0.62, h * 0.62), h / 38.0);
        drawEuclidFigure(p, figureX, h);
        drawScroll(p, QRectF(figureX - h * 0.55, h * 0.80, h * 0.48, h * 0.17));
    });
}

// The topic menu's backdrop: the same scene across the whole screen.
QImage euclidLarge(int k) {
    return painted(LargeW, LargeH, k, [](QPainter& p) {
        paintSky(p, LargeW, LargeH, LargeH, Sky1, Sky2);
        drawColumns(p, LargeW, LargeH);
        p.setPen(QPen(Gold, 3));
        drawTheoremOutline(p, QPointF(170, 330), 15);
        drawEnlarged(p, QPointF(300, 70), 420.0 / 240.0, [&] { drawEuclidFigure(p, 110, 240); });
        drawScroll(p, QRectF(70, 400, 250, 90));
        shadeUnderControls(p);
    });
}

// ---- Pythagoras

// The sea off Samos at evening, an island with a small temple, and the stone terrace he stands on.
void drawSamos(QPainter& p, double w, double h) {
    const double horizon = h * 0.58, terrace = h * 0.80;
    paintSky(p, w, h, horizon, DuskHigh, DuskLow);
    // The setting sun, low over the water.
    QRadialGradient glow(w * 0.44, horizon, h * 0.22);
    glow.setColorAt(0, QColor(255, 236, 180, 230));
    glow.setColorAt(0.25, QColor(255, 214, 140, 120));
    glow.setColorAt(1, QColor(255, 200, 120, 0));
    p.fillRect(QRectF(0, 0, w, horizon), glow);
    // A headland with a temple on it.
    p.setPen(Qt::NoPen);
    p.setBrush(Island);
    QPainterPath land;
    land.moveTo(w * 0.52, horizon + 1);
    land.cubicTo(w * 0.60, horizon - h * 0.10, w * 0.70, horizon - h * 0.16, w * 0.80, horizon - h * 0.12);
    land.cubicTo(w * 0.90, horizon - h * 0.09, w * 0.96, horizon - h * 0.05, w * 1.02, horizon - h * 0.04);
    land.lineTo(w * 1.02, horizon + 1);
    land.closeSubpath();
    p.drawPath(land);
    const double tx = w * 0.75, ty = horizon - h * 0.118, tw = w * 0.07, th = h * 0.035;
    p.setBrush(Stone);
    p.drawRect(QRectF(tx, ty - th, tw, th));
    p.drawPolygon(QPolygonF({QPointF(tx - tw * 0.06, ty - th), QPointF(tx + tw / 2, ty - th - h * 0.018),
                             QPointF(tx + tw * 1.06, ty - th)}));
    p.setBrush(StoneShade);
    for (int i = 0; i < 4; ++i) p.drawRect(QRectF(tx + tw * (0.14 + i * 0.22), ty - th * 0.75, tw * 0.08, th * 0.75));
    // The sea, with a few lines of light on it.
    QLinearGradient sea(0, horizon, 0, terrace);
    sea.setColorAt(0, Sea);
    sea.setColorAt(1, SeaDeep);
    p.fillRect(QRectF(0, horizon, w, terrace - horizon), sea);
    p.setPen(QPen(QColor(250, 214, 150, 150), h / 240.0));
    for (int i = 0; i < 4; ++i) {
        const double y = horizon + (terrace - horizon) * (0.1 + i * 0.2), half = w * (0.02 + i * 0.01);
        p.drawLine(QPointF(w * 0.44 - half, y), QPointF(w * 0.44 + half, y));
    }
    // The terrace: a parapet's coping, then the paving.
    p.setPen(Qt::NoPen);
    p.setBrush(Stone);
    p.drawRect(QRectF(0, terrace - h * 0.025, w, h * 0.025));
    p.setBrush(StoneShade);
    p.drawRect(QRectF(0, terrace, w, h - terrace));
}

// A dust board on two legs, framed in wood, with the theorem drawn on it.
void drawBoard(QPainter& p, QRectF r, double floor) {
    const double u = r.width() / 100.0;
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(Wood.darker(115));
    p.drawRect(QRectF(r.left() + 12 * u, r.bottom(), 5 * u, floor - r.bottom()));
    p.drawRect(QRectF(r.right() - 17 * u, r.bottom(), 5 * u, floor - r.bottom()));
    p.setBrush(Wood);
    p.drawRect(r);
    const QRectF sand = r.adjusted(4 * u, 4 * u, -4 * u, -4 * u);
    p.setBrush(Sand);
    p.drawRect(sand);
    // The figure is 11 squares across and 10 down; centred, with room to spare.
    const double s = std::min(sand.width() / 12.0, sand.height() / 11.0);
    const QPointF at(sand.center().x() + (4 - 5.5) * s, sand.center().y() + (7 - 5) * s);
    drawTheoremCounted(p, at, s);
}

// Pythagoras: bearded, a white band in his dark hair, a mantle over his shoulder, pointing with a rod.
void drawPythagorasFigure(QPainter& p, double cx, double u) {
    drawBody(p, cx, u, Toga, TogaShade);
    drawFolds(p, cx, u, TogaShade.darker(120));
    // The mantle, over his left shoulder and across to the other hip, with a gold border.
    QPainterPath mantle;
    mantle.moveTo(cx - 4 * u, 123 * u);
    mantle.cubicTo(cx + 30 * u, 122 * u, cx + 58 * u, 150 * u, cx + 64 * u, 240 * u);
    mantle.lineTo(cx - 46 * u, 240 * u);
    mantle.cubicTo(cx - 20 * u, 200 * u, cx - 6 * u, 160 * u, cx - 4 * u, 123 * u);
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(roundedCloth(cx + 20 * u, u, 50, Mantle, MantleShade));
    p.drawPath(mantle);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(MantleShade.darker(130), 1.4 * u));
    for (int i = 0; i < 3; ++i) {
        QPainterPath fold;
        fold.moveTo(cx + (10 + i * 12) * u, (136 + i * 4) * u);
        fold.cubicTo(cx + (16 + i * 12) * u, (170 + i * 6) * u, cx + (10 + i * 14) * u, 210 * u,
                     cx + (4 + i * 16) * u, 238 * u);
        p.drawPath(fold);
    }
    p.setPen(QPen(Gold, 2.4 * u));
    QPainterPath border;
    border.moveTo(cx - 4 * u, 124 * u);
    border.cubicTo(cx - 6 * u, 160 * u, cx - 20 * u, 200 * u, cx - 44 * u, 238 * u);
    p.drawPath(border);
    drawNeckAndHead(p, cx, u);
    drawHair(p, cx, u, DarkBeard);
    // The band of white cloth round his head.
    p.setPen(QPen(Toga, 4 * u, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(cx - 24 * u, 45 * u, 48 * u, 30 * u), 18 * 16, 144 * 16);
    drawBeard(p, cx, u, DarkBeard);
    drawFace(p, cx, u);
    // The rod he points with, held in his right hand.
    const QPointF grip(cx - 82 * u, 192 * u);
    p.setPen(QPen(Wood.darker(140), 2.6 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(grip + QPointF(6 * u, 8 * u), grip + QPointF(-66 * u, -74 * u));
    drawArm(p, cx, u, -1, Toga);
}

// ---- Fibonacci

// The striped marble of Pisa: a wall of round-arched arcades with diamond inlays, a terracotta floor.
void drawPisa(QPainter& p, double w, double h) {
    const double top = h * 0.15, base = h * 0.80;
    paintSky(p, w, h, top, NoonHigh, NoonLow);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, top, w, base - top), Marble);
    for (double y = top + h * 0.045; y < base; y += h * 0.05) p.fillRect(QRectF(0, y, w, h * 0.014), MarbleBand);
    p.fillRect(QRectF(0, top - h * 0.012, w, h * 0.03), MarbleBand.darker(130));
    const double aw = w * 0.13, gap = w * 0.07, springing = h * 0.36;
    for (int i = 0; i < 6; ++i) {
        const double x = w * 0.01 + i * (aw + gap);
        QPainterPath arch;
        arch.moveTo(x, base);
        arch.lineTo(x, springing);
        arch.arcTo(QRectF(x, springing - aw / 2, aw, aw), 180, -180);
        arch.lineTo(x + aw, base);
        arch.closeSubpath();
        QLinearGradient g(x, 0, x + aw, 0);
        g.setColorAt(0, Recess.darker(125));
        g.setColorAt(1, Recess);
        p.setPen(QPen(MarbleBand, h * 0.012));
        p.setBrush(g);
        p.drawPath(arch);
        // A diamond of coloured stone between this arch and the next.
        const QPointF d(x + aw + gap / 2, springing - aw * 0.3);
        const double r = gap * 0.3;
        p.setPen(Qt::NoPen);
        p.setBrush(MarbleBand);
        p.drawPolygon(
            QPolygonF({d + QPointF(0, -r * 1.3), d + QPointF(r, 0), d + QPointF(0, r * 1.3), d + QPointF(-r, 0)}));
    }
    p.fillRect(QRectF(0, base, w, h - base), Terracotta);
    p.setPen(QPen(Terracotta.darker(130), h / 300.0));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(0, base + (h - base) * i / 4.0), QPointF(w, base + (h - base) * i / 4.0));
}

// The squares of 1, 1, 2, 3, 5 and 8, each laid against the side the ones before have grown to, with
// the spiral of quarter circles through them; 8 squares across and 13 down, from `topLeft`.
void drawFibonacciSquares(QPainter& p, QPointF topLeft, double s) {
    struct Square {
        QRectF r;
        int dir;
    };
    const int sizes[] = {1, 1, 2, 3, 5, 8};
    Square squares[6];
    QRectF grown(2, 3, 1, 1);  // the first square, so that the whole lies within 0..8 by 0..13
    squares[0] = {grown, 0};
    for (int i = 1; i < 6; ++i) {
        const double f = sizes[i];
        const int dir = i % 4;  // the side it goes on, in turn: right, below, left, above
        QRectF r;
        if (dir == 0) r = QRectF(grown.right(), grown.top(), f, f);
        if (dir == 1) r = QRectF(grown.left(), grown.bottom(), f, f);
        if (dir == 2) r = QRectF(grown.left() - f, grown.top(), f, f);
        if (dir == 3) r = QRectF(grown.left(), grown.top() - f, f, f);
        squares[i] = {r, dir};
        grown = grown.united(r);
    }
    const auto place = [&](const QRectF& r) { return QRectF(topLeft + r.topLeft() * s, r.size() * s); };
    const QColor tints[] = {OnFive, OnThree.lighter(115), OnFour.lighter(120), QColor(150, 196, 130),
                            QColor(236, 224, 190), QColor(200, 170, 210)};
    QFont numeral(QStringLiteral("Liberation Serif"));
    numeral.setBold(true);
    for (int i = 0; i < 6; ++i) {
        const QRectF r = place(squares[i].r);
        p.setPen(QPen(Ink, s / 8));
        p.setBrush(tints[i]);
        p.drawRect(r);
        // Each square's side, where there is room to read it.
        if (r.width() >= 24) {
            numeral.setPixelSize(std::max(9, int(std::min(r.width() * 0.35, s * 1.8))));
            p.setFont(numeral);
            p.setPen(Ink.lighter(160));
            p.drawText(r, Qt::AlignCenter, QString::number(sizes[i]));
        }
    }
    // Each quarter circle is centred on the corner where the square met the ones before it.
    QPainterPath spiral;
    for (int i = 0; i < 6; ++i) {
        const QRectF r = place(squares[i].r);
        const int dir = squares[i].dir;
        const QPointF corners[] = {r.bottomLeft(), r.topLeft(), r.topRight(), r.bottomRight()};
        const QPointF centre = corners[dir];
        const QRectF circle(centre - QPointF(r.width(), r.width()), QSizeF(2 * r.width(), 2 * r.width()));
        const double start = 90 - 90 * dir;
        if (i == 0) spiral.arcMoveTo(circle, start);
        spiral.arcTo(circle, start, -90);
    }
    p.setPen(QPen(Rubric, s / 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(spiral);
}

// His book open on a lectern: the squares and spiral on one page, the numbers themselves on the other.
void drawBook(QPainter& p, QRectF r, double floor) {
    const double u = r.width() / 100.0;
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(Wood);
    p.drawRect(QRectF(r.center().x() - 5 * u, r.bottom(), 10 * u, floor - r.bottom()));
    p.drawRect(QRectF(r.center().x() - 22 * u, floor - 4 * u, 44 * u, 4 * u));
    p.setBrush(Leather);
    p.drawRoundedRect(r.adjusted(-2 * u, -2 * u, 2 * u, 3 * u), 2 * u, 2 * u);
    const double mid = r.center().x();
    for (int side : {-1, 1}) {
        QPainterPath page;
        const double outer = side < 0 ? r.left() : r.right();
        page.moveTo(mid, r.top() + 4 * u);
        page.cubicTo(mid + side * 14 * u, r.top() - 1 * u, outer - side * 12 * u, r.top() - 1 * u, outer,
                     r.top() + 2 * u);
        page.lineTo(outer, r.bottom());
        page.cubicTo(outer - side * 12 * u, r.bottom() - 3 * u, mid + side * 14 * u, r.bottom() - 3 * u, mid,
                     r.bottom() + 1 * u);
        page.closeSubpath();
        QLinearGradient g(mid, 0, outer, 0);
        g.setColorAt(0, Parchment.darker(118));
        g.setColorAt(0.15, Parchment);
        g.setColorAt(1, Parchment.lighter(104));
        p.setPen(QPen(Ink, 0.6 * u));
        p.setBrush(g);
        p.drawPath(page);
    }
    const double pageW = r.width() / 2 - 10 * u, pageH = r.height() - 12 * u;
    const double s = std::min(pageW / 8.0, pageH / 13.0);
    drawFibonacciSquares(p, QPointF(r.left() + 5 * u + (pageW - 8 * s) / 2, r.top() + 6 * u + (pageH - 13 * s) / 2), s);
    // The numbers, one to a ruled line, in the numerals he brought from the Arab merchants.
    const QRectF column(mid + 8 * u, r.top() + 6 * u, pageW, pageH);
    const QStringList numbers = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                 QStringLiteral("5"), QStringLiteral("8"), QStringLiteral("13")};
    const double line = column.height() / numbers.size();
    QFont hand(QStringLiteral("Liberation Serif"));
    hand.setItalic(true);
    hand.setBold(true);
    hand.setPixelSize(std::max(9, int(line * 0.85)));
    p.setFont(hand);
    for (int i = 0; i < numbers.size(); ++i) {
        const QRectF row(column.left(), column.top() + i * line, column.width(), line);
        p.setPen(QPen(Ink.lighter(260), 0.4 * u));
        p.drawLine(QPointF(row.left(), row.bottom()), QPointF(row.right() - 2 * u, row.bottom()));
        p.setPen(i + 1 == numbers.size() ? Rubric : Ink);
        p.drawText(row, Qt::AlignCenter, numbers[i]);
    }
}

// Fibonacci: a Pisan merchant of about 1200, clean-shaven, in a red cap and cape over a blue robe, a quill
// in his hand.
void drawFibonacciFigure(QPainter& p, double cx, double u) {
    drawBody(p, cx, u, Robe, RobeShade);
    drawFolds(p, cx, u, RobeShade.darker(130));
    // A belt with a merchant's purse.
    p.setPen(QPen(Ink, 1 * u));
    p.setBrush(Leather);
    p.drawRect(QRectF(cx - 60 * u, 214 * u, 121 * u, 6 * u));
    p.setBrush(Leather.lighter(130));
    QPainterPath purse;
    purse.moveTo(cx + 26 * u, 220 * u);
    purse.cubicTo(cx + 22 * u, 236 * u, cx + 44 * u, 236 * u, cx + 40 * u, 220 * u);
    purse.closeSubpath();
    p.drawPath(purse);
    p.setBrush(Gold);
    p.drawEllipse(QPointF(cx + 33 * u, 217 * u), 2.5 * u, 2.5 * u);
    // Hair cut straight at the jaw, as the men of his city wore it, behind the face.
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(Hair);
    p.drawRoundedRect(QRectF(cx - 29 * u, 46 * u, 58 * u, 54 * u), 22 * u, 18 * u);
    drawNeckAndHead(p, cx, u);
    // A shoulder cape over the robe, with a gold hem.
    QPainterPath cape;
    cape.moveTo(cx - 13 * u, 112 * u);
    cape.cubicTo(cx - 34 * u, 116 * u, cx - 54 * u, 132 * u, cx - 58 * u, 170 * u);
    cape.cubicTo(cx - 22 * u, 182 * u, cx + 22 * u, 182 * u, cx + 58 * u, 170 * u);
    cape.cubicTo(cx + 54 * u, 132 * u, cx + 34 * u, 116 * u, cx + 13 * u, 112 * u);
    cape.cubicTo(cx + 6 * u, 121 * u, cx - 6 * u, 121 * u, cx - 13 * u, 112 * u);
    QRadialGradient cg(cx - 10 * u, 130 * u, 70 * u);
    cg.setColorAt(0, Scarlet.lighter(115));
    cg.setColorAt(1, ScarletShade);
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(cg);
    p.drawPath(cape);
    p.setPen(QPen(Gold, 1.8 * u));
    p.setBrush(Qt::NoBrush);
    QPainterPath hem;
    hem.moveTo(cx - 56 * u, 167 * u);
    hem.cubicTo(cx - 22 * u, 179 * u, cx + 22 * u, 179 * u, cx + 56 * u, 167 * u);
    p.drawPath(hem);
    drawHair(p, cx, u, Hair);
    drawFace(p, cx, u);
    // His cap: a soft red crown over a rolled band.
    QPainterPath crown;
    crown.moveTo(cx - 26 * u, 56 * u);
    crown.cubicTo(cx - 40 * u, 26 * u, cx + 8 * u, 8 * u, cx + 30 * u, 34 * u);
    crown.cubicTo(cx + 34 * u, 40 * u, cx + 30 * u, 50 * u, cx + 26 * u, 56 * u);
    crown.closeSubpath();
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(roundedCloth(cx, u, 32, Scarlet, ScarletShade));
    p.drawPath(crown);
    QPainterPath band;
    band.moveTo(cx - 28 * u, 60 * u);
    band.cubicTo(cx - 30 * u, 52 * u, cx - 28 * u, 46 * u, cx - 26 * u, 45 * u);
    band.cubicTo(cx - 10 * u, 40 * u, cx + 10 * u, 40 * u, cx + 26 * u, 45 * u);
    band.cubicTo(cx + 28 * u, 46 * u, cx + 30 * u, 52 * u, cx + 28 * u, 60 * u);
    band.cubicTo(cx + 10 * u, 54 * u, cx - 10 * u, 54 * u, cx - 28 * u, 60 * u);
    p.setBrush(ScarletShade);
    p.drawPath(band);
    // His quill, held up in his right hand: a narrow vane along a dark shaft.
    const QPointF grip(cx - 82 * u, 192 * u), tip = grip + QPointF(-22 * u, -62 * u);
    QPainterPath vane;
    vane.moveTo(grip + QPointF(-4 * u, -14 * u));
    vane.cubicTo(grip + QPointF(-16 * u, -30 * u), grip + QPointF(-24 * u, -48 * u), tip);
    vane.cubicTo(grip + QPointF(-12 * u, -46 * u), grip + QPointF(-4 * u, -32 * u), grip + QPointF(-4 * u, -14 * u));
    p.setPen(QPen(Ink, 0.8 * u));
    p.setBrush(QColor(246, 244, 236));
    p.drawPath(vane);
    p.setPen(QPen(Ink, 1.1 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(grip + QPointF(3 * u, 8 * u), tip);
    drawArm(p, cx, u, -1, Robe);
}

// ---- What the second hall's sitters share

// Lines of writing too small to read: a short stroke for each word, the last line of the passage shorter.
// `cursive` sets each line from the right, every word a wave with a dot over it.
void drawWritingLines(QPainter& p, QRectF area, int lines, double pen, bool cursive) {
    p.setPen(QPen(Ink, pen, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const double step = area.height() / lines, space = area.width() * 0.06;
    for (int i = 0; i < lines; ++i) {
        const double y = area.top() + step * (i + 0.6), length = area.width() * (i + 1 == lines ? 0.55 : 1.0);
        double along = 0;
        for (int word = 0; along < length - space; ++word) {
            const double w = std::min(length - along, area.width() * (0.1 + 0.05 * ((i * 5 + word * 3) % 4)));
            const double from = cursive ? area.right() - along - w : area.left() + along;
            QPainterPath stroke;
            stroke.moveTo(from, y);
            if (cursive) {
                for (double x = from; x < from + w - pen; x += pen * 4)
                    stroke.quadTo(x + pen * 2, y - step * 0.3, std::min(x + pen * 4, from + w), y);
                p.drawPoint(QPointF(from + w * 0.4, y - step * 0.45));
            } else {
                stroke.lineTo(from + w, y);
            }
            p.drawPath(stroke);
            along += w + space;
        }
    }
}

// Maps a flat sheet `w` by `h` onto a surface seen from above, given by its corners (far left, far right,
// near right, near left): what is drawn through it recedes with the surface.
QTransform lyingFlat(const QPolygonF& corners, double w, double h) {
    QTransform onto;
    QTransform::squareToQuad(corners, onto);
    return QTransform::fromScale(1 / w, 1 / h) * onto;
}

// A beard cut close along the jaw, down to `chin`, leaving the mouth clear.
void drawTrimmedBeard(QPainter& p, double cx, double u, const QColor& colour, double chin) {
    QPainterPath beard;
    beard.moveTo(cx - 23 * u, 76 * u);
    beard.cubicTo(cx - 22 * u, (chin - 16) * u, cx - 12 * u, chin * u, cx, chin * u);
    beard.cubicTo(cx + 12 * u, chin * u, cx + 22 * u, (chin - 16) * u, cx + 23 * u, 76 * u);
    beard.cubicTo(cx + 18 * u, 90 * u, cx + 10 * u, 97 * u, cx, 97 * u);
    beard.cubicTo(cx - 10 * u, 97 * u, cx - 18 * u, 90 * u, cx - 23 * u, 76 * u);
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(colour);
    p.drawPath(beard);
}

// ---- Eratosthenes

// Eratosthenes in Alexandria: the library's cedar shelves of papyrus rolls, noon light through a colonnade,
// a saffron mantle over a pale blue tunic.
const QColor DayHigh(58, 116, 190), DayLow(206, 226, 236), Cedar(118, 74, 42), CedarShade(58, 36, 22),
    Plaster(226, 212, 184), Papyrus(232, 214, 164), Saffron(218, 158, 56), SaffronShade(160, 104, 32),
    Chiton(178, 202, 218), ChitonShade(120, 148, 172), Greying(138, 122, 106), Bronze(150, 104, 50);

// Pigeonholes of cedar across `r`, each with the round ends of its rolls piled three, two and one, some
// with a label hanging from them to say what the roll holds.
void drawScrollShelves(QPainter& p, QRectF r, int columns, int rows) {
    const double cw = r.width() / columns, rh = r.height() / rows, board = rh / 10, radius = cw / 8;
    p.setPen(Qt::NoPen);
    p.setBrush(CedarShade);
    p.drawRect(r);
    const QColor labels[] = {Rubric, OnFour, Saffron};
    for (int c = 0; c < columns; ++c)
        for (int row = 0; row < rows; ++row) {
            const QPointF shelf(r.left() + (c + 0.5) * cw, r.top() + (row + 1) * rh - board / 2);
            int n = 0;
            for (int tier = 0; tier < 3; ++tier)
                for (int i = 0; i < 3 - tier; ++i, ++n) {
                    const QPointF end =
                        shelf + QPointF((i - (2 - tier) / 2.0) * 2.1 * radius, -(1 + tier * 1.75) * radius);
                    p.setPen(QPen(CedarShade, radius / 5));
                    p.setBrush(Papyrus);
                    p.drawEllipse(end, radius, radius);
                    p.setBrush(Papyrus.darker(135));
                    p.drawEllipse(end, radius * 0.3, radius * 0.3);
                    if ((c * 7 + row * 5 + n * 3) % 8 == 0) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(labels[(c + row + n) % 3]);
                        p.drawRect(QRectF(end.x() - radius * 0.35, end.y() + radius * 0.5, radius * 0.7, radius * 1.3));
                    }
                }
        }
    p.setPen(Qt::NoPen);
    p.setBrush(Cedar);
    for (int row = 0; row <= rows; ++row)
        p.drawRect(QRectF(r.left(), r.top() + row * rh - board / 2, r.width(), board));
    for (int c = 0; c <= columns; ++c) p.drawRect(QRectF(r.left() + c * cw - board / 2, r.top(), board, r.height()));
}

// The lighthouse on Pharos, far off: a square tower, an eight-sided one on it, a round lantern with its fire.
void drawPharos(QPainter& p, QPointF foot, double height) {
    const QColor distant = Stone.lighter(106);
    p.setPen(QPen(StoneShade, height / 200));
    p.setBrush(distant);
    const double tiers[][2] = {{0.26, 0.55}, {0.17, 0.27}, {0.1, 0.12}};  // width and height, as shares of the whole
    double y = foot.y();
    for (const auto& t : tiers) {
        p.drawRect(QRectF(foot.x() - height * t[0] / 2, y - height * t[1], height * t[0], height * t[1]));
        y -= height * t[1];
    }
    QRadialGradient fire(foot.x(), y, height * 0.08);
    fire.setColorAt(0, QColor(255, 236, 160));
    fire.setColorAt(1, QColor(255, 200, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(fire);
    p.drawEllipse(QPointF(foot.x(), y), height * 0.08, height * 0.08);
}

// The Library of Alexandria: through a colonnade at the left the noon sun and the Pharos over the court's
// wall; at the right the shelves of rolls.
void drawLibrary(QPainter& p, double w, double h) {
    const double opening = w * 0.36, base = h * 0.82, courtWall = h * 0.64;
    paintSky(p, w, h, base, DayHigh, DayLow);
    QRadialGradient sun(w * 0.2, h * 0.14, h * 0.16);
    sun.setColorAt(0, QColor(255, 250, 224));
    sun.setColorAt(0.2, QColor(255, 244, 200, 200));
    sun.setColorAt(1, QColor(255, 240, 200, 0));
    p.fillRect(QRectF(0, 0, opening, base), sun);
    drawPharos(p, QPointF(w * 0.25, base), h * 0.7);
    p.setPen(Qt::NoPen);
    p.setBrush(Plaster.darker(110));
    p.drawRect(QRectF(0, courtWall, opening, base - courtWall));
    p.setBrush(Plaster);
    p.drawRect(QRectF(opening, 0, w - opening, base));
    drawScrollShelves(p, QRectF(opening + w * 0.07, h * 0.17, w * 0.6, h * 0.6), 5, 4);
    // The colonnade's last column and the beam it carries.
    const double cw = w * 0.05;
    QLinearGradient column(opening - cw, 0, opening, 0);
    column.setColorAt(0, StoneShade);
    column.setColorAt(0.45, Stone);
    column.setColorAt(1, StoneShade);
    p.setBrush(column);
    p.drawRect(QRectF(opening - cw, 0, cw, base));
    p.setBrush(Stone);
    p.drawRect(QRectF(0, 0, opening, h * 0.05));
    // The floor, and the sunlight lying on it.
    p.fillRect(QRectF(0, base, w, h - base), StoneShade);
    p.setBrush(QColor(255, 244, 210, 90));
    p.drawPolygon(
        QPolygonF({QPointF(0, base), QPointF(opening - cw, base), QPointF(opening + w * 0.1, h), QPointF(0, h)}));
}

// A bowl sundial on its pillar: hour lines fan across the hollow, and the pointer standing in it casts a
// short noon shadow.
void drawSundial(QPainter& p, QRectF r, double floor) {
    const double u = r.width() / 100.0, cx = r.center().x(), rim = r.top() + 14 * u;
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(roundedCloth(cx, u, 14, Stone, StoneShade));  // lit as the figures' cloth is
    p.drawRect(QRectF(cx - 12 * u, r.bottom() - 4 * u, 24 * u, floor - r.bottom()));
    p.drawRect(QRectF(cx - 22 * u, floor - 6 * u, 44 * u, 6 * u));
    p.drawRect(QRectF(cx - 18 * u, r.bottom() - 6 * u, 36 * u, 6 * u));
    QPainterPath outside;
    outside.moveTo(cx - 48 * u, rim);
    outside.cubicTo(cx - 48 * u, r.bottom(), cx + 48 * u, r.bottom(), cx + 48 * u, rim);
    outside.closeSubpath();
    p.setBrush(roundedCloth(cx, u, 48, Stone, StoneShade));
    p.drawPath(outside);
    p.setBrush(Stone.lighter(108));
    p.drawEllipse(QPointF(cx, rim), 48 * u, 13 * u);
    // The hollow seen over the rim: its far side lit, the hour lines on it running down to the bottom,
    // and the day's curve across them.
    const double a = 43 * u, b = 10 * u;
    QLinearGradient hollow(0, rim - b, 0, rim + b);
    hollow.setColorAt(0, StoneShade);
    hollow.setColorAt(1, Stone);
    p.setBrush(hollow);
    p.drawEllipse(QPointF(cx, rim), a, b);
    const QPointF bottom(cx, rim + b * 0.5);
    QPolygonF day;
    p.setPen(QPen(Ink.lighter(160), 0.5 * u));
    for (int hour = 1; hour < 12; ++hour) {
        const double t = M_PI * hour / 12;
        const QPointF top(cx - a * std::cos(t), rim - b * std::sin(t));
        p.drawLine(top, bottom);
        day << bottom + (top - bottom) * 0.55;
    }
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(day);
    p.setPen(QPen(QColor(40, 30, 20, 190), 2.4 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(bottom, bottom + QPointF(8 * u, -3.5 * u));
    p.setPen(QPen(Bronze, 1.6 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(bottom, bottom + QPointF(0, -20 * u));
}

// A roll held up by its top rod, in the figure's unit `u`: the opened length hangs below it, with his
// figure of the Earth (the sun's rays falling parallel on two places, the radii to them meeting at the
// centre) over lines of writing.
void drawHeldScroll(QPainter& p, QPointF top, double u) {
    const QRectF sheet(top.x() - 14 * u, top.y(), 28 * u, 46 * u);
    p.setPen(QPen(Ink, 0.8 * u));
    p.setBrush(Papyrus);
    p.drawRect(sheet);
    for (double y : {sheet.top(), sheet.bottom()})
        p.drawRoundedRect(QRectF(sheet.left() - 2 * u, y - 3 * u, sheet.width() + 4 * u, 6 * u), 3 * u, 3 * u);
    const QPointF earth(sheet.center().x(), sheet.top() + 17 * u);
    const double radius = 7 * u;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 0.6 * u));
    p.drawEllipse(earth, radius, radius);
    for (double degrees : {0.0, 28.0}) {  // the angle drawn wider than his 7.2°, so that it can be seen
        const double t = degrees * M_PI / 180;
        const QPointF place = earth + QPointF(-radius * std::sin(t), -radius * std::cos(t));
        p.drawLine(earth, place);
        p.drawLine(place, QPointF(place.x(), sheet.top() + 4 * u));
    }
    drawWritingLines(p, QRectF(sheet.left() + 3 * u, sheet.top() + 27 * u, sheet.width() - 6 * u, 16 * u), 4, 0.6 * u,
                     false);
}

// Eratosthenes: a scholar of about fifty, his beard cut short and his curly hair greying, a saffron mantle
// wound over a pale blue tunic, holding up a roll.
void drawEratosthenesFigure(QPainter& p, double cx, double u) {
    drawBody(p, cx, u, Chiton, ChitonShade);
    // The mantle, wound from the right hip up over the left shoulder, within the body's outline.
    p.save();
    p.setClipPath(bodyOutline(cx, u));
    QPainterPath edge;
    edge.moveTo(cx - 70 * u, 206 * u);
    edge.cubicTo(cx - 20 * u, 192 * u, cx + 8 * u, 160 * u, cx + 18 * u, 118 * u);
    QPainterPath mantle = edge;
    mantle.lineTo(cx + 80 * u, 118 * u);
    mantle.lineTo(cx + 80 * u, 250 * u);
    mantle.lineTo(cx - 70 * u, 250 * u);
    mantle.closeSubpath();
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(roundedCloth(cx, u, 60, Saffron, SaffronShade));
    p.drawPath(mantle);
    p.setPen(QPen(SaffronShade.darker(125), 1.4 * u));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) p.drawPath(edge.translated(i * 12 * u, i * 10 * u));
    p.restore();
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bodyOutline(cx, u));
    drawNeckAndHead(p, cx, u);
    drawHair(p, cx, u, Greying);
    p.setPen(QPen(Greying.darker(140), 1 * u));
    p.setBrush(Qt::NoBrush);
    for (int i = -3; i <= 3; ++i)
        for (int row = 0; row < 2; ++row)
            p.drawArc(QRectF(cx + (i * 6 + row * 3 - 3) * u, (41 + row * 6 + i * i * 1.1) * u, 6 * u, 5 * u), 200 * 16,
                      220 * 16);
    drawTrimmedBeard(p, cx, u, Greying, 112);
    drawFace(p, cx, u);
    drawHeldScroll(p, QPointF(cx + 82 * u, 190 * u), u);
    drawArm(p, cx, u, 1, Chiton);
}

// ---- Archimedes

// Archimedes in Syracuse: a courtyard of ochre walls on a clear morning, Etna smoking far off; an old man
// in an olive-green mantle.
const QColor MorningHigh(104, 156, 208), MorningLow(246, 228, 196), Mountain(132, 128, 150), Ochre(214, 170, 104),
    RoofTile(172, 86, 54), OliveLeaf(112, 132, 90), Olive(92, 112, 60), OliveShade(56, 70, 36), Wool(228, 220, 198),
    GreyBeard(176, 174, 168), Paving(216, 198, 160);

// A courtyard in Syracuse: Etna far off with its plume of smoke, an olive tree over a tiled wall, paving.
void drawSyracuse(QPainter& p, double w, double h) {
    const double horizon = h * 0.5, wallTop = h * 0.47, base = h * 0.78;
    paintSky(p, w, h, horizon, MorningHigh, MorningLow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 240, 244, 110));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(w * (0.7 + i * 0.05), h * (0.17 - i * 0.025)), w * (0.03 + i * 0.012),
                      h * (0.025 + i * 0.008));
    QPainterPath etna;
    etna.moveTo(w * 0.3, horizon);
    etna.cubicTo(w * 0.5, horizon - h * 0.1, w * 0.62, h * 0.22, w * 0.67, h * 0.2);
    etna.lineTo(w * 0.72, h * 0.2);
    etna.cubicTo(w * 0.78, h * 0.22, w * 0.9, horizon - h * 0.1, w * 1.1, horizon);
    etna.closeSubpath();
    p.setBrush(Mountain);
    p.drawPath(etna);
    // The olive tree beyond the wall.
    p.setBrush(Wood);
    p.drawRect(QRectF(w * 0.9, h * 0.3, w * 0.025, wallTop - h * 0.3));
    for (int i = 0; i < 7; ++i) {
        p.setBrush(i % 2 ? OliveLeaf : OliveLeaf.darker(120));
        p.drawEllipse(QPointF(w * (0.85 + (i % 4) * 0.04), h * (0.24 + (i / 4) * 0.08 + (i % 2) * 0.03)), w * 0.05,
                      h * 0.05);
    }
    // The wall, with its coping of round tiles.
    p.setBrush(Ochre);
    p.drawRect(QRectF(0, wallTop, w, base - wallTop));
    p.setBrush(RoofTile);
    p.drawRect(QRectF(0, wallTop - h * 0.025, w, h * 0.03));
    p.setPen(QPen(RoofTile.darker(130), h / 400));
    const double tile = h * 0.03;
    for (double x = 0; x < w; x += tile) p.drawChord(QRectF(x, wallTop - h * 0.035, tile, tile * 0.7), 0, 180 * 16);
    // The paving.
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, base, w, h - base), Paving);
    p.setPen(QPen(Paving.darker(125), h / 300));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(0, base + (h - base) * i / 3.0), QPointF(w, base + (h - base) * i / 3.0));
    for (int i = 0; i < 9; ++i) p.drawLine(QPointF(w * (i + 0.5) / 8, base), QPointF(w * (i - 0.5) / 8, h));
}

// A weight of bronze `side` across standing on `floor` at `x`.
void drawWeight(QPainter& p, double x, double floor, double side) {
    p.setPen(QPen(Ink, side / 10));
    p.setBrush(Bronze);
    p.drawRoundedRect(QRectF(x - side / 2, floor - side, side, side), side / 6, side / 6);
}

// A balance on its post, `s` tall: the beam level, a pan hung from each end, the same weight in each.
void drawBalance(QPainter& p, QPointF foot, double s) {
    const double beam = s * 0.8, top = foot.y() - s * 0.95, pan = top + s * 0.55;
    p.setPen(QPen(Ink, s / 60));
    p.setBrush(Wood);
    p.drawRect(QRectF(foot.x() - s * 0.03, top, s * 0.06, s * 0.95));
    p.drawRect(QRectF(foot.x() - s * 0.15, foot.y() - s * 0.05, s * 0.3, s * 0.05));
    p.setBrush(Bronze);
    p.drawRect(QRectF(foot.x() - beam / 2, top - s * 0.02, beam, s * 0.04));
    for (int side : {-1, 1}) {
        const QPointF hook(foot.x() + side * beam * 0.45, top);
        const double half = s * 0.14;
        p.drawLine(hook, QPointF(hook.x() - half, pan));
        p.drawLine(hook, QPointF(hook.x() + half, pan));
        drawWeight(p, hook.x(), pan, s * (side < 0 ? 0.13 : 0.1));
        if (side > 0) drawWeight(p, hook.x(), pan - s * 0.1, s * 0.1);
        p.drawChord(QRectF(hook.x() - half * 1.2, pan - s * 0.06, half * 2.4, s * 0.12), 0, -180 * 16);
    }
}

// A lever on a stone fulcrum: three weights at one end balance one three times as far away at the other.
void drawLever(QPainter& p, QPointF foot, double length) {
    const double fulcrumH = length * 0.16, beamY = foot.y() - fulcrumH, side = length * 0.11;
    const double left = foot.x() - side * 0.6 - (length - side * 1.2) / 4;
    p.setPen(QPen(Ink, length / 120));
    p.setBrush(StoneShade);
    p.drawPolygon(
        QPolygonF({foot + QPointF(-fulcrumH * 0.6, 0), QPointF(foot.x(), beamY), foot + QPointF(fulcrumH * 0.6, 0)}));
    p.setBrush(Wood);
    p.drawRect(QRectF(left, beamY - length * 0.035, length, length * 0.035));
    for (int i = 0; i < 3; ++i) drawWeight(p, left + side * 0.6, beamY - length * 0.035 - i * side, side);
    drawWeight(p, left + length - side * 0.6, beamY - length * 0.035, side);
}

// A tray of sand on the ground, seen from above, with his circles in it: one between the six-sided figures
// drawn inside and outside it (the first step of his bounds on the circle), one with its diameter.
void drawSandTray(QPainter& p, const QPolygonF& corners) {
    const double depth = (corners[3].y() - corners[0].y()) * 0.18;
    p.setPen(QPen(Ink, depth / 5));
    p.setBrush(Wood.darker(130));
    p.drawPolygon(QPolygonF({corners[3], corners[2], corners[2] + QPointF(0, depth), corners[3] + QPointF(0, depth)}));
    p.save();
    p.setTransform(lyingFlat(corners, 200, 100), true);
    p.setBrush(Wood);
    p.drawRect(QRectF(0, 0, 200, 100));
    p.setBrush(Sand);
    p.drawRect(QRectF(7, 7, 186, 86));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Sand.darker(190), 2));
    const QPointF c(62, 50);
    const double radius = 30;
    p.drawEllipse(c, radius, radius);
    for (double around : {radius, radius / std::cos(M_PI / 6)}) {
        QPolygonF hexagon;
        for (int i = 0; i < 6; ++i) hexagon << c + around * QPointF(std::cos(M_PI * i / 3), std::sin(M_PI * i / 3));
        p.drawPolygon(hexagon);
    }
    const QPointF d(156, 50);
    p.drawEllipse(d, 28, 28);
    p.drawLine(d - QPointF(28, 0), d + QPointF(28, 0));
    p.restore();
}

// His things, standing in `r` on a stone table, and the tray of sand on the ground before it.
void drawArchimedesProps(QPainter& p, QRectF r, double floor) {
    const double u = r.width() / 100.0;
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(StoneShade);
    for (double x : {r.left() + 8 * u, r.right() - 14 * u})
        p.drawRect(QRectF(x, r.bottom(), 6 * u, floor - r.bottom()));
    p.setBrush(Stone);
    p.drawRect(QRectF(r.left(), r.bottom(), r.width(), 5 * u));
    drawBalance(p, QPointF(r.left() + 28 * u, r.bottom()), r.height());
    drawLever(p, QPointF(r.left() + 74 * u, r.bottom()), 44 * u);
    const double near = floor + 22 * u;
    drawSandTray(p, QPolygonF({QPointF(r.left() + 4 * u, floor - 6 * u), QPointF(r.right() + 8 * u, floor - 6 * u),
                               QPointF(r.right() + 20 * u, near), QPointF(r.left() - 4 * u, near)}));
}

// Archimedes: an old man, his hair white at the sides and gone from the crown, a grey beard, an olive
// mantle over an undyed tunic; his head bowed to the sand he draws in with a stick.
void drawArchimedesFigure(QPainter& p, double cx, double u) {
    drawBody(p, cx, u, Olive, OliveShade);
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(Wool);
    p.drawPolygon(QPolygonF({QPointF(cx - 16 * u, 123 * u), QPointF(cx + 16 * u, 123 * u), QPointF(cx, 168 * u)}));
    drawFolds(p, cx, u, OliveShade.darker(120));
    p.save();
    p.translate(cx, 120 * u);
    p.rotate(-8);
    p.translate(-cx, -120 * u);
    drawNeckAndHead(p, cx, u);
    p.setPen(QPen(Ink, 1 * u));
    p.setBrush(Beard);
    for (int side : {-1, 1}) {
        QPainterPath tuft;
        tuft.moveTo(cx + side * 16 * u, 50 * u);
        tuft.cubicTo(cx + side * 30 * u, 52 * u, cx + side * 31 * u, 70 * u, cx + side * 25 * u, 84 * u);
        tuft.cubicTo(cx + side * 24 * u, 70 * u, cx + side * 24 * u, 58 * u, cx + side * 16 * u, 50 * u);
        p.drawPath(tuft);
    }
    p.setPen(QPen(SkinShade.darker(115), 1 * u));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) p.drawArc(QRectF(cx - 12 * u, (51 + i * 5) * u, 24 * u, 8 * u), 30 * 16, 120 * 16);
    drawBeard(p, cx, u, GreyBeard);
    drawFace(p, cx, u);
    p.restore();
    const QPointF grip(cx - 82 * u, 192 * u);
    p.setPen(QPen(Wood.darker(150), 3 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(grip + QPointF(8 * u, -6 * u), grip + QPointF(-26 * u, 14 * u));
    drawArm(p, cx, u, -1, Olive);
}

// ---- Al-Khwarizmi

// Al-Khwarizmi in Baghdad's House of Wisdom: stucco, a frieze of stars, shelves of books under pointed
// arches, a carpet; a white turban and a plum robe over a white one.
const QColor Stucco(226, 204, 162), StuccoShade(178, 148, 106), Lapis(34, 58, 124), Turquoise(56, 160, 164),
    Carpet(134, 30, 38), Plum(102, 44, 86), PlumShade(60, 22, 50), Turban(244, 240, 228), TurbanShade(196, 188, 170),
    BlackBeard(44, 36, 34), Brass(204, 164, 74);

// An eight-pointed star: two squares, one turned through half a right angle.
void drawStar(QPainter& p, QPointF c, double r) {
    QPainterPath star;
    for (double turn : {0.0, M_PI / 4}) {
        QPolygonF square;
        for (int i = 0; i < 4; ++i)
            square << c + r * QPointF(std::cos(turn + M_PI * i / 2), std::sin(turn + M_PI * i / 2));
        QPainterPath path;
        path.addPolygon(square);
        path.closeSubpath();
        star = star.united(path);
    }
    p.setPen(QPen(Gold, r / 8));
    p.setBrush(Turquoise);
    p.drawPath(star);
}

// A niche under a pointed arch, its three shelves stacked with books lying flat, as the libraries kept them.
void drawBookNiche(QPainter& p, QRectF r, double springing, int seed) {
    const QColor covers[] = {Leather, QColor(46, 84, 70), QColor(150, 108, 58), Lapis, QColor(124, 34, 40)};
    const double mid = r.center().x();
    QPainterPath arch;
    arch.moveTo(r.bottomLeft());
    arch.lineTo(r.left(), springing);
    arch.cubicTo(r.left(), springing - r.width() * 0.4, mid - r.width() * 0.2, r.top() + r.width() * 0.15, mid,
                 r.top());
    arch.cubicTo(mid + r.width() * 0.2, r.top() + r.width() * 0.15, r.right(), springing - r.width() * 0.4, r.right(),
                 springing);
    arch.lineTo(r.bottomRight());
    arch.closeSubpath();
    p.setPen(QPen(StuccoShade, r.width() * 0.05));
    p.setBrush(StuccoShade.darker(190));
    p.drawPath(arch);
    const double shelf = (r.bottom() - springing) / 3, thick = shelf * 0.1, board = shelf * 0.08;
    for (int s = 0; s < 3; ++s) {
        const double y = springing + shelf * (s + 1) - board;
        for (int stack = 0; stack < 2; ++stack) {
            const int books = 3 + (seed + s + stack) % 4;
            for (int b = 0; b < books; ++b) {
                const int k = seed * 3 + s * 5 + stack * 7 + b;
                const double bw = r.width() * (0.3 + 0.05 * (k % 3)),
                             x = r.left() + r.width() * (0.08 + stack * 0.5) + (k % 2) * r.width() * 0.03;
                const QRectF book(x, y - (b + 1) * thick, bw, thick);
                p.setPen(QPen(Ink, thick * 0.12));
                p.setBrush(covers[k % 5]);
                p.drawRect(book);
                p.setPen(Qt::NoPen);
                p.setBrush(Parchment);
                p.drawRect(book.adjusted(bw * 0.06, thick * 0.3, 0, -thick * 0.3));
            }
        }
        p.setPen(Qt::NoPen);
        p.setBrush(Wood);
        p.drawRect(QRectF(r.left(), y, r.width(), board));
    }
}

// A brass astrolabe hung on the wall: its ring, its rim marked off, the star map's pointers and the
// sighting rule across.
void drawAstrolabe(QPainter& p, QPointF c, double r) {
    p.setPen(QPen(Ink, r / 20));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c + QPointF(0, -r * 1.25), r * 0.16, r * 0.16);
    p.setBrush(Brass);
    p.drawRect(QRectF(c.x() - r * 0.18, c.y() - r * 1.12, r * 0.36, r * 0.2));
    p.drawEllipse(c, r, r);
    p.setBrush(Brass.darker(118));
    p.drawEllipse(c, r * 0.84, r * 0.84);
    for (int i = 0; i < 36; ++i) {
        const QPointF d(std::cos(M_PI * i / 18), std::sin(M_PI * i / 18));
        p.drawLine(c + d * r * 0.84, c + d * r * (i % 3 ? 0.9 : 0.96));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Brass.lighter(120), r / 14));
    p.drawEllipse(c + QPointF(0, -r * 0.22), r * 0.52, r * 0.52);
    for (int i = 0; i < 5; ++i) {
        const double t = M_PI * (0.2 + i * 0.38);
        p.drawLine(c, c + r * 0.74 * QPointF(std::cos(t), std::sin(t)));
    }
    p.setPen(QPen(Ink, r / 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + r * 0.9 * QPointF(-0.8, 0.6), c + r * 0.9 * QPointF(0.8, -0.6));
}

// The House of Wisdom: a frieze of stars, shelves of books in pointed niches, an astrolabe between, a carpet.
void drawHouseOfWisdom(QPainter& p, double w, double h) {
    const double base = h * 0.8, bandTop = h * 0.04, bandBottom = h * 0.13;
    p.fillRect(QRectF(0, 0, w, base), Stucco);
    p.fillRect(QRectF(0, bandTop, w, bandBottom - bandTop), Lapis);
    const double star = (bandBottom - bandTop) * 0.36;
    for (double x = star * 1.6; x < w; x += star * 3.2) drawStar(p, QPointF(x, (bandTop + bandBottom) / 2), star);
    const double niche = w * 0.16, gap = w * 0.09, springing = h * 0.34;
    for (int i = 0; i < 4; ++i)
        drawBookNiche(p,
                      QRectF(gap / 2 + i * (niche + gap), springing - niche * 0.9, niche,
                             base - h * 0.03 - (springing - niche * 0.9)),
                      springing, i);
    drawAstrolabe(p, QPointF(gap / 2 + niche + gap / 2, h * 0.3), h * 0.05);
    p.fillRect(QRectF(0, base, w, h - base), Carpet);
    p.fillRect(QRectF(0, base + (h - base) * 0.12, w, (h - base) * 0.07), Gold.darker(115));
    p.fillRect(QRectF(0, base + (h - base) * 0.3, w, (h - base) * 0.03), Gold.darker(140));
}

// His low desk, seen from above: the book he writes open on it, on one page the square he completes to
// solve "a square and ten roots make thirty-nine", on the other lines of writing; his inkpot beside.
void drawWritingDesk(QPainter& p, QRectF r, double floor) {
    const double u = r.width() / 100.0;
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(Wood.darker(120));
    for (double x : {r.left() + 4 * u, r.right() - 10 * u})
        p.drawRect(QRectF(x, r.bottom(), 6 * u, floor - r.bottom()));
    p.setBrush(Wood);
    p.drawRect(QRectF(r.left(), r.bottom(), r.width(), 4 * u));
    const QPolygonF top(
        {QPointF(r.left() + 12 * u, r.top()), QPointF(r.right() - 6 * u, r.top()), r.bottomRight(), r.bottomLeft()});
    p.save();
    p.setTransform(lyingFlat(top, 100, 50), true);
    p.setBrush(Wood.lighter(115));
    p.drawRect(QRectF(0, 0, 100, 50));
    p.setBrush(Leather);
    p.drawRoundedRect(QRectF(26, 4, 68, 42), 1.5, 1.5);
    p.setBrush(Parchment);
    const QRectF left(28, 5, 32, 40), right(60, 5, 32, 40);
    p.drawRect(left);
    p.drawRect(right);
    // The square of the unknown, the four oblongs of ten roots shared out, and the corners that complete it.
    const double x = 3, q = 2.5, cell = 24 / (x + 2 * q);
    const QPointF at(left.center().x() - 12, left.top() + 3);
    const double edges[] = {0, q, q + x, 2 * q + x};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const bool middle = i == 1 && j == 1, corner = i != 1 && j != 1;
            p.setPen(QPen(Ink, 0.3));
            p.setBrush(middle ? OnFour : corner ? OnThree : OnFive);
            p.drawRect(QRectF(at + QPointF(edges[i], edges[j]) * cell,
                              QSizeF((edges[i + 1] - edges[i]) * cell, (edges[j + 1] - edges[j]) * cell)));
        }
    drawWritingLines(p, QRectF(left.left() + 3, left.top() + 29, left.width() - 6, 10), 3, 0.5, true);
    drawWritingLines(p, right.adjusted(3, 2, -3, -2), 9, 0.5, true);
    p.restore();
    const QPointF pot = lyingFlat(top, 100, 50).map(QPointF(12, 20));
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(QColor(40, 60, 70));
    p.drawRoundedRect(QRectF(pot.x() - 5 * u, pot.y() - 8 * u, 10 * u, 9 * u), 2 * u, 2 * u);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(pot.x(), pot.y() - 8 * u), 3 * u, 1.2 * u);
}

// Al-Khwarizmi: a Persian scholar in middle age, a white turban, a black beard, a plum robe with a gold
// band of writing on its sleeve over a white one; a reed pen in his hand, at his book.
void drawKhwarizmiFigure(QPainter& p, double cx, double u) {
    drawBody(p, cx, u, Plum, PlumShade);
    drawFolds(p, cx, u, PlumShade.darker(130));
    QPainterPath front;
    front.moveTo(cx - 9 * u, 121 * u);
    front.lineTo(cx - 16 * u, 240 * u);
    front.lineTo(cx + 16 * u, 240 * u);
    front.lineTo(cx + 9 * u, 121 * u);
    p.setPen(QPen(Gold, 2.4 * u));
    p.setBrush(roundedCloth(cx, u, 16, Turban, TurbanShade));
    p.drawPath(front);
    drawNeckAndHead(p, cx, u);
    drawHair(p, cx, u, BlackBeard);
    drawTrimmedBeard(p, cx, u, BlackBeard, 124);
    p.setPen(QPen(Ink, 1 * u));
    p.setBrush(BlackBeard);
    QPainterPath moustache;
    moustache.moveTo(cx - 12 * u, 91 * u);
    moustache.cubicTo(cx - 6 * u, 84 * u, cx + 6 * u, 84 * u, cx + 12 * u, 91 * u);
    moustache.cubicTo(cx + 6 * u, 88 * u, cx - 6 * u, 88 * u, cx - 12 * u, 91 * u);
    p.drawPath(moustache);
    drawFace(p, cx, u);
    // The turban, wound round and round, low on the brow.
    QPainterPath turban;
    turban.moveTo(cx - 27 * u, 62 * u);
    turban.cubicTo(cx - 42 * u, 40 * u, cx - 26 * u, 16 * u, cx, 16 * u);
    turban.cubicTo(cx + 26 * u, 16 * u, cx + 42 * u, 40 * u, cx + 27 * u, 62 * u);
    turban.cubicTo(cx + 10 * u, 54 * u, cx - 10 * u, 54 * u, cx - 27 * u, 62 * u);
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(roundedCloth(cx, u, 36, Turban, TurbanShade));
    p.drawPath(turban);
    p.save();
    p.setClipPath(turban, Qt::IntersectClip);
    p.setPen(QPen(TurbanShade.darker(115), 1.2 * u));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        QPainterPath wrap;
        wrap.moveTo(cx - 30 * u, (50 - i * 8) * u);
        wrap.cubicTo(cx - 10 * u, (46 - i * 10) * u, cx + 14 * u, (36 - i * 6) * u, cx + 30 * u, (44 - i * 3) * u);
        p.drawPath(wrap);
    }
    p.restore();
    // The reed pen, its nib on the page.
    const QPointF grip(cx - 82 * u, 192 * u);
    p.setPen(QPen(Ink, 3 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(grip + QPointF(-8 * u, 10 * u), grip + QPointF(-2 * u, -32 * u));
    p.setPen(QPen(Wood.lighter(160), 1.6 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(grip + QPointF(-8 * u, 10 * u), grip + QPointF(-2 * u, -32 * u));
    drawArm(p, cx, u, -1, Plum);
    // The band of writing on the sleeve, as the caliph's workshops wove it.
    p.setPen(QPen(Ink, 0.6 * u));
    p.setBrush(Gold);
    const QPolygonF band({QPointF(cx - 49 * u, 145 * u), QPointF(cx - 38 * u, 169 * u), QPointF(cx - 46 * u, 174 * u),
                          QPointF(cx - 57 * u, 150 * u)});
    p.drawPolygon(band);
    p.save();
    p.setTransform(lyingFlat(band, 40, 10), true);
    drawWritingLines(p, QRectF(2, 1, 36, 8), 1, 0.8, true);
    p.restore();
}

// A mathematician of the gallery: his setting, the prop he is shown with (its place in the small and
// the large picture, standing on the floor at a share of the height), and himself.
struct Sitter {
    void (*setting)(QPainter& p, double w, double h);
    void (*prop)(QPainter& p, QRectF r, double floor);
    QRectF smallProp, largeProp;
    double floor;
    void (*figure)(QPainter& p, double cx, double u);
};
const Sitter Pythagoras{drawSamos, drawBoard, {8, 44, 112, 104}, {40, 96, 282, 262}, 0.80, drawPythagorasFigure};
const Sitter Fibonacci{drawPisa, drawBook, {10, 48, 118, 96}, {36, 100, 296, 250}, 0.86, drawFibonacciFigure};
const Sitter Eratosthenes{drawLibrary,         drawSundial, {14, 118, 100, 44},
                          {40, 230, 260, 110}, 0.82,        drawEratosthenesFigure};
const Sitter Archimedes{drawSyracuse, drawArchimedesProps, {6, 84, 124, 68}, {40, 170, 290, 170},
                        0.78,         drawArchimedesFigure};
const Sitter Khwarizmi{drawHouseOfWisdom,  drawWritingDesk, {12, 160, 140, 40}, {40, 350, 330, 64}, 0.88,
                       drawKhwarizmiFigure};

QImage smallPortrait(const Sitter& s, int k) {
    return painted(SmallW, SmallH, k, [&s](QPainter& p) {
        s.setting(p, SmallW, SmallH);
        s.prop(p, s.smallProp, SmallH * s.floor);
        s.figure(p, 214, 1);
    });
}

// The topic screen's backdrop: the prop at the left, under the heading and clear of the entries below.
QImage largePortrait(const Sitter& s, int k) {
    return painted(LargeW, LargeH, k, [&s](QPainter& p) {
        s.setting(p, LargeW, LargeH);
        s.prop(p, s.largeProp, LargeH * s.floor);
        drawEnlarged(p, QPointF(300, 70), 420.0 / 240.0, [&] { s.figure(p, 118, 1); });
        shadeUnderControls(p);
    });
}

// ---- The publisher's logo: a seal with a pair of dividers over a circle.
QImage logo(int k) {
    QImage img(100 * k, 139 * k, QImage::Format_RGB32);
    img.fill(QColor(39, 63, 137));
    QPainter p(&img);
    p.scale(k, k);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shield;
    shield.moveTo(8, 6);
    shield.lineTo(92, 6);
    shield.lineTo(92, 80);
    shield.cubicTo(92, 110, 60, 126, 50, 133);
    shield.cubicTo(40, 126, 8, 110, 8, 80);
    shield.closeSubpath();
    QLinearGradient g(0, 0, 100, 139);
    g.setColorAt(0, QColor(30, 60, 150));
    g.setColorAt(1, QColor(12, 24, 70));
    p.setPen(QPen(Gold, 4));
    p.setBrush(g);
    p.drawPath(shield);
    p.setPen(QPen(Gold, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 58), 28, 28);
    p.setPen(QPen(QColor(230, 230, 236), 3));
    p.drawLine(QPointF(50, 22), QPointF(34, 82));
    p.drawLine(QPointF(50, 22), QPointF(66, 82));
    p.setBrush(Gold);
    p.drawEllipse(QPointF(50, 22), 4, 4);
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Gold);
    p.drawText(QRectF(8, 90, 84, 28), Qt::AlignCenter, QStringLiteral("VN"));
    return img;
}

// Every picture, by the name it is saved under, and its JPEG quality.
struct Output {
    const char* name;
    QImage (*draw)(int k);
    int quality;
};
const Output Outputs[] = {
    {"euclidsm", euclidSmall, 90},
    {"euclid", euclidLarge, 90},
    {"logo2", logo, 92},
    {"pythagorassm", [](int k) { return smallPortrait(Pythagoras, k); }, 90},
    {"pythagoras", [](int k) { return largePortrait(Pythagoras, k); }, 90},
    {"fibonaccism", [](int k) { return smallPortrait(Fibonacci, k); }, 90},
    {"fibonacci", [](int k) { return largePortrait(Fibonacci, k); }, 90},
    {"eratosthenessm", [](int k) { return smallPortrait(Eratosthenes, k); }, 90},
    {"eratosthenes", [](int k) { return largePortrait(Eratosthenes, k); }, 90},
    {"archimedessm", [](int k) { return smallPortrait(Archimedes, k); }, 90},
    {"archimedes", [](int k) { return largePortrait(Archimedes, k); }, 90},
    {"khwarizmism", [](int k) { return smallPortrait(Khwarizmi, k); }, 90},
    {"khwarizmi", [](int k) { return largePortrait(Khwarizmi, k); }, 90},
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    // Each picture at its own size, and at twice and four times it ("name@2x.jpg") for a scaled stage.
    for (int k : {1, 2, 4}) {
        const QString size = k == 1 ? QString() : QStringLiteral("@%1x").arg(k);
        for (const Output& o : Outputs) {
            const QString file = out + QLatin1Char('/') + QLatin1String(o.name) + size + QStringLiteral(".jpg");
            if (!o.draw(k).save(file, "JPG", o.quality)) {
                qWarning("cannot write %s", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
