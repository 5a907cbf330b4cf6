#include "platform/Picture.h"
#include "platform/Controls.h"
#include "platform/Vb.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace platform {

QSize Picture::size() const {
    if (!m_metafile) return m_image.size();
    const QSizeF t = m_metafile->sizeTwips();
    return QSize(int(std::lround(t.width() / TwipsPerPixel)), int(std::lround(t.height() / TwipsPerPixel)));
}

QSizeF Picture::sizeTwips() const {
    return m_metafile ? m_metafile->sizeTwips() : QSizeF(m_image.size()) * double(TwipsPerPixel);
}

void Picture::draw(QPainter& painter, QPoint at) const {
    if (m_metafile) m_metafile->play(painter, QRectF(at, size()));
    else if (!m_image.isNull()) painter.drawImage(at, m_image);
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    if (m_metafile) m_metafile->play(painter, target);
    else if (!m_image.isNull()) painter.drawImage(target, m_image);
}

// Every screen shows the same few pictures: each file is read once and shared while it is
// unchanged on disk (same size and time), so a visit to a screen costs no decoding.
static Picture readPicture(const QFileInfo& info, const QString& path) {
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        Picture picture;
    };
    static QHash<QString, Entry> cache;
    const QString file = info.filePath(), key = info.absoluteFilePath();
    const auto it = cache.constFind(key);
    if (it != cache.cend() && it->modified == info.lastModified() && it->size == info.size()) return it->picture;
    const RuntimeError bad(ErrBadPicture, QStringLiteral("Invalid picture: %1").arg(path));
    Picture picture;
    if (file.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive)) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) throw bad;
        std::optional<Metafile> m = Metafile::read(f.readAll());
        if (!m) throw bad;
        picture = Picture(std::move(*m));
    } else {
        QImageReader reader(file);
        reader.setAutoTransform(false);
        QImage image = reader.read();
        if (image.isNull()) throw bad;
        picture = Picture(std::move(image));
    }
    cache.insert(key, {info.lastModified(), info.size(), picture});
    return picture;
}

Picture LoadPicture(const QString& path) {
    if (path.isEmpty()) return {};
    const QFileInfo info(resolvePath(path));
    if (!info.isFile()) throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
    return readPicture(info, path);
}

Picture LoadPictureOrEmpty(const QString& path) {
    try {
        return LoadPicture(path);
    } catch (const RuntimeError&) {
        return {};
    }
}

}  // namespace platform
