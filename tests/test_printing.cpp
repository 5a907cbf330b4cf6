// Printing through the real path: a private print spooler of the test's own (its own folder and
// socket, never the machine's printers) keeps the PDF that Qt sends, and the test reads it.
#include "TestUtil.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <atomic>
#include <fcntl.h>
#include <mutex>
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
        if (!QFile::exists(d + QStringLiteral("/cups.sock"))) {
            problem = QStringLiteral("the private cupsd did not start: ") + QString::fromLocal8Bit(m_daemon.readAll());
            return;
        }
        if (!addQueue()) problem = QStringLiteral("lpadmin could not add the test queue");
    }
    ~PrintSpooler() {
        if (m_daemon.state() == QProcess::NotRunning) return;
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) m_daemon.kill();
        m_daemon.waitForFinished(2000);
    }
    bool addQueue() {
        return run(QStringLiteral("lpadmin"), {"-p", "Keep", "-E", "-v", "file:///dev/null", "-m", "raw"}) &&
               run(QStringLiteral("lpadmin"), {"-d", "Keep"});
    }
    static bool run(const QString& tool, const QStringList& args) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(tool, args);
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

// A go-between on the print server's socket, silent from request `silentFrom` on (from 1; 0: never): the
// server acts, the program never hears, its connections left hanging as a stopped server leaves them.
class Interceptor {
public:
    Interceptor(const QByteArray& server, int silentFrom) : m_server(server), m_silentFrom(silentFrom) {
        m_path = server.left(server.lastIndexOf('/')) + "/between.sock";
        m_listen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un a = address(m_path);
        ::unlink(m_path.constData());
        if (::bind(m_listen, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(m_listen, 16) != 0)
            return;
        m_thread = std::thread([this] { run(); });
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
        while (n > 0) {
            const ssize_t w = ::send(fd, data, size_t(n), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (w > 0) {
                data += w;
                n -= w;
                continue;
            }
            pollfd out{fd, POLLOUT, 0};
            if (w < 0 && errno == EAGAIN && ::poll(&out, 1, 1000) > 0) continue;
            return;
        }
    }
    void run() {
        std::vector<std::pair<int, int>> pairs;  // the program's end, the server's
        char buffer[65536];
        while (!m_stop) {
            std::vector<pollfd> fds{{m_listen, POLLIN, 0}};
            for (const auto& [program, server] : pairs)
                fds.insert(fds.end(), {{program, POLLIN, 0}, {server, POLLIN, 0}});
            if (::poll(fds.data(), nfds_t(fds.size()), 50) <= 0) continue;
            const size_t polled = pairs.size();  // a pair accepted now has no poll result yet
            if (fds[0].revents & POLLIN) {
                const int program = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                const sockaddr_un a = address(m_server);
                if (::connect(server, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) pairs.push_back({program, server});
                else ::close(program), ::close(server);
            }
            for (size_t i = 0; i < polled; ++i)
                for (const bool fromProgram : {true, false}) {
                    if (!(fds[1 + 2 * i + (fromProgram ? 0 : 1)].revents & (POLLIN | POLLHUP))) continue;
                    const auto [program, server] = pairs[i];
                    const ssize_t n = ::read(fromProgram ? program : server, buffer, sizeof buffer);
                    if (n <= 0) continue;  // a closed end is left to the program's own time limit
                    if (fromProgram) {
                        const QByteArray data(buffer, n);
                        m_requests += int(data.count("POST /") + data.count("GET /"));
                    }
                    if (fromProgram || m_silentFrom == 0 || m_requests < m_silentFrom)
                        passOn(fromProgram ? server : program, buffer, n);
                }
        }
        for (const auto& [program, server] : pairs) ::close(program), ::close(server);
    }
    const QByteArray m_server;
    const int m_silentFrom;
    QByteArray m_path;
    int m_listen = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
};

const QString Problem = QStringLiteral("There was a problem printing to your printer."),
              Printing = QStringLiteral("Your worksheet is now printing.");

// The jobs a queue holds, as lpstat lists them.
QByteArray jobsWaiting(const QString& queue) {
    QProcess jobs;
    jobs.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
    return jobs.waitForFinished(10000) ? jobs.readAllStandardOutput() : QByteArray("lpstat did not answer");
}

struct Word {
    int page;
    double x0, y0, x1, y1;
    QString text;
    double height() const { return y1 - y0; }
    double centre() const { return (x0 + x1) / 2; }
};

struct Pdf {
    QList<Word> words;
    QList<QSizeF> pages;
    QString fonts;
    QList<QList<Word>> text;  // the lines as read: words of one page whose tops agree, left to right

    static QString join(const QList<Word>& line) {
        QStringList s;
        for (const Word& w : line) s << w.text;
        return s.join(QLatin1Char(' '));
    }
    // The first line that starts so, other than `besides`.
    const QList<Word>* line(const QString& startsWith, const QList<Word>* besides = nullptr) const {
        for (const QList<Word>& l : text)
            if (&l != besides && join(l).startsWith(startsWith)) return &l;
        return nullptr;
    }
    double lineCentre(const QList<Word>& l) const { return (l.first().x0 + l.last().x1) / 2; }
};

Pdf readPdf(const QString& file) {
    Pdf pdf;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    p.waitForFinished(20000);
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|"
                                                        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                                        "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = page.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            pdf.pages << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
            continue;
        }
        QString text = m.captured(7);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        pdf.words << Word{int(pdf.pages.size()) - 1, m.captured(3).toDouble(), m.captured(4).toDouble(),
                          m.captured(5).toDouble(), m.captured(6).toDouble(), text};
    }
    QList<Word> sorted = pdf.words;  // pdftotext may read a page column by column
    std::stable_sort(sorted.begin(), sorted.end(), [](const Word& a, const Word& b) {
        return std::tie(a.page, a.y0, a.x0) < std::tie(b.page, b.y0, b.x0);
    });
    for (const Word& w : sorted) {
        if (pdf.text.isEmpty() || pdf.text.last().first().page != w.page || std::abs(pdf.text.last().first().y0 - w.y0) > 2)
            pdf.text.append(QList<Word>());
        pdf.text.last().append(w);
    }
    QProcess f;
    f.start(QStringLiteral("pdffonts"), {file});
    f.waitForFinished(20000);
    pdf.fonts = QString::fromUtf8(f.readAllStandardOutput());
    return pdf;
}

// The first page rendered at `dpi`, one pixel a point at 72.
QImage firstPage(const QString& file, int dpi = 72) {
    QTemporaryDir out;
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png", "-singlefile",
                                                   file, out.filePath(QStringLiteral("p"))});
    return QImage(out.filePath(QStringLiteral("p.png")));
}

