// The quiz, the score screen and the review, driven by clicks as a pupil would.
#include "TestUtil.h"

using namespace platform;
using namespace core;
using testutil::Session;
using testutil::answerAll;
using testutil::startEuclidQuiz;

namespace {

int right(int q) { return int(toNumber(testutil::euclidQuestion(q).correct)); }

}  // namespace

class QuizTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void aTickCountsOnlyWhenLeftForward() {
        Session s;
        QuizScreen* m = startEuclidQuiz();
        QVERIFY(Stage::instance()->front() == m && m->ui().number->text() == QStringLiteral("Question 1"));
        QCOMPARE(m->ui().answers[1]->text(), testutil::euclidQuestion(1).answers[1]);
        QVERIFY(!m->ui().previous->isShown() && m->ui().noAnswer->isChosen());
        testutil::tick(m->ui().answers[2]);
        testutil::screenshot(QStringLiteral("quiz"));
        // The small portrait shows the whole picture, scaled to its box: its colours are the picture's, not a corner's.
        const auto mean = [](const QImage& i) {
            const QImage one = i.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            return one.pixelColor(0, 0);
        };
        QWidget* box = m->ui().picture->widget();
        const QColor shown = mean(box->grab(box->rect().adjusted(4, 4, -4, -4)).toImage());
        const QColor whole = mean(m->ui().picture->picture().image());
        QVERIFY2(std::abs(shown.red() - whole.red()) + std::abs(shown.green() - whole.green()) + std::abs(shown.blue() - whole.blue()) < 40,
                 qPrintable(shown.name() + QStringLiteral(" against ") + whole.name()));
        testutil::click(m->ui().next);
        testutil::tick(m->ui().answers[(right(2) % 4 + 1) - 1]);
        testutil::tick(m->ui().answers[(right(2)) - 1]);  // changed to the right one
        testutil::click(m->ui().previous);                // back: question 2 keeps no mark yet
        testutil::click(m->ui().next);
        QVERIFY(m->ui().noAnswer->isChosen());  // the earlier tick is not shown again
        testutil::tick(m->ui().answers[(right(2)) - 1]);
        testutil::click(m->ui().next);
        QCOMPARE(m->marks()[2], 1);
        // Question 3 answered right, then revisited and left blank: its mark becomes 0.
        testutil::tick(m->ui().answers[(right(3)) - 1]);
        testutil::click(m->ui().next);
        QCOMPARE(m->marks()[3], 1);
        testutil::click(m->ui().previous);
        testutil::click(m->ui().next);
        QCOMPARE(m->marks()[3], 0);
        // Exit leaves without a score, question 2's mark notwithstanding.
        testutil::click(m->ui().exit);
        QVERIFY(!screens().isOpen<QuizScreen>() && !screens().isOpen<ScoreScreen>() && !screens().isOpen<WrongAnswersScreen>());
        QVERIFY(testutil::score() == 0 && Stage::instance()->front() == screens().find<TopicScreen>());
    }

    void scoreTiersAndTheReview() {
        const struct { QList<int> wrong; const char *message, *button; } tiers[] = {
            {{}, "Excellent work. You have scored 10 out of 10.", "Print Certificate"},
            {{1, 10}, "Good work. You have scored 8 out of 10.", "Check Wrong Answers"},
            {{2, 5, 9}, "You have scored 7 out of 10.", "Check Wrong Answers"}};
        for (const auto& [wrong, message, button] : tiers) {
            Session s;
            answerAll(startEuclidQuiz(), wrong);
            auto* w = screens().find<ScoreScreen>();
            QCOMPARE(w->ui().score->text() + u'|' + w->ui().action->text(),
                     QLatin1String(message) + u'|' + QLatin1String(button));
            // The review lists the wrong questions in order, loaded unseen.
            for (int i = 0; i < 10; ++i) {
                platform::Label* line = screens().get<WrongAnswersScreen>().ui().lines[i];
                QCOMPARE(line->isShown(), i < wrong.size());
                if (i < wrong.size())
                    QCOMPARE(line->text(),
                             QStringLiteral(" %1. ").arg(wrong[i]) + testutil::euclidQuestion(wrong[i]).text);
            }
            QVERIFY(!screens().get<WrongAnswersScreen>().isVisible());
            const bool perfect = wrong.isEmpty();
            QVERIFY(w->ui().reviewHint->text().isEmpty() == perfect && w->ui().name->isShown() == perfect);
            QTRY_VERIFY(!w->ui().picture->picture().isNull());
            QTRY_VERIFY(!w->ui().reseed->isEnabled() && !w->ui().readyKeys->isEnabled());
            if (perfect) {
                QVERIFY(w->ui().name->widget()->hasFocus());
                testutil::type(w->ui().name, QStringLiteral("Alexandra Papadopoulou-Smith"));
                QCOMPARE(w->ui().name->contents(), QStringLiteral("Alexandra Papadopoulou-Sm"));
                testutil::screenshot(QStringLiteral("score-perfect"));
                testutil::click(w->ui().exit);
            } else {
                if (wrong.size() == 3) testutil::screenshot(QStringLiteral("score-below"));
                testutil::click(w->ui().action);
                QCOMPARE(Stage::instance()->front(), screens().find<WrongAnswersScreen>());
                if (wrong.size() == 3) testutil::screenshot(QStringLiteral("review"));
                testutil::click(screens().get<WrongAnswersScreen>().ui().exit);  // Exit here closes both
            }
            QVERIFY(!screens().isOpen<ScoreScreen>() && !screens().isOpen<WrongAnswersScreen>() && !screens().isOpen<QuizScreen>());
            QCOMPARE(Stage::instance()->front(), screens().find<TopicScreen>());
        }
    }

    void missingOrShortEuclidStaysOnTheTopicMenu() {
        Session s;
        const QByteArray full = s.read(QStringLiteral("multiple/Euclid.txt"));
        s.write(QStringLiteral("multiple/Euclid.txt"), full.left(full.size() / 2));
        startEuclidQuiz();
        QVERIFY(!screens().isOpen<QuizScreen>() && s.messages.size() == 1);
        QVERIFY(s.messages[0].text.contains(QStringLiteral("Euclid.txt")));
        QCOMPARE(Stage::instance()->front(), screens().find<TopicScreen>());
        QFile::remove(s.path(QStringLiteral("multiple/Euclid.txt")));
        testutil::click(screens().get<TopicScreen>().ui().quiz);
        QVERIFY(!screens().isOpen<QuizScreen>() && s.messages.size() == 2);
        QCOMPARE(FileChannel::one().mode(), FileChannel::Mode::Closed);
    }

    void catalogueRunsATeachersWorksheet() {
        Session s;
        QByteArray sheet = s.read(QStringLiteral("multiple/Euclid.txt"));
        sheet.replace(0, 6, "Fractions");
        s.write(QStringLiteral("multiple/Fractions.txt"), sheet);
        s.write(QStringLiteral("multiple/track.txt"), " 1 \r\nFractions\r\n");
        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().catalogue);
        QVERIFY(!screens().isOpen<MainMenu>());
        testutil::click(screens().get<CatalogueScreen>().ui().titles[0]);
        auto* m = screens().find<QuizScreen>();
        QVERIFY(m && m->isVisible() && !m->ui().picture->picture().isNull());
        // The menu's picture and banner, without opening the menu.
        QCOMPARE(m->ui().worksheetTitle->text() + u'|' + m->ui().heading->text(),
                 QStringLiteral("Fractions|Vellacourt Numerists"));
        QVERIFY(!screens().isOpen<MainMenu>());
        answerAll(m);
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        QCOMPARE(Stage::instance()->front(), screens().find<CatalogueScreen>());
    }
};

QTEST_MAIN(QuizTest)
#include "test_quiz.moc"
