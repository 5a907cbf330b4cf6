// Printing through the real path into a private CUPS spooler (never the machine's printers), read back as PDF.
#include "TestUtil.h"
#include "platform/files/ResultsFiles.h"
#include "results/ResultsScreen.h"
#include "platform/printing/Printer.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <atomic>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using namespace core;
using testutil::Session;

namespace {

// A CUPS daemon in a folder of its own with one raw queue, "Keep", as its default.
class PrintSpooler {
public:
    QTemporaryDir dir;
    QString problem;  // why it could not start, or empty

    PrintSpooler() {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
        if (cupsd.isEmpty()) {
            problem = QStringLiteral("cupsd is not installed");
            return;
        }
        const QString d = dir.path();
        QFile(d).setPermissions(QFileDevice::Permissions(0x7755));
        const bool root = getuid() == 0;
        for (const QString sub : {"spool", "tmp", "cache", "state", "log"}) {
            QDir(d).mkdir(sub);
            QFile(dir.filePath(sub)).setPermissions(QFileDevice::Permissions(0x7755));
            if (root) QProcess::execute(QStringLiteral("chown"), {QStringLiteral("lp:lp"), dir.filePath(sub)});
        }
        const QString user = root ? QStringLiteral("lp") : qEnvironmentVariable("USER");
        write(QStringLiteral("cups-files.conf"),
              QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\nStateDir %1/state\n"
                             "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                             "User %2\nGroup %3\nFileDevice Yes\n")
                  .arg(d, user, root ? QStringLiteral("lp") : user));
        write(QStringLiteral("cupsd.conf"),
              QStringLiteral("Listen %1/cups.sock\nWebInterface No\nPreserveJobFiles Yes\nPreserveJobHistory Yes\n"
                             "LogLevel warn\nDefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                             "</Location>\n<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                             "  </Limit>\n</Policy>\n")
                  .arg(d));
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        m_daemon.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), d + QStringLiteral("/cupsd.conf"),
                               QStringLiteral("-s"), d + QStringLiteral("/cups-files.conf")});
        qputenv("CUPS_SERVER", (d + QStringLiteral("/cups.sock")).toUtf8());
        for (int i = 0; i < 50 && !QFile::exists(d + QStringLiteral("/cups.sock")); ++i) QTest::qWait(100);
        if (!QFile::exists(d + QStringLiteral("/cups.sock")))
            problem = QStringLiteral("the private cupsd did not start: ") + QString::fromLocal8Bit(m_daemon.readAll());
        else if (!addQueue())
            problem = QStringLiteral("lpadmin could not add the test queue");
    }
    ~PrintSpooler() {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) m_daemon.kill(), m_daemon.waitForFinished(2000);
    }
    bool addQueue() {
        return run(QStringLiteral("lpadmin -p Keep -E -v file:///dev/null -m raw")) &&
               run(QStringLiteral("lpadmin -d Keep"));
    }
    // A queue keeping what it is sent, whose printer description defaults to `size` (A4 or Letter),
    // each with margins of its own: a quarter of an inch at the sides, half an inch top and bottom.
    bool addPpdQueue(const QString& name, const QString& size) {
        QString ppd = QStringLiteral(
            "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
            "*LanguageEncoding: ISOLatin1\n*PCFileName: \"KEEP.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Keep)\"\n"
            "*ModelName: \"Keep\"\n*ShortNickName: \"Keep\"\n*NickName: \"Keep\"\n*PSVersion: \"(3010.000) 0\"\n"
            "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
            "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n*cupsFilter2: \"application/pdf application/pdf 0 -\"\n");
        for (const QString option : {"PageSize", "PageRegion"})
            ppd += QStringLiteral("*OpenUI *%1: PickOne\n*OrderDependency: 10 AnySetup *%1\n*Default%1: %2\n"
                                  "*%1 Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
                                  "*%1 A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *%1\n")
                       .arg(option, size);
        ppd += QStringLiteral("*DefaultImageableArea: %1\n*ImageableArea Letter: \"18 36 594 756\"\n"
                              "*ImageableArea A4: \"18 36 577 806\"\n*DefaultPaperDimension: %1\n"
                              "*PaperDimension Letter: \"612 792\"\n*PaperDimension A4: \"595 842\"\n")
                   .arg(size);
        write(name + QStringLiteral(".ppd"), ppd);
        return run(QStringLiteral("lpadmin -p %1 -E -v file:///dev/null -P %2").arg(name, dir.filePath(name + QStringLiteral(".ppd"))));
    }
    // Runs a command line of words split at spaces; true if it succeeded.
    static bool run(const QString& command) {
        QStringList args = command.split(u' ');
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(args.takeFirst(), args);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    // The documents the spooler has kept, oldest first.
    QStringList documents() const {
        QStringList out;
        for (const QFileInfo& f : QDir(dir.filePath(QStringLiteral("spool"))).entryInfoList({QStringLiteral("d*-001")}, QDir::Files, QDir::Name))
            out << f.filePath();
        return out;
    }
    // Waits for the document after the `before` ones already kept.
    QString next(int before) const {
        for (int i = 0; i < 100 && documents().size() <= before; ++i) QTest::qWait(50);
        const QStringList d = documents();
        return d.size() > before ? d.last() : QString();
    }

private:
    void write(const QString& name, const QString& text) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
    }
    QProcess m_daemon;
};

