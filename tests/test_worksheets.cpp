// Worksheets: the wizard, the catalogue, and a teacher's work kept safe whatever fails.
#include "TestUtil.h"

#include <QLockFile>
#include <QProcess>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using testutil::Session;
using testutil::fillValid;
using testutil::indexOf;
using testutil::worksheetBytes;

namespace {

const QString Saved = QStringLiteral("Your worksheet has been saved.");
const QString SaveProblem = QStringLiteral("There was a problem saving your worksheet");

// Saves a complete worksheet under a title through the wizard, as a teacher does.
void saveThroughWizard(const QString& title) {
    auto* w = screens().find<WizardScreen>() ? screens().find<WizardScreen>() : &screens().open<WizardScreen>();
    fillValid(w, title);
    testutil::click(w->ui().save);
}

// The second computer of the shared-folder test: saves 50 titles into the folder it is given.
int saveTitles(const QString& folder, const QString& prefix) {
    testutil::initApp();
    QDir::setCurrent(folder);
    QStringList failed;
    bool busy = false;
    msgBoxHook = [&failed, &busy](const QString& text, const QString&) {
        busy = text == worksheetfiles::CatalogueBusy;
        if (text != Saved && !busy) failed << text;
        return Answer::Ok;
    };
    // A save told the catalogue is busy is made again, as a teacher would; nothing else may fail.
    for (int i = 1; i <= 50; ++i)
        for (int attempt = 0; attempt < 20 && (attempt == 0 || busy); ++attempt) saveThroughWizard(prefix + QString::number(i));
    screens().closeAll();
    std::fprintf(stderr, "%s", qPrintable(failed.join(u'\n')));
    return int(failed.size());
}

// A lock file as QLockFile writes it, for a program `pid` on computer `host`, made `ageSeconds` ago.
void writeLock(const QString& path, qint64 pid, const QString& host, int ageSeconds) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::number(pid) + "\nvellacourt\n" + host.toUtf8() + "\n");
    QVERIFY(f.flush() &&
            f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
}

// This test program again, offscreen whatever platform the run itself has.
void startSelf(QProcess& p, const QString& program, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, args);
}

}  // namespace

class WorksheetsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() {
        failWriteHook = nullptr;
        worksheetfiles::CatalogueLock::WaitMs = 1000;
        Session::reset();
    }

    void aFullDiskNeverReportsSuccess() {
        QTemporaryDir disk;  // a small disk of its own
        if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=256k", "tmpfs", disk.path()}) != 0)
            QSKIP("This machine does not allow mounting a small tmpfs, so a full disk cannot be tried.");
        const auto unmount = qScopeGuard([&disk] {
            QDir::setCurrent(QDir::tempPath());
            QProcess::execute(QStringLiteral("umount"), {disk.path()});
        });
        Session s;
        Session::copyTree(QStringLiteral(DATA_DIR "/multiple"), disk.filePath(QStringLiteral("multiple")));
        QDir::setCurrent(disk.path());
        const QByteArray sheet = worksheetBytes(QStringLiteral("Sheet")), index = indexOf({"Sheet"});
        s.write(disk.filePath(QStringLiteral("multiple/Sheet.txt")), sheet);
        s.write(disk.filePath(QStringLiteral("multiple/track.txt")), index);
        // Full but for one page: room for the catalogue's lock file, none for a worksheet.
        QFile filler(disk.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) continue;
        filler.resize(filler.size() - 4096);
        saveThroughWizard(QStringLiteral("Sheet"));
        QVERIFY(s.messages.last().text == SaveProblem &&
                s.read(disk.filePath(QStringLiteral("multiple/Sheet.txt"))) == sheet);
        saveThroughWizard(QStringLiteral("Another"));
        QVERIFY(s.messages.last().text == SaveProblem &&
                !QFile::exists(disk.filePath(QStringLiteral("multiple/Another.txt"))));
        QCOMPARE(s.read(disk.filePath(QStringLiteral("multiple/track.txt"))), index);
    }

    // Whatever fails, saving an unlisted worksheet leaves it and the index as they were; no link written through.
    void aFailedSaveChangesNeitherFile_data() {
        QTest::addColumn<QByteArray>("index");
        QTest::addColumn<QString>("failing");  // the file whose writing fails, if any
        QTest::addColumn<QString>("said");
        const QString damaged = worksheetfiles::CatalogueDamaged;
        QTest::newRow("count past 2^31") << QByteArray(" 2147483649 \r\n") << QString() << damaged;  // never taken as 1
        QTest::newRow("count 1e3") << QByteArray("1e3\r\nOne\r\n") << QString() << damaged;  // not 1000, 999 blank
        QTest::newRow("index write fails") << indexOf({"Other"}) << "track.txt" << SaveProblem;
        QTest::newRow("worksheet write fails") << indexOf({"Loose"}) << "Loose.txt" << SaveProblem;
        QTest::newRow("a link to a teacher's file") << indexOf({"Other"}) << "link" << SaveProblem;
    }
    void aFailedSaveChangesNeitherFile() {
        QFETCH(QByteArray, index);
        QFETCH(QString, failing);
        QFETCH(QString, said);
        Session s;
        const QByteArray loose = worksheetBytes(QStringLiteral("Loose"));
        s.write(QStringLiteral("multiple/track.txt"), index);
        QTemporaryDir outside;
        const QString target = outside.filePath(QStringLiteral("Loose.txt"));
        const bool link = failing == QLatin1String("link");
        if (link) QVERIFY(QFile::link(target, s.path(QStringLiteral("multiple/Loose.txt"))));
        if (!link && !failing.isEmpty())
            failWriteHook = [failing](const QString& path) { return path.endsWith(failing); };
        s.write(link ? target : QStringLiteral("multiple/Loose.txt"), loose);
        saveThroughWizard(QStringLiteral("Loose"));
        QCOMPARE(s.messages.last().text, said);
        QCOMPARE(s.read(QStringLiteral("multiple/Loose.txt")), loose);  // through a link: the file it names
        if (link) QCOMPARE(QFile::symLinkTarget(s.path(QStringLiteral("multiple/Loose.txt"))), target);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
        QCOMPARE(FileChannel::one().mode(), FileChannel::Mode::Closed);
    }

    // The catalogue's lock: held (by the toolkit's lock file, as an earlier version holds it), fresh from a
    // computer ahead of our clock, stale, left by an ended program, a folder; and what a pupil plants: a
    // FIFO, a link or a fresh 1 GB sparse file (removed, never followed nor read).
    void theCatalogueLock() {
        const QString busy = worksheetfiles::CatalogueBusy;
        const struct {
            QString host;    // the lock file's computer; empty: a lock held here now; else what is planted
            qint64 pid;      // past any process id: a program here that has ended
            int ageSeconds;  // negative: ahead of our clock
            QString said;
        } locks[] = {{"", 0, 0, busy},
                     {"other", 1, -40, busy},
                     {"other", 1, 130, Saved},
                     {QSysInfo::machineHostName(), 1 << 30, 0, Saved},
                     {"folder", 0, 0, worksheetfiles::CatalogueLockStuck},
                     {"fifo", 0, 0, Saved},
                     {"link", 0, 0, Saved},
                     {"sparse", 0, 0, Saved}};
        for (auto [host, pid, ageSeconds, said] : locks) {
            Session s;
            QTemporaryDir outside;
            const QString victim = outside.filePath(QStringLiteral("track.lock"));
            s.write(victim, "a teacher's own lock");
            const QByteArray index = s.read(QStringLiteral("multiple/track.txt"));
            const QString lockPath = s.path(QStringLiteral("multiple/track.lock"));
            QLockFile held(lockPath);
            if (host.isEmpty()) QVERIFY(held.tryLock(0));
            else if (host == QLatin1String("folder")) QVERIFY(QDir().mkdir(lockPath));
            else if (host == QLatin1String("fifo")) QVERIFY(::mkfifo(qPrintable(lockPath), 0600) == 0);
            else if (host == QLatin1String("link")) QVERIFY(QFile::link(victim, lockPath));
            else if (host == QLatin1String("sparse")) QVERIFY(::truncate((s.write(lockPath, ""), qPrintable(lockPath)), 1LL << 30) == 0);
            else writeLock(lockPath, pid, host, ageSeconds);
            worksheetfiles::CatalogueLock::WaitMs = 300;
            QElapsedTimer t;
            t.start();
            saveThroughWizard(QStringLiteral("Waiting"));
            QVERIFY2(s.messages.last().text == said, qPrintable(host + QStringLiteral(": ") + s.messages.last().text));
            QVERIFY2(t.elapsed() < 5000, qPrintable(host));  // a hang, not a speed
            QVERIFY(said == Saved || !QFile::exists(s.path(QStringLiteral("multiple/Waiting.txt"))));
            QVERIFY(said == Saved || s.read(QStringLiteral("multiple/track.txt")) == index);
            QCOMPARE(s.read(victim), QByteArray("a teacher's own lock"));
        }
    }

    // A worksheet folder that is a link to a teacher's private folder: the save says so and changes
    // nothing there, not even that folder's own hour-old lock.
    void aLinkedWorksheetFolderIsNeverWrittenThrough() {
        Session s;
        QTemporaryDir teacher;
        Session::copyTree(s.path(QStringLiteral("multiple")), teacher.path());
        writeLock(teacher.filePath(QStringLiteral("track.lock")), 1, QStringLiteral("other"), 3600);
        QVERIFY(QDir(s.path(QStringLiteral("multiple"))).removeRecursively() && QFile::link(teacher.path(), s.path(QStringLiteral("multiple"))));
        const QStringList before = QDir(teacher.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const QByteArray lock = s.read(teacher.filePath(QStringLiteral("track.lock")));
        saveThroughWizard(QStringLiteral("Mine"));
        QCOMPARE(s.messages.last().text, worksheetfiles::CatalogueNoFolder);
        QCOMPARE(QDir(teacher.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        QCOMPARE(s.read(teacher.filePath(QStringLiteral("track.lock"))), lock);
    }

    // A pupil exchanging the lock with a FIFO, a link and a plain file of his own during 500 saves and
    // 200 deletes: none hangs, and every title saved and not deleted is listed once.
    void saveAndDeleteWhileTheLockIsExchanged() {
        Session s;
        const QByteArray lock = s.path(QStringLiteral("multiple/track.lock")).toLocal8Bit();
        const QByteArray staged = s.path(QStringLiteral("multiple/staged")).toLocal8Bit();
        std::atomic<bool> stop{false};
        std::thread pupil([&] {
            for (int i = 0; !stop; ++i) {
                ::unlink(staged.constData());
                if (i % 3 == 0) ::mkfifo(staged.constData(), 0600);
                else if (i % 3 == 1) ::symlink("/dev/zero", staged.constData());
                else ::close(::open(staged.constData(), O_WRONLY | O_CREAT, 0600));
                ::rename(staged.constData(), lock.constData());
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        worksheetfiles::CatalogueLock::WaitMs = 300;
        qint64 longest = 0;
        QSet<QString> kept;
        for (int i = 0; i < 700; ++i) {
            const QString title = QStringLiteral("Raced %1").arg(i % 500);
            QElapsedTimer t;
            t.start();
            try {
                if (i < 500) worksheetfiles::IndexAppend(title), kept.insert(title);
                else worksheetfiles::IndexRemove(title), kept.remove(title);
            } catch (const std::exception&) {  // busy, or the lock could not be made: nothing changed
            }
            longest = std::max(longest, t.elapsed());
        }
        stop = true;
        pupil.join();
        QVERIFY2(longest < 3000, qPrintable(QString::number(longest)));  // a hang, not a speed
        QVERIFY(kept.size() > 100);  // most changes got through the pupil's planting
        worksheetfiles::IndexRead();
        const auto& names = core::shared().worksheetNames;
        QSet<QString> listed;
        for (int i = 1; i <= core::shared().worksheetCount; ++i)
            if (names[i].startsWith(QLatin1String("Raced "))) listed.insert(names[i]);
        QCOMPARE(listed, kept);
    }

    // Another user's stale lock in a sticky folder is said to be stuck, not "busy" for ever (needs root).
    void anotherUsersStaleLockIsSaid() {
        if (getuid() != 0) QSKIP("Only root can leave a lock of another user's to try this.");
        Session s;
        const QString folder = s.path(QStringLiteral("multiple"));
        QFile(s.dir.path()).setPermissions(QFileDevice::Permissions(0x7777));
        QVERIFY(::chmod(qPrintable(folder), 01777) == 0 && ::chmod(qPrintable(folder + "/track.txt"), 0666) == 0);
        writeLock(folder + "/track.lock", 1, QStringLiteral("other"), 3600);
        QProcess other;
        other.setProcessChannelMode(QProcess::MergedChannels);
        startSelf(other, QStringLiteral("setpriv"),
                  {"--reuid=nobody", "--regid=nogroup", "--clear-groups", QCoreApplication::applicationFilePath(),
                   "--save-once", s.dir.path(), "Mine"});
        QVERIFY(other.waitForFinished(60000));
        const QByteArray said = other.readAll();
        if (other.exitCode() != 0)
            QSKIP(qPrintable(QStringLiteral("This test program cannot run as another user here: ") + QString::fromLocal8Bit(said)));
        QVERIFY2(said.contains(worksheetfiles::CatalogueLockStuck.toUtf8()), said.constData());
        QVERIFY(!QFile::exists(folder + "/Mine.txt"));
    }

    void twoComputersSavingIntoOneFolderLoseNothing() {
        Session s;
        QProcess a, b;
        for (auto [p, prefix] : {std::pair{&a, "First "}, std::pair{&b, "Second "}}) {
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            startSelf(*p, QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--save-titles"), s.dir.path(), prefix});
        }
        QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000) && a.exitCode() == 0 && b.exitCode() == 0);
        worksheetfiles::IndexRead();
        QCOMPARE(core::shared().worksheetCount, 100);
        const auto& names = core::shared().worksheetNames;
        QCOMPARE(QSet<QString>(names.begin() + 1, names.begin() + 101).size(), 100);  // each of the 100 once
        QVERIFY(!QFile::exists(s.path(QStringLiteral("multiple/track.lock"))));
    }

    // Typed as a teacher types, saved byte for byte in the format, and opened again from the catalogue as typed.
    void typedWorksheetRoundTripsThroughTheCatalogue() {
        Session s;
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().wizard);
        auto* w = screens().find<WizardScreen>();
        testutil::type(w->ui().title, QStringLiteral("Doubles"));
        for (int q = 0; q < 10; ++q) {
            testutil::type(w->ui().questions[q],
                           QStringLiteral("Chloé thinks of %1, then doubles it. What does she get?").arg(q + 1));
            for (int k = 0; k < 4; ++k)
                testutil::type(w->ui().answers[4 * q + k], QString::number(2 * (q + 1) + k - q % 4));
            testutil::tick(w->ui().ticks[4 * q + q % 4]);
        }
        testutil::screenshot(QStringLiteral("wizard-filled"));
        // Saved by a teacher whose umask hides files from everyone: the group still reads them.
        const mode_t umask = ::umask(077);
        testutil::click(w->ui().save);
        ::umask(umask);
        QCOMPARE(s.messages.last().text, Saved);
        for (const char* file : {"multiple/Doubles.txt", "multiple/track.txt"})
            QVERIFY2(QFile::permissions(s.path(QString::fromLatin1(file))) & QFileDevice::ReadGroup, file);
        const QByteArray saved = s.read(QStringLiteral("multiple/Doubles.txt"));
        QVERIFY(saved.startsWith("Doubles\r\n \r\nChlo\xE9 thinks of 1& then doubles it. What does she get?\r\n2\r\n3\r\n4\r\n5\r\n1\r\n \r\n"));
        QCOMPARE(saved.count("\r\n"), 72);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf({"Doubles"}));
        testutil::click(w->ui().exit);
        testutil::click(screens().get<MainMenu>().ui().catalogue);
        testutil::click(screens().get<CatalogueScreen>().ui().edit);
        testutil::click(screens().get<CatalogueScreen>().ui().titles[0]);
        w = screens().find<WizardScreen>();
        QCOMPARE(w->ui().title->contents() + w->ui().questions[6]->contents() + w->ui().answers[39]->contents(),
                 QStringLiteral("DoublesChloé thinks of 7, then doubles it. What does she get?22"));
        for (int i = 0; i < 40; ++i) QCOMPARE(w->ui().ticks[i]->isTicked(), i % 4 == (i / 4) % 4);
    }

    // With anything typed or ticked since opened or saved, Escape and "Exit" ask first; "No" keeps the work.
    void leavingTheWizardAsksForUnsavedWork() {
        Session s;
        const QString ask = QStringLiteral(
            "You have not saved the changes to your worksheet. Do you want to leave without saving them?");
        const auto escape = [] { QTest::keyClick(screens().find<WizardScreen>(), Qt::Key_Escape); };
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().wizard);
        escape();
        QVERIFY(!screens().isOpen<WizardScreen>() && s.messages.isEmpty());
        // Left by a key, the menu comes back with the keyboard on its first entry, as for any key.
        QVERIFY(Control::of(QApplication::focusWidget()) && screens().get<MainMenu>().isAncestorOf(QApplication::focusWidget()));

        testutil::click(screens().get<MainMenu>().ui().wizard);
        WizardScreen* w = screens().find<WizardScreen>();
        testutil::type(w->ui().questions[0], QStringLiteral("What is half of 8?"));
        s.answer = Answer::No;
        escape();
        testutil::click(w->ui().exit);
        QVERIFY(s.messages.size() == 2 && s.messages[0].text == ask && s.messages[1].text == ask);
        QCOMPARE(w->ui().questions[0]->contents(), QStringLiteral("What is half of 8?"));

        s.answer = Answer::Ok;  // saved, it leaves at once
        fillValid(w, QStringLiteral("Halves"));
        testutil::click(w->ui().save);
        testutil::click(w->ui().exit);
        QVERIFY(!screens().isOpen<WizardScreen>() && s.messages.size() == 3);

        // Opened from the catalogue, a tick moved asks, and "Yes" leaves.
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().catalogue);
        testutil::click(screens().get<CatalogueScreen>().ui().edit);
        testutil::click(screens().get<CatalogueScreen>().ui().titles[0]);
        testutil::tick(screens().get<WizardScreen>().ui().ticks[1]);
        s.answer = Answer::Yes;
        escape();
        QVERIFY(!screens().isOpen<WizardScreen>() && s.messages.last().text == ask);
    }

    // What is missing is said in the order a teacher reads the sheet; nothing is written.
    void genworkChecksInOrder() {
        Session s;
        const QDir folder(s.path(QStringLiteral("multiple")));
        const QByteArray index = s.read(QStringLiteral("multiple/track.txt")),
                         pythagoras = s.read(QStringLiteral("multiple/Pythagoras.txt"));
        const QStringList files = folder.entryList(QDir::Files);
        auto* w = &screens().open<WizardScreen>();
        const WizardScreen::Controls& ui = w->ui();
        const struct {
            std::vector<TextBox*> emptied;
            int tickFlipped;  // -1: none
            QString said;
        } cases[] = {{{ui.title, ui.questions[2]}, -1, "You have not chosen a title for your worksheet"},
                     {{ui.answers[14]}, -1, "You have not completed Question 4"},  // answer C, with A ticked
                     {{ui.questions[4]}, 4, "You have not ticked the correct answer for Question 2"},
                     {{}, 27, "You have ticked more than one correct answer for Question 7"}};
        for (const auto& c : cases) {
            fillValid(w, QStringLiteral("Checks"));
            for (TextBox* box : c.emptied) box->setContents({});
            if (c.tickFlipped >= 0) ui.ticks[c.tickFlipped]->setTicked(!ui.ticks[c.tickFlipped]->isTicked());
            w->checkAndSave();
            QCOMPARE(s.messages.last().text, c.said);
        }
        // A title that cannot be a file name, or text the file cannot hold: refused with its reason, nothing written.
        fillValid(w, QString());
        for (const QString title : {"../escape", "TRACK", "pythagoras"}) {
            w->ui().title->setContents(title);
            w->checkAndSave();
            QCOMPARE(s.messages.last().text, worksheetfiles::TitleProblem(title, platform::topicsPresent()));
        }
        w->ui().title->setContents(QStringLiteral("Emoji"));
        w->ui().answers[4 * 6 + 2]->setContents(QStringLiteral("smile 🙂"));
        w->checkAndSave();
        QVERIFY(s.messages.last().text.startsWith(QStringLiteral("Question 7 contains a character")));
        w->ui().answers[4 * 6 + 2]->setContents(QStringLiteral("9 cm & 12 cm"));  // would come back "9 cm , 12 cm"
        w->checkAndSave();
        QCOMPARE(s.messages.last().text, QStringLiteral("Question 7 has an \"&\", which a worksheet cannot keep. Please write \"and\" instead."));
        QCOMPARE(folder.entryList(QDir::Files), files);
        QVERIFY(!QFile::exists(s.path(QStringLiteral("escape.txt"))));
        QCOMPARE(s.read(QStringLiteral("multiple/Pythagoras.txt")), pythagoras);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
    }

    // A delete asks first, keeps the worksheet's file, and redraws the page one title shorter.
    void deletingAsksAndKeepsTheFile() {
        Session s;
        QStringList titles;
        for (int i = 1; i <= 30; ++i) titles << QStringLiteral("Sheet %1").arg(i);
        s.write(QStringLiteral("multiple/Sheet 3.txt"), worksheetBytes(QStringLiteral("Sheet 3")));
        s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
        screens().show<CatalogueScreen>();
        auto* c = screens().find<CatalogueScreen>();
        testutil::screenshot(QStringLiteral("catalogue-page1"));
        testutil::click(c->ui().remove);
        s.answer = Answer::Cancel;
        testutil::click(c->ui().titles[2]);
        QCOMPARE(s.messages.last().text, QStringLiteral("Are you sure that you want to delete the worksheet Sheet 3?"));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles));
        s.answer = Answer::Ok;
        testutil::click(c->ui().titles[2]);
        titles.removeAt(2);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles));
        QVERIFY(QFile::exists(s.path(QStringLiteral("multiple/Sheet 3.txt"))));  // the file stays
        QCOMPARE(c->ui().titles[2]->text(), QStringLiteral("Sheet 4"));
    }

    // Deleting the last title of a page steps back to the last page with titles, also when another
    // computer has shortened the list by more than a page meanwhile; never an empty page.
    void deletingThePagesLastTitle() {
        const struct {
            int listed, pagesOn;   // titles listed, and pages turned on before the delete
            int onDisk;            // the list as another computer left it: titles 1 to onDisk - 1 and the last
            QString page, first;   // the page then shown, and its first title
            bool previous;
        } cases[] = {{25, 1, 25, "Page 1", "Sheet 1", false}, {73, 3, 30, "Page 2", "Sheet 25", true}};
        for (const auto& k : cases) {
            Session s;
            QStringList titles;
            for (int i = 1; i <= k.listed; ++i) titles << QStringLiteral("Sheet %1").arg(i);
            s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
            screens().show<CatalogueScreen>();
            auto* c = screens().find<CatalogueScreen>();
            for (int i = 0; i < k.pagesOn; ++i) testutil::click(c->ui().next);
            QCOMPARE(c->ui().titles[0]->text(), titles.last());
            s.write(QStringLiteral("multiple/track.txt"), indexOf(titles.mid(0, k.onDisk - 1) << titles.last()));
            testutil::click(c->ui().remove);
            testutil::click(c->ui().titles[0]);
            QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles.mid(0, k.onDisk - 1)));
            QCOMPARE(c->ui().pageNumber->text(), k.page);
            QVERIFY(c->ui().titles[0]->isShown() && c->ui().titles[0]->text() == k.first);
            QCOMPARE(c->ui().previous->isShown(), k.previous);
            QVERIFY(!c->ui().next->isShown());
        }
    }

    // A worksheet missing, short, outside the folder (or, edited, lettered) is said corrupted, and can be removed.
    void corruptedWorksheets() {
        Session s;
        QByteArray nonNumeric = worksheetBytes(QStringLiteral("Bad answer"));
        nonNumeric.replace("\r\n3\r\n \r\n", "\r\nC\r\n \r\n");
        s.write(QStringLiteral("multiple/Short.txt"), worksheetBytes(QStringLiteral("Short"), 9));
        s.write(QStringLiteral("multiple/Bad answer.txt"), nonNumeric);
        s.write(QStringLiteral("Outside.txt"), worksheetBytes(QStringLiteral("Outside")));
        const QStringList titles{"Missing", "Short", "../Outside", "Bad answer"};
        s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
        screens().show<CatalogueScreen>();
        auto* c = screens().find<CatalogueScreen>();
        for (bool editing : {false, true}) {
            if (editing) testutil::click(c->ui().edit);
            for (int slot = 0; slot < (editing ? 4 : 3); ++slot) {  // a letter for an answer is the quiz's to mark
                s.messages.clear();
                testutil::click(c->ui().titles[slot]);
                QVERIFY(s.messages.size() == 1 &&
                        s.messages[0].text == QStringLiteral("This worksheet seems to be corrupted."));
            }
        }
        QVERIFY(!screens().isOpen<WizardScreen>() && !screens().isOpen<QuizScreen>());  // nothing half-filled left behind
        testutil::click(c->ui().remove);
        testutil::click(c->ui().titles[0]);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles.mid(1)));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--save-once") {
        QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
        platform::msgBoxHook = [](const QString& text, const QString&) {
            std::printf("%s\n", qPrintable(text));
            return platform::Answer::Ok;
        };
        testutil::fillValid(&screens().open<WizardScreen>(), QString::fromLocal8Bit(argv[3]));
        screens().get<WizardScreen>().checkAndSave();
        return 0;
    }
    if (argc == 4 && QByteArray(argv[1]) == "--save-titles")
        return saveTitles(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    WorksheetsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_worksheets.moc"
