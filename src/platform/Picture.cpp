#include "platform/Picture.h"
#include "platform/Vb.h"

#include <QFileInfo>
#include <QImageReader>

namespace platform {

void Picture::draw(QPainter& painter, QPoint at) const {
    if (!m_image.isNull()) painter.drawImage(at, m_image);
}

Picture LoadPicture(const QString& path) {
    if (path.isEmpty()) return {};
    const QString file = resolvePath(path);
    if (!QFileInfo(file).isFile()) throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
    if (file.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive))
        throw RuntimeError(ErrBadPicture, QStringLiteral("Invalid picture: %1").arg(path));
    QImageReader reader(file);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull()) throw RuntimeError(ErrBadPicture, QStringLiteral("Invalid picture: %1").arg(path));
    return Picture(std::move(image));
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
