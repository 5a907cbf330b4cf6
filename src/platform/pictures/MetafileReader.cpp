#include "platform/pictures/MetafileRecords.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPages)

namespace platform {
namespace wmf {
namespace {

// The words a record of this function needs at the least, from its fixed part and its counts; -1: it
// cannot hold what it says.
qint64 wordsNeeded(const Params& p, quint16 f) {
    switch (f) {
    case SETBKMODE: case SETMAPMODE: case SETROP2: case SETPOLYFILLMODE: case RESTOREDC: case SELECTOBJECT:
    case SETTEXTALIGN: case DELETEOBJECT: return 1;
    case SETBKCOLOR: case SETTEXTCOLOR: case SETWINDOWORG: case SETWINDOWEXT: case LINETO: case MOVETO: return 2;
    case EXCLUDECLIPRECT: case INTERSECTCLIPRECT: case ELLIPSE: case RECTANGLE: case CREATEBRUSHINDIRECT: return 4;
    case CREATEPENINDIRECT: return 5;
    case ROUNDRECT: return 6;
    case ARC: case PIE: case CHORD: return 8;
    case CREATEFONTINDIRECT: return 9;
    case POLYGON: case POLYLINE: return p.words() < 1 ? 1 : 1 + 2 * qint64(p.s(0) < 0 ? -1 : p.s(0));
    case POLYPOLYGON: {
        if (p.words() < 1) return 1;
        const int polys = p.s(0);
        if (polys < 0 || 1 + polys > p.words()) return -1;
        qint64 points = 0;
        for (int i = 0; i < polys; ++i) {
            if (p.s(1 + i) < 0) return -1;
            points += p.s(1 + i);
        }
        return 1 + polys + 2 * points;
    }
    case TEXTOUT: return p.words() < 1 ? 1 : (p.s(0) < 0 ? -1 : 1 + (qint64(p.s(0)) + 1) / 2 + 2);
    case EXTTEXTOUT: {
        if (p.words() < 4) return 4;
        const bool rect = p.u(3) & 0x0006;
        return p.s(2) < 0 ? -1 : 4 + (rect ? 4 : 0) + (qint64(p.s(2)) + 1) / 2;
    }
    case STRETCHDIB: return 11 + 20;
    case DIBSTRETCHBLT: case DIBBITBLT: return dibStart(f, p.words()) < 0 ? 0 : dibStart(f, p.words()) + 20;
    default: return 0;
    }
}

}  // namespace
}  // namespace wmf

using namespace wmf;

std::optional<Metafile> Metafile::read(const QByteArray& whole, QString* error, bool cut) {
    // A longer file is read as far as the limit, as if the rest were cut off.
    const QByteArray bytes = whole.size() > Limits::FileBytes ? whole.left(Limits::FileBytes) : whole;
    cut = cut || bytes.size() < whole.size();
    const auto fail = [error](const char* why) {
        if (error) *error = QString::fromLatin1(why);
        return std::optional<Metafile>();
    };
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < 22 + 18) return fail("too short for a placeable metafile");
    if (qFromLittleEndian<quint32>(b) != PlaceableKey) return fail("not a placeable metafile");
    const int left = qFromLittleEndian<qint16>(b + 6), top = qFromLittleEndian<qint16>(b + 8),
              right = qFromLittleEndian<qint16>(b + 10), bottom = qFromLittleEndian<qint16>(b + 12),
              inch = qFromLittleEndian<quint16>(b + 14);
    if (right <= left || bottom <= top || inch == 0) return fail("bounding box or units per inch unusable");
    const uchar* h = b + 22;
    const int type = qFromLittleEndian<quint16>(h), headerWords = qFromLittleEndian<quint16>(h + 2),
              objects = qFromLittleEndian<quint16>(h + 10);
    if ((type != 1 && type != 2) || headerWords != 9) return fail("bad metafile header");
    if (objects > MaxObjects) return fail("object table too large");

    Metafile m;
    m.m_bytes = bytes;
    m.m_bounds = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    m.m_sizeTwips = QSizeF((right - left) * 1440.0 / inch, (bottom - top) * 1440.0 / inch);
    m.m_objects = objects;
    // The header's own record count and file size are not trusted: the bytes are.
    std::vector<bool> used(size_t(objects), false);
    qsizetype at = 22 + 18;
    while (at + 6 <= bytes.size()) {
        const quint32 size = qFromLittleEndian<quint32>(b + at);
        const quint16 function = qFromLittleEndian<quint16>(b + at + 4);
        if (size < 3) return fail("record size below its own header");
        if (qint64(size) * 2 > bytes.size() - at) {
            if (cut && !m.m_records.empty()) break;
            return fail("record past the end of the file");
        }
        if (function == META_EOF) break;
        const Record r{function, at + 6, int(size - 3)};
        const Params p(m.m_bytes, r);
        const qint64 need = wordsNeeded(p, function);
        if (need < 0 || need > r.words) return fail("record shorter than its contents");
        if (createsObject(function)) {
            const auto slot = std::find(used.begin(), used.end(), false);
            if (slot == used.end()) return fail("object table full");
            *slot = true;
        } else if (function == SELECTOBJECT || function == DELETEOBJECT) {
            if (p.u(0) >= objects) return fail("object index out of range");
            if (function == DELETEOBJECT) used[p.u(0)] = false;
        }
        m.m_records.push_back(r);
        at += qsizetype(size) * 2;
    }
    if (at < bytes.size() && at + 6 > bytes.size() && !cut) return fail("truncated record");
    if (cut) qCWarning(lcPages, "a picture longer than %lld bytes: only its first part is shown", qlonglong(Limits::FileBytes));
    return m;
}

}  // namespace platform
