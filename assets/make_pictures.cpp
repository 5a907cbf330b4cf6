// Draws the program's own pictures: the mathematicians' portraits (Euclid at his desk with his geometry,
// Pythagoras at his drawing board, Fibonacci with his book) and the publisher's logo.
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
