// The device-independent bitmaps a metafile's records carry, decoded with every size checked.
#pragma once
#include <QImage>

namespace platform::wmf {

// The pixels a bitmap's header says it holds, before anything is decoded.
qint64 dibPixels(const uchar* p, qsizetype bytes);
// A device-independent bitmap (BITMAPINFOHEADER, palette, bits) of `bytes` bytes, or a null image.
QImage decodeDib(const uchar* p, qsizetype bytes);

}  // namespace platform::wmf
