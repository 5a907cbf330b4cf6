// Pictures as the screens use them: loaded from a relative path, drawn at their own size.
// Raster pictures (JPEG, GIF, BMP) are images; Windows metafiles stay vectors and are played.
#pragma once
#include "core/StageScale.h"
#include "platform/pictures/Metafile.h"
#include "core/TopicFile.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>

namespace platform {

// The screens' measure: a twip is a fifteenth of a pixel of the design.
constexpr float TwipsPerPixel = 15.0f;

class Picture {
public:
    // The largest picture shown: four times the program's screen each way, what a control needs to
    // stay sharp on a whiteboard. A file of more pixels is refused before it is decoded.
    static constexpr QSize MaxSize{int(4 * core::DesignWidth), int(4 * core::DesignHeight)};
    // The decoded pictures kept for the next visit, in bytes.
    static constexpr qint64 CacheBytes = 64 << 20;

    Picture() = default;
    explicit Picture(QImage image) : m_image(std::move(image)) {}
    explicit Picture(Metafile metafile) : m_metafile(std::make_shared<const Metafile>(std::move(metafile))) {}
    bool isNull() const { return m_image.isNull() && !m_metafile; }
    bool isOpaque() const { return !m_image.isNull() && !m_image.hasAlphaChannel(); }  // covers its rectangle
    // The picture's own size: in screen pixels, and in twips (a metafile's from its header).
    QSize size() const;
    QSizeF sizeTwips() const;
    // Draws the picture at its own size with its top left corner at `at`, in device pixels of a screen.
    void draw(QPainter& painter, QPoint at) const;
    // Draws it into a rectangle of any device (a printer's page), a metafile as vectors.
    void draw(QPainter& painter, const QRectF& target) const;
    const QImage& image() const { return m_image; }
    // What the picture shows, for a screen reader.
    const QString& description() const { return m_description; }
    void setDescription(const QString& d) { m_description = d; }
    const Metafile* metafile() const { return m_metafile.get(); }
    const std::shared_ptr<const Metafile>& sharedMetafile() const { return m_metafile; }

private:
    QImage m_image;
    std::shared_ptr<const Metafile> m_metafile;
    QString m_description;
};

// A picture as a box on the screen shows it: a metafile is played once at the screen's own pixels and
// every later paint is a copy of that, until the picture or the scale changes. (A page at 3840 x 2160
// takes 10-40 ms to play, since Qt draws letters taller than 64 pixels from their outlines; its copy
// about 1 ms.) Raster pictures are drawn as they are.
class ShownPicture {
public:
    // `background`, when valid, is what the box is filled with beneath the picture: the played copy
    // is then opaque, and showing it is a plain copy of pixels rather than a blend.
    void draw(QPainter& painter, const Picture& picture, QPoint at, const QColor& background = QColor());
    void forget() {
        m_source.reset();
        m_image = QImage();
    }
    // The colour last shown at a point of the box (invalid where nothing was played).
    QColor colourAt(QPoint at) const {
        const QPoint p = (QPointF(at) * m_ratio).toPoint();
        return m_image.valid(p) ? m_image.pixelColor(p) : QColor();
    }

private:
    std::shared_ptr<const Metafile> m_source;
    QColor m_background;
    double m_ratio = 0;
    QImage m_image;  // in the device's own pixels, drawn one to one
};

// Plays a metafile picture at a screen's scale on a worker thread, for a page the pupil may turn to
// next: the box that then shows it takes the played image. The last three asked for are kept.
void playAhead(const Picture& picture, double ratio, const QColor& background = QColor());
// How many times a box had to play its picture itself, the page not played ahead.
int pagesPlayedOnTheWindow();

// LoadPicture: an empty path gives an empty picture; a missing or unreadable file fails. `scale` is
// the device pixels a design pixel becomes where the picture is shown: on a scaled stage the sharpest
// copy of the picture that it needs is read.
Picture LoadPicture(const QString& path, double scale);
// For screens that go on without a picture that is missing: the box is left empty.
Picture LoadPictureOrEmpty(const QString& path, double scale);
// A topic's picture, told to a screen reader in the topic's own words.
Picture LoadPictureOrEmpty(const core::PictureFile& picture, double scale);
// Starts reading a picture a screen is about to load, on a worker thread; LoadPicture then takes it.
void readAhead(const QString& path, double scale);

}  // namespace platform
