// Draws the program's own pictures: Euclid at his desk with his geometry, and the publisher's logo.
// Run through make_pictures.sh, which writes them into data/Images.
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

const QColor Ink(40, 30, 20), Parchment(238, 222, 180), Gold(222, 178, 60), Toga(236, 232, 220),
    TogaShade(196, 188, 170), Skin(222, 176, 136), SkinShade(186, 136, 100), Beard(214, 214, 208),
    Sky1(24, 44, 104), Sky2(72, 118, 186), Stone(214, 200, 168), StoneShade(170, 152, 118);

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

// The figure of Proposition 47: a right triangle with squares on its sides.
void drawPythagorasFigure(QPainter& p, QPointF at, double s) {
    const QPointF a = at, b = at + QPointF(3 * s, 0), c = at + QPointF(0, -4 * s);
    p.drawLine(a, b);
    p.drawLine(a, c);
    p.drawLine(b, c);
    p.drawRect(QRectF(a.x(), a.y(), 3 * s, 3 * s));
    p.drawRect(QRectF(a.x() - 4 * s, c.y(), 4 * s, 4 * s));
    const QPointF d = b - c, n(d.y(), -d.x());
    QPolygonF sq({c, b, b + n, c + n});
    p.drawPolygon(sq);
}

// Euclid: seated, bearded, in a toga, holding dividers over a scroll of figures.
void drawEuclidFigure(QPainter& p, double cx, double h) {
    const double u = h / 240.0;  // one unit of the small picture
    p.setPen(QPen(Ink, 1.2 * u));
    // Body and toga.
    QPainterPath body;
    body.moveTo(cx - 62 * u, h);
    body.cubicTo(cx - 64 * u, 170 * u, cx - 44 * u, 128 * u, cx - 8 * u, 122 * u);
    body.cubicTo(cx + 30 * u, 122 * u, cx + 58 * u, 150 * u, cx + 64 * u, h);
    body.closeSubpath();
    QLinearGradient tg(cx - 60 * u, 0, cx + 60 * u, 0);
    tg.setColorAt(0, TogaShade);
    tg.setColorAt(0.5, Toga);
    tg.setColorAt(1, TogaShade);
    p.setBrush(tg);
    p.drawPath(body);
    // Folds of the toga across the chest.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(TogaShade.darker(120), 1.5 * u));
    for (int i = 0; i < 4; ++i) {
        QPainterPath fold;
        fold.moveTo(cx - 40 * u + i * 8 * u, 140 * u + i * 6 * u);
        fold.cubicTo(cx - 10 * u + i * 10 * u, 160 * u + i * 10 * u, cx + 20 * u, 170 * u + i * 12 * u,
                     cx + 50 * u, 200 * u + i * 12 * u);
        p.drawPath(fold);
    }
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
    // Neck and head.
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(SkinShade);
    p.drawRect(QRectF(cx - 9 * u, 100 * u, 18 * u, 26 * u));
    QRadialGradient sg(cx - 6 * u, 70 * u, 36 * u);
    sg.setColorAt(0, Skin.lighter(110));
    sg.setColorAt(1, SkinShade);
    p.setBrush(sg);
    p.drawEllipse(QRectF(cx - 24 * u, 44 * u, 48 * u, 60 * u));
    // Hair and the fillet of a scholar.
    p.setBrush(Beard);
    QPainterPath hair;
    hair.moveTo(cx - 25 * u, 72 * u);
    hair.cubicTo(cx - 30 * u, 36 * u, cx + 30 * u, 30 * u, cx + 25 * u, 72 * u);
    hair.cubicTo(cx + 20 * u, 56 * u, cx - 20 * u, 52 * u, cx - 25 * u, 72 * u);
    p.drawPath(hair);
    p.setPen(QPen(Gold, 2.5 * u));
    p.drawArc(QRectF(cx - 24 * u, 46 * u, 48 * u, 30 * u), 20 * 16, 140 * 16);
    // Beard.
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(Beard);
    QPainterPath beard;
    beard.moveTo(cx - 23 * u, 78 * u);
    beard.cubicTo(cx - 24 * u, 110 * u, cx - 8 * u, 128 * u, cx, 132 * u);
    beard.cubicTo(cx + 8 * u, 128 * u, cx + 24 * u, 110 * u, cx + 23 * u, 78 * u);
    beard.cubicTo(cx + 14 * u, 94 * u, cx - 14 * u, 94 * u, cx - 23 * u, 78 * u);
    p.drawPath(beard);
    p.setPen(QPen(Beard.darker(125), 1 * u));
    for (int i = -2; i <= 2; ++i) p.drawLine(QPointF(cx + i * 6 * u, 98 * u), QPointF(cx + i * 5 * u, 122 * u));
    // Eyes, brows, nose.
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
    // Arm and hand with the dividers.
    p.setPen(QPen(Ink, 1.2 * u));
    p.setBrush(Toga);
    QPainterPath arm;
    arm.moveTo(cx + 30 * u, 140 * u);
    arm.cubicTo(cx + 60 * u, 150 * u, cx + 80 * u, 170 * u, cx + 86 * u, 186 * u);
    arm.lineTo(cx + 72 * u, 194 * u);
    arm.cubicTo(cx + 60 * u, 178 * u, cx + 40 * u, 170 * u, cx + 24 * u, 164 * u);
    arm.closeSubpath();
    p.drawPath(arm);
    p.setBrush(Skin);
    p.drawEllipse(QPointF(cx + 82 * u, 192 * u), 8 * u, 7 * u);
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

void drawScene(QPainter& p, double w, double h, double figureX) {
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, Sky1);
    sky.setColorAt(1, Sky2);
    p.fillRect(QRectF(0, 0, w, h), sky);
    drawColumns(p, w, h);
    // The figure of Proposition 47 drawn in the sand, left of the figure.
    p.setPen(QPen(Gold, h / 160.0));
    p.setBrush(Qt::NoBrush);
    drawPythagorasFigure(p, QPointF(figureX - h * 0.62, h * 0.62), h / 38.0);
    drawEuclidFigure(p, figureX, h);
    drawScroll(p, QRectF(figureX - h * 0.55, h * 0.80, h * 0.48, h * 0.17));
}

