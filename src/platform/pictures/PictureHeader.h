// What a picture file says of itself before a pixel of it is decoded: its format, known by its first
// bytes and not by its name; its size as the decoder will make it; and, for a JPEG, the time its
// decoding would take, from its markers.
#pragma once
#include <QByteArray>
#include <QSize>

namespace platform {

struct PictureHeader {
    const char* format = nullptr;  // "jpeg", "gif" or "bmp"; null for anything else, which is never decoded
    QSize size;                    // empty when the header is damaged
    double decodeMs = 0;           // a JPEG's decoding time on a desktop of the 2020s; 0 for the others
};
PictureHeader readPictureHeader(const QByteArray& bytes);

}  // namespace platform
