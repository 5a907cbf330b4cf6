#include "platform/pictures/Picture.h"
#include "platform/pictures/PictureHeader.h"
#include "platform/pictures/ThreadClock.h"
#include "platform/pictures/WorkAhead.h"
#include "platform/files/Paths.h"
#include "platform/files/WorkingFiles.h"
#include "platform/files/Core.h"

#include <QBuffer>
#include <QCache>
#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <deque>

Q_LOGGING_CATEGORY(lcPictures, "vellacourt.pictures")

namespace platform {

QSize Picture::size() const {
    if (!m_metafile) return m_image.deviceIndependentSize().toSize();
    const QSizeF t = m_metafile->sizeTwips();
    return QSize(int(std::lround(t.width() / TwipsPerPixel)), int(std::lround(t.height() / TwipsPerPixel)));
}

QSizeF Picture::sizeTwips() const {
    return m_metafile ? m_metafile->sizeTwips() : m_image.deviceIndependentSize() * double(TwipsPerPixel);
}

void Picture::draw(QPainter& painter, QPoint at) const {
    if (m_metafile) {
        m_metafile->play(painter, QRectF(at, size()));
    } else if (!m_image.isNull()) {
        // On a scaled stage a picture is enlarged smoothly, not in blocks of pixels.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, painter.device()->devicePixelRatioF() != 1);
        painter.drawImage(at, m_image);
    }
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    if (m_metafile) m_metafile->play(painter, target);
    else if (!m_image.isNull()) painter.drawImage(target, m_image);
}

namespace {
// A play ahead (`stop` given) that the application's going cut short gives an empty image.
QImage playAt(const Metafile& m, QSize size, double ratio, const QColor& background,
              const std::atomic<bool>* stop = nullptr) {
    QImage image(QSize(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio))),
                 background.isValid() ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background.isValid() ? background : QColor(Qt::transparent));
    {
        QPainter p(&image);
        m.play(p, QRectF(QPointF(0, 0), QSizeF(size)), stop);
    }
    if (stop && *stop) return QImage();
    image.setDevicePixelRatio(1);  // shown pixel for pixel (not shared yet, so nothing is copied)
    return image;
}

// A window's scale and its backing store's may differ in the last digits (3.6 and 3.599991).
bool sameRatio(double a, double b) { return std::abs(a - b) < 1e-3; }

struct PlayedAhead {
    std::shared_ptr<const Metafile> source;
    double ratio;
    QColor background;
    QFuture<std::optional<QImage>> image;  // empty, or an empty image, when the play was dropped
};
// Touched on the window's thread only; the workers fill the futures.
std::deque<PlayedAhead>& playedAhead() {
    static std::deque<PlayedAhead> ahead;
    return ahead;
}
}  // namespace

void playAhead(const Picture& picture, double ratio, const QColor& background) {
    const std::shared_ptr<const Metafile> m = picture.sharedMetafile();
    if (!m) return;
    std::deque<PlayedAhead>& ahead = playedAhead();
    const auto same = std::find_if(ahead.begin(), ahead.end(), [&](const PlayedAhead& a) {
        return a.source == m && sameRatio(a.ratio, ratio) && a.background == background;
    });
    if (same != ahead.end()) {  // asked for again: kept longest
        PlayedAhead again = std::move(*same);
        ahead.erase(same);
        ahead.push_back(std::move(again));
        return;
    }
    const QSize size = picture.size();
    WorkAhead& work = WorkAhead::ofApplication();
    ahead.push_back({m, ratio, background, work.run([m, size, ratio, background, stop = &work.cancelled()] {
                         return playAt(*m, size, ratio, background, stop);
                     })});
    // Three are kept: the page being turned to and its two neighbours (the viewers ask for the page
    // itself first, which keeps it from being pushed out by them). A future let go still finishes
    // its play, owned by the application's work ahead; its image is freed when it does.
    while (ahead.size() > 3) ahead.pop_front();
}

static int playedOnTheWindow = 0;
int pagesPlayedOnTheWindow() { return playedOnTheWindow; }

