// The records of a Windows metafile as the reader checks them and the player draws them: the
// functions we know and the parameter words of one record, read only inside the record. Shared by
// the metafile's reader and player, and by nothing else.
#pragma once
#include "platform/pictures/Metafile.h"

#include <QColor>
#include <QString>
#include <QtEndian>

namespace platform::wmf {

using Limits = Metafile::Limits;

// The record functions we know. Records of any other function are skipped.
enum Function : quint16 {
    META_EOF = 0x0000, SAVEDC = 0x001E, CREATEPALETTE = 0x00F7, SETBKMODE = 0x0102, SETMAPMODE = 0x0103,
    SETROP2 = 0x0104, SETPOLYFILLMODE = 0x0106, RESTOREDC = 0x0127, SELECTOBJECT = 0x012D, SETTEXTALIGN = 0x012E,
    DIBCREATEPATTERNBRUSH = 0x0142, DELETEOBJECT = 0x01F0, CREATEPATTERNBRUSH = 0x01F9, SETBKCOLOR = 0x0201,
    SETTEXTCOLOR = 0x0209, SETWINDOWORG = 0x020B, SETWINDOWEXT = 0x020C, LINETO = 0x0213, MOVETO = 0x0214,
    CREATEPENINDIRECT = 0x02FA, CREATEFONTINDIRECT = 0x02FB, CREATEBRUSHINDIRECT = 0x02FC, POLYGON = 0x0324,
    POLYLINE = 0x0325, EXCLUDECLIPRECT = 0x0415, INTERSECTCLIPRECT = 0x0416, ELLIPSE = 0x0418, RECTANGLE = 0x041B,
    TEXTOUT = 0x0521, POLYPOLYGON = 0x0538, ROUNDRECT = 0x061C, CREATEREGION = 0x06FF, ARC = 0x0817, PIE = 0x081A,
    CHORD = 0x0830, DIBBITBLT = 0x0940, EXTTEXTOUT = 0x0A32, DIBSTRETCHBLT = 0x0B41, STRETCHDIB = 0x0F43,
};

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr int MaxObjects = 4096, MaxDibSide = 8192;  // the records a file may hold follow from its size limit

inline bool createsObject(quint16 f) {
    return f == CREATEPENINDIRECT || f == CREATEBRUSHINDIRECT || f == CREATEFONTINDIRECT || f == CREATEPALETTE ||
           f == CREATEPATTERNBRUSH || f == DIBCREATEPATTERNBRUSH || f == CREATEREGION;
}

// The parameters of one record, read only inside the record.
class Params {
public:
    Params(const QByteArray& bytes, const Metafile::Record& r)
        : m_p(reinterpret_cast<const uchar*>(bytes.constData()) + r.offset), m_words(r.words) {}
    int words() const { return m_words; }
    qint16 s(int i) const { return i >= 0 && i < m_words ? qFromLittleEndian<qint16>(m_p + 2 * i) : 0; }
    quint16 u(int i) const { return quint16(s(i)); }
    quint32 u32(int i) const { return quint32(u(i)) | quint32(u(i + 1)) << 16; }
    // Bytes from word i to the end of the record.
    const uchar* bytesFrom(int i) const { return m_p + 2 * i; }
    qsizetype bytesLeft(int i) const { return i >= m_words ? 0 : 2 * qsizetype(m_words - i); }
    QColor colour(int i) const { return QColor(u(i) & 0xFF, u(i) >> 8, u(i + 1) & 0xFF); }

private:
    const uchar* m_p;
    int m_words;
};

// Where the bitmap of a bitmap record starts (in words), or -1 for a record without one.
inline int dibStart(quint16 function, int words) {
    switch (function) {
    case STRETCHDIB: return 11;
    case DIBSTRETCHBLT: return words == (DIBSTRETCHBLT >> 8) ? -1 : 10;
    case DIBBITBLT: return words == (DIBBITBLT >> 8) ? -1 : 8;
    default: return -1;
    }
}

// Text bytes in the code page of the font's character set (the Symbol font's letters as Unicode).
QString textOf(const uchar* bytes, int count, int charset);

}  // namespace platform::wmf
