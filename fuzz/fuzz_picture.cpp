// A picture file's header on any bytes: its format, size and decoding time are read without a fault,
// and what it says is within what the bytes could mean.
#include "platform/pictures/PictureHeader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const platform::PictureHeader h = platform::readPictureHeader(bytes);
    if (!(h.decodeMs >= 0) || (!h.format && h.size.isValid())) std::abort();
    return 0;
}
