// The quiz, the score screen and the review, driven by clicks as a pupil would.
#include "TestUtil.h"

using namespace platform;
using namespace Module1;
using testutil::Session;
using testutil::startEuclidQuiz;

namespace {

int right(int q) { return int(toNumber(CorrectAnswer[q])); }

// Answers every question forward: right unless q is listed as wrong.
void answerAll(QuizScreen* m, const QList<int>& wrong) {
    for (int q = 1; q <= 10; ++q) {
        QCOMPARE(CurrentQuestion, q);
        testutil::tick(testutil::ui<OptionButton>(m, "Option1", wrong.contains(q) ? right(q) % 4 + 1 : right(q)));
        testutil::click(testutil::ui<Label>(m, "Label3", 1));
    }
}

QList<int> visibleLines() {
    QList<int> out;
    for (int i = 0; i < 10; ++i)
        if (testutil::ui<Label>(forms::WrongAnswersScreen, "Label2", i)->Visible()) out << i;
    return out;
}

}  // namespace

class QuizTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void aTickCountsOnlyWhenLeftForward() {
        Session s;
        QuizScreen* m = startEuclidQuiz();
        QCOMPARE(Stage::instance()->front(), m);
        QCOMPARE(testutil::ui<Label>(m, "Label4")->Caption(), QStringLiteral("Question 1"));
        QCOMPARE(testutil::ui<OptionButton>(m, "Option1", 2)->Caption(), AnswerB[1]);
        QVERIFY(!testutil::ui<Label>(m, "Label3", 0)->Visible() && testutil::ui<OptionButton>(m, "Option1", 5)->Value());
        testutil::tick(testutil::ui<OptionButton>(m, "Option1", 3));
        testutil::screenshot(QStringLiteral("quiz"));
        testutil::click(testutil::ui<Label>(m, "Label3", 1));
        testutil::tick(testutil::ui<OptionButton>(m, "Option1", right(2) % 4 + 1));
        testutil::tick(testutil::ui<OptionButton>(m, "Option1", right(2)));  // changed to the right one
        testutil::click(testutil::ui<Label>(m, "Label3", 0));      // back: question 2 keeps no mark yet
        testutil::click(testutil::ui<Label>(m, "Label3", 1));
        QVERIFY(testutil::ui<OptionButton>(m, "Option1", 5)->Value());  // the earlier tick is not shown again
        testutil::tick(testutil::ui<OptionButton>(m, "Option1", right(2)));
        testutil::click(testutil::ui<Label>(m, "Label3", 1));
        QCOMPARE(Marks[2], 1);
        // Question 3 answered right, then revisited and left blank: its mark becomes 0.
        testutil::tick(testutil::ui<OptionButton>(m, "Option1", right(3)));
        testutil::click(testutil::ui<Label>(m, "Label3", 1));
        QCOMPARE(Marks[3], 1);
        testutil::click(testutil::ui<Label>(m, "Label3", 0));
        testutil::click(testutil::ui<Label>(m, "Label3", 1));
        QCOMPARE(Marks[3], 0);
        // Exit leaves without a score, question 2's mark notwithstanding.
        testutil::click(testutil::ui<Label>(m, "Label3", 2));
        QVERIFY(!forms::QuizScreen.loaded() && !forms::ScoreScreen.loaded() && !forms::WrongAnswersScreen.loaded());
        QCOMPARE(Score, 0);
        QCOMPARE(Stage::instance()->front(), forms::TopicScreen.instance());
    }

    void scoreTiersAndTheReview() {
        const struct { QList<int> wrong; const char *message, *button; } tiers[] = {
            {{}, "Excellent work. You have scored 10 out of 10.", "Print Certificate"},
            {{1, 10}, "Good work. You have scored 8 out of 10.", "Check Wrong Answers"},
            {{2, 5, 9}, "You have scored 7 out of 10.", "Check Wrong Answers"}};
        for (const auto& [wrong, message, button] : tiers) {
            Session s;
            answerAll(startEuclidQuiz(), wrong);
            auto* w = forms::ScoreScreen.instance();
            QCOMPARE(testutil::ui<Label>(w, "Label1")->Caption(), QString::fromLatin1(message));
            QCOMPARE(testutil::ui<Label>(w, "Label3", 0)->Caption(), QString::fromLatin1(button));
            // The review lists the wrong questions in order, loaded unseen.
            QCOMPARE(visibleLines().size(), wrong.size());
            for (int i = 0; i < wrong.size(); ++i)
                QCOMPARE(testutil::ui<Label>(forms::WrongAnswersScreen, "Label2", i)->Caption(), QStringLiteral(" %1. ").arg(wrong[i]) + QuestionText[wrong[i]]);
            QVERIFY(!forms::WrongAnswersScreen->isVisible());
            const bool perfect = wrong.isEmpty();
            QCOMPARE(testutil::ui<Label>(w, "Label5")->Caption().isEmpty(), perfect);
            QCOMPARE(testutil::ui<TextBox>(w, "Text1")->Visible(), perfect);
            QTRY_VERIFY(!testutil::ui<PictureBox>(w, "Picture1")->picture().isNull());
            QTRY_VERIFY(!testutil::ui<Timer>(w, "Timer3")->Enabled() && !testutil::ui<Timer>(w, "Timer2")->Enabled());
            if (perfect) {
                QVERIFY(testutil::ui<TextBox>(w, "Text1")->widget()->hasFocus());
                testutil::type(testutil::ui<TextBox>(w, "Text1"), QStringLiteral("Alexandra Papadopoulou-Smith"));
                QCOMPARE(testutil::ui<TextBox>(w, "Text1")->Text(), QStringLiteral("Alexandra Papadopoulou-Sm"));
                testutil::screenshot(QStringLiteral("score-perfect"));
                testutil::click(testutil::ui<Label>(w, "Label3", 0));  // no printer here: said plainly, the screen stays
                QCOMPARE(s.messages.size(), 1);
                QCOMPARE(s.messages[0].text, QStringLiteral("There was a problem printing to your printer."));
                QVERIFY(w->isVisible() && testutil::ui<TextBox>(w, "Text1")->Visible());
                testutil::click(testutil::ui<Label>(w, "Label3", 1));
            } else {
                if (wrong.size() == 3) testutil::screenshot(QStringLiteral("score-below"));
                testutil::click(testutil::ui<Label>(w, "Label3", 0));
                QCOMPARE(Stage::instance()->front(), forms::WrongAnswersScreen.instance());
                if (wrong.size() == 3) testutil::screenshot(QStringLiteral("review"));
                testutil::click(testutil::ui<Label>(forms::WrongAnswersScreen, "Label3", 1));  // Exit here closes both
            }
            QVERIFY(!forms::ScoreScreen.loaded() && !forms::WrongAnswersScreen.loaded() && !forms::QuizScreen.loaded());
            QCOMPARE(Stage::instance()->front(), forms::TopicScreen.instance());
        }
    }

    void missingOrShortEuclidStaysOnTheTopicMenu() {
        Session s;
        const QByteArray full = s.read(QStringLiteral("multiple/Euclid.txt"));
        s.write(QStringLiteral("multiple/Euclid.txt"), full.left(full.size() / 2));
        startEuclidQuiz();
        QVERIFY(!forms::QuizScreen.loaded());
        QCOMPARE(s.messages.size(), 1);
        QVERIFY(s.messages[0].text.contains(QStringLiteral("Euclid.txt")));
        QCOMPARE(Stage::instance()->front(), forms::TopicScreen.instance());
        QFile::remove(s.path(QStringLiteral("multiple/Euclid.txt")));
        testutil::click(testutil::ui<Label>(forms::TopicScreen, "label3", 0));
        QVERIFY(!forms::QuizScreen.loaded());
        QCOMPARE(s.messages.size(), 2);
        QCOMPARE(FileChannel::one().mode(), FileChannel::Mode::Closed);
    }

    void catalogueRunsATeachersWorksheet() {
        Session s;
        QByteArray sheet = s.read(QStringLiteral("multiple/Euclid.txt"));
        sheet.replace(0, 6, "Fractions");
        s.write(QStringLiteral("multiple/Fractions.txt"), sheet);
        s.write(QStringLiteral("multiple/track.txt"), " 1 \r\nFractions\r\n");
        forms::MainMenu->Show();
        testutil::click(testutil::ui<Label>(forms::MainMenu, "Label2", MainMenu::CatalogueEntry));
        QVERIFY(!forms::MainMenu.loaded());
        testutil::click(testutil::ui<Label>(forms::CatalogueScreen, "Label2", 1));
        auto* m = forms::QuizScreen.instance();
        QVERIFY(m && m->isVisible());
        QCOMPARE(testutil::ui<Label>(m, "Label6")->Caption(), QStringLiteral("Fractions"));
        QCOMPARE(testutil::ui<Label>(m, "Label5")->Caption(), QStringLiteral("Vellacourt Numerists"));  // the menu's banner
        QVERIFY(!testutil::ui<PictureBox>(m, "Picture1")->picture().isNull());
        QVERIFY(forms::MainMenu.loaded() && forms::MainMenu->isHidden());  // touched, loaded unseen
        answerAll(m, {});
        testutil::click(testutil::ui<Label>(forms::ScoreScreen, "Label3", 1));
        QCOMPARE(Stage::instance()->front(), forms::CatalogueScreen.instance());
    }
};

QTEST_MAIN(QuizTest)
#include "test_quiz.moc"
