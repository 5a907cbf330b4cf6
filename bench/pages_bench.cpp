// Reference pages: the time to play each page metafile, and a page switch in both page viewers
// (click to the end of the paint that shows the new page), turned back to back and half a second
// apart. Medians in ms. Then pages and pictures made to cost without end: the time each takes to
// load and play at the viewer's page size, and how far the program's peak memory grew.
#include "BenchUtil.h"
#include "platform/Navigator.h"
#include "WmfWriter.h"

#include <sys/resource.h>
#include "pages/PageViewer.h"
#include "platform/WorkingFiles.h"
#include "platform/Picture.h"
#include "platform/Stage.h"
#include "platform/Fonts.h"
#include "platform/Core.h"
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "shell/MainMenu.h"
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "shell/MainMenu.h"
#include "core/Shared.h"
#include "shell/TopicScreen.h"

namespace {

long peakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

void writeFile(const QString& name, const std::string& bytes) {
    QFile f(name);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), qint64(bytes.size()));
}

WmfWriter unitPage() {
    WmfWriter w(1, 1);
    w.windowOrg(0, 0);
    w.windowExt(1, 1);
    return w;
}

std::vector<std::pair<int, int>> sweep(int n) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < n; ++i) points.push_back({(i * 7919) % 65535 - 32767, (i * 104729) % 65535 - 32767});
    return points;
}

