// Renders the program's icon (assets/icon.svg) at the sizes desktops ask for, into packaging/icons.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString svg = QString::fromLocal8Bit(argv[1]), out = QString::fromLocal8Bit(argv[2]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return 1;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = out + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(dir);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        renderer.render(&p);
        p.end();
        if (!image.save(dir + QStringLiteral("/example.vellacourt.Numerists.png"))) return 1;
    }
    const QString scalable = out + QStringLiteral("/hicolor/scalable/apps");
    QDir().mkpath(scalable);
    QFile::remove(scalable + QStringLiteral("/example.vellacourt.Numerists.svg"));
    return QFile::copy(svg, scalable + QStringLiteral("/example.vellacourt.Numerists.svg")) ? 0 : 1;
}