QImage euclidSmall(int k) {
    QImage img(320 * k, 240 * k, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(k, k);
    drawScene(p, 320, 240, 200);
    return img;
}

// The topic menu's backdrop: the same scene across the whole screen, darker where the
// heading and the entries stand so their yellow text stays readable.
QImage euclidLarge(int k) {
    QImage img(786 * k, 560 * k, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(k, k);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 560);
    sky.setColorAt(0, Sky1);
    sky.setColorAt(1, Sky2);
    p.fillRect(QRect(0, 0, 786, 560), sky);
    drawColumns(p, 786, 560);
    p.setPen(QPen(Gold, 3));
    drawPythagorasFigure(p, QPointF(170, 330), 15);
    p.save();
    p.translate(300, 70);
    p.scale(420.0 / 240.0, 420.0 / 240.0);
    drawEuclidFigure(p, 110, 240);
    p.restore();
    drawScroll(p, QRectF(70, 400, 250, 90));
    QLinearGradient shade(0, 0, 0, 560);
    shade.setColorAt(0, QColor(10, 16, 40, 200));
    shade.setColorAt(0.13, QColor(10, 16, 40, 0));
    shade.setColorAt(0.86, QColor(10, 16, 40, 0));
    shade.setColorAt(0.93, QColor(10, 16, 40, 190));
    p.fillRect(QRect(0, 0, 786, 560), shade);
    return img;
}

// The publisher's logo: a seal with a pair of dividers over a circle.
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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    // Each picture at its own size, and at twice and four times it ("name@2x.jpg") for a scaled stage.
    bool ok = true;
    for (int k : {1, 2, 4}) {
        const QString size = k == 1 ? QString() : QStringLiteral("@%1x").arg(k);
        ok = ok && euclidSmall(k).save(out + QStringLiteral("/euclidsm") + size + QStringLiteral(".jpg"), "JPG", 90) &&
             euclidLarge(k).save(out + QStringLiteral("/euclid") + size + QStringLiteral(".jpg"), "JPG", 90) &&
             logo(k).save(out + QStringLiteral("/logo2") + size + QStringLiteral(".jpg"), "JPG", 92);
    }
    return ok ? 0 : 1;
}