// A go-between on the print server's socket, silent from request `silentFrom` on (from 1; 0: never).
class Interceptor {
public:
    Interceptor(const QByteArray& server, int silentFrom) : m_path(server + ".between") {
        m_listen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un a = address(m_path);
        if (::bind(m_listen, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 && ::listen(m_listen, 16) == 0)
            m_thread = std::thread([this, server, silentFrom] { run(server, silentFrom); });
    }
    ~Interceptor() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        ::close(m_listen);
        ::unlink(m_path.constData());
    }
    QByteArray path() const { return m_path; }
    int requests() const { return m_requests; }

private:
    static sockaddr_un address(const QByteArray& path) {
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        qstrncpy(a.sun_path, path.constData(), sizeof a.sun_path);
        return a;
    }
    // A peer that has stopped reading, or gone, is given a second, never the whole test.
    static void passOn(int fd, const char* data, ssize_t n) {
        for (pollfd out{fd, POLLOUT, 0}; n > 0 && ::poll(&out, 1, 1000) > 0;) {
            const ssize_t w = ::send(fd, data, size_t(n), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (w <= 0) return;
            data += w, n -= w;
        }
    }
    // Each connection is a pair of ends after the listening one: the program's, then the server's.
    void run(const QByteArray& server, int silentFrom) {
        std::vector<int> ends{m_listen};
        std::vector<pollfd> fds{{m_listen, POLLIN, 0}};
        char buffer[65536];
        while (!m_stop) {
            if (::poll(fds.data(), nfds_t(fds.size()), 50) <= 0) continue;
            for (size_t i = 1; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
                const bool fromProgram = i % 2 == 1;
                const ssize_t n = ::read(ends[i], buffer, sizeof buffer);
                const QByteArray data(buffer, std::max<ssize_t>(n, 0));
                if (n <= 0) fds[i].fd = -1;  // closed: the rest is left to the program's own time limit
                if (fromProgram) m_requests += int(data.count("POST /") + data.count("GET /"));
                if (n > 0 && (fromProgram || silentFrom == 0 || m_requests < silentFrom))
                    passOn(ends[fromProgram ? i + 1 : i - 1], buffer, n);
            }
            if (fds[0].revents & POLLIN) {
                const int program = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                const int to = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                const sockaddr_un a = address(server);
                ::connect(to, reinterpret_cast<const sockaddr*>(&a), sizeof a);
                ends.insert(ends.end(), {program, to});
                fds.insert(fds.end(), {{program, POLLIN, 0}, {to, POLLIN, 0}});
            }
        }
        for (size_t i = 1; i < ends.size(); ++i) ::close(ends[i]);
    }
    const QByteArray m_path;
    int m_listen = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
};

const QString Problem = QStringLiteral("There was a problem printing to your printer."),
              Printing = QStringLiteral("Your worksheet is now printing.");

QString output(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    return p.waitForFinished(20000) ? QString::fromUtf8(p.readAllStandardOutput())
                                    : tool + QStringLiteral(" did not answer");
}
// The jobs a queue holds, as lpstat lists them.
QString jobsWaiting(const QString& queue) { return output(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue}); }

// A printed document as its text reads, line by line as laid out, and the fonts it carries.
struct Pdf {
    QStringList lines;  // each with its spaces simplified
    int pages = 0;
    QString fonts;

