#include "platform/pictures/MetafileRecords.h"

#include <QStringDecoder>

namespace platform::wmf {

// The Symbol font's letters and signs that mathematics pages use, as Unicode.
QChar symbolChar(uchar b) {
    static const char16_t greekUpper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static const char16_t greekLower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    if (b >= 0x41 && b <= 0x5A) return QChar(greekUpper[b - 0x41]);
    if (b >= 0x61 && b <= 0x7A) return QChar(greekLower[b - 0x61]);
    switch (b) {
    case 0x22: return QChar(0x2200);  // for all
    case 0x24: return QChar(0x2203);  // there exists
    case 0x5E: return QChar(0x22A5);  // perpendicular
    case 0xA3: return QChar(0x2264);
    case 0xA5: return QChar(0x221E);
    case 0xB0: return QChar(0x00B0);
    case 0xB1: return QChar(0x00B1);
    case 0xB3: return QChar(0x2265);
    case 0xB4: return QChar(0x00D7);
    case 0xB8: return QChar(0x00F7);
    case 0xB9: return QChar(0x2260);
    case 0xBB: return QChar(0x2248);
    case 0xD0: return QChar(0x2220);  // angle
    case 0xD6: return QChar(0x221A);
    default: return QChar(b);
    }
}

// Text bytes in the code page of the font's character set.
QString textOf(const uchar* bytes, int count, int charset) {
    const QByteArray raw(reinterpret_cast<const char*>(bytes), count);
    if (charset == 2) {
        QString out;
        for (char c : raw) out += symbolChar(uchar(c));
        return out;
    }
    const char* codec = charset == 161   ? "windows-1253"
                        : charset == 238 ? "windows-1250"
                        : charset == 204 ? "windows-1251"
                        : charset == 162 ? "windows-1254"
                        : charset == 177 ? "windows-1255"
                        : charset == 178 ? "windows-1256"
                        : charset == 186 ? "windows-1257"
                                         : "windows-1252";
    QStringDecoder decoder(codec);
    return decoder.isValid() ? decoder.decode(raw) : QString::fromLatin1(raw);
}

}  // namespace platform::wmf
