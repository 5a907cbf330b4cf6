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
// "again" all later ones. Medians throughout.
#include "BenchUtil.h"
#include "platform/Stage.h"
#include "platform/Fonts.h"
#include "platform/Core.h"
#include "quiz/Quiz.h"
#include "shell/Forms.h"
#include "shell/MainMenu.h"
#include "shell/Titlefrm.h"
#include "shell/TopicMenu.h"
#include "worksheets/Catalogue.h"

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
    waitForFirstPaint([] { return static_cast<QWidget*>(forms::Titlefrm.instance()); },
                      [] { forms::Titlefrm->Show(); });
    for (int r = 0; r < rounds; ++r) {
        report(Switches[0], measure([] { clickAt(forms::Titlefrm->ctl<platform::CommandButton>("Command1")->widget()); },
                                    [] { return forms::intro0.instance(); }));
        report(Switches[1], measure([] { clickAt(forms::intro0->ctl<platform::Label>("Label2", 1)->widget()); },
                                    [] { return forms::euclid.instance(); }));
        report(Switches[2], measure([] { clickAt(forms::euclid->ctl<platform::Label>("label3", 2)->widget()); },
                                    [] { return forms::intro0.instance(); }));
        report(Switches[3], measure([] { clickAt(forms::intro0->ctl<platform::Label>("Label2", 18)->widget()); },
                                    [] { return forms::worksheets.instance(); }));
        report(Switches[4], measure([] { clickAt(forms::worksheets->ctl<platform::Label>("Label2", 0)->widget()); },
                                    [] { return forms::intro0.instance(); }));
        report(Switches[5], measure([] { clickAt(forms::intro0->ctl<platform::Label>("Label2", 16)->widget()); },
                                    [] { return forms::Titlefrm.instance(); }));
    }
}

// ---- The bare Qt program: the same pages, built plainly on each click

class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked;
protected:
    void mouseReleaseEvent(QMouseEvent*) override {
        if (clicked) clicked();
    }
};

class BarePages {
public:
    QWidget window;
    QStackedWidget* stack;
    QWidget* next = nullptr;          // the entry or button that leads to the next page of the tour
    std::function<void()> onNext;     // what a click on it does
    void setNext(ClickLabel* entry) {
        entry->clicked = [this] { onNext(); };
        next = entry;
    }
    void setNext(QPushButton* button) {
        QObject::connect(button, &QPushButton::clicked, [this] { onNext(); });
        next = button;
    }

