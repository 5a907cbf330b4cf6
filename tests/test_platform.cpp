// The runtime under the screens: fields and Windows-1252, pictures read ahead, painting, working files, errors.
#include "platform/screen/Navigator.h"
#include "TestUtil.h"
#include "platform/files/WorkingFiles.h"

#include <QElapsedTimer>
#include <atomic>
#include <sys/stat.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using testutil::Session;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void fieldsAndWindows1252() {
        FieldReader r(QStringLiteral("  lead,second\r\n \r\n\"quoted, with comma\" tail\r\nlf only\nlast \r\n "));
        for (const char* field : {"lead", "second", "", "quoted, with comma", "lf only", "last ", ""})
            QCOMPARE(r.next(), QString::fromLatin1(field));  // a line of one blank is an empty field
        QVERIFY(r.atEnd());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r.next());
        QCOMPARE(encode1252(QStringLiteral("café €")), QByteArray("caf\xE9 \x80"));
        QCOMPARE(decode1252(QByteArray("na\xEFve \x93q\x94")), QStringLiteral("naïve “q”"));
    }

    // A picture read ahead on a worker, or shown before, is taken only while the file is as it was read.
    void picturesReadAheadAreTheFilesAsTheyAreNow() {
        Session s;
        const auto save = [](const char* file, QSize size, Qt::GlobalColor colour) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colour);
            QVERIFY(image.save(QString::fromLatin1(file), "BMP"));
        };
        save("Images/ahead.bmp", {4, 4}, Qt::red);
        readAhead(QStringLiteral("Images\\ahead.bmp"));
        QTest::qWait(200);  // read on the worker before the file changes
        save("Images/ahead.bmp", {5, 5}, Qt::green);
        QCOMPARE(LoadPicture(QStringLiteral("Images\\ahead.bmp")).image().pixelColor(1, 1), QColor(Qt::green));
        // Shown, then changed on disk (same size, a later time): the next showing is the new picture.
        save("Images/ahead.bmp", {5, 5}, Qt::yellow);
        const timeval later[2] = {{::time(nullptr) + 2, 0}, {::time(nullptr) + 2, 0}};
        QVERIFY(::utimes("Images/ahead.bmp", later) == 0);
        QCOMPARE(LoadPicture(QStringLiteral("Images\\ahead.bmp")).image().pixelColor(1, 1), QColor(Qt::yellow));
    }

    // Round an opaque picture box a frame is repainted in pieces: it comes out as when painted whole.
    void framePaintedInPiecesMatchesFramePaintedWhole() {
        Session s;
        screens().show<TitleScreen>();
        QWidget* frame = screens().get<TitleScreen>().ui().panel->widget();
        QWidget* picture = screens().get<TitleScreen>().ui().picture->widget();
        QImage pieces = frame->grab().toImage();
        picture->hide();
        QImage whole = frame->grab().toImage();
        for (QImage* image : {&pieces, &whole}) QPainter(image).fillRect(picture->geometry(), Qt::black);
        QVERIFY(pieces == whole);
    }

    // What a pupil can plant (FIFO, endless or huge file, linked folder, a way out) is refused at once.
    void workingFilesReadOnlyPlainFilesWithinTheirLimit() {
        Session s;
        QTemporaryDir outside;
        QVERIFY(::mkfifo(qPrintable(s.path(QStringLiteral("multiple/fifo.txt"))), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/proc/self/pagemap"), s.path(QStringLiteral("multiple/pagemap.txt"))));
        s.write(QStringLiteral("multiple/huge.txt"), "");
        QVERIFY(QFile::resize(s.path(QStringLiteral("multiple/huge.txt")), qint64(1) << 30));
        QVERIFY(QFile::link(outside.path(), s.path(QStringLiteral("linked"))));
        s.write(outside.filePath(QStringLiteral("x.txt")), "");
        s.write(QStringLiteral("multiple/long.txt"), QByteArray(FileLimits::Text + 1, 'x'));  // just past the limit
        QElapsedTimer t;
        t.start();
        for (const char* path : {"multiple\\fifo.txt", "multiple/pagemap.txt", "multiple/huge.txt", "multiple/long.txt",
                                 "linked/x.txt", "multiple/../multiple/track.txt", "multiple/missing.txt"})
            QVERIFY_THROWS_EXCEPTION(RuntimeError, readWorkingFile(QString::fromLatin1(path), FileLimits::Text));
        QVERIFY(t.elapsed() < 1000);
        QVERIFY(!readWorkingFile(QStringLiteral("Multiple\\Track.TXT"), FileLimits::Text).isEmpty());
        // Renamed in other letters, the folder is found by its new name: no listing outlives a change.
        QVERIFY(QFile::rename(s.path(QStringLiteral("multiple")), s.path(QStringLiteral("MULTIPLE"))));
        QVERIFY(!readWorkingFile(QStringLiteral("Multiple\\Track.TXT"), FileLimits::Text).isEmpty());
    }

    // A pupil swapping a link, a FIFO and a folder in at the index's place never reaches outside nor tears a save.
    void swapsDuringSavesAndReadsNeverReachOutside() {
        Session s;
        QTemporaryDir outside;
        const QString notes = outside.filePath(QStringLiteral("notes.txt"));
        s.write(notes, "the teacher's notes");
        const QByteArray index = s.path(QStringLiteral("multiple/track.txt")).toLocal8Bit();
        const QByteArray staged = s.path(QStringLiteral("multiple/staged")).toLocal8Bit();
        std::atomic<bool> stop{false};
        std::thread pupil([&] {
            for (int i = 0; !stop; ++i) {
                ::unlink(staged.constData());
                ::rmdir(staged.constData());
                if (i % 4 == 0) ::symlink(qPrintable(notes), staged.constData());
                else if (i % 4 == 1) ::mkfifo(staged.constData(), 0600);
                else if (i % 4 == 2) ::mkdir(staged.constData(), 0700);
                else ::rmdir(index.constData()); // a planted folder taken away leaves room for a save
                ::rename(staged.constData(), index.constData());
            }
        });
        const QByteArray sheet(" 1 \r\nSheet\r\n");
        const QString track = QStringLiteral("multiple\\track.txt");
        int torn = 0;
        for (int i = 0; i < 1000; ++i) {
            try {
                if (i % 2 == 0) replaceWorkingFile(track, sheet);
                if (i % 2 == 1) torn += readWorkingFile(track, FileLimits::Text) != sheet;
            } catch (const RuntimeError&) {
            }
        }
        stop = true;
        pupil.join();
        QCOMPARE(s.read(notes), QByteArray("the teacher's notes"));
        QCOMPARE(torn, 0);  // whatever was read was a whole save, never the notes nor a part
        // Saves land while the entry is a plain file or absent; with the pupil gone, the next lands whole.
        ::unlink(index.constData());
        ::rmdir(index.constData());
        replaceWorkingFile(track, sheet);
        QCOMPARE(readWorkingFile(track, FileLimits::Text), sheet);
        // No new file left behind by a save that failed.
        const QStringList left = QDir(s.path(QStringLiteral("multiple"))).entryList(QStringList{QStringLiteral(".*.new")}, QDir::Files | QDir::Hidden);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    }

    void errorsInEventsBecomeMessages() {
        Session s;
        run([] { throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: x")); });
        QVERIFY(s.messages.size() == 1 && s.messages[0].text.contains(QStringLiteral("File not found")) &&
                s.messages[0].caption == ProgramTitle);
    }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