// Dark runs along one row of a page, from x0 to x1 (fractions of the width).
int darkRunsAcross(const QImage& image, double atHeight, double x0, double x1) {
    const int y = int(image.height() * atHeight);
    int runs = 0;
    bool dark = false;
    for (int x = int(image.width() * x0); x < int(image.width() * x1); ++x) {
        const bool d = qGray(image.pixel(x, y)) < 128;
        if (d && !dark) ++runs;
        dark = d;
    }
    return runs;
}

// Whether the ink inside a word's box is of the colour given.
bool inkedIn(const QImage& page, const Word& w, QColor colour) {
    for (int y = int(w.y0); y < int(w.y1); ++y)
        for (int x = int(w.x0); x < int(w.x1); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 60)
                return true;
        }
    return false;
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PrintSpooler> m_spooler;

    void needSpooler() {
        if (!m_spooler->problem.isEmpty())
            QSKIP(qPrintable(QStringLiteral("No private print spooler, so nothing was printed: ") + m_spooler->problem));
    }

private slots:
    void initTestCase() {
        testutil::initApp();
        m_spooler = std::make_unique<PrintSpooler>();
        if (!m_spooler->problem.isEmpty()) qWarning("print tests will be skipped: %s", qPrintable(m_spooler->problem));
    }
    void cleanupTestCase() { m_spooler.reset(); }
    void cleanup() { Session::reset(); }

    // A certificate as a pupil earns it (Euclid's quiz by clicks, the name typed where the keyboard is put,
    // Tab to "Print Certificate", Enter), headed as the quiz is; then one after an activity, unnamed.
    void certificate() {
        for (const bool quiz : {true, false}) {
            needSpooler();
            Session s;
            QString heading = QStringLiteral("Products of Primes and Nets of Dice together"), name;
            const int before = int(m_spooler->documents().size());
            if (quiz) {
                QuizScreen* m = testutil::startEuclidQuiz();
                heading = m->ui().heading->Caption();
                for (int q = 1; q <= 10; ++q) {
                    testutil::tick(m->ui().answers[(int(toNumber(testutil::euclidQuestion(q).correct))) - 1]);
                    testutil::click(m->ui().next);
                }
                QTRY_VERIFY(forms::ScoreScreen->ui().name->widget()->hasFocus());
                name = QStringLiteral("Ada Byron");
                QTest::keyClicks(QApplication::focusWidget(), name);
                for (int i = 0; i < 10 && Control::of(QApplication::focusWidget())->Caption() !=
                                              QStringLiteral("Print Certificate");
                     ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            } else {
                ScoreScreen::afterActivity({10, 10, heading});
                testutil::click(forms::ScoreScreen->ui().action);
            }
            QCOMPARE(s.messages.size(), 1);
            QCOMPARE(s.messages[0].text, QStringLiteral("Your certificate is now printing."));
            const QString file = m_spooler->next(before);
            QVERIFY(!file.isEmpty());
            const Pdf pdf = readPdf(file);
            QCOMPARE(pdf.pages.size(), 1);
            QVERIFY2(pdf.fonts.contains(QStringLiteral("LiberationSerif")), qPrintable(pdf.fonts));
            // Two banners cut at the page's right edge.
            int banners = 0;
            for (const auto& l : pdf.text)
                if (Pdf::join(l).startsWith(QStringLiteral("Well Done Well Done"))) {
                    ++banners;
                    QVERIFY(l.count() < 16 && l.count() >= 6);
                    QVERIFY(l.last().x1 <= pdf.pages[0].width());
                }
            QCOMPARE(banners, 2);
            const auto* title = pdf.line(QStringLiteral("Vellacourt Numerists"));
            const auto* head = pdf.line(heading.section(QLatin1Char(' '), 0, 2), title);  // a quiz's is the title
            const auto* award = pdf.line(QStringLiteral("Excellent Work"));
            const auto* score = pdf.line(QStringLiteral("You have scored 10 out of 10."));
            QVERIFY(title && head && award && score);
            // Centred under one another in reading order; a heading wider than a quarter page drops to 28 pt.
            for (const auto* l : {head, award, score}) QVERIFY(std::abs(pdf.lineCentre(*l) - pdf.lineCentre(*title)) < 2);
            QVERIFY(title->first().y0 < head->first().y0 && head->first().y0 < award->first().y0);
            QVERIFY(std::abs(head->first().height() / title->first().height() - (quiz ? 36.0 : 28.0) / 36) < 0.05);
            QVERIFY(std::abs(award->first().height() / title->first().height() - 28.0 / 36) < 0.05);
            // The name, or an empty line in its place: the score sentence stays four lines below the award.
            if (quiz) QVERIFY(pdf.line(name));
            QVERIFY(std::abs((score->first().y0 - award->first().y0) / award->first().height() - 4.15) < 0.3);
            const QImage page = firstPage(file);
            QVERIFY(inkedIn(page, title->first(), Qt::red));
            QVERIFY(inkedIn(page, head->first(), Qt::blue));
            QVERIFY(inkedIn(page, award->first(), QColor(0, 0, 128)));
            // Five outer frames and, across the middle of the page, three inner ones: eight lines each side.
            const QImage fine = firstPage(file, 300);
            QCOMPARE(darkRunsAcross(fine, 0.6, 0, 0.15), 8);
            QCOMPARE(darkRunsAcross(fine, 0.6, 0.85, 1), 8);
            if (quiz) pdfToPng(file, QStringLiteral("print-certificate"));
        }
    }

    void worksheetSheet() {
        needSpooler();
        Session s;
        QuizScreen* m = testutil::startEuclidQuiz();
        for (int q = 1; q < 7; ++q) testutil::click(m->ui().next);
        const auto marks = m->marks();
        const int before = int(m_spooler->documents().size());
        testutil::click(m->ui().print);
        QCOMPARE(s.messages.last().text, Printing);
        QCOMPARE(m->questionNumber(), 7);
        QCOMPARE(m->marks(), marks);
        QCOMPARE(m->ui().number->Caption(), QStringLiteral("Question 7"));
        const QString file = m_spooler->next(before);
        const Pdf pdf = readPdf(file);
        const double W = Printer::one().ScaleWidth() / 20.0;  // points
        Printer::one().KillDoc();
        const auto* header = pdf.line(QStringLiteral("Vellacourt Numerists Halvern Press Publishing Ltd"));
        const auto* writeOn = pdf.line(QStringLiteral("Name Class Date"));
        const auto* heading = pdf.line(QStringLiteral("Vellacourt Numerists"));
        QVERIFY(header && writeOn && pdf.line(QStringLiteral("Euclid")));
        // The header ends inside the printable width, and the pupil's line lies under it, above the
        // title, with a rule to write on after each word.
        QVERIFY(header->last().x1 <= header->first().x0 + W - W / 8 + 1);
        QVERIFY(header->first().y0 < writeOn->first().y0);
        for (const auto& l : pdf.text)
            if (Pdf::join(l) == QLatin1String("Vellacourt Numerists")) heading = &l;
        QVERIFY(writeOn->first().y0 < heading->first().y0);
        const QImage sheet = firstPage(file, 300);
        // The rule after "Name" runs most of the way to "Class".
        int longest = 0;
        for (int y = int(writeOn->first().y0 * 300 / 72); y < int((writeOn->first().y1 + 4) * 300 / 72); ++y)
            for (int x = 0, run = 0; x < sheet.width(); ++x) {
                run = qGray(sheet.pixel(x, y)) < 128 ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        QVERIFY2(longest > sheet.width() * 0.4, qPrintable(QString::number(longest)));
        // All ten questions in order, each with its answers in two columns at 2W/6 and 4W/6.
        double lastY = 0;
        int lastPage = 0;
        for (int q = 1; q <= 10; ++q) {
            const auto* line = pdf.line(QStringLiteral("Question %1 ").arg(q));
            QVERIFY2(line, qPrintable(QString::number(q)));
            QVERIFY(line->first().page > lastPage || line->first().y0 > lastY);
            lastY = line->first().y0;
            lastPage = line->first().page;
            // Twips turned into points: the second column stands at 4W/6 of the printable width.
            const auto* ab = pdf.line(QStringLiteral("A. ") +
                                      testutil::euclidQuestion(q).answers[0].section(QLatin1Char(' '), 0, 0));
            QVERIFY2(ab, qPrintable(testutil::euclidQuestion(q).answers[0]));
            const auto b = std::find_if(ab->begin(), ab->end(), [](const Word& w) { return w.text == QLatin1String("B."); });
            QVERIFY(b != ab->end());
            QVERIFY(std::abs((b->x0 - line->first().x0) - (4 * W / 6 - W / 16)) < 1.5);
        }
        pdfToPng(file, QStringLiteral("print-worksheet"));

        // Twice in a row: two documents, two messages.
        const int now = int(m_spooler->documents().size());
        testutil::click(m->ui().print);
        testutil::click(m->ui().print);
        QVERIFY(!m_spooler->next(now + 1).isEmpty());
        QCOMPARE(s.messages.count(), 3);
    }

    // The answer key from the wizard: the letters on one line for marking, each right answer under
    // its question; a sheet not yet complete has no key, and nothing is printed for it.
    void answerKey() {
        needSpooler();
        Session s;
        WizardScreen* w = &forms::WizardScreen.open();
        w->Show();
        w->ui().title->SetText(QStringLiteral("Halves"));
        for (int q = 0; q < 10; ++q) {
            w->ui().questions[q]->SetText(QStringLiteral("What is half of %1?").arg(2 * (q + 1)));
            for (int k = 0; k < 4; ++k) {
                w->ui().answers[4 * q + k]->SetText(QString::number(q + 1 + k - q % 4) + QStringLiteral(" apples"));
                w->ui().ticks[4 * q + k]->SetValue(k == q % 4);
            }
        }
        w->ui().ticks[4 * 6 + 2]->SetValue(0);
        const int before = int(m_spooler->documents().size());
        testutil::click(w->ui().print);
        QCOMPARE(s.messages.last().text, QStringLiteral("You have not ticked the correct answer for Question 7"));
        QTest::qWait(300);
        QCOMPARE(int(m_spooler->documents().size()), before);

        w->ui().ticks[4 * 6 + 2]->SetValue(1);
        testutil::click(w->ui().print);
        QCOMPARE(s.messages.last().text, QStringLiteral("Your answer key is now printing."));
        const QString file = m_spooler->next(before);
        QVERIFY(!file.isEmpty());
        const Pdf pdf = readPdf(file);
        QCOMPARE(pdf.pages.size(), 1);
        QVERIFY(pdf.line(QStringLiteral("Answer Key")) && pdf.line(QStringLiteral("Halves")));
        QVERIFY(pdf.line(QStringLiteral("1 A, 2 B, 3 C, 4 D, 5 A, 6 B, 7 C, 8 D, 9 A, 10 B")));
        for (int q = 0; q < 10; ++q) {
            const auto* question = pdf.line(QStringLiteral("Question %1 What is half of %2?").arg(q + 1).arg(2 * (q + 1)));
            QVERIFY2(question, qPrintable(QString::number(q + 1)));
            const auto* answer = pdf.line(QStringLiteral("%1. %2 apples").arg(QChar(u'A' + q % 4)).arg(q + 1));
            QVERIFY2(answer && answer->first().y0 > question->first().y0, qPrintable(QString::number(q + 1)));
        }
        pdfToPng(file, QStringLiteral("print-answer-key"));
        forms::WizardScreen.unload();
    }

    void referencePage() {
        needSpooler();
        Session s;
        forms::MainMenu.show();
        testutil::click(forms::MainMenu->ui().guide);
        const int before = int(m_spooler->documents().size());
        testutil::click(forms::PageViewer->ui().print);
        QVERIFY(s.messages.isEmpty());
        const QString file = m_spooler->next(before);
        const Pdf pdf = readPdf(file);
        const auto* title = pdf.line(QStringLiteral("Teachers' Guide: finding your way"));
        QVERIFY(title);
        QVERIFY(pdf.fonts.contains(QStringLiteral("LiberationSerif")));
        // The picture's corner at 1000, 1000 twips (50 points) into the printable area.
        const double left = pdf.pages[0].width() / 2 - Printer::one().ScaleWidth() / 40;
        Printer::one().KillDoc();
        QVERIFY(std::abs(title->first().x0 - (left + 50)) < 3);
        pdfToPng(file, QStringLiteral("print-guide-1"));
    }

    // Refusing jobs, stopped, no printer, a printer where nothing listens: each said within seconds, nothing
    // printed, no job left waiting for a document (a server that stops answering: the next test).
    void failuresAreSaidAndNothingPrints() {
        needSpooler();
        Session s;
        QuizScreen* m = testutil::startEuclidQuiz();
        for (const auto& [spoil, mend] : {std::pair{"cupsreject Keep", "cupsaccept Keep"}, {"cupsdisable Keep", "cupsenable Keep"},
                                          {"lpadmin -x Keep", ""},
                                          {"lpadmin -p Far -E -v ipp://127.0.0.1:9/ipp/print -m raw,lpadmin -d Far", "lpadmin -x Far"}}) {
            for (const QString& command : QString::fromLatin1(spoil).split(u',')) {
                QStringList args = command.split(u' ');
                QVERIFY(PrintSpooler::run(args.takeFirst(), args));
            }
            const int before = int(m_spooler->documents().size());
            s.messages.clear();
            QElapsedTimer waited;
            waited.start();
            testutil::click(m->ui().print);
            const qint64 ms = waited.elapsed();
            QVERIFY2(s.messages.size() == 1 && s.messages[0].text == Problem, spoil);
            QVERIFY2(ms < 5000, qPrintable(QStringLiteral("%1: %2 ms").arg(spoil).arg(ms)));
            QTest::qWait(300);
            QCOMPARE(int(m_spooler->documents().size()), before);
            QVERIFY2(jobsWaiting(QStringLiteral("Far")).isEmpty() && jobsWaiting(QStringLiteral("Keep")).isEmpty(), spoil);
            QCOMPARE(m->ui().number->Caption(), QStringLiteral("Question 1"));
            QStringList args = QString::fromLatin1(mend).split(u' ');
            QVERIFY((!*mend || PrintSpooler::run(args.takeFirst(), args)) && m_spooler->addQueue());
        }
        s.messages.clear();
        testutil::click(m->ui().print);
        QCOMPARE(s.messages.last().text, Printing);
    }

    // The print server falls silent at each of its requests in turn, having acted on it: the window
    // never waits more than 5 s, and a job the server went on to print is never said to have failed.
    void aServerSilentAtAnyRequestNeverHoldsTheWindowNorDenies() {
        needSpooler();
        Session s;
        QuizScreen* m = testutil::startEuclidQuiz();
        const QByteArray spooler = qgetenv("CUPS_SERVER");
        const auto restore = qScopeGuard([&] { qputenv("CUPS_SERVER", spooler); });
        // A print through a go-between silent from the request given: how long it held the window,
        // the requests it made, and what it said (one message, or how many there were).
        const auto print = [&](int silentFrom) {
            const Interceptor between(spooler, silentFrom);
            qputenv("CUPS_SERVER", between.path());
            s.messages.clear();
            QElapsedTimer waited;
            waited.start();
            testutil::click(m->ui().print);
            const QString said =
                s.messages.size() == 1 ? s.messages[0].text : QStringLiteral("%1 messages").arg(s.messages.size());
            return std::tuple{waited.elapsed(), between.requests(), said};
        };
        const auto [_, requests, first] = print(0);
        QCOMPARE(first, Printing);
        QVERIFY(requests >= 3);
        for (int silent = 1; silent <= requests; ++silent) {
            const int before = int(m_spooler->documents().size());
            const auto [ms, made, said] = print(silent);
            QVERIFY2(ms < 5000, qPrintable(QStringLiteral("silent from request %1: %2 ms").arg(silent).arg(ms)));
            QTest::qWait(1000);  // the server finishes what it took; the program's thread gives up
            const bool printed = m_spooler->documents().size() > before;
            QVERIFY2(!said.endsWith(QStringLiteral(" messages")), qPrintable(said));
            QVERIFY2(!(printed && said == Problem), qPrintable(QStringLiteral("silent from request %1: printed, yet said failed").arg(silent)));
            QVERIFY2(printed || said != Printing, qPrintable(QString::number(silent)));
            // Nor is a job left waiting on the queue for a document that never comes.
            QVERIFY2(jobsWaiting(QStringLiteral("Keep")).isEmpty(), qPrintable(QString::number(silent)));
        }
        QCOMPARE(std::get<2>(print(0)), Printing);
    }

private:
    // With SCREENSHOTS set, the first page of a printed PDF as a PNG beside the screenshots.
    static void pdfToPng(const QString& file, const QString& name) {
        const QString dir = qEnvironmentVariable("SCREENSHOTS");
        if (!dir.isEmpty()) firstPage(file, 60).save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