    BarePages() : stack(new QStackedWidget(&window)) {
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        colour(&window, QColor(48, 133, 214));
    }
    static void colour(QWidget* w, QColor c) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, c);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
    // A caption in the same font as the program's own screen shows it.
    static ClickLabel* text(QWidget* page, const QString& caption, QRect at, platform::FontDesc font,
                            bool framed = false) {
        auto* l = new ClickLabel(caption, page);
        l->setFont(platform::makeFont(font));
        l->setGeometry(at);
        l->setWordWrap(true);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::yellow);
        l->setPalette(p);
        if (framed) {
            colour(l, Qt::black);
            l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            l->setAlignment(Qt::AlignCenter);
        }
        return l;
    }
    static QLabel* picture(QWidget* page, const QString& file, QPoint at) {
        auto* l = new QLabel(page);
        l->setPixmap(QPixmap(file));
        l->move(at);
        l->adjustSize();
        return l;
    }
    QWidget* newPage() {
        auto* page = new QWidget;
        colour(page, QColor(39, 63, 137));
        return page;
    }
    // The screens' caption bar: the program's name in white, in the screens' caption font.
    static void captionBar(QWidget* page) {
        QLabel* bar = text(page, QStringLiteral("Vellacourt Numerists"), {4, 4, 792, 18}, {"Tahoma", 9.75, true});
        colour(bar, QColor(10, 36, 106));
        QPalette p = bar->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        bar->setPalette(p);
    }
    QWidget* front = nullptr;  // the page in front: a page of the stack, or the whole-window title page

    // The title page fills the whole window, the backdrop round its box, as the program's title screen
    // stands in front of the backdrop; the other pages are pages of the stack.
    void show(QWidget* page) {
        if (page->parentWidget() == &window) {
            page->setGeometry(window.rect());
            page->show();
            page->raise();
        } else {
            QWidget* old = stack->currentWidget();
            stack->addWidget(page);
            stack->setCurrentWidget(page);
            if (old) old->deleteLater();
        }
        if (front && front != page && front->parentWidget() == &window) {
            front->hide();
            front->deleteLater();
        }
        front = page;
    }
    // The pages hold the captions of the program's screens, in the fonts the screens use.
    // At start-up the first button reads "OK"; as the exit confirmation it reads "Cancel".
    QWidget* title(const QString& first = QStringLiteral("OK")) {
        auto* backdrop = new QWidget(&window);
        colour(backdrop, QColor(48, 133, 214));
        QWidget* page = newPage();
        page->setParent(backdrop);
        page->setGeometry((window.width() - 378) / 2, (window.height() - 478) / 2, 378, 478);
        colour(page, QColor(192, 192, 192));
        picture(page, QStringLiteral("Images/euclidsm.jpg"), {20, 80});
        text(page, QStringLiteral("Vellacourt Numerists"), {4, 24, 357, 71}, {"Times New Roman", 20.25, true});
        text(page, QStringLiteral("Mathematics through history"), {24, 336, 313, 25}, {"Times New Roman", 15.75});
        text(page, QStringLiteral("For pupils and their teachers"), {32, 374, 297, 25}, {"Times New Roman", 12});
        text(page, QStringLiteral("Published by Vellacourt Numerists for classroom use"), {0, 428, 361, 17},
             {"Arial", 8.25});
        auto* ok = new QPushButton(first, page);
        ok->setGeometry(88, 400, 89, 25);
        ok->setFont(platform::makeFont({"Tahoma", 8.25}));
        (new QPushButton(QStringLiteral("Exit"), page))->setGeometry(184, 400, 89, 25);
        setNext(ok);  // a push button, pressed and released as the program's is
        return backdrop;
    }
    QWidget* menu() {
        QWidget* page = newPage();
        captionBar(page);
        text(page, QStringLiteral("Vellacourt Numerists"), {0, 0, 800, 60}, {"Tahoma", 32.25, true});
        auto* frame = new QFrame(page);
        frame->setGeometry(448, 72, 337, 265);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        picture(frame, QStringLiteral("Images/euclidsm.jpg"), {8, 16});
        picture(page, QStringLiteral("Images/logo2.jpg"), {280, 420});
        const char* names[] = {"Pythagoras", "Euclid",      "Eratosthenes",  "Archimedes",     "Al-Khwarizmi",
                               "Omar Khayyam", "Fibonacci", "John Napier",   "Ren\u00e9 Descartes", "Blaise Pascal",
                               "Leonhard Euler", "Ada Lovelace"};
        for (int i = 0; i < 12; ++i)
            text(page, QString::fromUtf8(names[i]), {8 + 224 * (i / 6), 144 + 48 * (i % 6), 205, 25},
                 {"Tahoma", 12, true}, true);
        text(page, QStringLiteral("Multiple Choice Wizard"), {464, 384, 309, 33}, {"Tahoma", 18, true}, true);
        text(page, QStringLiteral("Worksheet Catalogue"), {464, 440, 309, 33}, {"Tahoma", 18, true}, true);
        text(page, QStringLiteral("Exit"), {704, 528, 83, 33}, {"Tahoma", 18, true}, true);
        text(page, QStringLiteral("Acknowledgments"), {8, 528, 205, 33}, {"Tahoma", 14.25, true}, true);
        text(page, QStringLiteral("Teachers' Guide"), {8, 72, 205, 33}, {"Tahoma", 14.25, true}, true);
        text(page, QStringLiteral("www.vellacourt.example"), {464, 512, 221, 25}, {"Arial", 12, true}, true);
        text(page, QStringLiteral("\u00a9 Vellacourt Numerists 2026"), {464, 544, 232, 25}, {"Tahoma", 9.75});
        setNext(text(page, QStringLiteral("Euclid"), {8, 192, 205, 25}, {"Tahoma", 12, true}, true));
        return page;
    }
    QWidget* euclid() {
        QWidget* page = newPage();
        captionBar(page);
        picture(page, QStringLiteral("Images/euclid.jpg"), {0, 0});
        text(page, QStringLiteral("Euclid"), {16, 0, 400, 60}, {"Times New Roman", 27.75, true});
        const char* entries[] = {"Multiple Choice", "Products of Primes", "Nets of Dice", "Key Facts", "Teacher's Notes"};
        for (int i = 0; i < 5; ++i)
            text(page, QString::fromUtf8(entries[i]), {8 + 150 * i, 528, 213, 33}, {"Tahoma", 15.75, true}, true);
        setNext(text(page, QStringLiteral("Exit"), {704, 528, 83, 33}, {"Tahoma", 15.75, true}, true));
        return page;
    }
    QWidget* catalogue() {
        QWidget* page = newPage();
        captionBar(page);
        text(page, QStringLiteral("Worksheets Catalogue"), {0, 0, 800, 52}, {"Tahoma", 24, true});
        for (const char* box : {"Edit Worksheet", "Delete Worksheet"}) {
            auto* c = new QCheckBox(QString::fromUtf8(box), page);
            c->setFont(platform::makeFont({"Tahoma", 12, true}));
        }
        for (int i = 0; i < 24; ++i)
            text(page, QString(), {8 + 400 * (i / 12), 48 + 40 * (i % 12), 381, 25}, {"Tahoma", 12, true}, true)->hide();
        text(page, QStringLiteral("<< Previous Page"), {176, 528, 213, 33}, {"Tahoma", 15.75, true}, true)->hide();
        text(page, QStringLiteral("Next Page >>"), {400, 528, 213, 33}, {"Tahoma", 15.75, true}, true)->hide();
        text(page, QStringLiteral("Page 1"), {8, 528, 133, 33}, {"Tahoma", 15.75, true}, true);
        setNext(text(page, QStringLiteral("Exit"), {704, 528, 83, 33}, {"Tahoma", 18, true}, true));
        return page;
    }
};

void runBare(int rounds) {
    QTemporaryDir dir;
    useCopyOfData(dir);  // started the same way as the program, in a working folder of its own
    platform::initFonts();
    BarePages bare;
    const QRect screen = bare.window.screen()->geometry();
    bare.window.setGeometry(screen);
    bare.stack->setGeometry((screen.width() - 800) / 2, (screen.height() - 600) / 2, 800, 600);
    waitForFirstPaint([&] { return bare.front; },
                      [&] {
                          bare.show(bare.title());
                          bare.window.show();
                      });
    // Each click builds the next page of the tour, as the program's entries do.
    const std::function<QWidget*()> tour[] = {[&] { return bare.menu(); },      [&] { return bare.euclid(); },
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
