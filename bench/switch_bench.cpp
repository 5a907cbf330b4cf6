// Start-up and screen switches of the program against a bare Qt program that builds a page of the
// same pictures and captions in a QStackedWidget on a click, measured the same way in the same run.
//
//   bench_switch [processes] [rounds]
//
// Each side runs in fresh child processes, taken in turn (ours, bare, ours, ...). Start-up is the
// time from starting the process to its first painted screen; a switch is the time from the click
// to the end of the paint that first shows the new screen, with the X server idle at the click.
// Both sides are left the same way: the title page by its push button, the others by a caption.
// "first" is the first switch of that kind in a process (pictures and fonts not yet loaded),
// "again" all later ones. Medians throughout. The start-up here includes filling the working
// folder; bench_startup times the real program's start as the X server shows it.
#include "BarePages.h"
#include "platform/screen/Navigator.h"
#include "BenchUtil.h"
#include "platform/screen/Stage.h"
#include "platform/screen/Fonts.h"
#include "platform/files/Core.h"
#include "quiz/QuizScreen.h"
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
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "shell/MainMenu.h"
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

long peakKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

void report(const char* name, double ms) { std::printf("%s\t%.3f\n", name, ms); }

const char* const Switches[] = {"title -> main menu",    "main menu -> Euclid",   "Euclid -> main menu",
                                "main menu -> catalogue", "catalogue -> main menu", "main menu -> title"};

// ---- Our program

void runOurs(int rounds) {
    using namespace platform;
    QTemporaryDir dir;
    useCopyOfData(dir);
    initFonts();
    waitForFirstPaint([] { return static_cast<QWidget*>(screens().find<TitleScreen>()); },
                      [] { screens().show<TitleScreen>(); });
    for (int r = 0; r < rounds; ++r) {
        report(Switches[0], measure([] { clickAt(screens().get<TitleScreen>().ui().ok->widget()); },
                                    [] { return screens().find<MainMenu>(); }));
        report(Switches[1], measure([] { clickAt(screens().get<MainMenu>().ui().mathematicians[MainMenu::Euclid]->widget()); },
                                    [] { return screens().find<TopicScreen>(); }));
        report(Switches[2], measure([] { clickAt(screens().get<TopicScreen>().ui().exit->widget()); },
                                    [] { return screens().find<MainMenu>(); }));
        report(Switches[3], measure([] { clickAt(screens().get<MainMenu>().ui().catalogue->widget()); },
                                    [] { return screens().find<CatalogueScreen>(); }));
        report(Switches[4], measure([] { clickAt(screens().get<CatalogueScreen>().ui().exit->widget()); },
                                    [] { return screens().find<MainMenu>(); }));
        report(Switches[5], measure([] { clickAt(screens().get<MainMenu>().ui().exit->widget()); },
                                    [] { return screens().find<TitleScreen>(); }));
    }
}

// ---- The bare Qt program: the same pages (BarePages.h), built plainly on each click

void runBare(int rounds) {
    QTemporaryDir dir;
    useCopyOfData(dir);  // started the same way as the program, in a working folder of its own
    platform::initFonts();
    BarePages bare;
    bare.coverScreen();
    waitForFirstPaint([&] { return bare.front; },
                      [&] {
                          bare.show(bare.title());
                          bare.window.show();
                      });
    // Each click builds the next page of the tour, as the program's entries do.
    const std::function<QWidget*()> tour[] = {[&] { return bare.menu(); },      [&] { return bare.topic(); },
                                              [&] { return bare.menu(); },      [&] { return bare.catalogue(); },
                                              [&] { return bare.menu(); },      [&] { return bare.title(QStringLiteral("Cancel")); }};
    for (int r = 0; r < rounds; ++r)
        for (int s = 0; s < 6; ++s) {
            QWidget* entry = bare.next;
            bare.onNext = [&, s] { bare.show(tour[s]()); };
            // The page the click brings to the front: the button's own repaint on the page before it
            // is not the switch's end.
            QWidget* before = bare.front;
            report(Switches[s], measure([entry] { clickAt(entry); },
                                        [&, before] { return bare.front != before ? bare.front : nullptr; }));
        }
}

// ---- The parent: runs the children in turn and prints the table

struct Figures {
    std::vector<double> startup, peakMiB;
    QMap<QString, std::vector<double>> first, again;
};

bool runChild(const QString& side, int rounds, Figures& out) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), side, QString::number(rounds)});
    QByteArray buffer;
    while (!buffer.contains("ready\n")) {
        if (!p.waitForReadyRead(10000)) return false;
        buffer += p.readAllStandardOutput();
    }
    out.startup.push_back(double(t.nsecsElapsed()) / 1e6);
    if (!p.waitForFinished(120000)) return false;
    buffer += p.readAllStandardOutput();
    QMap<QString, int> seen;
    for (const QByteArray& line : buffer.split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 2) continue;
        const QString name = QString::fromUtf8(f[0]);
        const double v = f[1].toDouble();
        if (name == QLatin1String("peak")) out.peakMiB.push_back(v / 1024);
        else if (seen[name]++ == 0) out.first[name].push_back(v);
        else out.again[name].push_back(v);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "--child") {
        WatchingApp a(argc, argv);
        const int rounds = std::max(1, atoi(argv[3]));
        if (QByteArray(argv[2]) == "ours") runOurs(rounds);
        else runBare(rounds);
        std::printf("peak\t%ld\n", peakKiB());
        return 0;
    }
    QCoreApplication a(argc, argv);
    const int processes = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const int rounds = argc > 2 ? std::max(2, atoi(argv[2])) : 15;
    // BENCH_FLOOD=1: both sides start in one working folder flooded as a pupil could flood it.
    QTemporaryDir flooded;
    if (qEnvironmentVariableIsSet("BENCH_FLOOD")) {
        useCopyOfData(flooded);
        flood(flooded.path());
        qputenv("BENCH_FOLDER", flooded.path().toLocal8Bit());
        std::printf("in a working folder flooded with 200,000 names and 40,000 topic links\n");
    }
    Figures ours, bare;
    for (int i = 0; i < processes; ++i) {
        if (!runChild(QStringLiteral("ours"), rounds, ours) || !runChild(QStringLiteral("bare"), rounds, bare)) {
            std::fprintf(stderr, "a child did not finish\n");
            return 1;
        }
    }
    std::printf("%d processes a side, %d rounds each; medians in ms (memory: peak resident MiB)\n\n", processes,
                rounds);
    std::printf("%-34s %9s %9s %7s\n", "", "ours", "bare Qt", "ratio");
    const auto row = [](const QString& name, double o, double b) {
        std::printf("%-34s %9.2f %9.2f %6.2fx\n", qPrintable(name), o, b, b > 0 ? o / b : 0);
    };
    row(QStringLiteral("start-up to first paint"), median(ours.startup), median(bare.startup));
    for (const char* s : Switches) {
        const QString name = QString::fromUtf8(s);
        row(name + QStringLiteral(" (first)"), median(ours.first[name]), median(bare.first[name]));
        row(name + QStringLiteral(" (again)"), median(ours.again[name]), median(bare.again[name]));
    }
    row(QStringLiteral("memory"), median(ours.peakMiB), median(bare.peakMiB));
    return 0;
}