    explicit Pdf(const QString& file) : fonts(output(QStringLiteral("pdffonts"), {file})) {
        const QString text =
            output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        pages = int(text.count(u'\f'));
        for (const QString& l : text.split(u'\n')) lines << l.simplified();
    }
    // The first line from `from` on that starts so, or -1.
    int line(const QString& startsWith, int from = 0) const {
        for (int i = from; i < lines.size(); ++i)
            if (lines[i].startsWith(startsWith)) return i;
        return -1;
    }
};

// The words of each page of a printed document, with where they stand (points from the top left).
struct Word {
    QString text;
    double x, y, height, width = 0;
};
QList<QList<Word>> wordsOf(const QString& file) {
    QList<QList<Word>> pages;
    static const QRegularExpression tag(QStringLiteral(
        "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    const QString html = output(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    for (const QRegularExpressionMatch& m : tag.globalMatch(html)) {
        if (m.captured(5).isEmpty() && m.captured(1).isEmpty()) pages << QList<Word>();
        else if (!pages.isEmpty())
            pages.last() << Word{m.captured(5).replace(QStringLiteral("&amp;"), QStringLiteral("&")), m.captured(1).toDouble(),
                                 m.captured(2).toDouble(), m.captured(4).toDouble() - m.captured(2).toDouble(),
                                 m.captured(3).toDouble() - m.captured(1).toDouble()};
    }
    return pages;
}

// A printed document's first page as it comes out: its size in points, the sides where ink reaches
// the outer eighth of an inch (nearer the edge than any printer's margin: something there is cut),
// and whether a frame runs whole along each of the four sides (a line over most of the page's height
// or width, in each half of the page).
struct Sheet {
    QSizeF points;
    QString inkAtEdge;
    bool framed = false;

    explicit Sheet(const QString& file) {
        const auto size = QRegularExpression(QStringLiteral("Page size: *([0-9.]+) x ([0-9.]+)")).match(output(QStringLiteral("pdfinfo"), {file}));
        points = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
        QTemporaryDir dir;
        QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "48", "-gray", "-png", "-singlefile", "-f", "1", "-l", "1", file, dir.filePath("page")});
        const QImage image(dir.filePath(QStringLiteral("page.png")));
        const int w = image.width(), h = image.height(), edge = 6;  // pixels: an eighth of an inch
        const auto dark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 160; };
        bool sides[4] = {};  // left, right, top, bottom
        std::vector<int> columns(size_t(std::max(w, 0))), rows(size_t(std::max(h, 0)));  // dark pixels in each
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!dark(x, y)) continue;
                ++columns[size_t(x)], ++rows[size_t(y)];
                if (x < edge || x >= w - edge || y < edge || y >= h - edge) inkAtEdge += QStringLiteral(" (%1, %2)").arg(x).arg(y);
            }
        for (int x = 0; x < w; ++x) sides[x < w / 2 ? 0 : 1] |= columns[size_t(x)] > h * 3 / 4;
        for (int y = 0; y < h; ++y) sides[y < h / 2 ? 2 : 3] |= rows[size_t(y)] > w * 3 / 4;
        framed = !image.isNull() && sides[0] && sides[1] && sides[2] && sides[3];
        inkAtEdge.truncate(200);
    }
};

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PrintSpooler> m_spooler;

    // The document `print` sends to the spooler, or empty if none came.
    QString printedBy(const std::function<void()>& print) const {
        const int before = int(m_spooler->documents().size());
        print();
        return m_spooler->next(before);
    }

    // With SCREENSHOTS set, the first page of a printed PDF as a PNG for the README.
    static void pdfToPng(const QString& file, const QString& name) {
        if (const QString dir = qEnvironmentVariable("SCREENSHOTS"); !dir.isEmpty())
            QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "50", "-png", "-singlefile", file, dir + u'/' + name});
    }

