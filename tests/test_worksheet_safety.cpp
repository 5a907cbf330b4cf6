// A teacher's worksheets are never lost: a full disk, reserved titles, links planted in the folder,
// a failing index step, two computers saving into one shared folder, and index lines that must
// read back as they were.
#include "TestUtil.h"
#include "shell/Module1.h"
#include "worksheets/WorksheetFiles.h"

#include <QLockFile>
#include <QProcess>

using namespace platform;
using testutil::fillValid;
using testutil::indexOf;
using testutil::Session;
using testutil::worksheetBytes;

namespace {

const QString Saved = QStringLiteral("Your worksheet has been saved.");
const QString SaveProblem = QStringLiteral("There was a problem saving your worksheet");

// Saves a complete worksheet under a title through the wizard, as a teacher does.
void saveThroughWizard(const QString& title) {
    auto* w = forms::wizard.instance() ? forms::wizard.instance() : forms::wizard.get();
    fillValid(w, title);
    testutil::click(w->Label3(1));
}

// The second computer of the shared-folder test: saves 50 titles into the folder it is given.
int saveTitles(const QString& folder, const QString& prefix) {
    testutil::initApp();
    QDir::setCurrent(folder);
    int failures = 0;
    msgBoxHook = [&failures](const QString& text, const QString&) {
        if (text != Saved) {
            ++failures;
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
        return Answer::Ok;
    };
    for (int i = 1; i <= 50; ++i) saveThroughWizard(prefix + QString::number(i));
    FormRefBase::unloadAll();
    return failures;
}

// A small disk of its own for the working folder; empty when this machine does not allow mounting.
class SmallDisk {
public:
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallDisk(const QString& size) {
        mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                               QStringLiteral("-o"), QStringLiteral("size=") + size,
                                                               QStringLiteral("tmpfs"), dir.path()}) == 0;
    }
    ~SmallDisk() {
        QDir::setCurrent(QDir::tempPath());
        if (mounted) QProcess::execute(QStringLiteral("umount"), {dir.path()});
    }
    // Fills the disk but for one page: room for the catalogue's small lock file, none for a worksheet.
    void fill() const {
        QFile f(dir.filePath(QStringLiteral("filler")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'x');
        while (f.write(block) == block.size()) {}
        f.resize(f.size() - 4096);
    }
};

}  // namespace

class WorksheetSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() {
        failWriteHook = nullptr;
        worksheetfiles::CatalogueLock::WaitMs = 5000;
        Session::reset();
    }

    void aFullDiskNeverReportsSuccess() {
        SmallDisk disk(QStringLiteral("256k"));
        if (!disk.mounted) QSKIP("This machine does not allow mounting a small tmpfs, so a full disk cannot be tried.");
        Session s;
        Session::copyTree(QStringLiteral(DATA_DIR), disk.dir.path());
        QDir::setCurrent(disk.dir.path());
        const auto read = [&](const QString& rel) {
            QFile f(disk.dir.filePath(rel));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
        };
        const QByteArray sheet = worksheetBytes(QStringLiteral("Sheet")), index = indexOf({"Sheet"});
        QFile f(disk.dir.filePath(QStringLiteral("multiple/Sheet.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(sheet) == sheet.size());
        f.close();
        QFile t(disk.dir.filePath(QStringLiteral("multiple/track.txt")));
        QVERIFY(t.open(QIODevice::WriteOnly) && t.write(index) == index.size());
        t.close();
        disk.fill();

        // Editing a worksheet.
        saveThroughWizard(QStringLiteral("Sheet"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QCOMPARE(read(QStringLiteral("multiple/Sheet.txt")), sheet);
        // A new title.
        saveThroughWizard(QStringLiteral("Another"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QCOMPARE(read(QStringLiteral("multiple/Another.txt")), QByteArray("missing"));
        QCOMPARE(read(QStringLiteral("multiple/track.txt")), index);
        // A delete.
        forms::wizard.unload();
        forms::worksheets->Show();
        testutil::click(forms::worksheets->Check2());
        testutil::click(forms::worksheets->Label2(1));
        QVERIFY(s.messages.last().text.startsWith(QStringLiteral("There was a problem removing the worksheet")));
        QCOMPARE(read(QStringLiteral("multiple/track.txt")), index);
        QCOMPARE(forms::worksheets->Label2(1)->Caption(), QStringLiteral("Sheet"));
        Session::reset();
    }

    void titlesTheFolderKeepsForItself_data() {
        QTest::addColumn<QString>("title");
        for (const char* t : {"track", "TRACK", "Track", "euclid", "COM0", "LPT0", "CONIN$", "conout$", "nul.txt"})
            QTest::newRow(t) << QString::fromLatin1(t);
        QTest::newRow("COM superscript one") << QStringLiteral("COM\u00B9");
        QTest::newRow("LPT superscript three") << QStringLiteral("lpt\u00B3");
    }
    void titlesTheFolderKeepsForItself() {
        QFETCH(QString, title);
        Session s;
        const QByteArray index = s.read(QStringLiteral("multiple/track.txt"));
        const QByteArray euclid = s.read(QStringLiteral("multiple/Euclid.txt"));
        saveThroughWizard(title);
        QVERIFY(s.messages.last().text.endsWith(QStringLiteral("Please choose another title.")));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
        QCOMPARE(s.read(QStringLiteral("multiple/Euclid.txt")), euclid);
        QCOMPARE(QDir(s.path(QStringLiteral("multiple"))).entryList(QDir::Files).size(), 2);
        // Letters that merely look alike are another title.
        saveThroughWizard(QStringLiteral("Tracks"));
        QCOMPARE(s.messages.last().text, Saved);
    }

    void savesNeverWriteThroughALink() {
        Session s;
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("letter.txt"));
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly) && v.write("the teacher's own file") > 0);
        v.close();
        const QByteArray index = s.read(QStringLiteral("multiple/track.txt"));

        QVERIFY(QFile::link(victim, s.path(QStringLiteral("multiple/Evil.txt"))));
        saveThroughWizard(QStringLiteral("Evil"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QVERIFY(QFileInfo(s.path(QStringLiteral("multiple/Evil.txt"))).isSymLink());

        // A dangling link must not create a file elsewhere.
        const QString nowhere = outside.filePath(QStringLiteral("created.txt"));
        QVERIFY(QFile::link(nowhere, s.path(QStringLiteral("multiple/Dangling.txt"))));
        saveThroughWizard(QStringLiteral("Dangling"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QVERIFY(!QFile::exists(nowhere));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);

        // A linked index: neither a save nor a delete rewrites the file it points to.
        QVERIFY(QFile::remove(s.path(QStringLiteral("multiple/track.txt"))));
        QVERIFY(v.open(QIODevice::WriteOnly | QIODevice::Truncate) && v.write(indexOf({"Kept"})) > 0);
        v.close();
        QVERIFY(QFile::link(victim, s.path(QStringLiteral("multiple/track.txt"))));
        saveThroughWizard(QStringLiteral("Fine"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QVERIFY(!QFile::exists(s.path(QStringLiteral("multiple/Fine.txt"))));
        s.write(QStringLiteral("multiple/Kept.txt"), worksheetBytes(QStringLiteral("Kept")));
        forms::wizard.unload();
        forms::worksheets->Show();
        testutil::click(forms::worksheets->Check2());
        testutil::click(forms::worksheets->Label2(1));
        QVERIFY(s.messages.last().text.startsWith(QStringLiteral("There was a problem removing")));
        QFile check(victim);
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), indexOf({"Kept"}));
    }

    void aFailedSaveChangesNeitherFile_data() {
        QTest::addColumn<QByteArray>("index");
        QTest::newRow("damaged count") << QByteArray("many\r\n");
        QTest::newRow("short list") << QByteArray(" 3 \r\nOne\r\n");
        QStringList full;
        for (int i = 1; i <= 1000; ++i) full << QStringLiteral("T%1").arg(i);
        QTest::newRow("1000 titles") << indexOf(full);
        QTest::newRow("missing") << QByteArray();
    }
    void aFailedSaveChangesNeitherFile() {
        QFETCH(QByteArray, index);
        Session s;
        // A worksheet left in the folder but not listed: saving its title must not replace it.
        const QByteArray loose = worksheetBytes(QStringLiteral("Loose"));
        s.write(QStringLiteral("multiple/Loose.txt"), loose);
        if (index.isEmpty()) QVERIFY(QFile::remove(s.path(QStringLiteral("multiple/track.txt"))));
        else s.write(QStringLiteral("multiple/track.txt"), index);
        saveThroughWizard(QStringLiteral("Loose"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QCOMPARE(s.read(QStringLiteral("multiple/Loose.txt")), loose);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
    }

    void anIndexThatFailsLateGetsTheOldWorksheetBack() {
        Session s;
        const QByteArray loose = worksheetBytes(QStringLiteral("Loose"));
        s.write(QStringLiteral("multiple/Loose.txt"), loose);
        const QByteArray index = s.read(QStringLiteral("multiple/track.txt"));
        failWriteHook = [](const QString& path) { return path.endsWith(QLatin1String("track.txt")); };
        saveThroughWizard(QStringLiteral("Loose"));
        QCOMPARE(s.messages.last().text, SaveProblem);
        QCOMPARE(s.read(QStringLiteral("multiple/Loose.txt")), loose);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
    }

    void aCatalogueInUseElsewhereChangesNothing() {
        Session s;
        const QByteArray index = s.read(QStringLiteral("multiple/track.txt"));
        QLockFile other(s.path(QStringLiteral("multiple/track.lock")));
        QVERIFY(other.tryLock(0));
        worksheetfiles::CatalogueLock::WaitMs = 300;
        saveThroughWizard(QStringLiteral("Waiting"));
        QCOMPARE(s.messages.last().text, worksheetfiles::CatalogueBusy);
        QVERIFY(!QFile::exists(s.path(QStringLiteral("multiple/Waiting.txt"))));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
        other.unlock();
        saveThroughWizard(QStringLiteral("Waiting"));
        QCOMPARE(s.messages.last().text, Saved);
    }

    void twoComputersSavingIntoOneFolderLoseNothing() {
        Session s;
        const QString self = QCoreApplication::applicationFilePath();
        QProcess a, b;
        for (QProcess* p : {&a, &b}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            p->setProcessEnvironment(env);
            p->setProcessChannelMode(QProcess::ForwardedChannels);
        }
        a.start(self, {QStringLiteral("--save-titles"), s.dir.path(), QStringLiteral("First ")});
        b.start(self, {QStringLiteral("--save-titles"), s.dir.path(), QStringLiteral("Second ")});
        QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        worksheetfiles::IndexRead();
        QCOMPARE(Module1::WorksheetCount, 100);
        QSet<QString> titles;
        for (int i = 1; i <= 100; ++i) titles << Module1::WorksheetNames[i];
        for (int i = 1; i <= 50; ++i)
            QVERIFY(titles.contains(QStringLiteral("First %1").arg(i)) && titles.contains(QStringLiteral("Second %1").arg(i)));
        QVERIFY(s.read(QStringLiteral("multiple/track.txt")).startsWith(" 100 \r\n"));
        QVERIFY(!QFile::exists(s.path(QStringLiteral("multiple/track.lock"))));
    }

    void quotedTitlesReadBackAfterADelete() {
        Session s;
        s.write(QStringLiteral("multiple/track.txt"), " 4 \r\n\"a,b\"\r\nGone\r\n\" lead\"\r\nLast\r\n");
        worksheetfiles::IndexRemove(QStringLiteral("Gone"));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), QByteArray(" 3 \r\n\"a,b\"\r\n\" lead\"\r\nLast\r\n"));
        worksheetfiles::IndexRead();
        QCOMPARE(Module1::WorksheetCount, 3);
        QCOMPARE(Module1::WorksheetNames[1], QStringLiteral("a,b"));
        QCOMPARE(Module1::WorksheetNames[2], QStringLiteral(" lead"));
        QCOMPARE(Module1::WorksheetNames[3], QStringLiteral("Last"));
    }

    void aVeryLongQuestionIsKeptWhole() {
        Session s;
        QString longText;
        while (longText.size() < 40000) longText += QStringLiteral("How many primes are there below a million? ");
        s.write(QStringLiteral("multiple/Long.txt"), worksheetBytes(QStringLiteral("Long")));
        s.write(QStringLiteral("multiple/track.txt"), indexOf({"Long"}));
        auto* w = forms::wizard.get();
        fillValid(w, QStringLiteral("Long"));
        w->Text2(3)->SetText(longText);
        testutil::click(w->Label3(1));
        QCOMPARE(s.messages.last().text, Saved);
        FileChannel::one().OpenForInput(QStringLiteral("multiple/Long.txt"));
        Module1::LoadWorksheet();
        FileChannel::one().Close();
        QCOMPARE(Module1::QuestionText[4], longText);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--save-titles")
        return saveTitles(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    WorksheetSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_worksheet_safety.moc"
