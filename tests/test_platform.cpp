// The runtime under the screens: number text, the field reader, Windows-1252 files, paths,
// text boxes and option groups.
#include "TestUtil.h"
#include "platform/FileChannel.h"

using namespace platform;
using testutil::Session;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void numbersBecomeTextWithTheSignPlace() {
        QCOMPARE(QStringLiteral("Question") + Str(3), QStringLiteral("Question 3"));
        QCOMPARE(Str(0), QStringLiteral(" 0"));
        QCOMPARE(Str(-2), QStringLiteral("-2"));
        QCOMPARE(PrintNumber(12), QStringLiteral(" 12 "));
        QCOMPARE(Val(QStringLiteral(" 4 ")), 4LL);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Val(QStringLiteral("four")));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Val(QString()));
    }

    void fieldReaderFollowsTheDelimitedInputRule() {
        FieldReader r(QStringLiteral("  lead,second\r\n \r\n\"quoted, with comma\" tail\r\nlf only\nlast \r\n"));
        QCOMPARE(r.next(), QStringLiteral("lead"));
        QCOMPARE(r.next(), QStringLiteral("second"));
        QCOMPARE(r.next(), QString());  // a line of one blank is an empty field
        QCOMPARE(r.next(), QStringLiteral("quoted, with comma"));
        QCOMPARE(r.next(), QStringLiteral("lf only"));
        QCOMPARE(r.next(), QStringLiteral("last "));
        QVERIFY(r.atEnd());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r.next());
    }

    void fieldReaderLastLineWithoutLineEnd() {
        FieldReader r(QStringLiteral("a\r\n "));
        QCOMPARE(r.next(), QStringLiteral("a"));
        QCOMPARE(r.next(), QString());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r.next());
    }

    void windows1252BothWays() {
        QCOMPARE(encode1252(QStringLiteral("café €")), QByteArray("caf\xE9 \x80"));
        QCOMPARE(decode1252(QByteArray("na\xEFve \x93q\x94")), QStringLiteral("naïve “q”"));
        QVERIFY(canEncode1252(QStringLiteral("René’s")));
        QVERIFY(!canEncode1252(QStringLiteral("łódź")));
        QVERIFY(!canEncode1252(QStringLiteral("pi 🙂")));
    }

    void fileOutputReplacesOnlyWhenWhole() {
        Session s;
        s.write(QStringLiteral("multiple/a.txt"), "old\r\n");
        auto& f = FileChannel::one();
        f.OpenForOutput(QStringLiteral("multiple\\a.txt"));
        f.PrintLine(QStringLiteral("new"));
        f.Abandon();  // an error part-way: the old file stands
        QCOMPARE(s.read(QStringLiteral("multiple/a.txt")), QByteArray("old\r\n"));
        f.OpenForOutput(QStringLiteral("multiple/a.txt"));
        f.PrintNumber(3);
        f.PrintLine(QStringLiteral("é"));
        f.Close();
        QCOMPARE(s.read(QStringLiteral("multiple/a.txt")), QByteArray(" 3 \r\n\xE9\r\n"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, f.OpenForInput(QStringLiteral("multiple/none.txt")));
        QCOMPARE(f.mode(), FileChannel::Mode::Closed);
    }

    void pathsIgnoreCaseAndSeparator() {
        Session s;
        QCOMPARE(resolvePath(QStringLiteral("images\\EUCLIDSM.jpg")), QStringLiteral("Images/euclidsm.jpg"));
        QCOMPARE(resolvePath(QStringLiteral("Multiple/Track.TXT")), QStringLiteral("multiple/track.txt"));
        QCOMPARE(resolvePath(QStringLiteral("nowhere\\x.jpg")), QStringLiteral("nowhere/x.jpg"));
        QVERIFY(!LoadPicture(QStringLiteral("images\\logo2.jpg")).isNull());
        QVERIFY(LoadPicture(QString()).isNull());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QStringLiteral("Images\\missing.jpg")));
        s.write(QStringLiteral("Images/broken.jpg"), "not a picture");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QStringLiteral("Images\\broken.jpg")));
    }

    void textBoxLimitsTypingOnly() {
        Session s;
        TextBox box(Stage::instance());
        box.SetMaxLength(5);
        box.show();
        QTest::keyClicks(&box, QStringLiteral("abcdefgh"));
        QCOMPARE(box.Text(), QStringLiteral("abcde"));
        box.SetText(QStringLiteral("a much longer text"));
        QCOMPARE(box.Text(), QStringLiteral("a much longer text"));
        int seen = 0;
        box.onKeyPress = [&](int& key) { seen = key; };
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(seen, 13);
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