private slots:
    void initTestCase() {
        testutil::initApp();
        m_spooler = std::make_unique<PrintSpooler>();
        // The computer's paper, which the raw queue prints on, is A4 whatever this machine's own.
        QFile paper(m_spooler->dir.filePath(QStringLiteral("papersize")));
        if (paper.open(QIODevice::WriteOnly)) paper.write("a4\n");
        qputenv("PAPERCONF", paper.fileName().toUtf8());
        qunsetenv("PAPERSIZE");
        if (!m_spooler->problem.isEmpty())  // every test here prints
            QSKIP(qPrintable(QStringLiteral("No private print spooler, so nothing was printed: ") + m_spooler->problem));
    }
    void cleanupTestCase() { m_spooler.reset(); }
    void cleanup() { Session::reset(); }

    // Certificates as a pupil earns them. Pythagoras's quiz, printed by keys (Tab to "Print Certificate",
    // Enter) under a name too wide for the page at its own size: the mathematician, the quiz, the award,
    // the whole name (text past the page's edge is not read back), the score, today's date as a UK
    // school writes it on a computer set to German, and the signature line. Then his board's, naming
    // him and the board.
    void certificates() {
        Session s;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // a computer in another language
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        const QString name = QStringLiteral("ELIZABETH WOLLSTONECRAFT MONTGOMERY-HOWE");
        QCOMPARE(name.size(), 40);
        const auto print = [this, &s](const QString& pupil) {
            if (!QTest::qWaitFor([] { return screens().get<ScoreScreen>().ui().name->widget()->hasFocus(); })) return QString();
            screens().get<ScoreScreen>().ui().name->setContents(pupil);
            const auto focused = [] { return QApplication::focusWidget(); };
            for (int i = 0; i < 10 && Control::of(focused())->text() != QStringLiteral("Print Certificate"); ++i)
                QTest::keyClick(focused(), Qt::Key_Tab);
            s.messages.clear();
            const QString file = printedBy([&focused] { QTest::keyClick(focused(), Qt::Key_Return); });
            const bool said = s.messages.size() == 1 && s.messages[0].text == QStringLiteral("Your certificate is now printing.");
            return said ? file : QString();
        };
        const QString today = QLocale(QLocale::English, QLocale::UnitedKingdom).toString(QDate::currentDate(), QStringLiteral("d MMMM yyyy"));
        screens().show<MainMenu>();
        testutil::showTopic(QStringLiteral("pythagoras"));
        testutil::click(screens().get<TopicScreen>().ui().quiz);
        QuizScreen* m = screens().find<QuizScreen>();
        for (int q = 1; q <= 10; ++q) {
            testutil::tick(m->ui().answers[size_t(core::toNumber(m->worksheet().questions[size_t(q - 1)].correct) - 1)]);
            testutil::click(m->ui().next);
        }
        const QString file = print(name);
        QVERIFY(!file.isEmpty());
        const Pdf pdf(file);
        QCOMPARE(pdf.pages, 1);
        QVERIFY2(pdf.fonts.contains(QStringLiteral("LiberationSerif")), qPrintable(pdf.fonts));
        int at = -1;
        for (const QString& line : {QStringLiteral("Vellacourt Numerists"), QStringLiteral("Pythagoras"),
                                    QStringLiteral("Pythagoras Quiz"), QStringLiteral("Excellent Work"), name,
                                    QStringLiteral("You have scored 10 out of 10."), today})
            QVERIFY2((at = pdf.lines.indexOf(line, at + 1)) >= 0, qPrintable(line + u'\n' + pdf.lines.join(u'\n')));
        QVERIFY2(pdf.line(QStringLiteral("Date Teacher's signature"), at + 1) > at, qPrintable(pdf.lines.join(u'\n')));
        pdfToPng(file, QStringLiteral("print-certificate"));
        testutil::click(screens().get<ScoreScreen>().ui().exit);

        testutil::click(screens().get<TopicScreen>().ui().firstActivity);
        GalleryActivity* g = screens().find<GalleryActivity>();
        QVERIFY(testutil::solveByClicks(g));
        testutil::click(g->board().checkScore);
        const Pdf board(print(QStringLiteral("Ada Byron")));
        const int topic = board.lines.indexOf(QStringLiteral("Pythagoras"));
        QVERIFY2(topic >= 0 && board.lines.indexOf(QStringLiteral("Pythagorean Triples"), topic + 1) > topic &&
                     board.lines.indexOf(QStringLiteral("You have scored 12 out of 12."), topic + 1) > topic,
                 qPrintable(board.lines.join(u'\n')));
    }

    // The teacher's class table over pages: a title, the filter, the headings on every page, each row
    // once, a long work's name cut to its column, and the date and "Page X of Y" at each foot.
    void resultsTable() {
        Session s;
        QVERIFY(QDir().mkdir(s.path(QStringLiteral("results"))));
        QByteArray lines = core::resultsHeader();
        const QString me = currentLogin(), longWork = QStringLiteral("A piece of work whose name runs far past its column");
        for (int i = 1; i <= 70; ++i)
            lines += core::resultLine({QDateTime::currentDateTime().addSecs(-i), me, {}, QStringLiteral("Euclid"),
                                       i == 70 ? longWork : QStringLiteral("Work %1").arg(i, 2, 10, QLatin1Char('0')), i % 11, 10, {}});
        s.write(QStringLiteral("results/") + me + QStringLiteral(".csv"), lines);
        auto& r = screens().show<ResultsScreen>();
        const QString file = printedBy([&r] { testutil::click(r.ui().print); });
        QVERIFY(!file.isEmpty());
        const Pdf pdf(file);
        const QString all = pdf.lines.join(u'\n'), today = core::ukDate(QDate::currentDate());
        QVERIFY2(pdf.pages == 2 && pdf.line(QStringLiteral("Pupils' Results")) == 0 &&
                     pdf.line(QStringLiteral("All topics, any date")) == 1 && all.count(QStringLiteral("Pupil Topic Work Tries")) == 2 &&
                     all.contains(QStringLiteral("Printed %1 Page 1 of 2").arg(today)) &&
                     all.contains(QStringLiteral("Printed %1 Page 2 of 2").arg(today)),
                 qPrintable(all));
        for (int i = 1; i < 70; ++i) QCOMPARE(all.count(QStringLiteral("Work %1 ").arg(i, 2, 10, QLatin1Char('0'))), 1);
        QVERIFY2(!all.contains(longWork) && all.contains(QStringLiteral("A piece of work")) && all.contains(QStringLiteral("...")), qPrintable(all));
        QVERIFY(Sheet(file).inkAtEdge.isEmpty());
        pdfToPng(file, QStringLiteral("print-results"));
    }

    // Each printout on the default queue's own paper, laid out whole on it: a PPD's default page size
    // beats the computer's paper, a queue that states none (raw) takes the computer's (libpaper reads
    // PAPERCONF), and with neither it is A4. A certificate (through the window, by mouse), a question
    // sheet and a page of the Guide on each: the size the job was spooled at, no word off the page,
    // and the certificate's frames whole on all four sides.
    void printoutsOnTheQueuesOwnPaper() {
        Session s;
        QVERIFY(m_spooler->addPpdQueue(QStringLiteral("A4"), QStringLiteral("A4")) &&
                m_spooler->addPpdQueue(QStringLiteral("Letter"), QStringLiteral("Letter")));
        const QByteArray papersize = qgetenv("PAPERCONF");
        const auto restore = qScopeGuard([&] {
            PrintSpooler::run(QStringLiteral("lpadmin -d Keep"));
            qputenv("PAPERCONF", papersize);
        });
        const QSizeF a4(595.28, 841.89), letter(612, 792);
        for (const auto& [queue, computers, paper] : {std::tuple{"A4", "letter", a4},
                                                      {"Letter", "a4", letter},
                                                      {"Keep", "letter", letter},
                                                      {"Keep", "", a4}}) {
            const QString at = QStringLiteral("%1 queue, the computer's paper '%2'").arg(queue, computers);
            QVERIFY(PrintSpooler::run(QStringLiteral("lpadmin -d ") + queue));
            s.write(QStringLiteral("papersize"), QByteArray(computers) + '\n');
            qputenv("PAPERCONF", (*computers ? s.path(QStringLiteral("papersize")) : s.path(QStringLiteral("none"))).toUtf8());
            QStringList files;
            QuizScreen* m = testutil::startEuclidQuiz();
            files << printedBy([m] { testutil::click(m->ui().print); });
            testutil::answerAll(m);
            ScoreScreen& score = screens().get<ScoreScreen>();
            QTRY_VERIFY(score.ui().name->widget()->hasFocus());
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ada Byron"));
            files << printedBy([&score] { testutil::click(score.ui().action); });
            screens().show<MainMenu>();
            testutil::click(screens().get<MainMenu>().ui().guide);
            files << printedBy([] { testutil::click(screens().get<PageViewer>().ui().print); });
            for (int i = 0; i < files.size(); ++i) {
                QVERIFY2(!files[i].isEmpty(), qPrintable(at));
                const Sheet sheet(files[i]);
                const QString what = at + QStringLiteral(", printout %1: %2 x %3 pt, ink at the edge:%4")
                                              .arg(i).arg(sheet.points.width()).arg(sheet.points.height()).arg(sheet.inkAtEdge);
                QVERIFY2(qAbs(sheet.points.width() - paper.width()) < 1 && qAbs(sheet.points.height() - paper.height()) < 1, qPrintable(what));
                QVERIFY2(sheet.inkAtEdge.isEmpty(), qPrintable(what));
                QVERIFY2(i != 1 || sheet.framed, qPrintable(what));
            }
            Session::reset();
        }
    }

    // The question sheet, printed mid-quiz (which stays put): header, name line, title, questions in order.
    void worksheetSheet() {
        Session s;
        QuizScreen* m = testutil::startEuclidQuiz();
        for (int q = 1; q < 7; ++q) testutil::click(m->ui().next);
        const auto marks = m->marks();
        const QString file = printedBy([m] { testutil::click(m->ui().print); });
        QVERIFY(s.messages.last().text == Printing && m->questionNumber() == 7 && m->marks() == marks);
        const Pdf pdf(file);
        int at = -1;
        for (const char* line :
             {"Vellacourt Numerists Halvern Press Publishing Ltd", "Name Class Date", "Vellacourt Numerists", "Euclid"})
            QVERIFY2((at = pdf.line(QString::fromLatin1(line), at + 1)) >= 0, line);
        // The publisher's name ends on the page: read within the page's own width, it is whole.
        const QString width = QRegularExpression(QStringLiteral("Page size: *([0-9]+)"))
                                  .match(output(QStringLiteral("pdfinfo"), {file}))
                                  .captured(1);
        QVERIFY(output(QStringLiteral("pdftotext"), {"-x", "0", "-y", "0", "-W", width, "-H", "150", file, "-"})
                    .contains(QStringLiteral("Publishing Ltd")));
        for (int q = 1; q <= 10; ++q) {
            QVERIFY2((at = pdf.line(QStringLiteral("Question %1 ").arg(q), at + 1)) >= 0,
                     qPrintable(QString::number(q)));
            const QString first = testutil::euclidQuestion(q).answers[0];
            QVERIFY2(pdf.line(QStringLiteral("A. ") + first.section(u' ', 0, 0), at + 1) > at, qPrintable(first));
        }
        pdfToPng(file, QStringLiteral("print-worksheet"));
    }

    // The answer key from the wizard: the letters on one line, each right answer under its question.
    void answerKey() {
        Session s;
        WizardScreen* w = &screens().open<WizardScreen>();
        w->showInFront();
        w->ui().title->setContents(QStringLiteral("Halves"));
        for (int q = 0; q < 10; ++q) {
            w->ui().questions[q]->setContents(QStringLiteral("What is half of %1?").arg(2 * (q + 1)));
            for (int k = 0; k < 4; ++k) {
                w->ui().answers[4 * q + k]->setContents(QString::number(q + 1 + k - q % 4) + QStringLiteral(" apples"));
                w->ui().ticks[4 * q + k]->setTicked(k == q % 4);
            }
        }
        const QString file = printedBy([w] { testutil::click(w->ui().print); });
        QCOMPARE(s.messages.last().text, QStringLiteral("Your answer key is now printing."));
        const Pdf pdf(file);
        QCOMPARE(pdf.pages, 1);
        QVERIFY(pdf.line(QStringLiteral("Answer Key")) >= 0 && pdf.line(QStringLiteral("Halves")) >= 0);
        QVERIFY(pdf.line(QStringLiteral("1 A, 2 B, 3 C, 4 D, 5 A, 6 B, 7 C, 8 D, 9 A, 10 B")) >= 0);
        const int question = pdf.line(QStringLiteral("Question 7 What is half of 14?"));
        QVERIFY(question >= 0 && pdf.line(QStringLiteral("C. 7 apples"), question + 1) > question);
        pdfToPng(file, QStringLiteral("print-answer-key"));
        screens().close<WizardScreen>();
    }

    // A page of Pythagoras's Key Facts printed on its own: its topic and document above, its place and
    // the program below, the picture as wide as most of the printable area, and "Print" says so.
    void referencePage() {
        Session s;
        screens().show<MainMenu>();
        testutil::showTopic(QStringLiteral("pythagoras"));
        testutil::click(screens().get<TopicScreen>().ui().keyFacts);
        testutil::click(screens().get<PageViewer>().ui().next);
        const QString file = printedBy([] { testutil::click(screens().get<PageViewer>().ui().print); });
        QVERIFY(s.messages.size() == 1 && s.messages[0].text == QStringLiteral("This page is now printing."));
        const Pdf pdf(file);
        const int header = pdf.line(QStringLiteral("Pythagoras — Key Facts"));
        QVERIFY2(pdf.pages == 1 && header >= 0 && pdf.line(QStringLiteral("Vellacourt Numerists Page 2 of 3")) >= 0,
                 qPrintable(pdf.lines.join(u'\n')));
        // The picture's ink, between the header's rule and the footer's, across most of the width inside the margins.
        QTemporaryDir dir;
        QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "30", "-png", "-singlefile", file, dir.filePath(QStringLiteral("page"))});
        const QImage page = QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_Grayscale8);
        int left = page.width(), right = -1;
        for (int y = page.height() / 8; y < page.height() * 7 / 8; ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixelColor(x, y).value() < 200) left = std::min(left, x), right = std::max(right, x);
        QVERIFY2(right - left > page.width() * 3 / 4, qPrintable(QStringLiteral("%1 to %2 of %3").arg(left).arg(right).arg(page.width())));
        pdfToPng(file, QStringLiteral("print-key-facts-2"));
    }

    // Every topic's boards printed from its Teacher's Notes (Key Facts has no such button): for each
    // board a sheet under the topic and the board's caption, then its key laid out the same. What the
    // sheet alone has is its Name, Class and Date; what the key alone has is "Answers" and one answer a
    // box. On the key no word reaches into another word or into an answer's box (as wide as the widest
    // answer and then some either side), and every word is on the page. Pythagoras's keys, read back,
    // score 12 by their boards' rules.
    void boardSheets() {
        Session s;
        const auto same = [](const Word& a, const Word& b) { return a.text == b.text && qAbs(a.x - b.x) < 1 && qAbs(a.y - b.y) < 1; };
        const auto onlyOn = [&same](const QList<Word>& page, const QList<Word>& other) {
            QList<Word> only;
            for (const Word& w : page)
                if (std::none_of(other.begin(), other.end(), [&](const Word& o) { return same(o, w); })) only << w;
            return only;
        };
        const auto overlap = [](const Word& a, double left, double right) { return a.x < right - 0.5 && a.x + a.width > left + 0.5; };
        const auto sameLine = [](const Word& a, const Word& b) { return a.y < b.y + b.height - 0.5 && b.y < a.y + a.height - 0.5; };
        for (int entry : {0, 1, 2, 3, 4, 6}) {
            screens().show<MainMenu>();
            testutil::click(screens().get<MainMenu>().ui().mathematicians[size_t(entry)]);
            const Topic& topic = screens().get<TopicScreen>().topic();
            const QString name = topic.heading.toLower();
            testutil::click(screens().get<TopicScreen>().ui().keyFacts);
            QVERIFY(!screens().get<PageViewer>().ui().printBoards->isShown());
            testutil::click(screens().get<PageViewer>().ui().exit);
            testutil::click(screens().get<TopicScreen>().ui().notes);
            s.messages.clear();
            const QString file = printedBy([] { testutil::click(screens().get<PageViewer>().ui().printBoards); });
            QVERIFY(s.messages.size() == 1 && s.messages[0].text == QStringLiteral("The board sheets and their answers are now printing."));
            const QList<QList<Word>> pages = wordsOf(file);
            QCOMPARE(pages.size(), 4);
            for (int board = 0; board < 2; ++board) {
                const QList<Word>&sheet = pages[2 * board], &key = pages[2 * board + 1];
                QStringList said, sheetAlone;
                for (const Word& w : sheet) said << w.text;
                const QString heading = topic.heading + QStringLiteral(" — ") + topic.activities[size_t(board)].caption;
                QVERIFY2(said.join(u' ').startsWith(heading), qPrintable(said.join(u' ')));
                for (const Word& w : onlyOn(sheet, key)) sheetAlone << w.text;
                QCOMPARE(sheetAlone, QStringList({"Name", "Class", "Date"}));
                QList<Word> answers = onlyOn(key, sheet);
                QVERIFY(!answers.isEmpty() && answers.takeFirst().text == QStringLiteral("Answers"));
                QCOMPARE(answers.size(), 12);
                for (const Word& w : key) {
                    QVERIFY2(w.x >= 0 && w.x + w.width <= 595, qPrintable(name + ": " + w.text));
                    const bool answer = std::any_of(answers.begin(), answers.end(), [&](const Word& a) { return same(a, w); });
                    // An answer's box is 60 points wide about its middle.
                    const double middle = w.x + w.width / 2;
                    for (const Word& o : key)
                        QVERIFY2(&o == &w || !sameLine(w, o) || !(answer ? overlap(o, middle - 30, middle + 30) : overlap(o, w.x, w.x + w.width)),
                                 qPrintable(QStringLiteral("%1 board %2: \"%3\" runs into \"%4\"").arg(name).arg(board + 1).arg(o.text, w.text)));
                }
                if (entry != 0) continue;
                // In reading order, box by box; on Right-Angled? each triangle is read from its clue, left of its box.
                std::sort(answers.begin(), answers.end(), [](const Word& a, const Word& b) { return std::pair(qRound(a.y / 10), a.x) < std::pair(qRound(b.y / 10), b.x); });
                std::array<QString, 12> shown;
                GalleryProblem problem;
                for (int b = 0; b < 12; ++b) {
                    const Word& a = answers[b];
                    shown[size_t(b)] = a.text;
                    std::vector<int> sides;
                    for (const Word& w : key)
                        if (qAbs(w.y + w.height / 2 - a.y - a.height / 2) < 6 && w.x < a.x && (b % 3 == 0 || w.x > answers[b - 1].x))
                            sides.push_back(QString(w.text).remove(u',').toInt());
                    std::sort(sides.begin(), sides.end());
                    if (board == 1) {
                        QCOMPARE(sides.size(), size_t(3));
                        problem.answers[size_t(b)] = rightAngleAnswer({qint16(sides[0]), qint16(sides[1]), qint16(sides[2])});
                    }
                }
                QCOMPARE((board ? RightAngleRule : TriplesRule).score(problem, shown), 12);
            }
            if (const QString dir = qEnvironmentVariable("SCREENSHOTS"); !dir.isEmpty())  // every page, -1 to -4
                QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "50", "-png", file, dir + QStringLiteral("/print-board-sheet-") + name});
            Session::reset();
        }
    }

    // A queue refusing jobs, a printer where nothing listens: a problem said within seconds, no job left waiting.
    void failuresAreSaidAndNothingPrints() {
        Session s;
        QuizScreen* m = testutil::startEuclidQuiz();
        for (const auto& [spoil, mend] :
             {std::pair{"cupsreject Keep", "cupsaccept Keep"},
              {"lpadmin -p Far -E -v ipp://127.0.0.1:9/ipp/print -m raw,lpadmin -d Far", "lpadmin -x Far"}}) {
            for (const QString& command : QString::fromLatin1(spoil).split(u',')) QVERIFY(PrintSpooler::run(command));
            const int before = int(m_spooler->documents().size());
            s.messages.clear();
            QElapsedTimer waited;
            waited.start();
            testutil::click(m->ui().print);
            QVERIFY2(waited.elapsed() < 5000, spoil);
            QVERIFY2(s.messages.size() == 1 && s.messages[0].text == Problem, spoil);
            QTest::qWait(300);
            QCOMPARE(int(m_spooler->documents().size()), before);
            QVERIFY2(jobsWaiting(QStringLiteral("Far")).isEmpty() && jobsWaiting(QStringLiteral("Keep")).isEmpty(),
                     spoil);
            QVERIFY(PrintSpooler::run(QString::fromLatin1(mend)) && m_spooler->addQueue());
        }
    }

    // A server silent from each request in turn: the window waits under 5 s and what is said is true.
    void aServerSilentAtAnyRequestNeverHoldsTheWindowNorDenies() {
        Session s;
        QuizScreen* m = testutil::startEuclidQuiz();
        const QByteArray spooler = qgetenv("CUPS_SERVER");
        const auto restore = qScopeGuard([&] { qputenv("CUPS_SERVER", spooler); });
        int requests = 0;
        for (int silent = 0; silent <= requests; ++silent) {  // first never silent, to count the requests
            const QString at = QStringLiteral("silent from request %1").arg(silent);
            const int before = int(m_spooler->documents().size());
            {
                const Interceptor between(spooler, silent);
                qputenv("CUPS_SERVER", between.path());
                s.messages.clear();
                QElapsedTimer waited;
                waited.start();
                testutil::click(m->ui().print);
                QVERIFY2(waited.elapsed() < 5000, qPrintable(at));
                if (silent == 0) requests = between.requests();
            }
            QTest::qWait(1000);  // the server finishes what it took; the program's thread gives up
            const bool printed = m_spooler->documents().size() > before;
            QVERIFY2(s.messages.size() == 1 && s.messages[0].text != (printed ? Problem : Printing), qPrintable(at));
            QVERIFY2(silent > 0 || s.messages[0].text == Printing, qPrintable(at));
            QVERIFY2(jobsWaiting(QStringLiteral("Keep")).isEmpty(), qPrintable(at));
        }
        QVERIFY(requests >= 3);
    }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
