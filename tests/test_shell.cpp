// The shell: the standard frame, the title screen and exit loop, the main menu and the topic menu.
#include "platform/screen/Navigator.h"
#include "TestUtil.h"
#include "platform/screen/PrepareForm.h"
#include "core/StageScale.h"
#include "platform/files/Paths.h"
#include "platform/files/WorkingFiles.h"

#include <QProcess>
#include <unistd.h>

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

    // 640 x 480 overhangs; an odd size keeps its halves.
    void frameCentresOnEveryScreen() {
        for (const auto& [w, h, left, top] : {std::tuple{640, 480, -1200.0f, -900.0f}, {1280, 1024, 3600.0f, 3180.0f},
                                              {801, 601, 7.5f, 7.5f}}) {
            Session s;
            Session::stage(w, h);
            Bare form;
            prepareScreen(form);
            QVERIFY(form.leftTwips() == left && form.topTwips() == top);
            QCOMPARE(form.geometry().topLeft(), QPoint(toPixels(left), toPixels(top)));
            QVERIFY(!QGuiApplication::overrideCursor() && s.messages.isEmpty());  // no picture, nothing said
        }
    }

    // At any scale (ctest: 1, 1.8, 2.7; gaps once showed at 1.28) the frame meets its client area directly.
    void frameMeetsItsClientArea() {
        Session s;
        Bare form;
        prepareScreen(form);
        form.showInFront();
        const QImage shot = testutil::shown().toImage();
        const auto inPixels = [&shot](const QWidget* w) {
            const QRectF r(w->mapTo(Stage::instance(), QPoint(0, 0)), w->size());
            const double dpr = shot.devicePixelRatio();
            return QRectF(r.topLeft() * dpr, r.size() * dpr).toRect();
        };
        const QRect client = inPixels(form.clientArea()), outer = inPixels(&form);
        const QList<QColor> frame{theme::frameFace(), theme::frameOutline(), theme::shadow(), QColor(Qt::white)};
        const QColor blue = toQColor(theme::ScreenBlue);
        // From just inside the outer edge to a few pixels inside the client area, in one direction.
        const auto across = [&](QPoint from, QPoint step, int length) {
            bool inClient = false;
            for (int i = 0; i < length; ++i) {
                const QPoint at = from + step * i;
                const QColor c = shot.pixelColor(at);
                if (c == blue) inClient = true;
                else QVERIFY2(!inClient && frame.contains(c),
                              qPrintable(QStringLiteral("at %1,%2: %3").arg(at.x()).arg(at.y()).arg(c.name())));
            }
            QVERIFY(inClient);
        };
        const int midY = client.center().y(), midX = client.center().x();
        across({outer.left(), midY}, {1, 0}, client.left() - outer.left() + 3);
        across({outer.right(), midY}, {-1, 0}, outer.right() - client.right() + 3);
        across({midX, outer.bottom()}, {0, -1}, outer.bottom() - client.bottom() + 3);
        QCOMPARE(shot.pixelColor(client.topLeft()), blue);
        QCOMPARE(shot.pixelColor(client.left(), client.top() - 1).name() == blue.name(), false);
    }

    // A new screen size restarts the program once settled and at the main menu; never for the same scale.
    void aScreenThatChangesSizeIsFollowedAtTheMainMenu() {
        if (!Stage::scaleIsOurs()) QSKIP("the scale is fixed for this run");
        Session s;
        int restarts = 0;
        Stage::restartHook = [&restarts] { ++restarts; };
        QScreen* screen = Stage::instance()->screen();
        testutil::startEuclidQuiz();
        emit screen->geometryChanged(QRect(0, 0, 800, 600));
        emit screen->geometryChanged(QRect(0, 0, 1920, 1080));
        QTest::qWait(Stage::ScreenSettleMs + 200);
        QCOMPARE(restarts, 0);
        testutil::click(screens().get<QuizScreen>().ui().exit);                      // the quiz's Exit
        QCOMPARE(restarts, 0);                                              // Euclid's page is in front
        testutil::click(screens().get<TopicScreen>().ui().exit);                     // its Exit
        QCOMPARE(Stage::instance()->front(), screens().find<MainMenu>());
        QCOMPARE(restarts, 1);
        testutil::showEuclid();
        emit screen->geometryChanged(QRect(0, 0, 1024, 768));
        emit screen->geometryChanged(QRect(0, 0, 800, 600));  // settled back at the size it had: nothing to do
        QTest::qWait(Stage::ScreenSettleMs + 200);
        screens().close<TopicScreen>();
        QCOMPARE(Stage::instance()->front(), screens().find<MainMenu>());
        QCOMPARE(restarts, 1);
        Stage::restartHook = nullptr;
    }

    // At 1920 x 1080 (ctest's scale 1.8) the main menu and quiz fill the height, centred; the README's shots.
    void mainMenuFillsAWideScreen() {
        const int w = 1920, h = 1080;
        const double dpr = Stage::instance()->devicePixelRatioF();
        if (std::abs(dpr - core::stageScale(w, h)) > 0.001) QSKIP("shown where the stage has this screen's scale");
        Session s;
        Session::stage(qRound(w / dpr), qRound(h / dpr));
        screens().show<MainMenu>();
        QCOMPARE(qRound(screens().get<MainMenu>().height() * dpr), h);
        const int left = screens().get<MainMenu>().x(), right = Stage::instance()->width() - left - screens().get<MainMenu>().width();
        QVERIFY(std::abs(left - right) <= 1);
        testutil::screenshot(QStringLiteral("mainmenu"));
        QuizScreen* quiz = testutil::startEuclidQuiz();
        QCOMPARE(qRound(quiz->height() * dpr), h);
        testutil::screenshot(QStringLiteral("quiz"));
        testutil::click(quiz->ui().exit);  // Exit
        testutil::click(screens().get<TopicScreen>().ui().keyFacts);
        testutil::click(screens().get<PageViewer>().ui().next);
        testutil::screenshot(QStringLiteral("keyfacts-2"));
        testutil::click(screens().get<PageViewer>().ui().exit);
        testutil::click(screens().get<TopicScreen>().ui().secondActivity);
        testutil::screenshot(QStringLiteral("dice-start"));
    }

    // The title screen centred, or shown in the standard frame without its picture; the exit loop.
    void titleScreenAndTheExitLoop() {
        Session s;
        screens().show<TitleScreen>();
        QVERIFY(screens().get<TitleScreen>().leftTwips() == 3165.0f && screens().get<TitleScreen>().topTwips() == 915.0f);  // centred on 800 x 600
        QCOMPARE(Stage::instance()->front(), screens().find<TitleScreen>());
        testutil::screenshot(QStringLiteral("title"));
        // Without its picture: the standard frame, said nothing, still shown.
        Session::reset();
        QVERIFY(QFile::remove(s.path(QStringLiteral("Images/euclidsm.jpg"))));
        screens().show<TitleScreen>();
        QCOMPARE(screens().get<TitleScreen>().leftTwips(), 0.0f);
        QVERIFY(screens().get<TitleScreen>().ui().picture->picture().isNull() && screens().get<TitleScreen>().isVisible());
        QVERIFY(s.messages.isEmpty());
        testutil::click(screens().get<TitleScreen>().ui().ok);
        QVERIFY(!screens().isOpen<TitleScreen>());
        auto* menu = screens().find<MainMenu>();
        const int loads = screens().opens<MainMenu>();
        QCOMPARE(Stage::instance()->front(), menu);

        testutil::click(menu->ui().exit);
        QCOMPARE(screens().get<TitleScreen>().ui().ok->text(), QStringLiteral("Cancel"));
        QVERIFY(Stage::instance()->front() == screens().find<TitleScreen>() && !menu->isHidden());
        testutil::click(screens().get<TitleScreen>().ui().ok);
        QVERIFY(screens().find<MainMenu>() == menu && screens().opens<MainMenu>() == loads);  // not loaded again
        QCOMPARE(Stage::instance()->front(), menu);
        testutil::click(menu->ui().exit);
        testutil::click(screens().get<TitleScreen>().ui().exit);
        QCOMPARE(s.ended, 1);
    }

    void mainMenuEntries() {
        Session s;
        screens().show<MainMenu>();
        auto* m = screens().find<MainMenu>();
        std::vector<Label*> entries(m->ui().mathematicians.begin(), m->ui().mathematicians.end());
        entries.insert(entries.end(),
                       {m->ui().exit, m->ui().wizard, m->ui().catalogue, m->ui().acknowledgments, m->ui().guide});
        for (Label* e : entries) QCOMPARE(e->backStyle(), 1);  // opaque when first shown
        testutil::screenshot(QStringLiteral("mainmenu"));
        testutil::hoverForm(m, 6000, 1000);  // the bare form clears every entry
        for (Label* e : entries) QCOMPARE(e->backStyle(), 0);
        testutil::hover(m->ui().mathematicians[1]);
        testutil::hover(m->ui().guide);  // straight on, without crossing the form
        testutil::hover(m->ui().frame);  // the frame changes nothing
        QVERIFY(m->ui().mathematicians[1]->backStyle() == 1 && m->ui().guide->backStyle() == 1);
        for (int i : {5, 7, 8, 11}) testutil::click(m->ui().mathematicians[i]);  // greyed: nothing opens
        QCOMPARE(Stage::instance()->front(), m);
        testutil::click(m->ui().webLink);
        QVERIFY(s.urls == QStringList{MainMenu::WebAddress} && s.messages.isEmpty());
    }

    // The catalogue list is read once the menu is up; a missing one keeps what was known.
    void catalogueListRead() {
        const QStringList two{"Fractions", "Angles"};
        for (const auto& [index, count, names] : {std::tuple{QByteArray(" 2 \r\nFractions\r\nAngles\r\nStray\r\n"), 2, two},
                                                  {QByteArray("2\nFractions\nAngles\n"), 2, two},          // bare LF
                                                  {QByteArray(" 3 \r\nFractions\r\nAngles\r\n"), 3, two},  // short: keeps what it read
                                                  {QByteArray(), 1, QStringList{"Kept"}}}) {                  // missing
            Session s;
            core::shared().worksheetNames.fill(QString());
            core::shared().worksheetCount = 1;
            core::shared().worksheetNames[1] = QStringLiteral("Kept");
            if (index.isEmpty()) QVERIFY(QFile::remove(s.path(QStringLiteral("multiple/track.txt"))));
            else s.write(QStringLiteral("multiple/track.txt"), index);
            screens().show<MainMenu>();
            QTRY_VERIFY(!screens().get<MainMenu>().ui().readCatalogue->isEnabled());
            QCOMPARE(core::shared().worksheetCount, count);
            for (int i = 0; i <= names.size(); ++i) QCOMPARE(core::shared().worksheetNames[i + 1], names.value(i));
            QVERIFY(FileChannel::one().mode() == FileChannel::Mode::Closed && s.messages.isEmpty());
        }
    }

    // Entries open for the topics there, greyed (and logged) for a broken or missing one; Exit returns.
    void topicsOpenTheirEntries() {
        Session s;
        s.write(QStringLiteral("topics/fibonacci.txt"), "entry = 6\nheading = Fibonacci\n");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("fibonacci.txt is left out: .*missing")));
        s.write(QStringLiteral("topics/khayyam.txt"),
                s.read(QStringLiteral("topics/euclid.txt")).replace("entry = 1", "entry = 5").replace("dice,", "abacus,"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("khayyam.txt is left out: no board is called \"abacus\"")));
        screens().show<MainMenu>();
        const int menuLoads = screens().opens<MainMenu>();
        const auto& entries = screens().get<MainMenu>().ui().mathematicians;
        for (int i = 0; i < 12; ++i) QCOMPARE(entries[size_t(i)]->isEnabled(), i <= 4);
        testutil::click(entries[MainMenu::Euclid]);
        QCOMPARE(screens().get<TopicScreen>().picture().size(), QSize(786, 560));
        testutil::screenshot(QStringLiteral("topicmenu"));
        testutil::click(screens().get<TopicScreen>().ui().exit);
        QVERIFY(!screens().isOpen<TopicScreen>());
        QCOMPARE(Stage::instance()->front(), screens().find<MainMenu>());
        QCOMPARE(screens().opens<MainMenu>(), menuLoads);
        testutil::click(entries[0]);
        TopicScreen* t = screens().find<TopicScreen>();
        QCOMPARE(Stage::instance()->front(), t);
        QCOMPARE(t->ui().heading->text(), QStringLiteral("Pythagoras"));
        QVERIFY(!t->picture().isNull());
        testutil::screenshot(QStringLiteral("topic-pythagoras"));
        testutil::click(t->ui().keyFacts);
        testutil::screenshot(QStringLiteral("keyfacts-pythagoras-1"));
        testutil::click(screens().get<PageViewer>().ui().exit);
        testutil::click(t->ui().quiz);  // the portrait told to a screen reader in the topic's words
        QVERIFY(screens().get<QuizScreen>().ui().picture->text() == t->topic().portrait.shows && !t->topic().portrait.shows.isEmpty());
        testutil::click(screens().get<QuizScreen>().ui().exit);
        testutil::click(t->ui().exit);
        QVERIFY(QFile::remove(s.path(QStringLiteral("Images/euclid.jpg"))));
        testutil::click(entries[MainMenu::Euclid]);
        QVERIFY(screens().get<TopicScreen>().picture().isNull() && s.messages.isEmpty());
        // Without Euclid's file, his entry is greyed too.
        screens().close<MainMenu>();
        QVERIFY(QFile::remove(s.path(QStringLiteral("topics/euclid.txt"))));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Euclid has no topic")));
        screens().show<MainMenu>();
        QVERIFY(!screens().get<MainMenu>().ui().mathematicians[MainMenu::Euclid]->isEnabled());
    }

    // A mathematician made of files alone (no change to the program): his topic, portraits and quiz put
    // in the working folder open his greyed entry, his quiz is his file's and his boards, of kinds other
    // topics use (and walk to 12 out of 12), open under his captions.
    void aTopicOfFilesAlone() {
        Session s;
        QVERIFY(QFile::copy(s.path("Images/euclid.jpg"), s.path("Images/khayyam.jpg")) &&
                QFile::copy(s.path("Images/euclidsm.jpg"), s.path("Images/khayyamsm.jpg")));
        s.write(QStringLiteral("multiple/Cubics.txt"), testutil::worksheetBytes(QStringLiteral("Cubics")));
        s.write(QStringLiteral("topics/khayyam.txt"),
                "entry = 5\nheading = Omar Khayyam\npicture = Images\\khayyam.jpg, Omar Khayyam at his calendar\n"
                "portrait = Images\\khayyamsm.jpg, Omar Khayyam, small\nquiz = multiple\\Cubics.txt\n"
                "key facts = cubics, 1\nnotes = cubics, 1\nactivity = roman, Numerals of Rome\n"
                "activity = sequences, Rows That Grow\n");
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().mathematicians[5]);
        const TopicScreen::Controls& topic = screens().get<TopicScreen>().ui();
        QCOMPARE(topic.heading->text(), QStringLiteral("Omar Khayyam"));
        testutil::click(topic.quiz);
        QuizScreen* m = screens().find<QuizScreen>();
        QVERIFY(m->ui().worksheetTitle->text() == "Cubics" && m->ui().picture->picture().description() == "Omar Khayyam, small");
        testutil::click(m->ui().exit);
        for (const auto& [board, kind] : {std::pair{topic.firstActivity, "roman"}, {topic.secondActivity, "sequences"}}) {
            testutil::click(board);
            GalleryActivity* g = screens().find<GalleryActivity>();
            QVERIFY(g->text() == board->text() && QLatin1String(g->kind().key) == QLatin1String(kind));
            testutil::click(g->board().exit);
        }
    }

    // A working folder flooded with 200,000 entries and 40,000 links to a topic in "topics" starts as
    // usual: Enter shows the menu with the shipped topics' entries alone, and a name spelt in other
    // letters lists a folder once while it is unchanged, cut at its bound (said once, so counted here).
    void aFloodedFolderStartsAsUsual() {
        Session s;
        for (int i = 0; i < 200000; ++i) {  // links to four empty files, as quick to plant as any entries
            if (i < 4) s.write(QStringLiteral("p%1").arg(i), "");
            QVERIFY(i < 4 || ::link(qPrintable(QStringLiteral("p%1").arg(i % 4)), qPrintable(QStringLiteral("p%1").arg(i))) == 0);
        }
        for (int i = 0; i < 40000; ++i)
            QVERIFY(::link("topics/euclid.txt", qPrintable(QStringLiteral("topics/t%1.txt").arg(i))) == 0);
        const QRegularExpression cut(QStringLiteral("holds more than %1 entries").arg(ListedEntries));
        QTest::failOnWarning(cut);
        QTest::ignoreMessage(QtWarningMsg, cut);  // "topics", looked in for the six topics not there
        screens().show<TitleScreen>();
        testutil::click(screens().get<TitleScreen>().ui().ok);
        const auto& entries = screens().get<MainMenu>().ui().mathematicians;
        for (int i = 0; i < 12; ++i) QCOMPARE(entries[size_t(i)]->isEnabled(), i <= 4 || i == 6);
        QTest::ignoreMessage(QtWarningMsg, cut);  // the working folder, for a folder in no spelling there
        for (int i = 0; i < 20; ++i)
            QVERIFY_THROWS_EXCEPTION(RuntimeError, readWorkingFile(QStringLiteral("Missing\\Euclid.txt"), FileLimits::Text));
    }

    // A screen reached before it is opened stops the program at once and says which, by its name.
    void aScreenReachedUnopenedIsNamed() {
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--reach-unopened")});
        QVERIFY(child.waitForFinished(20000));
        QVERIFY(child.exitStatus() == QProcess::CrashExit);
        QVERIFY2(child.readAll().contains("A screen was reached before it was opened: QuizScreen\n"), "named plainly");
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]) == "--reach-unopened") {
        testutil::initApp();
        screens().get<QuizScreen>().ui();
        return 0;
    }
    ShellTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_shell.moc"
