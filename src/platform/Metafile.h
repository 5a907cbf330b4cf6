// Windows metafiles (placeable WMF): read with every length, count and object index checked,
// then played as vectors onto any QPainter, the screen's or the printer's.
#pragma once
#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <optional>
#include <vector>

class QPainter;

namespace platform {

class Metafile {
public:
    // The file's records checked whole; an empty optional (and why, in `error`) when they do not hold.
    static std::optional<Metafile> read(const QByteArray& bytes, QString* error = nullptr);

    // The picture's own size in twips: the bounding box at its units per inch.
    QSizeF sizeTwips() const { return m_sizeTwips; }
    // Plays the records into a rectangle of the painter's device, the bounding box filling it.
    void play(QPainter& painter, const QRectF& target) const;
    // The texts the picture writes, in order, decoded from their fonts' code pages.
    QStringList texts() const;

    // One record: its function and its parameter words, as stored.
    struct Record {
        quint16 function = 0;
        qsizetype offset = 0;  // of the first parameter byte
        int words = 0;         // parameter words
    };

private:
    Metafile() = default;
    QByteArray m_bytes;
    std::vector<Record> m_records;
    QRect m_bounds;  // the bounding box in logical units
    QSizeF m_sizeTwips;
    int m_objects = 0;
};

}  // namespace platform