// The hostile pages, each written as wmf/hostile-N.wmf, and what each is.
std::vector<std::pair<const char*, QString>> hostilePages() {
    std::vector<std::pair<const char*, QString>> out;
    const auto add = [&out](const char* what, const std::string& bytes) {
        const QString name = QStringLiteral("wmf/hostile-%1.wmf").arg(out.size());
        writeFile(name, bytes);
        out.push_back({what, name});
    };
    WmfWriter dashed = unitPage();
    dashed.select(dashed.pen(1, 0, 0));
    std::vector<std::pair<int, int>> zigzag;
    for (int i = 0; i < 100; ++i) zigzag.push_back({i % 2 ? 32000 : -32000, i % 3 ? 32000 : -32000});
    dashed.polyline(zigzag);
    add("dashed polyline, 1 x 1 window", dashed.bytes());
    for (int n : {32767, 2000}) {
        WmfWriter w(1440, 1440);
        w.polygon(sweep(n));
        add(n == 2000 ? "polygon of 2,000 wide points" : "polygon of 32,767 wide points", w.bytes());
    }
    WmfWriter wide(1440, 1440);
    wide.select(wide.pen(0, 32767, 0));
    for (int i = 0; i < 25; ++i) {
        wide.ellipse(-30000 + i, -30000, 30000, 30000);
        wide.record(0x081A, {0, 0, 100, 100, 30000, 30000, -30000, -30000});
    }
    add("50 ellipses and pies, 32,767-wide pen", wide.bytes());
    WmfWriter many(1440, 1440);
    for (int i = 0; i < 200; ++i) many.polyline(sweep(10000));
    add("8 MB of polylines", many.bytes());
    WmfWriter saves(1440, 1440);
    for (int i = 0; i < 999000; ++i) saves.record(0x001E, {});
    add("999,000 SaveDC records", saves.bytes());
    WmfWriter bitmaps(1440, 1440);
    const std::string pixels(size_t(8192 / 8) * 8192, '\x55');
    for (int i = 0; i < 12; ++i) bitmaps.stretchDib(8192, 8192, 1, {0, 0}, pixels, 0, 0, 1440, 1440);
    add("twelve 8192 x 8192 bitmaps", bitmaps.bytes());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    WatchingApp a(argc, argv);
    QTemporaryDir dir;
    useCopyOfData(dir);
    platform::initFonts();
    const int repeats = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    // Each page as the viewer plays it on a stage at scale 1, and as a 1920 x 1080 and a 3840 x 2160
    // screen scale it (1.8 and 3.6): the page plays at the size of the pixels it fills.
    const double scales[] = {1, 1.8, 3.6};
    std::printf("%-32s %10s %10s %10s\n", "page played (ms) at scale", "1", "1.8", "3.6");
    std::vector<double> slowest(3, 0);
    for (const char* folder : {"wmf", "wmf2"})
        for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("*.wmf")})) {
            const platform::Picture page = platform::LoadPicture(QLatin1String(folder) + QLatin1Char('/') + f.fileName());
            std::printf("%-32s", qPrintable(folder + QLatin1Char('/') + f.fileName()));
            for (size_t k = 0; k < 3; ++k) {
                QImage image(page.size() * scales[k], QImage::Format_RGB32);
                image.setDevicePixelRatio(scales[k]);
                std::vector<double> times;
                for (int i = 0; i < repeats; ++i) {
                    image.fill(Qt::white);
                    QPainter p(&image);
                    QElapsedTimer t;
                    t.start();
                    page.draw(p, QPoint(0, 0));
                    p.end();
                    times.push_back(double(t.nsecsElapsed()) / 1e6);
                }
                slowest[k] = std::max(slowest[k], median(times));
                std::printf(" %10.2f", median(times));
            }
            std::printf("\n");
        }
    std::printf("%-32s %10.2f %10.2f %10.2f\n\n", "slowest page", slowest[0], slowest[1], slowest[2]);

    std::printf("%-40s %10s %14s\n", "hostile page, loaded and played", "ms", "peak MiB grew");
    const QSize pageSize = platform::LoadPicture(QStringLiteral("wmf/guide1.wmf")).size();
    for (const auto& [what, file] : hostilePages()) {
        const long before = peakMiB();
        QElapsedTimer t;
        t.start();
        const platform::Picture page = platform::LoadPictureOrEmpty(file);
        QImage image(pageSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        page.draw(p, QRectF(QPointF(0, 0), QSizeF(pageSize)));
        p.end();
        std::printf("%-40s %10.1f %14ld\n", what, double(t.nsecsElapsed()) / 1e6, peakMiB() - before);
    }
    {
        // Twenty animation frames of 5700 x 5700 pixels.
        QImage frame(5700, 5700, QImage::Format_Indexed8);
        frame.setColorTable({qRgb(0, 0, 128), qRgb(255, 255, 0)});
        frame.fill(0);
        for (int n = 0; n < 20; ++n) frame.save(QStringLiteral("logo/hvrn%1.gif").arg(n, 4, 10, QLatin1Char('0')), "GIF");
        const long before = peakMiB();
        QElapsedTimer t;
        t.start();
        for (int n = 0; n < 20; ++n) platform::LoadPictureOrEmpty(QStringLiteral("logo/hvrn%1.gif").arg(n, 4, 10, QLatin1Char('0')));
        std::printf("%-40s %10.1f %14ld\n\n", "twenty 5700 x 5700 GIF frames", double(t.nsecsElapsed()) / 1e6,
                    peakMiB() - before);
    }

    platform::Stage::instance()->showBackdrop();
    platform::screens().show<MainMenu>();
    TopicScreen::show(
        core::parseTopic(platform::readWorkingFile(QStringLiteral("topics\\euclid.txt"), core::MaxTopicBytes)));
    clickAt(platform::screens().get<TopicScreen>().ui().keyFacts->widget());  // Key Facts
    // Pages turned back to back, then at a reader's pace: half a second between turns, the time a
    // viewer has to play the pages either side ahead.
    const int paced = std::max(5, repeats / 3);
    const auto turns = [&](int n, int pauseMs, PageViewer* viewer) {
        std::vector<double> times;
        int page = 1;  // on to page 3, then back and forth between 2 and 3
        for (int i = 0; i < n; ++i) {
            if (pauseMs) QTest::qWait(pauseMs);
            const bool next = page < 3;
            page += next ? 1 : -1;
            times.push_back(
                measure([viewer, next] { clickAt((next ? viewer->ui().next : viewer->ui().previous)->widget()); },
                        [viewer] { return viewer->ui().page->widget(); }));
        }
        return median(times);
    };
    const double keyFacts = turns(repeats, 0, platform::screens().find<PageViewer>());
    const double keyFactsPaced = turns(paced, 500, platform::screens().find<PageViewer>());
    clickAt(platform::screens().get<PageViewer>().ui().exit->widget());
    clickAt(platform::screens().get<TopicScreen>().ui().exit->widget());
    clickAt(platform::screens().get<MainMenu>().ui().guide->widget());  // Teachers' Guide
    const double guidePages = turns(repeats, 0, platform::screens().find<PageViewer>());
    const double guidePaced = turns(paced, 500, platform::screens().find<PageViewer>());
    std::printf("%-32s %10s %10s\n", "page switch (ms)", "at once", "0.5 s on");
    std::printf("%-32s %10.2f %10.2f\n", "Key Facts", keyFacts, keyFactsPaced);
    std::printf("%-32s %10.2f %10.2f\n", "Teachers' Guide", guidePages, guidePaced);
    return 0;
}
