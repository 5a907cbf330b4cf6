// The runtime under the screens where the screen tests do not reach: the field reader's corners,
// Windows-1252, unreadable pictures, painting in pieces, untrapped errors.
#include "TestUtil.h"
#include "platform/FileChannel.h"

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

    void picturesThatCannotBeRead() {
        Session s;
        QCOMPARE(resolvePath(QStringLiteral("Multiple/Track.TXT")), QStringLiteral("multiple/track.txt"));
        QVERIFY(LoadPicture(QString()).isNull());
        s.write(QStringLiteral("Images/broken.jpg"), "not a picture");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QStringLiteral("Images\\broken.jpg")));
    }

    // Round an opaque picture box Qt repaints a frame as several rectangles, each painted on its own:
    // the frame must come out as it does when it is painted whole (picture box hidden).
    void framePaintedInPiecesMatchesFramePaintedWhole() {
        Session s;
        forms::Titlefrm->Show();
        QWidget* frame = testutil::ui<Frame>(forms::Titlefrm, "Frame1")->widget();
        QWidget* picture = testutil::ui<PictureBox>(forms::Titlefrm, "Picture1")->widget();
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