void ShownPicture::draw(QPainter& painter, const Picture& picture, QPoint at, const QColor& background) {
    const std::shared_ptr<const Metafile>& m = picture.sharedMetafile();
    if (!m) {
        forget();
        return picture.draw(painter, at);
    }
    const double ratio = painter.device()->devicePixelRatioF();
    if (m != m_source || !sameRatio(m_ratio, ratio) || m_background != background) {
        m_source = m;
        m_background = background;
        m_ratio = ratio;
        m_image = QImage();
        std::deque<PlayedAhead>& ahead = playedAhead();
        const auto played = std::find_if(ahead.begin(), ahead.end(), [&](const PlayedAhead& a) {
            return a.source == m && sameRatio(a.ratio, ratio) && a.background == background;
        });
        if (played != ahead.end()) {
            m_image = played->image.result().value_or(QImage());  // waits, if the worker has not finished yet
            ahead.erase(played);
        }
        if (m_image.isNull()) {
            m_image = playAt(*m, picture.size(), ratio, background);
            ++playedOnTheWindow;
        }
    }
    // Pixel for pixel, in the device's own coordinates: drawn through the stage's scale (3.599991
    // against the page's 3.6) a whiteboard page would take the slow scaled path, several times over.
    const QTransform device = painter.deviceTransform();
    if (device.type() > QTransform::TxScale) {
        QImage scaled = m_image;
        scaled.setDevicePixelRatio(ratio);
        return painter.drawImage(at, scaled);
    }
    const QPointF origin = device.map(QPointF(at));
    painter.save();
    painter.setWorldTransform(device.inverted() * painter.worldTransform());
    painter.drawImage(origin.toPoint(), m_image);
    painter.restore();
}

// A picture is refused when its decoding would keep a screen waiting: a JPEG by what its markers
// say its decoding takes, before a pixel is decoded; and any picture whose decoder is still asking
// for its bytes when its time is up (a GIF's codes can stand for thousands of pixels a byte, so a
// megabyte of a 100 x 100 picture once took nine seconds). The time is the thread's own, so that a
// machine busy with other work does not cost a picture: ours take a few tens of milliseconds.
constexpr double MaxDecodeMs = 400;
constexpr std::chrono::milliseconds DecodeTime{500};

namespace {
// A picture's bytes as its decoder reads them, a few thousand at a time: once its time is up, the
// decoder is told they have ended, and the picture is cut short.
class TimedBuffer : public QBuffer {
public:
    TimedBuffer(QByteArray* data, std::chrono::nanoseconds time) : QBuffer(data), m_end(threadTime() + time) {}
    bool cut() const { return m_cut; }

protected:
    qint64 readData(char* data, qint64 max) override {
        if (m_cut || threadTime() > m_end) return m_cut = true, 0;
        return QBuffer::readData(data, max);
    }

private:
    std::chrono::nanoseconds m_end;
    bool m_cut = false;
};
}  // namespace

