// Pictures as the screens use them: loaded from a relative path, drawn at their own size.
#pragma once
#include <QImage>
#include <QPainter>
#include <QString>

namespace platform {

class Picture {
public:
    Picture() = default;
    explicit Picture(QImage image) : m_image(std::move(image)) {}
    bool isNull() const { return m_image.isNull(); }
    bool isOpaque() const { return !m_image.isNull() && !m_image.hasAlphaChannel(); }  // covers its rectangle
    QSize size() const { return m_image.size(); }
    void draw(QPainter& painter, QPoint at) const;
    const QImage& image() const { return m_image; }

private:
    QImage m_image;  // raster pictures (JPEG, GIF, BMP); Windows metafiles will play as vectors beside it
};

// LoadPicture: an empty path gives an empty picture; a missing or unreadable file fails.
Picture LoadPicture(const QString& path);

}  // namespace platform

namespace platform {
// For screens that go on without a picture that is missing: the box is left empty.
Picture LoadPictureOrEmpty(const QString& path);
}  // namespace platform
