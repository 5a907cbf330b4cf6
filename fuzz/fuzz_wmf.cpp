// The metafile reader on any bytes: a file is either refused or played, onto an image the size of
// a page in the viewer (at scale 1 or 3.6), without reading outside the file; the page's limits keep every play within
// the run's time and memory limits; its words are gathered into lines as a screen reader reads them.
#include "platform/pictures/Metafile.h"
#include "platform/screen/PageText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts for the texts. Kept for the whole run and never destroyed: it must outlive the fuzzer.
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<platform::Metafile> m = platform::Metafile::read(bytes);
    if (!m) return 0;
    if (m->sizeTwips().width() <= 0 || m->sizeTwips().height() <= 0) std::abort();
    // Half the inputs at a whiteboard's scale, where every budget buys fewer records.
    const double scale = size % 2 ? 3.6 : 1;
    QImage image(QSize(699, 520) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    m->play(painter, QRectF(0, 0, 699, 520));
    painter.end();
    m->texts();
    const platform::PageText text(*m);
    for (const platform::PageText::Line& l : text.lines)
        if (text.lineAt(l.start) != &l || l.end > text.text.size()) std::abort();
    if (text.boxes.size() != size_t(text.text.size())) std::abort();
    return 0;
}