namespace {
// A file read and decoded, or why it could not be.
struct Read {
    Picture picture;
    qint64 bytes = 0;
    std::optional<RuntimeError> error;
};

// Reads and decodes one picture file at a stage scale. It touches nothing shared, so a picture a
// screen will need may be read on a worker thread while the window goes on.
Read decode(const QFileInfo& info, const QString& path, int pixelsPerPixel, double scale) {
    const RuntimeError bad(ErrBadPicture, QStringLiteral("Invalid picture: %1").arg(path));
    Read out;
    out.error = bad;
    // Read through the working folder's own rules (no link followed, no FIFO waited on, no file past
    // its limit), and decoded from memory, so a header that never ends ends with the bytes read.
    QByteArray data;
    try {
        data = readWorkingFile(info.filePath(), info.suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0
                                                     ? Metafile::Limits::FileBytes
                                                     : FileLimits::Picture);
    } catch (const RuntimeError& e) {
        qCWarning(lcPictures, "%s: %s", qPrintable(info.filePath()), core::reasonOf(e).c_str());
        return out;
    }
    if (info.suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0) {
        std::optional<Metafile> m = Metafile::read(data);
        if (!m) return out;
        m->setName(path);
        out.bytes = std::min<qint64>(info.size(), Metafile::Limits::FileBytes);
        out.picture = Picture(std::move(*m));
        out.error.reset();
        return out;
    }
    // Known by its first bytes, whatever its name says, and handed to that format's reader alone: an
    // icon or a PNG named .jpg never reaches a decoder, and no other reader judges the bytes.
    const PictureHeader header = readPictureHeader(data);
    if (!header.format) {
        qCWarning(lcPictures, "%s is not a JPEG, GIF or BMP picture: not shown", qPrintable(path));
        return out;
    }
    // Judged by its own header, before a pixel is decoded.
    const QSize size = header.size;
    if (size.isEmpty()) return out;
    if (size.width() > Picture::MaxSize.width() || size.height() > Picture::MaxSize.height()) {
        qCWarning(lcPictures, "%s is %d x %d pixels, larger than any screen shows it: not shown", qPrintable(path),
                  size.width(), size.height());
        return out;
    }
    if (header.decodeMs > MaxDecodeMs) {
        qCWarning(lcPictures, "%s is a JPEG that would take about %d ms to decode, too long to show: not shown",
                  qPrintable(path), int(header.decodeMs));
        return out;
    }
    // And should a header lie all the same, the readers allocate no picture larger than ours.
    static const bool allocationLimited = [] {
        QImageReader::setAllocationLimit(int(qint64(Picture::MaxSize.width()) * Picture::MaxSize.height() * 4 >> 20) + 1);
        return true;
    }();
    Q_UNUSED(allocationLimited);
    TimedBuffer buffer(&data, DecodeTime);
    QImageReader reader(&buffer, header.format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (buffer.cut()) {
        qCWarning(lcPictures, "%s took more than %d ms to decode: not shown", qPrintable(path), int(DecodeTime.count()));
        return out;
    }
    if (image.isNull() || image.width() > Picture::MaxSize.width() || image.height() > Picture::MaxSize.height())
        return out;
    // A sharper copy than the stage needs (the @4x one at 3.6) is brought down to the screen's own
    // pixels once, here, so that every showing is a plain copy rather than a smooth scaling at each
    // paint. (A picture enlarged is left to the painter: it would only grow in memory.)
    if (scale > 1 && pixelsPerPixel > scale + 0.005) {
        const QSizeF onScreen = QSizeF(image.size()) / pixelsPerPixel * scale;
        image = image.scaled(onScreen.toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(scale);
    } else {
        image.setDevicePixelRatio(pixelsPerPixel);
    }
    out.bytes = image.sizeInBytes();
    out.picture = Picture(std::move(image));
    out.error.reset();
    return out;
}

// A picture being read ahead, and what it was read as: a file changed since, or a stage scaled
// since, is read again.
struct ReadAhead {
    QDateTime modified;
    qint64 size = -1;
    double scale = 1;
    QFuture<std::optional<Read>> read;  // empty when the read was dropped
};
// Touched on the window's thread only, by absolute file name; the workers fill the futures.
QHash<QString, ReadAhead>& readingAhead() {
    static QHash<QString, ReadAhead> ahead;
    return ahead;
}
}  // namespace

// Every screen shows the same few pictures: each file is read once and shared while it is
// unchanged on disk (same size and time), so a visit to a screen costs no decoding. The cache keeps
// the pictures used last, up to a size in bytes, so a folder of large files cannot fill the memory.
struct CachedPicture {
    QDateTime modified;
    qint64 size = -1;
    double scale = 1;
    Picture picture;
};
static QCache<QString, CachedPicture>& pictureCache() {
    static QCache<QString, CachedPicture> cache(Picture::CacheBytes);
    return cache;
}

static Picture readPicture(const QFileInfo& info, const QString& path, int pixelsPerPixel, double scale) {
    const QString key = info.absoluteFilePath();
    const auto same = [&](const auto& e) {
        return e.modified == info.lastModified() && e.size == info.size() && std::abs(e.scale - scale) < 1e-3;
    };
    if (const CachedPicture* e = pictureCache().object(key); e && same(*e)) return e->picture;
    const auto ahead = readingAhead().constFind(key);
    const bool readAhead = ahead != readingAhead().cend() && same(*ahead);
    std::optional<Read> readThere = readAhead ? ahead->read.result() : std::nullopt;  // waits for the worker
    const Read read = readThere ? std::move(*readThere) : decode(info, path, pixelsPerPixel, scale);
    readingAhead().remove(key);
    if (read.error) throw *read.error;
    pictureCache().insert(key, new CachedPicture{info.lastModified(), info.size(), scale, read.picture},
                          std::max<qint64>(1, read.bytes));
    return read.picture;
}

// On a scaled stage a picture drawn by our generators has copies at twice and four times its size
// beside it ("euclid@2x.jpg"): the smallest that is at least the size on screen is shown, at the
// picture's own size in the design.
static QFileInfo sharpestFor(const QFileInfo& picture, double scale, int* pixelsPerPixel) {
    *pixelsPerPixel = 1;
    if (scale <= 1 || picture.suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0) return picture;
    QFileInfo best = picture;
    for (int k : {2, 4}) {
        const QFileInfo copy(picture.dir().filePath(picture.completeBaseName() + QStringLiteral("@%1x.").arg(k) + picture.suffix()));
        if (!copy.isFile()) continue;
        best = copy;
        *pixelsPerPixel = k;
        if (k >= scale) break;
    }
    return best;
}

// What the program's own pictures show, in a few words for a screen reader; by file name, without its folder.
static QString describe(const QString& path) {
    const QString file = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).section(QLatin1Char('/'), -1).toLower();
    // The title's and the main menu's own picture; a topic's pictures are described by its file.
    if (file == QLatin1String("euclidsm.jpg")) return QStringLiteral("Euclid holding compasses in front of a temple, by his scroll of two circles and a triangle, and squares on a triangle");
    if (file == QLatin1String("logo2.jpg")) return QStringLiteral("The Vellacourt Numerists crest: compasses on a shield");
    if (file == QLatin1String("halvern2.bmp")) return QStringLiteral("The publisher's sign: compasses and the letters VN");
    if (file.startsWith(QLatin1String("hvrn"))) return QStringLiteral("The publisher's turning dial");
    return {};
}

Picture LoadPicture(const QString& path, double scale) {
    if (path.isEmpty()) return {};
    const QFileInfo info(resolvePath(path));
    if (!info.isFile()) throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
    int pixelsPerPixel = 1;
    const QFileInfo sharpest = sharpestFor(info, scale, &pixelsPerPixel);
    Picture picture = readPicture(sharpest, path, pixelsPerPixel, scale);
    picture.setDescription(describe(path));
    return picture;
}

void readAhead(const QString& path, double scale) {
    const QFileInfo info(resolvePath(path));
    if (!info.isFile()) return;  // LoadPicture will say so
    int pixelsPerPixel = 1;
    const QFileInfo sharpest = sharpestFor(info, scale, &pixelsPerPixel);
    const QString key = sharpest.absoluteFilePath();
    if (pictureCache().contains(key) || readingAhead().contains(key)) return;
    readingAhead().insert(key, {sharpest.lastModified(), sharpest.size(), scale,
                                WorkAhead::ofApplication().run([sharpest, path, pixelsPerPixel, scale] {
                                    return decode(sharpest, path, pixelsPerPixel, scale);
                                })});
}

Picture LoadPictureOrEmpty(const QString& path, double scale) {
    try {
        return LoadPicture(path, scale);
    } catch (const RuntimeError& e) {
        qCWarning(lcPictures, "%s is left empty: %s", qPrintable(path), core::reasonOf(e).c_str());
        return {};
    }
}

Picture LoadPictureOrEmpty(const core::PictureFile& picture, double scale) {
    Picture p = LoadPictureOrEmpty(picture.file, scale);
    if (!p.isNull() && !picture.shows.isEmpty()) p.setDescription(picture.shows);
    return p;
}

}  // namespace platform
