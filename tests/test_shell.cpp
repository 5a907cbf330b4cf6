// The shell: the standard frame, the title screen and exit loop, the main menu and the topic menu.
#include "TestUtil.h"
#include "shell/Forms.h"
#include "shell/Module1.h"

using namespace platform;
using testutil::Session;

namespace {
// A screen with nothing on it, for the frame alone.
class Bare : public Form {
public:
    Bare() {}
};
}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void frameCentresOnEveryScreen_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::newRow("800x600") << 800 << 600 << 0.0f << 0.0f;
        QTest::newRow("640x480 overhangs") << 640 << 480 << -1200.0f << -900.0f;
        QTest::newRow("1280x1024") << 1280 << 1024 << 3600.0f << 3180.0f;
        QTest::newRow("odd size keeps halves") << 801 << 601 << 7.5f << 7.5f;
    }
    void frameCentresOnEveryScreen() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(float, left);
        QFETCH(float, top);
        Session s;
        Session::stage(w, h);
        Bare form;
        Stage::instance()->setMousePointer(11);
        Module1::PrepareForm(form);
        QCOMPARE(form.Left(), left);
        QCOMPARE(form.Top(), top);
        QCOMPARE(form.Width(), 12000.0f);
        QCOMPARE(form.Height(), 9000.0f);
        QCOMPARE(form.geometry(), QRect(toPixels(left), toPixels(top), 800, 600));
        QCOMPARE(form.BackColor(), RGB(39, 63, 137));
        QCOMPARE(form.Caption(), QStringLiteral("Vellacourt Numerists"));
        QCOMPARE(Stage::instance()->mousePointer(), 0);
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(s.messages.isEmpty());  // no Picture1 here, and nothing said about it
    }

    void titleScreenStartsCentredOverTheBackdrop() {
        Session s;
        forms::Titlefrm->Show();
        auto* t = forms::Titlefrm.instance();
        QCOMPARE(t->Left(), 3165.0f);
        QCOMPARE(t->Top(), 915.0f);
        QCOMPARE(t->Command1->Caption(), QStringLiteral("OK"));
        QVERIFY(!t->Picture1->picture().isNull());
        QCOMPARE(Stage::instance()->front(), t);
        QCOMPARE(Stage::instance()->palette().color(QPalette::Window), QColor(48, 133, 214));
        testutil::screenshot(QStringLiteral("title"));
    }

    void titleScreenWithoutItsPictureRecovers() {
        Session s;
        QVERIFY(QFile::remove(s.path(QStringLiteral("Images/euclidsm.jpg"))));
        forms::Titlefrm->Show();
        auto* t = forms::Titlefrm.instance();
        QCOMPARE(t->Width(), 12000.0f);  // the standard frame
        QCOMPARE(t->Left(), 0.0f);
        QVERIFY(t->Picture1->picture().isNull());
        QVERIFY(s.messages.isEmpty());
        QVERIFY(t->isVisible());
    }

    void exitConfirmationLoop() {
        Session s;
        forms::Titlefrm->Show();
        testutil::click(forms::Titlefrm->Command1());
        QVERIFY(!forms::Titlefrm.loaded());
        QVERIFY(forms::intro0.loaded());
        auto* menu = forms::intro0.instance();
        const int loads = forms::intro0.loads();
        QCOMPARE(Stage::instance()->front(), menu);

        for (int visit = 0; visit < 2; ++visit) {
            testutil::click(menu->Label2(16));
            QVERIFY(forms::Titlefrm.loaded());
            QCOMPARE(forms::Titlefrm->Command1->Caption(), QStringLiteral("Cancel"));
            QCOMPARE(Stage::instance()->front(), forms::Titlefrm.instance());
            QVERIFY(!menu->isHidden());  // kept loaded under the backdrop
            testutil::click(forms::Titlefrm->Command1());
            QCOMPARE(forms::intro0.instance(), menu);
            QCOMPARE(forms::intro0.loads(), loads);  // not loaded again
            QCOMPARE(Stage::instance()->front(), menu);
        }
        testutil::click(menu->Label2(16));
        testutil::click(forms::Titlefrm->Command2());
        QCOMPARE(s.ended, 1);
    }

    void mainMenuLayoutAndEntries() {
        Session s;
        forms::intro0->Show();
        auto* m = forms::intro0.instance();
        for (int i : m->Label2.indices()) QCOMPARE(m->Label2(i)->BackStyle(), 1);  // opaque when first shown
        QVERIFY(!m->Image1->picture().isNull());
        QVERIFY(!m->Image2->picture().isNull());
        QCOMPARE(m->Frame1->BackColor(), RGB(39, 63, 137));
        testutil::click(m->Label4());
        QCOMPARE(s.urls, QStringList{intro0::WebAddress});
        QTRY_VERIFY(!m->Timer1->Enabled());
        testutil::screenshot(QStringLiteral("mainmenu"));
    }

    void mainMenuHover() {
        Session s;
        forms::intro0->Show();
        auto* m = forms::intro0.instance();
        testutil::hoverForm(m, 6000, 1000);  // bare form clears every entry
        for (int i : m->Label2.indices()) QCOMPARE(m->Label2(i)->BackStyle(), 0);
        testutil::hover(m->Label2(1));
        testutil::hover(m->Label2(20));  // straight on, without crossing the form
        QCOMPARE(m->Label2(1)->BackStyle(), 1);
        QCOMPARE(m->Label2(20)->BackStyle(), 1);
        testutil::hover(m->Image2());  // pictures and the frame change nothing
        testutil::hover(m->Frame1());
        testutil::hover(m->Label3());
        QCOMPARE(m->Label2(1)->BackStyle(), 1);
        testutil::hoverForm(m, 6000, 1000);
        QCOMPARE(m->Label2(1)->BackStyle(), 0);
        QCOMPARE(m->Label2(20)->BackStyle(), 0);
    }

    void greyedEntriesIgnoreClicks() {
        Session s;
        forms::intro0->Show();
        auto* m = forms::intro0.instance();
        for (int i : {0, 2, 5, 8, 11}) testutil::click(m->Label2(i));
        QCOMPARE(Stage::instance()->front(), m);
        QVERIFY(!forms::euclid.loaded());
        m->Label2_Click(13);  // no such entry
        QVERIFY(s.messages.isEmpty());
    }

    void catalogueListRead_data() {
        QTest::addColumn<QByteArray>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("count 0") << QByteArray(" 0 \r\n") << 0 << QStringList{};
        QTest::newRow("trailing lines ignored") << QByteArray(" 2 \r\nFractions\r\nAngles\r\nStray\r\n") << 2
                                                << QStringList{"Fractions", "Angles"};
        QTest::newRow("bare LF") << QByteArray("2\nFractions\nAngles\n") << 2 << QStringList{"Fractions", "Angles"};
        QTest::newRow("short list keeps what it read") << QByteArray(" 3 \r\nFractions\r\nAngles\r\n") << 3
                                                       << QStringList{"Fractions", "Angles"};
    }
    void catalogueListRead() {
        QFETCH(QByteArray, index);
        QFETCH(int, count);
        QFETCH(QStringList, names);
        Session s;
        Module1::WorksheetNames.fill(QString());
        s.write(QStringLiteral("multiple/track.txt"), index);
        forms::intro0->Show();
        QTRY_VERIFY(!forms::intro0->Timer1->Enabled());
        QCOMPARE(Module1::WorksheetCount, count);
        for (int i = 0; i < names.size(); ++i) QCOMPARE(Module1::WorksheetNames[i + 1], names[i]);
        QCOMPARE(Module1::WorksheetNames[names.size() + 1], QString());
        QCOMPARE(FileChannel::one().mode(), FileChannel::Mode::Closed);
        QVERIFY(s.messages.isEmpty());
    }

    void catalogueListMissingKeepsGlobals() {
        Session s;
        Module1::WorksheetCount = 2;
        Module1::WorksheetNames[1] = QStringLiteral("Kept");
        QFile::remove(s.path(QStringLiteral("multiple/track.txt")));
        forms::intro0->Show();
        QTRY_VERIFY(!forms::intro0->Timer1->Enabled());
        QCOMPARE(Module1::WorksheetCount, 2);
        QCOMPARE(Module1::WorksheetNames[1], QStringLiteral("Kept"));
        QVERIFY(s.messages.isEmpty());
    }

    void topicMenuOpensAndExits() {
        Session s;
        forms::intro0->Show();
        const int menuLoads = forms::intro0.loads();
        testutil::click(forms::intro0->Label2(1));
        QVERIFY(forms::euclid.loaded());
        auto* e = forms::euclid.instance();
        QCOMPARE(Stage::instance()->front(), e);
        QVERIFY(!e->picture().isNull());
        QCOMPARE(e->picture().size(), QSize(786, 560));
        QCOMPARE(e->label3(5)->Caption(), QStringLiteral("Teacher's Notes"));
        testutil::screenshot(QStringLiteral("topicmenu"));
        testutil::click(e->label3(2));
        QVERIFY(!forms::euclid.loaded());
        QCOMPARE(Stage::instance()->front(), forms::intro0.instance());
        QCOMPARE(forms::intro0.loads(), menuLoads);
    }

    void topicMenuWithoutItsPictureStillWorks() {
        Session s;
        QFile::remove(s.path(QStringLiteral("Images/euclid.jpg")));
        forms::intro0->Show();
        forms::euclid->Show();
        QVERIFY(forms::euclid->picture().isNull());
        testutil::click(forms::euclid->label3(2));
        QVERIFY(!forms::euclid.loaded());
    }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
