// What the benchmarks share: a working folder like the program's, and timing a click to the end of
// the paint that shows its result, in-process.
#pragma once
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QElapsedTimer>
#include <QWidget>
#include <xcb/xcb.h>
#include <cstdio>
#include <unistd.h>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

class WatchingApp : public QApplication {
public:
    using QApplication::QApplication;
    std::function<QWidget*()> target;  // the screen whose first paint ends the measure
    bool painted = false;
    bool done = false;
    QElapsedTimer clock;  // started at the click
    qint64 doneNs = 0;    // when the paint was on screen: later work in the same pass is not the switch's

    bool notify(QObject* o, QEvent* e) override {
        if (target && e->type() == QEvent::Paint && o->isWidgetType()) {
            QWidget* t = target();
            auto* w = static_cast<QWidget*>(o);
            if (t && (w == t || t->isAncestorOf(w))) painted = true;
        }
        const bool result = QApplication::notify(o, e);
        // The paint is on screen once the update request (or, for a window's first showing, the expose)
        // that painted it is done: the backing store is flushed then.
        if (target && painted && !done && (e->type() == QEvent::UpdateRequest || e->type() == QEvent::Expose)) {
            done = true;
            doneNs = clock.nsecsElapsed();
        }
        return result;
    }
};

WatchingApp* app() { return static_cast<WatchingApp*>(qApp); }

// Returns once the X server has done all it was asked so far: the last switch's picture copied to the
// screen is then not charged to the next one.
void syncWithServer() {
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
        free(xcb_get_input_focus_reply(x11->connection(), xcb_get_input_focus(x11->connection()), nullptr));
}

double measure(const std::function<void()>& click, const std::function<QWidget*()>& target) {
    WatchingApp* a = app();
    // What the last switch let go is deleted now: without a running event loop, nothing else would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    syncWithServer();
    a->painted = a->done = false;
    a->target = target;
    a->clock.start();
    click();
    while (!a->done && a->clock.elapsed() < 3000) QCoreApplication::processEvents();
    a->target = nullptr;
    return a->done ? double(a->doneNs) / 1e6 : -1;
}

[[maybe_unused]] void waitForFirstPaint(const std::function<QWidget*()>& target, const std::function<void()>& show) {
    measure(show, target);
    std::printf("ready\n");
    std::fflush(stdout);
}

void clickAt(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

// A working folder filled from data/, made current.
void useCopyOfData(const QTemporaryDir& dir) {
    // A folder made ready once for every run (BENCH_FOLDER, the flooded one below) is used as it is.
    if (const QString ready = qEnvironmentVariable("BENCH_FOLDER"); !ready.isEmpty()) {
        QDir::setCurrent(ready);
        return;
    }
    QDirIterator it(QStringLiteral(DATA_DIR), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = dir.path() + src.mid(QStringLiteral(DATA_DIR).size());
        QDir().mkpath(QFileInfo(dst).path());
        QFile::copy(src, dst);
    }
    QDir::setCurrent(dir.path());
}

// What a pupil can plant in a shared folder at little cost of quota: 200,000 names (hard links to four
// empty files; a file takes 65,000 links at most) in the working folder, and 40,000 links to Euclid's
// topic in "topics". The program must find its files by name, not by listing these.
void flood(const QString& folder) {
    const QString was = QDir::currentPath();
    QDir::setCurrent(folder);
    for (int i = 0; i < 200000; ++i) {
        const QByteArray name = "p" + QByteArray::number(i);
        if (i < 4) QFile(QString::fromLatin1(name)).open(QIODevice::WriteOnly);
        else ::link(("p" + QByteArray::number(i % 4)).constData(), name.constData());
    }
    for (int i = 0; i < 40000; ++i) ::link("topics/euclid.txt", ("topics/t" + QByteArray::number(i) + ".txt").constData());
    QDir::setCurrent(was);
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace
