// Start-up as a pupil meets it on an X server: the time from starting the process to the first
// complete frame the server has, for the program against a bare Qt program showing the same kind
// of first screen, and each one's peak memory.
//
//   bench_startup [runs]    runs a side (9), taken in turn: ours, bare, ours, bare, ...
//   bench_startup --scale   prints the scale the program picks for this display's size
//
// The program starts as a pupil starts it: in a working folder of its own, with no scale set, so
// its own choice of scale is in the time. The bare program (bench_bare_title) gets that same scale
// through QT_SCALE_FACTOR. This process watches the screen from outside: rows across the title's
// box and a few lines across the whole screen, asked for all at once so a look stays cheap at
// 3840 x 2160, until they equal the picture that side settles at (learnt from a run of each side
// left to settle first). Memory is the child's VmHWM just before it is ended, half a second after
// its first complete frame.
//
// On a busy machine the times spread widely, so beside the ratio of the medians it prints the median
// of each run's ratio to the bare run next to it, and the processor time each side had spent (all its
// threads) when its frame was complete, which other work on the machine hardly changes.
// BENCH_PROGRAM times another build of the program (an earlier one, to compare) in place of this one.
#include "core/StageScale.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The lower and upper quartile, to show how far the runs spread.
std::pair<double, double> quartiles(std::vector<double> v) {
    if (v.empty()) return {0, 0};
    std::sort(v.begin(), v.end());
    return {v[(v.size() - 1) / 4], v[(3 * (v.size() - 1) + 3) / 4]};
}

// What the X server shows at a fixed set of strips of the screen.
class ScreenWatch {
public:
    bool connect() {
        int number = 0;
        m_c = xcb_connect(nullptr, &number);
        if (xcb_connection_has_error(m_c)) return false;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
        for (int i = 0; i < number && it.rem; ++i) xcb_screen_next(&it);
        if (!it.rem) return false;
        m_root = it.data->root;
        width = it.data->width_in_pixels;
        height = it.data->height_in_pixels;
        return it.data->root_depth == 24;
    }
    ~ScreenWatch() {
        if (m_c) xcb_disconnect(m_c);
    }

    // Every design row of the title's box is crossed at least every eight design pixels, so no
    // caption, button or picture can be missing unseen; a few lines across the whole screen see
    // the backdrop cover it. A quick look takes every sixth row of the box and the screen's middle
    // lines: until those are right the whole look is not asked for, which keeps the X server's time
    // for the child being measured.
    void chooseStrips(double scale) {
        const int boxW = std::min(width, int(std::lround(420 * scale)));
        const int boxH = std::min(height, int(std::lround(500 * scale)));
        const int x0 = (width - boxW) / 2, y0 = (height - boxH) / 2;
        const int step = std::max(1, int(std::lround(8 * scale)));
        for (int y = y0, i = 0; y < y0 + boxH; y += step, ++i) {
            whole.add(x0, y, boxW, 1);
            if (i % 6 == 0) quick.add(x0, y, boxW, 1);
        }
        for (int y : {0, height / 4, height * 3 / 4, height - 1}) whole.add(0, y, width, 1);
        for (int x : {0, width / 4, width / 2, width * 3 / 4, width - 1}) whole.add(x, 0, 1, height);
        for (int x : {x0 + boxW / 3, x0 + boxW * 2 / 3}) whole.add(x, y0, 1, boxH);
        quick.add(0, height / 2, width, 1);
        quick.add(width / 2, 0, 1, height);
    }

    struct Strips {
        std::vector<xcb_rectangle_t> rects;
        size_t pixels = 0;
        void add(int x, int y, int w, int h) {
            rects.push_back({int16_t(x), int16_t(y), uint16_t(w), uint16_t(h)});
            pixels += size_t(w) * size_t(h);
        }
    };
    Strips whole, quick;

    // The strips as they are now, colour only; all requests go out at once, so the picture is the
    // one the server had as this returns `sentNs` (on `clock`).
    bool look(const Strips& strips, std::vector<uint32_t>& out, const QElapsedTimer& clock, qint64* sentNs = nullptr) {
        m_cookies.clear();
        for (const xcb_rectangle_t& r : strips.rects)
            m_cookies.push_back(xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, r.x, r.y, r.width, r.height, ~0u));
        xcb_flush(m_c);
        if (sentNs) *sentNs = clock.nsecsElapsed();
        out.clear();
        bool ok = true;
        for (xcb_get_image_cookie_t cookie : m_cookies) {
            xcb_get_image_reply_t* reply = xcb_get_image_reply(m_c, cookie, nullptr);
            if (!reply) {
                ok = false;
                continue;
            }
            const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(reply));
            const int n = xcb_get_image_data_length(reply) / 4;
            for (int i = 0; i < n; ++i) out.push_back(data[i] & 0xffffffu);
            free(reply);
        }
        return ok && out.size() == strips.pixels;
    }

    int width = 0, height = 0;

private:
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_root = 0;
    std::vector<xcb_get_image_cookie_t> m_cookies;
};

size_t differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

struct Side {
    const char* name;
    std::string program;
    std::vector<std::string> env;   // the whole environment it starts with
    std::string log;                // its output, read only if a run fails
    std::vector<uint32_t> settled{}, settledQuick{};  // the picture it settles at, in a whole and a quick look
    std::vector<double> ms{}, peakMiB{}, cpuMs{};
    int startedTwice = 0;
};

// The environment, without any scale or platform a caller of this benchmark may have set.
std::vector<std::string> plainEnvironment() {
    static const char* const Dropped[] = {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "VELLACOURT_SCALE",
                                          "VELLACOURT_SCALED", "QT_QPA_PLATFORM", "VELLACOURT_START_AT_MENU",
                                          "VELLACOURT_PROBLEM", "BENCH_PROGRAM"};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var(*e);
        const std::string name = var.substr(0, var.find('='));
        if (std::none_of(std::begin(Dropped), std::end(Dropped), [&](const char* d) { return name == d; }))
            env.push_back(var);
    }
    return env;
}

pid_t start(const Side& side, const std::string& folder) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, side.log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv{const_cast<char*>(side.program.c_str()), nullptr};
    std::vector<char*> envp;
    for (const std::string& e : side.env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, side.program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

QByteArray procFile(pid_t pid, const char* name) {
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The processor time all the process's threads have had so far.
double cpuMs(pid_t pid) {
    double ns = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(tasks.filePath(task) + QStringLiteral("/schedstat"));
        if (f.open(QIODevice::ReadOnly)) ns += f.readAll().split(' ').first().toDouble();
    }
    return ns / 1e6;
}

double peakMiB(pid_t pid) {
    for (const QByteArray& line : procFile(pid, "status").split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// A process started again by exec keeps its id, but its first environment is the one exec gave it:
// the program adds VELLACOURT_SCALED only to the environment of a second start.
bool startedTwice(pid_t pid) {
    for (const QByteArray& var : procFile(pid, "environ").split('\0'))
        if (var.startsWith("VELLACOURT_SCALED=")) return true;
    return false;
}

void end(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        QThread::msleep(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Waits until the screen shows `picture` again (the last child's windows gone).
bool waitFor(ScreenWatch& screen, const std::vector<uint32_t>& picture, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    std::vector<uint32_t> now;
    while (t.elapsed() < timeoutMs) {
        if (screen.look(screen.whole, now, t) && now == picture) return true;
        QThread::msleep(5);
    }
    return false;
}

void showLog(const Side& side) {
    QFile f(QString::fromStdString(side.log));
    if (f.open(QIODevice::ReadOnly)) std::fprintf(stderr, "%s's output:\n%s\n", side.name, f.readAll().right(2000).constData());
}

// One run left to settle: the picture, once it has not changed for a second, is the side's final one.
bool learn(ScreenWatch& screen, Side& side, const std::string& folder, const std::vector<uint32_t>& empty) {
    const pid_t pid = start(side, folder);
    if (pid < 0) return false;
    QElapsedTimer t;
    t.start();
    std::vector<uint32_t> now, last;
    qint64 stableSince = 0;
    bool settled = false;
    while (t.elapsed() < 20000 && !settled) {
        QThread::msleep(50);
        if (!screen.look(screen.whole, now, t)) continue;
        if (now != last || now == empty) {
            last = now;
            stableSince = t.elapsed();
        } else {
            settled = t.elapsed() - stableSince >= 1000;
        }
    }
    if (settled) screen.look(screen.quick, side.settledQuick, t);
    end(pid);
    side.settled = last;
    if (!settled) {
        std::fprintf(stderr, "%s never settled on a picture\n", side.name);
        showLog(side);
    }
    return settled && waitFor(screen, empty, 5000);
}

// One timed run: start, watch until the settled picture is there, then memory, then the end.
bool timedRun(ScreenWatch& screen, Side& side, const std::string& folder, const std::vector<uint32_t>& empty,
              qint64 periodNs, int settleMs) {
    std::vector<uint32_t> now;
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = start(side, folder);
    if (pid < 0) return false;
    qint64 sent = 0;
    bool complete = false;
    while (!complete && clock.elapsed() < 20000) {
        complete = screen.look(screen.quick, now, clock, &sent) && now == side.settledQuick &&
                   screen.look(screen.whole, now, clock, &sent) && now == side.settled;
        const qint64 wait = sent + periodNs - clock.nsecsElapsed();
        if (!complete && wait > 0) QThread::usleep(wait / 1000);
    }
    if (complete) {
        side.cpuMs.push_back(cpuMs(pid));
        // Left as long as a pupil would look at it, so what its first moments set going counts too.
        QThread::msleep(settleMs);
        side.ms.push_back(double(sent) / 1e6);
        side.peakMiB.push_back(peakMiB(pid));
        side.startedTwice += startedTwice(pid);
    } else {
        std::fprintf(stderr, "%s: the settled picture never came (%zu of %zu pixels differ)\n", side.name,
                     differing(now, side.settled), now.size());
        showLog(side);
    }
    end(pid);
    return complete && waitFor(screen, empty, 5000);
}

void copyData(const QString& to) {
    QDirIterator it(QStringLiteral(DATA_DIR), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(QStringLiteral(DATA_DIR).size());
        QDir().mkpath(QFileInfo(dst).path());
        QFile::copy(src, dst);
    }
}

}  // namespace

int main(int argc, char** argv) {
    ScreenWatch screen;
    if (!screen.connect()) {
        std::fprintf(stderr, "needs an X server of depth 24 in DISPLAY\n");
        return 1;
    }
    const double scale = core::stageScale(screen.width, screen.height);
    if (argc > 1 && std::strcmp(argv[1], "--scale") == 0) {
        std::printf("%s\n", QByteArray::number(scale).constData());
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    // A quick look every 2 ms: finer would take the X server's time from the child being measured.
    const qint64 periodNs = 2'000'000;
    const int settleMs = 500;

    QTemporaryDir dir;
    const QString work = dir.path() + QStringLiteral("/work");
    copyData(work);
    const std::string folder = work.toStdString();

    const QByteArray program = qEnvironmentVariableIsEmpty("BENCH_PROGRAM") ? QByteArray(PROGRAM) : qgetenv("BENCH_PROGRAM");
    Side ours{.name = "ours", .program = program.toStdString(), .env = plainEnvironment(),
              .log = (dir.path() + QStringLiteral("/ours.log")).toStdString()};
    Side bare{.name = "bare", .program = BARE_TITLE, .env = plainEnvironment(),
              .log = (dir.path() + QStringLiteral("/bare.log")).toStdString()};
    bare.env.push_back("QT_SCALE_FACTOR=" + QByteArray::number(scale).toStdString());

    screen.chooseStrips(scale);
    std::vector<uint32_t> empty;
    QElapsedTimer t;
    t.start();
    if (!screen.look(screen.whole, empty, t)) return 1;
    // What a look costs, so the resolution of the times below is known.
    const auto lookMs = [&screen](const ScreenWatch::Strips& strips) {
        std::vector<double> ms;
        std::vector<uint32_t> now;
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer l;
            l.start();
            screen.look(strips, now, l);
            ms.push_back(double(l.nsecsElapsed()) / 1e6);
        }
        return median(ms);
    };
    const double wholeMs = lookMs(screen.whole), quickMs = lookMs(screen.quick);

    for (Side* side : {&ours, &bare})
        if (!learn(screen, *side, folder, empty)) return 1;
    if (ours.settled == empty || bare.settled == empty) {
        std::fprintf(stderr, "a side showed nothing\n");
        return 1;
    }
    for (int i = 0; i < runs; ++i)
        for (Side* side : {&ours, &bare})
            if (!timedRun(screen, *side, folder, empty, periodNs, settleMs)) return 1;

    std::printf("start-up to the first complete frame on the X server, %dx%d, scale %s; %d runs a side, interleaved\n",
                screen.width, screen.height, QByteArray::number(scale).constData(), runs);
    std::printf("(a quick look at %zu pixels every %.1f ms takes %.2f ms, the whole look at %zu pixels %.2f ms;\n"
                " medians, quartiles in brackets)\n\n",
                screen.quick.pixels, double(periodNs) / 1e6, quickMs, screen.whole.pixels, wholeMs);
    const auto [oLow, oHigh] = quartiles(ours.ms);
    const auto [bLow, bHigh] = quartiles(bare.ms);
    std::printf("%-11s %9s %17s %9s %17s %7s\n", "size", "ours ms", "", "bare ms", "", "ratio");
    std::printf("%-11s %9.1f  [%6.1f, %6.1f] %9.1f  [%6.1f, %6.1f] %6.2fx\n",
                qPrintable(QStringLiteral("%1x%2").arg(screen.width).arg(screen.height)), median(ours.ms), oLow, oHigh,
                median(bare.ms), bLow, bHigh, median(ours.ms) / median(bare.ms));
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.ms.size() && i < bare.ms.size(); ++i) ratios.push_back(ours.ms[i] / bare.ms[i]);
    std::printf("%-11s %9s %17s %9s %17s %6.2fx\n", "run by run", "", "", "", "", median(ratios));
    std::printf("%-11s %9.1f %17s %9.1f %17s %6.2fx\n", "processor", median(ours.cpuMs), "", median(bare.cpuMs), "",
                median(ours.cpuMs) / median(bare.cpuMs));
    std::printf("%-11s %9s %17s %9s %17s %7s\n", "", "ours MiB", "", "bare MiB", "", "ratio");
    std::printf("%-11s %9.1f %17s %9.1f %17s %6.2fx\n", "peak memory", median(ours.peakMiB), "",
                median(bare.peakMiB), "", median(ours.peakMiB) / median(bare.peakMiB));
    std::printf("\nruns, ours:");
    for (double v : ours.ms) std::printf(" %.0f", v);
    std::printf("\nruns, bare:");
    for (double v : bare.ms) std::printf(" %.0f", v);
    std::printf("\nthe program started itself again in %d of %d runs\n", ours.startedTwice, runs);
    return 0;
}
