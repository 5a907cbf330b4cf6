// Windows metafiles (placeable WMF): read with every length, count and object index checked,
// then played as vectors onto any QPainter, the screen's or the printer's.
#pragma once
#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <atomic>
#include <optional>
#include <vector>

class QPainter;

namespace platform {

class Metafile {
public:
    // What a page may ask of one play, whatever the file says; our own pages use a small part of each.
    // Past a limit the page shows what it drew so far and a log line says why.
    struct Limits {
        static constexpr qsizetype FileBytes = 1 << 20;  // read at most this much of a file
        static constexpr int SavedStates = 1024;          // SaveDC depth, as deep as Windows' own
        static constexpr qint64 Points = 100000;          // vertices and characters drawn
        static constexpr qint64 Dashes = 100000;          // dashes of dashed pens, at the device scale
        static constexpr double CellSides = 150;          // device pixels the edges of filled shapes pass
                                                          // through, in lengths of the page's longer side at 1
        static constexpr double PageAreas = 256;          // device pixels painted, in areas of the page at 1
        static constexpr qint64 BitmapPixels = 2048 * 2048;  // bitmap pixels decoded
        static constexpr int ClipRecords = 4096;          // clip rectangles set or cut out
        static constexpr qint64 ClipCopies = 65536;       // clips carried by saved states (each save copies them)
        static constexpr int Milliseconds = 1500;         // and in any case no longer than this, of its thread's own time
    };

    // The file's records checked whole; an empty optional (and why, in `error`) when they do not hold.
    // `cut`: the bytes are the first part of a longer file, so a record running past them ends the
    // picture instead of spoiling it.
    static std::optional<Metafile> read(const QByteArray& bytes, QString* error = nullptr, bool cut = false);
    // The name log lines give the picture.
    void setName(const QString& name) { m_name = name; }

    // The picture's own size in twips: the bounding box at its units per inch.
    QSizeF sizeTwips() const { return m_sizeTwips; }
    // Plays the records into a rectangle of the painter's device, the bounding box filling it. A play
    // ahead of the window stops at the record after `stop` is set (the application is going).
    void play(QPainter& painter, const QRectF& target, const std::atomic<bool>* stop = nullptr) const;
    // The texts the picture writes, in order, decoded from their fonts' code pages.
    QStringList texts() const;
    // One text as written on the picture played at its own size (twips / 15 to a pixel): the box its
    // letters fill, where each letter starts along it (and where the last ends), and its font.
    struct Text {
        QString text;
        QRectF box;
        std::vector<double> edges;
        double pixelSize = 0;
        int weight = 400;
    };
    std::vector<Text> textBoxes() const;

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
    QString m_name;
};

}  // namespace platform
