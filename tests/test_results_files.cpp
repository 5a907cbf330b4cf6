// Pupils' results files: a finished work recorded in the pupil's own file and read back whole, a file
// that is not the pupil's own refused, every file a pupil could plant read by the teacher's screen
// within bounds, the folder's modes checked, and the teacher's CSV safe to open in a spreadsheet.
#include "platform/files/ResultsFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace core;
using namespace platform;

namespace {

// A working folder of the test's own, the process's own restored after.
class Folder {
public:
    Folder() : m_was(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~Folder() { QDir::setCurrent(m_was); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_was;
};

bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(qPrintable(path), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

QString loginOf(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QStringLiteral("user %1").arg(uid);
}

// An hour ago, to the second, as a record keeps it.
const QDateTime Earlier = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - 3600);

ResultRecord finished(const QString& work, int score, int outOf, const QString& name = {}) {
    return {Earlier, {}, name, QStringLiteral("Pythagoras"), work, score, outOf, {}};
}

// A line of a results file as a pupil's hand could write it: date, login, no name, then the rest.
QByteArray line(const QString& login, const QByteArray& rest, const QByteArray& when = "2024-05-01T10:00:00+01:00") {
    return when + ',' + login.toUtf8() + ",," + rest + "\r\n";
}

qint64 statusKb(const char* key) {
    const QList<QByteArray> lines = read(QStringLiteral("/proc/self/status")).split('\n');
    for (const QByteArray& l : lines)
        if (l.startsWith(key)) return l.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

enum Plant { Plain, Fifo, Link, Dangling, Sparse, Others };

}  // namespace

class ResultsFilesTest : public QObject {
    Q_OBJECT
private slots:
    // First of all: a refusal said before would hide a message said here.
    void recordingIsOffWithoutAResultsFolder() {
        Folder f;
        QCOMPARE(recordResult(finished(QStringLiteral("Quiz"), 5, 10)), QString());
        QVERIFY(QDir(f.path(QStringLiteral(".")))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
    }

    void recordedAndReadBackWhole() {
        Folder f;
        QVERIFY(QDir().mkdir(QStringLiteral("results")));
        const QString file = f.path(QStringLiteral("results/%1.csv").arg(currentLogin()));
        const mode_t was = ::umask(077);
        const QString name = QStringLiteral("O'Brien, \"Jo\"\nŁucja"), work = QStringLiteral("Ἀρχιμήδης – café ☺");
        const QString first = recordResult(finished(work, 7, 10, name));
        ::umask(was);
        QCOMPARE(first, QString());
        QCOMPARE(modeOf(file), mode_t(0640));  // teachers read it whatever the pupil's umask
        QVERIFY(::chmod(qPrintable(file), 0600) == 0);
        QCOMPARE(recordResult(finished(QStringLiteral("Board"), 12, 12, QStringLiteral("Anna\nBell"))), QString());
        QCOMPARE(modeOf(file), mode_t(0640));
        // A line cut short (a full disk, a pupil's editor): the next record still starts a line of its own.
        QFile cut(file);
        QVERIFY(cut.open(QIODevice::Append) && cut.write("2026-01-01T09:00:00+00:00,cut") && (cut.close(), true));
        QCOMPARE(recordResult(finished(QStringLiteral("Last"), 0, 3)), QString());
        const QByteArray bytes = read(file);
        QVERIFY(bytes.startsWith(resultsHeader()));
        QCOMPARE(bytes.count(resultsHeader()), 1);
        QVERIFY(bytes.contains(",cut\r\n"));

        const ResultsFolderRead back = readResultsFolder();
        QCOMPARE(back.records.size(), size_t(3));
        const ResultRecord& r = back.records[0];
        // The line end shown as a space, nothing lost.
        QCOMPARE(std::tuple(r.pupil, r.login, r.name, r.work, r.topic, r.score, r.outOf, r.when),
                 std::tuple(currentLogin(), currentLogin(), QString(name).replace(u'\n', u' '), work, QStringLiteral("Pythagoras"), 7, 10, Earlier));
        QCOMPARE(std::tuple(back.records[1].name, back.records[2].work, back.records[2].score),
                 std::tuple(QStringLiteral("Anna Bell"), QStringLiteral("Last"), 0));
        QCOMPARE(back.skipped,
                 QStringList(QStringLiteral("%1.csv: 1 line not results (or with a date or score that cannot be "
                                            "true)")
                                 .arg(currentLogin())));
    }

    // Nothing is written where the pupil's file is not a plain file of the pupil's own; said once a run.
    void refusedUnlessTheFileIsThePupilsOwn_data() {
        QTest::addColumn<int>("plant");
        QTest::newRow("a link to a file elsewhere") << int(Link);
        QTest::newRow("a link to no file yet") << int(Dangling);
        QTest::newRow("a FIFO") << int(Fifo);
        QTest::newRow("another's file") << int(Others);
        QTest::newRow("a full file") << int(Plain);
    }
    void refusedUnlessTheFileIsThePupilsOwn() {
        QFETCH(int, plant);
        if (plant == Others && ::geteuid() != 0) QSKIP("only root can give a file to another user");
        Folder f;
        QVERIFY(QDir().mkdir(QStringLiteral("results")));
        const QString file = f.path(QStringLiteral("results/%1.csv").arg(currentLogin())),
                      elsewhere = f.path(QStringLiteral("notes"));
        const QByteArray before =
            plant == Plain ? QByteArray(ResultsLimits::FileBytes - 40, 'x') + '\n' : QByteArray("the teacher's notes");
        int reader = -1;
        if (plant == Link) QVERIFY(write(elsewhere, before) && QFile::link(elsewhere, file));
        if (plant == Dangling) QVERIFY(QFile::link(elsewhere, file));
        if (plant == Fifo)
            QVERIFY(::mkfifo(qPrintable(file), 0600) == 0 &&
                    (reader = ::open(qPrintable(file), O_RDONLY | O_NONBLOCK)) >= 0);
        if (plant == Others) QVERIFY(write(file, before) && ::chown(qPrintable(file), 1, 1) == 0);
        if (plant == Plain) QVERIFY(write(file, before));

        const QString said = recordResult(finished(QStringLiteral("Quiz"), 5, 10));
        static bool told = false;
        if (!told)
            QVERIFY2(said.startsWith(QStringLiteral("Your result could not be recorded")) && said.contains(u"link"),
                     qPrintable(said));
        else
            QCOMPARE(said, QString());
        told = true;
        if (plant == Link) QCOMPARE(read(elsewhere), before);
        if (plant == Dangling) QVERIFY(!QFile::exists(elsewhere));
        if (plant == Others || plant == Plain) QCOMPARE(read(file), before);
        if (plant == Fifo) {
            char c;
            QVERIFY(::read(reader, &c, 1) <= 0);  // nothing went into the pipe
            ::close(reader);
        }
    }

    // Whatever a pupil leaves in the folder, the teacher's screen reads it within 2 s and 200 MB and says what it
    // skipped.
    void hostileFilesReadWithinBounds_data() {
        QTest::addColumn<int>("plant");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("pupils");   // each record's pupil, "|" between
        QTest::addColumn<QString>("skipped");  // what is said of the file, after its name
        const QString me = currentLogin(), mine = me + QStringLiteral(".csv");
        const QByteArray good = line(me, "Pythagoras,Quiz,9,10");
        const QString lines = QStringLiteral("%1 lines not results (or with a date or score that cannot be true)");
        const QString tooLarge = QStringLiteral("too large to be a results file");
        const auto row = [&](const char* tag, Plant plant, const QByteArray& bytes, const QString& pupils,
                             const QString& skipped, const QString& file = {}) {
            QTest::newRow(tag) << int(plant) << (file.isEmpty() ? mine : file) << bytes << pupils << skipped;
        };
        row("FIFO", Fifo, {}, {}, QStringLiteral("not a plain file"));
        row("link", Link, {}, {}, QStringLiteral("a link, not a file"));
        row("sparse 1 GiB", Sparse, {}, {}, tooLarge + QStringLiteral(" (1073.7 MB)"));
        row("a million empty lines", Plain, QByteArray(1000000, '\n'), {}, {});
        const QByteArray junk = QByteArray("x\n").repeated(500000);
        row("half a million junk lines", Plain, junk + good, me, lines.arg(500000));
        row("a million junk lines", Plain, junk + junk, {}, tooLarge + QStringLiteral(" (2.0 MB)"));
        row("a 10 MB line", Plain, QByteArray(10 << 20, 'a'), {}, tooLarge + QStringLiteral(" (10.5 MB)"));
        row("long lines, then a record", Plain,
            QByteArray(300000, ',') + '\n' + line(me, "Pythagoras," + QByteArray(600000, 'a') + ",9,10") + good, me,
            lines.arg(2));
        row("broken UTF-8", Plain, line(me, "\xC3,\xFF\xFE\xC3(,9,10"), me, {});
        row("quoted fields with line ends", Plain, line(me, "\"a\r\n\"\"b\"\",\nc\",Quiz,9,10", "2024-05-01T10:00:00Z"),
            me, {});
        row("far dates", Plain,
            line(me, "Pythagoras,Quiz,9,10", "1900-01-01T10:00:00+00:00") +
                line(me, "Pythagoras,Quiz,9,10", "9999-12-31T10:00:00+00:00") +
                line(me, "Pythagoras,Quiz,9,10", "99999-01-01T10:00:00+00:00") + good,
            me, lines.arg(3));
        row("scores that cannot be", Plain,
            line(me, "Pythagoras,Quiz,11,10") + line(me, "Pythagoras,Quiz,-1,10") + line(me, "Pythagoras,Quiz,0,0") +
                line(me, "Pythagoras,Quiz,1,-1") + good,
            me, lines.arg(4));
        const QString planted = QStringLiteral("%1 (in anna.csv)").arg(loginOf(1));
        row("planted under another's name", Others, line(QStringLiteral("anna"), "Pythagoras,Quiz,10,10") + good,
            planted + u'|' + planted, QStringLiteral("belongs to %1").arg(loginOf(1)), QStringLiteral("anna.csv"));
        row("another's login in one's own file", Plain, line(QStringLiteral("anna"), "Pythagoras,Quiz,10,10") + good,
            me + QStringLiteral(" (as anna)|") + me, QStringLiteral("1 line with another login"));
    }
    void hostileFilesReadWithinBounds() {
        QFETCH(int, plant);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, pupils);
        QFETCH(QString, skipped);
        if (plant == Others && ::geteuid() != 0) QSKIP("only root can give a file to another user");
        Folder f;
        QVERIFY(QDir().mkdir(QStringLiteral("results")));
        const QString path = f.path(QStringLiteral("results/") + file);
        if (plant == Plain || plant == Others) QVERIFY(write(path, bytes));
        if (plant == Others) QVERIFY(::chown(qPrintable(path), 1, 1) == 0);
        if (plant == Fifo) QVERIFY(::mkfifo(qPrintable(path), 0644) == 0);
        if (plant == Link) QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        if (plant == Sparse) QVERIFY(write(path, {}) && QFile::resize(path, qint64(1) << 30));
        bytes = {};  // out of the measure

        if (const int refs = ::open("/proc/self/clear_refs", O_WRONLY); refs >= 0) {  // the peak starts from here
            QCOMPARE(::write(refs, "5", 1), ssize_t(1));
            ::close(refs);
        }
        const qint64 rss = statusKb("VmRSS:");
        QElapsedTimer clock;
        clock.start();
        const ResultsFolderRead got = readResultsFolder();
        const qint64 ms = clock.elapsed(), grewMb = (statusKb("VmHWM:") - rss) / 1024;
        QVERIFY2(ms < 2000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QVERIFY2(grewMb < 200, qPrintable(QStringLiteral("%1 MB").arg(grewMb)));

        QStringList shown;
        for (const ResultRecord& r : got.records) shown << r.pupil;
        QCOMPARE(shown.join(u'|'), pupils);
        QVERIFY2(skipped.isEmpty()
                     ? got.skipped.isEmpty()
                     : got.skipped.size() == 1 && got.skipped[0].startsWith(file + QStringLiteral(": ") + skipped),
                 qPrintable(got.skipped.join(u'\n')));
        // A pupil's line ends and broken letters come out as letters a table can show, on one line.
        for (const ResultRecord& r : got.records)
            for (const QString& field : {r.name, r.topic, r.work})
                QVERIFY2(!field.contains(u'\n') && !field.contains(u'\r'), qPrintable(field));
        if (QTest::currentDataTag() == QByteArrayLiteral("broken UTF-8"))
            QCOMPARE(got.records[0].work, QStringLiteral("\uFFFD\uFFFD\uFFFD("));
        if (QTest::currentDataTag() == QByteArrayLiteral("quoted fields with line ends"))
            QCOMPARE(got.records[0].topic, QStringLiteral("a  \"b\", c"));
    }

    void folderWarning_data() {
        QTest::addColumn<int>("mode");  // -1: a link to a good folder; 0: no folder
        QTest::addColumn<bool>("ownFolder");
        QTest::addColumn<QString>("why");
        QTest::newRow("the README's") << 03753 << false << "";
        QTest::newRow("home install") << 0755 << true << "";
        QTest::newRow("home install, group may write") << 0775 << true << "";
        QTest::newRow("no folder") << 0 << true << "";
        QTest::newRow("0777") << 0777 << false << "anyone may list the folder";
        QTest::newRow("2777") << 02777 << false << "anyone may list the folder";
        QTest::newRow("1777") << 01777 << false << "anyone may list the folder";
        QTest::newRow("2773, not sticky") << 02773 << false << "the folder is not sticky";
        QTest::newRow("1773, not setgid") << 01773 << false << "the folder is not setgid";
        QTest::newRow("a link") << -1 << false << "link";
    }
    void folderWarning() {
        QFETCH(int, mode);
        QFETCH(bool, ownFolder);
        QFETCH(QString, why);
        Folder f;
        const QString folder = f.path(mode == -1 ? QStringLiteral("elsewhere") : QStringLiteral("results"));
        if (mode != 0) QVERIFY(QDir().mkdir(folder) && ::chmod(qPrintable(folder), mode == -1 ? 03753 : mode) == 0);
        if (mode == -1) QVERIFY(QFile::link(folder, f.path(QStringLiteral("results"))));
        if (!ownFolder && ::geteuid() == 0)
            QVERIFY(::chown(qPrintable(folder), 0, 100) == 0 &&
                    ::chmod(qPrintable(folder), mode == -1 ? 03753 : mode) == 0);
        const QString said = resultsFolderWarning();
        QVERIFY2(why.isEmpty() ? said.isEmpty() : said.contains(why) && said.contains(QStringLiteral("README")),
                 qPrintable(said));
    }

    // Every cell that a spreadsheet would run comes out as text, and nothing else is touched.
    void exportedCellsAreTextASpreadsheetWillNotRun() {
        for (const char* risky : {"=1+1", "+1", "-2+3", "@SUM(A1)", "\t=1", "\r=1"})
            QCOMPARE(neutralisedCell(QString::fromLatin1(risky)), QLatin1Char('\'') + QString::fromLatin1(risky));
        for (const char* plain : {"7/10", "a=b", ""}) QCOMPARE(neutralisedCell(QString::fromLatin1(plain)), QString::fromLatin1(plain));
        QCOMPARE(csvOf({QStringLiteral("=Pupil")}, {{QStringLiteral("He said \"hi\",\nthen")}}),
                 QByteArray("'=Pupil\r\n\"He said \"\"hi\"\",\nthen\"\r\n"));
    }
};

QTEST_GUILESS_MAIN(ResultsFilesTest)
#include "test_results_files.moc"
