// Reference pages: the metafile player on hand-made and lying files, and the page viewers by clicks.
#include "platform/screen/Navigator.h"
#include "TestUtil.h"
#include "platform/pictures/MetafileBitmap.h"
#include "platform/screen/Accessibility.h"
#include <QAccessible>
#include <sys/resource.h>
#include <QElapsedTimer>
#include <sys/stat.h>
#include "WmfWriter.h"

using namespace platform;
using namespace core;
using testutil::Session;

namespace {

QByteArray bytes(const WmfWriter& w) {
    const std::string b = w.bytes();
    return QByteArray(b.data(), qsizetype(b.size()));
}

Metafile metafile(const WmfWriter& w) {
    QString error;
    std::optional<Metafile> m = Metafile::read(bytes(w), &error);
    if (!m) qFatal("test picture rejected: %s", qPrintable(error));
    return std::move(*m);
}

// The picture played onto a white 96 x 96 image.
QImage render(const WmfWriter& w) {
    QImage image(96, 96, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    metafile(w).play(p, QRectF(0, 0, 96, 96));
    return image;
}

// Where the dark pixels of an image lie.
QRect inked(const QImage& image) {
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) r |= QRect(x, y, 1, 1);
    return r;
}

// A picture of one inch square (96 pixels) unless told.
WmfWriter page(int width = 1440, int height = 1440) {
    WmfWriter w(width, height);
    w.windowOrg(0, 0);
    w.windowExt(width, height);
    w.bkMode(1);
    return w;
}

// A page-sized picture, 700 x 520 pixels as the viewer shows a page, a pixel to its logical unit.
constexpr int PageW = 700, PageH = 520;
WmfWriter pageSized() { return page(PageW, PageH); }

// Keeps the log lines written while it lives.
class LogLines {
public:
    QStringList lines;
    LogLines() {
        sink = &lines;
        m_before = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { *sink << m; });
    }
    ~LogLines() { qInstallMessageHandler(m_before); }

private:
    static inline QStringList* sink = nullptr;
    QtMessageHandler m_before = nullptr;
};

// True if a picture played page-sized drew its last drawing (the top-left marker); `log` gets what was said.
bool playsToTheEnd(const QByteArray& file, QStringList& log, double scale = 1) {
    const LogLines said;
    QImage image(QSize(PageW, PageH) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setPen(Qt::red);
        if (std::optional<Metafile> m = Metafile::read(file)) m->play(p, QRectF(0, 0, PageW, PageH));
        // The painter comes back as it was given, whatever states the page saved and left.
        if (p.pen().color() != Qt::red) log << QStringLiteral("the painter came back changed");
    }
    log << said.lines;
    return qGray(image.pixel(3, 3)) < 128;
}

void marker(WmfWriter& w) {
    w.select(w.pen(5, 0, 0));
    w.select(w.brush(0, 0));
    w.rectangle(0, 0, 5, 5);
}
}  // namespace

class PagesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void textPlacedAndDecoded() {
        const auto run = [](int align, std::vector<int16_t> dx = {}, int x = 720) {
            WmfWriter w = page();
            w.textAlign(align);
            w.select(w.font(-240, 400, "Arial"));
            w.extText(x, 720, "IIII", dx);
            return inked(render(w));
        };
        const QRect left = run(24), centre = run(24 | 6), top = run(0);
        QVERIFY(left.left() >= 47 && left.left() <= 50);  // starts at the reference point
        QVERIFY(std::abs(centre.center().x() - 48) <= 2);
        QVERIFY(left.bottom() <= 48 && top.top() >= 48);  // on the baseline, or hanging from the top
        QVERIFY(run(24, {360, 360, 360, 360}, 100).width() >= 70);
        // Letters in the font's code page: Greek, and the Symbol font's own.
        WmfWriter w = page();
        w.select(w.font(-200, 400, "Times New Roman", false, 161));
        w.text(100, 700, "\xC5\xF5\xEA\xEB\xE5\xDF\xE4\xE7\xF2");  // Windows-1253
        w.select(w.font(-200, 400, "Symbol", false, 2));
        w.text(100, 1300, "p\xB9\xA5");
        QCOMPARE(metafile(w).texts(), (QStringList{QStringLiteral("Ευκλείδης"), QStringLiteral("π≠∞")}));
    }

    // A pixel naming a colour past its bitmap's palette is black, never the bytes after the palette.
    void bitmapPixelsPastThePalette() {
        QByteArray dib(40, '\0');
        for (auto [at, value] : {std::pair{0, 40}, {4, 2}, {8, 1}, {12, 1 | 8 << 16}, {32, 1}})  // 2 x 1, 8 bits, 1 colour
            qToLittleEndian<quint32>(quint32(value), dib.data() + at);
        dib += QByteArray("\x00\x00\xFF\x00" "\x00\x01\xFF\xFF", 8);  // the colour red; pixels 0 and 1
        const QImage image = wmf::decodeDib(reinterpret_cast<const uchar*>(dib.constData()), dib.size());
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(image.pixelColor(1, 0), QColor(Qt::black));
    }

    // Each lie in a metafile's own counts and sizes is refused on reading.
    void metafilesThatLie() {
        WmfWriter good = page();
        good.rectangle(0, 0, 10, 10);
        const QByteArray ok = bytes(good);
        QByteArray zero = ok;
        qToLittleEndian<quint32>(0, zero.data() + 40);
        const auto made = [](const std::function<void(WmfWriter&)>& fill) {
            WmfWriter w = page();
            fill(w);
            return bytes(w);
        };
        QByteArray more = made([](WmfWriter& w) { w.brush(0, 0xFF), w.brush(0, 0xFF00); });
        qToLittleEndian<quint16>(1, more.data() + 22 + 10);  // two made, one counted
        const std::pair<const char*, QByteArray> lies[] = {
            {"not placeable", QByteArray("\x01\x00\x09\x00", 4) + ok.mid(22)},
            {"truncated record", ok.left(ok.size() - 10)},
            {"record size 0", zero},
            // The header counts one object: index 1 is past it.
            {"object index equal to the count", made([](WmfWriter& w) { w.brush(0, 0xFF), w.select(1); })},
            {"more objects made than counted", more},
            {"a count the record cannot hold", made([](WmfWriter& w) { w.record(0x0324, {30000, 1, 2, 3, 4}); })},
            {"text longer than its record", made([](WmfWriter& w) { w.record(0x0521, {400, 0x4141}); })}};
        for (const auto& [lie, file] : lies) QVERIFY2(!Metafile::read(file), lie);
    }

    // Just within a limit a page plays to its end; just past it, it shows what it drew and logs why.
    void pageLimits_data() {
        using L = Metafile::Limits;
        QTest::addColumn<QByteArray>("under");
        QTest::addColumn<QByteArray>("over");
        QTest::addColumn<QString>("why");
        const auto row = [](const char* name, const char* why, const std::function<void(WmfWriter&, bool)>& fill) {
            QByteArray files[2];
            for (bool over : {false, true}) {
                WmfWriter w = pageSized();
                fill(w, over);
                marker(w);
                files[over] = bytes(w);
            }
            QTest::newRow(name) << files[0] << files[1] << QString::fromLatin1(why);
        };
        row("points", "points and letters", [](WmfWriter& w, bool over) {
            for (qint64 left = L::Points - 4 + over; left > 0; left -= 30000) {
                std::vector<std::pair<int, int>> zigzag;
                for (int i = 0; i < std::min<qint64>(left, 30000); ++i) zigzag.push_back({100 + i % 2, 100});
                w.polyline(zigzag);
            }
        });
        row("filling", "edges run longer than", [](WmfWriter& w, bool over) {
            w.select(w.pen(5, 0, 0));
            w.select(w.brush(0, WmfWriter::rgb(255, 255, 255)));
            std::vector<std::pair<int, int>> zigzag;
            const int edges = int(L::CellSides * PageW / 500) + 2 * over;
            for (int i = 0; i < edges; ++i) zigzag.push_back({100 + i % 500, i % 2 ? 510 : 10});
            w.polygon(zigzag);
        });
        row("bitmap pixels", "bitmaps of more than", [](WmfWriter& w, bool over) {
            for (auto [wide, high] : {std::pair{1024, 2048}, {1024, 2048}, {int(over), int(over)}})
                w.stretchDib(wide, high, 1, {0xFFFFFF, 0xFFFFFF},
                             std::string(size_t(wide + 31) / 32 * 4 * size_t(high), '\0'), 100, 100, 20, 20);
        });
        // A page-wide pen turning back and forth once took minutes at 4K, unlogged: charged by what it sweeps.
        row("wide strokes", "edges run longer than", [](WmfWriter& w, bool over) {
            w.select(w.pen(0, over ? PageW : 1, 0));
            std::vector<std::pair<int, int>> zigzag;
            for (int i = 0; i < 2000; ++i) zigzag.push_back({PageW / 2 + i % 2 * (1 + i % 7), PageH / 2 + i % 3});
            w.polyline(zigzag);
        });
        row("file size", "only its first part", [](WmfWriter& w, bool over) {
            WmfWriter probe = pageSized();
            marker(probe);
            const size_t words = size_t((L::FileBytes - bytes(probe).size() - 6) / 2 + 4 * over);
            w.record(0x0A0A, std::vector<int16_t>(words, 0));
        });
    }
    void pageLimits() {
        QFETCH(QByteArray, under);
        QFETCH(QByteArray, over);
        QFETCH(QString, why);
        QStringList log;
        QVERIFY(playsToTheEnd(under, log));
        QVERIFY2(log.isEmpty(), qPrintable(log.join(QLatin1Char('\n'))));
        QVERIFY(!playsToTheEnd(over, log));
        QVERIFY2(log.size() == 1 && log[0].contains(why), qPrintable(log.join(QLatin1Char('\n'))));
        // On a whiteboard too, each page within 2 s and 200 MB, whatever it is cut to there.
        auto peakKiB = [u = rusage{}]() mutable { return getrusage(RUSAGE_SELF, &u), u.ru_maxrss; };
        for (const QByteArray& file : {under, over}) {
            const long peak = peakKiB();
            QElapsedTimer t;
            t.start();
            QStringList cuts;
            playsToTheEnd(file, cuts, 3.6);
            QVERIFY2(t.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms at 3.6").arg(t.elapsed())));
            QVERIFY2(peakKiB() - peak < 200 * 1024, qPrintable(QStringLiteral("%1 KiB more at 3.6").arg(peakKiB() - peak)));
        }
    }

    // Our own pages play whole, well within every limit, on screens and on paper.
    void shippedPagesPlayWhole() {
        const LogLines log;
        for (const char* folder : {"wmf", "wmf2"})
            for (const QFileInfo& f : QDir(QStringLiteral(DATA_DIR "/") + folder).entryInfoList({QStringLiteral("*.wmf")})) {
                QFile file(f.filePath());
                QVERIFY(file.open(QIODevice::ReadOnly));
                const std::optional<Metafile> m = Metafile::read(file.readAll());
                QVERIFY(m);
                for (const auto& [dotsPerTwip, scale] : {std::pair{4 / 15.0, 1.0}, {4 / 15.0, 3.6}, {5 / 6.0, 1.0}}) {
                    QImage image(QSize(1, 1), QImage::Format_RGB32);
                    image.setDevicePixelRatio(scale);
                    QPainter p(&image);
                    m->play(p, QRectF(QPointF(0, 0), m->sizeTwips() * dotsPerTwip));
                }
            }
        QVERIFY2(log.lines.isEmpty(), qPrintable(log.lines.join(QLatin1Char('\n'))));
    }

    // Planted pictures are refused at once, whatever their names say (a FIFO, an endless header, a JPEG
    // of endless empty scans or of arithmetic-coded noise, an icon holding a large PNG, one too large), a
    // GIF whose every code is thousands of pixels within its time; the cache is bounded.
    void plantedPicturesRefusedAndTheCacheBounded() {
        Session s;
        const auto save = [&s](const QString& name, QSize size) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::darkBlue);
            QVERIFY(image.save(s.path(name), "JPEG"));
        };
        QVERIFY(::mkfifo(qPrintable(s.path(QStringLiteral("Images/fifo.jpg"))), 0600) == 0);
        s.write(QStringLiteral("Images/endless.ppm"), "P6\n# ");
        QVERIFY(QFile::resize(s.path(QStringLiteral("Images/endless.ppm")), qint64(1) << 30));
        // Progressive, at the largest size shown: one grey component, its quantisation all ones.
        const auto progressive = [](char sof) {
            QByteArray b("\xFF\xD8\xFF\xDB\x00\x43\x00", 7);
            b += QByteArray(64, 1);
            b += QByteArray("\xFF\x00\x00\x0B\x08\x09\x60\x0C\x80\x01\x01\x11\x00", 13);
            b[b.size() - 12] = sof;
            return b;
        };
        QByteArray scans = progressive('\xC2');
        for (int i = 0; i < 5000; ++i) scans += QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x01\x3F\x00\x00\x00", 12);
        s.write(QStringLiteral("Images/scans.jpg"), scans + QByteArray("\xFF\xD9", 2));
        // Arithmetic-coded noise in 60 scans (which a count of scans let through): a second to decode.
        QByteArray noise = progressive('\xCA');
        QRandomGenerator random(37);
        for (int scan = 0; scan < 60; ++scan) {
            noise += scan == 0 ? QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10)
                               : QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x01\x3F\x00", 10);
            QByteArray data(100'000, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
            noise += data.replace('\xFF', '\x7F');
        }
        s.write(QStringLiteral("Images/noise.jpg"), noise + QByteArray("\xFF\xD9", 2));
        // An icon whose directory says 256 x 256, holding a PNG of 5600 x 5600.
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImage flat(5600, 5600, QImage::Format_Mono);
        flat.fill(0);
        QVERIFY(flat.save(&png, "PNG"));
        QByteArray icon("\0\0\1\0\1\0\0\0\0\0\1\0\x20\0", 14);
        const quint32 sizeAndOffset[2] = {quint32(png.data().size()), 22};
        s.write(QStringLiteral("Images/icon.jpg"), icon + QByteArray(reinterpret_cast<const char*>(sizeAndOffset), 8) + png.data());
        // A GIF of 100 x 100 whose codes each stand for the longest string its table holds, a megabyte of them.
        QByteArray gif("GIF89a\x64\0\x64\0\x80\0\0\0\0\0\xFF\xFF\xFF,\0\0\0\0\x64\0\x64\0\0\x08", 30);
        QByteArray lzw;
        quint64 bits = 0;
        int held = 0, next = 258, width = 9;
        const auto put = [&](int code) {
            bits |= quint64(code) << held;
            for (held += width; held >= 8; held -= 8, bits >>= 8) lzw += char(bits & 0xFF);
        };
        put(256), put(0);
        while (lzw.size() < 1'000'000) {
            put(next < 4096 ? next : 4095);
            if (next < 4096 && ++next == 1 << width && width < 12) ++width;
        }
        for (qsizetype i = 0; i < lzw.size(); i += 255) gif += char(std::min<qsizetype>(255, lzw.size() - i)) + lzw.mid(i, 255);
        s.write(QStringLiteral("Images/codes.gif"), gif + QByteArray("\0;", 2));
        save(QStringLiteral("Images/tall.jpg"), {8, Picture::MaxSize.height() + 1});
        QElapsedTimer t;
        t.start();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("scans.jpg is a JPEG that would take about \\d+ ms to decode")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("noise.jpg is a JPEG that would take about \\d+ ms to decode")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("icon.jpg is not a JPEG, GIF or BMP picture")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("codes.gif took more than \\d+ ms to decode")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("tall.jpg is 8 x 2401 pixels")));
        for (const char* file : {"Images\\fifo.jpg", "Images\\endless.ppm", "Images\\scans.jpg", "Images\\noise.jpg",
                                 "Images\\icon.jpg", "Images\\codes.gif", "Images\\tall.jpg"})
            QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QString::fromLatin1(file)));
        QVERIFY2(t.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms").arg(t.elapsed())));
        save(QStringLiteral("Images/most.jpg"), Picture::MaxSize);
        const qint64 first = LoadPicture(QStringLiteral("Images\\most.jpg")).image().cacheKey();
        QCOMPARE(LoadPicture(QStringLiteral("Images\\most.jpg")).image().cacheKey(), first);
        // Each of these is 30 MB decoded: after three the first is no longer kept.
        for (int i = 0; i < 3; ++i) {
            save(QStringLiteral("Images/big%1.jpg").arg(i), Picture::MaxSize);
            LoadPicture(QStringLiteral("Images\\big%1.jpg").arg(i));
        }
        QVERIFY(LoadPicture(QStringLiteral("Images\\most.jpg")).image().cacheKey() != first);
    }

    // A hostile first page (a zigzag that once took minutes), a second missing or damaged: the guide turns, silent.
    void guideShowsWhatItCanOfBadPages() {
        Session s;
        WmfWriter zigzag = page(1, 1);
        zigzag.select(zigzag.pen(1, 0, 0));
        std::vector<std::pair<int, int>> points;
        for (int i = 0; i < 100; ++i) points.push_back({i % 2 ? 32000 : -32000, i % 3 ? 32000 : -32000});
        zigzag.polyline(points);
        s.write(QStringLiteral("wmf/guide1.wmf"), bytes(zigzag));
        QVERIFY(QFile::remove(s.path(QStringLiteral("wmf/guide2.wmf"))));
        s.write(QStringLiteral("wmf2/guide2.wmf"), "damaged");
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().guide);
        PageViewer* g = screens().find<PageViewer>();
        g->clientArea()->grab();
        testutil::click(g->ui().next);
        QVERIFY(g->ui().page->picture().isNull() && g->ui().printCopy->picture().isNull());
        QCOMPARE(g->ui().caption->text(), QStringLiteral("Page 2 of 5"));
        testutil::click(g->ui().next);
        QVERIFY(!g->ui().page->picture().isNull());
        QVERIFY(s.messages.isEmpty());
    }

    // Documents turned by clicks; every page shown was played ahead, never pushed out by its neighbours.
    void documentsTurnByClicks() {
        for (const auto& [entry, pages, name, stem] :
             {std::tuple{-1, 5, "guide", "guide"}, {4, 3, "keyfacts", "key euclid"}, {5, 2, "notes", "euclid"}}) {
            Session s;
            screens().show<MainMenu>();
            if (entry >= 0) testutil::showEuclid();
            QWidget* opener = Stage::instance()->front();
            testutil::click(entry < 0 ? screens().get<MainMenu>().ui().guide : testutil::topicEntry(entry));
            PageViewer* t = screens().find<PageViewer>();
            t->ui().page->widget()->grab();
            const int played = pagesPlayedOnTheWindow();
            testutil::click(t->ui().previous);  // greyed on the first page: a click leaves it there
            for (int n = 1; n <= pages; ++n) {
                QCOMPARE(t->ui().caption->text(), QStringLiteral("Page %1 of %2").arg(n).arg(pages));
                QVERIFY(t->ui().previous->isEnabled() == (n > 1) && t->ui().next->isEnabled() == (n < pages));
                const QString file =
                    QStringLiteral("wmf\\%1%2.wmf").arg(stem).arg(QChar(entry < 0 ? u'0' + n : u'a' + n - 1));
                QCOMPARE(t->ui().page->picture().metafile(), LoadPicture(file).metafile());
                t->ui().page->widget()->grab();
                testutil::screenshot(QStringLiteral("%1-%2").arg(name).arg(n));
                testutil::click(t->ui().next);
            }
            QCOMPARE(t->page(), pages);
            for (bool next : {false, false, true, false, true})
                testutil::click(next ? t->ui().next : t->ui().previous), t->ui().page->widget()->grab();
            QCOMPARE(pagesPlayedOnTheWindow(), played);
            testutil::click(t->ui().exit);
            QCOMPARE(Stage::instance()->front(), opener);
        }
    }

    // The logo turns on from where it stopped; a click or Space toggles it; it rests after 5 s and with the
    // page. Its name tells a listener whether it turns, each change told as it comes.
    void acknowledgmentsAnimate() {
        Session s;
        QList<QObject*> renamed;
        nameChangeHook = [&renamed](QWidget* w) { renamed << w; };
        const auto done = qScopeGuard([] { nameChangeHook = nullptr; });
        int& frame = core::shared().logoFrame;
        frame = 17;
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().acknowledgments);
        PictureBox* logo = screens().get<PageViewer>().ui().logo;
        QTRY_VERIFY(frame == 1);  // 18, 19, 0, 1: round the loop
        testutil::screenshot(QStringLiteral("acknowledgments"));
        const auto still = [&] {
            const int was = frame;
            QTest::qWait(100);
            return frame == was;
        };
        const auto told = [&](const char* now) {
            const QString name = QAccessible::queryAccessibleInterface(logo->widget())->text(QAccessible::Name);
            const bool heard = QTest::qWaitFor([&] { return renamed.contains(logo->widget()); });
            renamed.clear();
            return name.endsWith(QLatin1String(now)) && heard;
        };
        QVERIFY(QAccessible::queryAccessibleInterface(logo->widget())->text(QAccessible::Name).endsWith(QStringLiteral(", running")));
        platform::reportNameChanges();  // the name as a listener first meets it
        renamed.clear();
        testutil::click(logo);
        QVERIFY(still() && told(", stopped"));
        QTest::keyClick(logo->widget(), Qt::Key_Space);
        QVERIFY(!still() && told(", running"));
        QTest::qWait(5000);
        QVERIFY(still() && told(", stopped"));
        testutil::click(logo);
        testutil::click(screens().get<PageViewer>().ui().exit);
        QVERIFY(still());
    }
};

QTEST_MAIN(PagesTest)
#include "test_pages.moc"
