// Reference pages: the time to play each page metafile, and a page switch in both page viewers
// (click to the end of the paint that shows the new page). Medians in ms.
#include "BenchUtil.h"
#include "pages/GuideViewer.h"
#include "pages/PageViewer.h"
#include "platform/Picture.h"
#include "platform/Stage.h"
#include "platform/Vb.h"
#include "shell/Forms.h"
#include "shell/MainMenu.h"
#include "shell/Module1.h"
#include "shell/TopicMenu.h"

int main(int argc, char** argv) {
    WatchingApp a(argc, argv);
    QTemporaryDir dir;
    useCopyOfData(dir);
    platform::initFonts();
    const int repeats = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    std::printf("%-32s %10s\n", "page played", "ms");
    std::vector<double> all;
    for (const char* folder : {"wmf", "wmf2"})
        for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("*.wmf")})) {
            const platform::Picture page = platform::LoadPicture(QLatin1String(folder) + QLatin1Char('/') + f.fileName());
            QImage image(page.size(), QImage::Format_RGB32);
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
            all.push_back(median(times));
            std::printf("%-32s %10.2f\n", qPrintable(folder + QLatin1Char('/') + f.fileName()), all.back());
        }
    std::printf("%-32s %10.2f\n\n", "slowest page", *std::max_element(all.begin(), all.end()));

    platform::Stage::instance()->showBackdrop();
    forms::intro0->Show();
    forms::euclid->Show();
    clickAt(forms::euclid->label3(4)->widget());  // Key Facts
    std::vector<double> keyFacts;
    for (int i = 0; i < repeats; ++i)
        keyFacts.push_back(measure([] { clickAt(forms::teacher->Label3(Module1::PageNumber < 3 ? 2 : 3)->widget()); },
                                   [] { return forms::teacher->Image1->widget(); }));
    clickAt(forms::teacher->Label3(1)->widget());
    clickAt(forms::euclid->label3(2)->widget());
    clickAt(forms::intro0->Label2(20)->widget());  // Teachers' Guide
    std::vector<double> guidePages;
    for (int i = 0; i < repeats; ++i)
        guidePages.push_back(measure([] { clickAt(forms::guide->Label3(Module1::PageNumber < 3 ? 2 : 3)->widget()); },
                                     [] { return forms::guide->Image1->widget(); }));
    std::printf("%-32s %10.2f\n%-32s %10.2f\n", "page switch, Key Facts", median(keyFacts), "page switch, Teachers' Guide",
                median(guidePages));
    return 0;
}
