#include "platform/pictures/MetafileBitmap.h"
#include "platform/pictures/MetafileRecords.h"

#include <cstdlib>

namespace platform::wmf {

qint64 dibPixels(const uchar* p, qsizetype bytes) {
    if (bytes < 40) return 0;
    return std::abs(qint64(qFromLittleEndian<qint32>(p + 4))) * std::abs(qint64(qFromLittleEndian<qint32>(p + 8)));
}

QImage decodeDib(const uchar* p, qsizetype bytes) {
    if (bytes < 40) return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(p);
    const qint32 width = qFromLittleEndian<qint32>(p + 4), height = qFromLittleEndian<qint32>(p + 8);
    const int bits = qFromLittleEndian<quint16>(p + 14);
    const quint32 compression = qFromLittleEndian<quint32>(p + 16), used = qFromLittleEndian<quint32>(p + 32);
    if (headerSize < 40 || headerSize > quint32(bytes) || compression != 0) return {};
    if (width <= 0 || width > MaxDibSide || height == 0 || height < -MaxDibSide || height > MaxDibSide) return {};
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
    const qint64 colours = bits <= 8 ? (used ? qint64(used) : qint64(1) << bits) : 0;
    if (colours > 256) return {};
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4, rows = std::abs(qint64(height));
    const qint64 paletteAt = headerSize, pixelsAt = paletteAt + 4 * colours;
    if (pixelsAt + stride * rows > bytes) return {};
    QImage image(width, int(rows), QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (qint64 row = 0; row < rows; ++row) {
        const uchar* src = p + pixelsAt + stride * row;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(height > 0 ? rows - 1 - row : row)));
        for (int x = 0; x < width; ++x) {
            if (bits >= 24) {
                const uchar* px = src + x * (bits / 8);
                dst[x] = qRgb(px[2], px[1], px[0]);
                continue;
            }
            const int index = bits == 8 ? src[x] : bits == 4 ? (src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF
                                                             : (src[x / 8] >> (7 - x % 8)) & 1;
            if (index >= colours) {
                dst[x] = qRgb(0, 0, 0);
                continue;
            }
            const uchar* c = p + paletteAt + 4 * index;
            dst[x] = qRgb(c[2], c[1], c[0]);
        }
    }
    return image;
}

}  // namespace platform::wmf
