// The runtime under the screens where the screen tests do not reach: the field reader's corners,
// Windows-1252, pictures read ahead or unreadable, painting in pieces, untrapped errors.
#include "TestUtil.h"
#include "platform/WorkingFiles.h"

#include <QElapsedTimer>
#include <atomic>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using testutil::Session;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void fieldReaderFollowsTheDelimitedInputRule() {
        FieldReader r(QStringLiteral("  lead,second\r\n \r\n\"quoted, with comma\" tail\r\nlf only\nlast \r\n "));
        for (const char* field : {"lead", "second", "", "quoted, with comma", "lf only", "last ", ""})
            QCOMPARE(r.next(), QString::fromLatin1(field));  // a line of one blank is an empty field
        QVERIFY(r.atEnd());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r.next());
    }

    void windows1252BothWays() {
        QCOMPARE(encode1252(QStringLiteral("café €")), QByteArray("caf\xE9 \x80"));
        QCOMPARE(decode1252(QByteArray("na\xEFve \x93q\x94")), QStringLiteral("naïve “q”"));
        QVERIFY(canEncode1252(QStringLiteral("René’s")));
        QVERIFY(!canEncode1252(QStringLiteral("łódź")));
        QVERIFY(!canEncode1252(QStringLiteral("pi 🙂")));
    }

    // A picture read ahead on a worker is taken only while the file is as it was read: one changed
    // since is read again, and one that cannot be read fails as it would have unread.
    void picturesReadAheadAreTheFilesAsTheyAreNow() {
        Session s;
        const auto save = [](const QString& file, QSize size, Qt::GlobalColor colour) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colour);
            QVERIFY(image.save(file, "PNG"));
        };
        save(QStringLiteral("Images/ahead.png"), {4, 4}, Qt::red);
        readAhead(QStringLiteral("Images\\ahead.png"));
        save(QStringLiteral("Images/ahead.png"), {6, 6}, Qt::blue);
        const Picture now = LoadPicture(QStringLiteral("Images\\ahead.png"));
        QCOMPARE(now.size(), QSize(6, 6));
        QCOMPARE(now.image().pixelColor(1, 1), QColor(Qt::blue));

        save(QStringLiteral("Images/kept.png"), {5, 5}, Qt::green);
        readAhead(QStringLiteral("Images\\kept.png"));
        QCOMPARE(LoadPicture(QStringLiteral("Images\\kept.png")).image().pixelColor(2, 2), QColor(Qt::green));
        // Shown, then changed on disk while the program runs (same size, a later time): the next
        // visit shows the new picture, not the one kept from the last.
        save(QStringLiteral("Images/kept.png"), {5, 5}, Qt::yellow);
        QFile kept(QStringLiteral("Images/kept.png"));
        QVERIFY(kept.open(QIODevice::ReadWrite));
        QVERIFY(kept.setFileTime(QDateTime::currentDateTime().addSecs(2), QFileDevice::FileModificationTime));
        kept.close();
        QCOMPARE(LoadPicture(QStringLiteral("Images\\kept.png")).image().pixelColor(2, 2), QColor(Qt::yellow));

        // A file that is no picture fails, read ahead or not; no file at all is an empty picture.
        s.write(QStringLiteral("Images/broken.jpg"), "not a picture");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QStringLiteral("Images\\broken.jpg")));
        s.write(QStringLiteral("Images/broken2.jpg"), "not a picture");
        readAhead(QStringLiteral("Images\\broken2.jpg"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QStringLiteral("Images\\broken2.jpg")));
        QVERIFY(LoadPicture(QString()).isNull());
        QCOMPARE(resolvePath(QStringLiteral("Multiple/Track.TXT")), QStringLiteral("multiple/track.txt"));
    }

    // Round an opaque picture box Qt repaints a frame as several rectangles, each painted on its own:
    // the frame must come out as it does when it is painted whole (picture box hidden).
    void framePaintedInPiecesMatchesFramePaintedWhole() {
        Session s;
        forms::TitleScreen.show();
        QWidget* frame = forms::TitleScreen->ui().panel->widget();
        QWidget* picture = forms::TitleScreen->ui().picture->widget();
        const QImage pieces = frame->grab().toImage();
        picture->hide();
        const QImage whole = frame->grab().toImage();
        QCOMPARE(pieces.size(), whole.size());
        const QRect hole = picture->geometry();
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (!hole.contains(x, y) && pieces.pixel(x, y) != whole.pixel(x, y)) ++differing;
        QCOMPARE(differing, 0);
    }

    // What a pupil with write access to a shared folder can plant, read within a moment and refused:
    // a FIFO, an endless kernel file, a huge sparse file, a folder that is a link, a way out.
    void workingFilesReadOnlyPlainFilesWithinTheirLimit() {
        Session s;
        QTemporaryDir outside;
        QVERIFY(::mkfifo(qPrintable(s.path(QStringLiteral("multiple/fifo.txt"))), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/proc/self/pagemap"), s.path(QStringLiteral("multiple/pagemap.txt"))));
        s.write(QStringLiteral("multiple/huge.txt"), "");
        QVERIFY(QFile::resize(s.path(QStringLiteral("multiple/huge.txt")), qint64(1) << 30));
        QVERIFY(QFile::link(outside.path(), s.path(QStringLiteral("linked"))));
        QFile(outside.filePath(QStringLiteral("x.txt"))).open(QIODevice::WriteOnly);
        QElapsedTimer t;
        t.start();
        for (const char* path : {"multiple\\fifo.txt", "multiple/pagemap.txt", "multiple/huge.txt", "linked/x.txt",
                                 "multiple/../multiple/track.txt", "multiple/missing.txt"})
            QVERIFY_THROWS_EXCEPTION(RuntimeError, readWorkingFile(QString::fromLatin1(path), FileLimits::Text));
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(readWorkingFile(QStringLiteral("Multiple\\Track.TXT"), FileLimits::Text), s.read(QStringLiteral("multiple/track.txt")));
        // A file grown past the limit is refused too, not read to its end.
        s.write(QStringLiteral("multiple/long.txt"), QByteArray(FileLimits::Text + 1, 'x'));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, readWorkingFile(QStringLiteral("multiple/long.txt"), FileLimits::Text));
    }

    // A pupil swaps a link to the teacher's file, a FIFO and a folder in at the index's place during saves
    // and reads: the private file never changes, no read blocks, every save replaces the entry whole or fails.
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
        QElapsedTimer slowest;
        qint64 worst = 0;
        int saved = 0, torn = 0;
        for (int i = 0; i < 500; ++i) {
            slowest.start();
            try {
                replaceWorkingFile(QStringLiteral("multiple\\track.txt"), " 1 \r\nSheet\r\n");
                ++saved;
            } catch (const RuntimeError&) {
            }
            try {
                const QByteArray read = readWorkingFile(QStringLiteral("multiple\\track.txt"), FileLimits::Text);
                if (read != " 1 \r\nSheet\r\n") ++torn;
            } catch (const RuntimeError&) {
            }
            worst = std::max(worst, slowest.elapsed());
        }
        stop = true;
        pupil.join();
        QCOMPARE(s.read(notes), QByteArray("the teacher's notes"));
        QVERIFY2(worst < 1000, qPrintable(QString::number(worst)));
        QCOMPARE(torn, 0); // whatever was read was a whole save, never the notes nor a part
        // Saves land only while the entry is a plain file or absent, which the pupil's pace decides;
        // once the pupil stops and the planted entry is cleared, the next save lands whole.
        qDebug() << saved << "of 500 saves landed during the swaps";
        ::unlink(index.constData());
        ::rmdir(index.constData());
        replaceWorkingFile(QStringLiteral("multiple\\track.txt"), " 1 \r\nSheet\r\n");
        QCOMPARE(readWorkingFile(QStringLiteral("multiple\\track.txt"), FileLimits::Text), QByteArray(" 1 \r\nSheet\r\n"));
        // No new file left behind by a save that failed.
        const QStringList left = QDir(s.path(QStringLiteral("multiple"))).entryList(QStringList{QStringLiteral(".*.new")}, QDir::Files | QDir::Hidden);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    }

    void errorsInEventsBecomeMessages() {
        Session s;
        run([] { throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: x")); });
        QCOMPARE(s.messages.size(), 1);
        QVERIFY(s.messages[0].text.contains(QStringLiteral("File not found")));
        QCOMPARE(s.messages[0].caption, ProgramTitle);
    }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
