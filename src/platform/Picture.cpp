#include "platform/Picture.h"
#include "platform/Vb.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace platform {

void Picture::draw(QPainter& painter, QPoint at) const {
    if (!m_image.isNull()) painter.drawImage(at, m_image);
}

// Every screen shows the same few pictures: each file is decoded once and shared while it is
// unchanged on disk (same size and time), so a visit to a screen costs no decoding.
static QImage decodedImage(const QString& file, const QString& path) {
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    static QHash<QString, Entry> cache;
    const QFileInfo info(file);
    const QString key = info.absoluteFilePath();
    const auto it = cache.constFind(key);
    if (it != cache.cend() && it->modified == info.lastModified() && it->size == info.size()) return it->image;
    QImageReader reader(file);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull()) throw RuntimeError(ErrBadPicture, QStringLiteral("Invalid picture: %1").arg(path));
    cache.insert(key, {info.lastModified(), info.size(), image});
    return image;
}

Picture LoadPicture(const QString& path) {
    if (path.isEmpty()) return {};
    const QString file = resolvePath(path);
    if (!QFileInfo(file).isFile()) throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
    if (file.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive))
        throw RuntimeError(ErrBadPicture, QStringLiteral("Invalid picture: %1").arg(path));
    return Picture(decodedImage(file, path));
}

}  // namespace platform

namespace platform {
Picture LoadPictureOrEmpty(const QString& path) {
    try {
        return LoadPicture(path);
    } catch (const RuntimeError&) {
        return {};
    }
}
}  // namespace platform
