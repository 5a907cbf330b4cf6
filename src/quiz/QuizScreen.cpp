#include "quiz/QuizScreen.h"
#include "platform/screen/Navigator.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "core/Marking.h"
#include "core/Shared.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/PrepareForm.h"
#include "platform/screen/Stage.h"
#include "platform/printing/Printer.h"

using namespace platform;
using core::QuestionCount;
using worksheetfiles::Question;
using worksheetfiles::Worksheet;

namespace {
using Controls = QuizScreen::Controls;
constexpr FontDesc AnswerFont{"Times New Roman", 20.25};

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.caption = "Multiple Choice", .at = {120, 120, 6240, 900},
         .font = {"Tahoma", 36, true}, .fore = Yellow, .flags = Transparent, .to = slot<&Controls::title>},
    {.caption = "Vellacourt Numerists", .at = {120, 1200, 6465, 585},
         .font = {"Times New Roman", 24}, .fore = BrightGreen, .flags = Transparent, .to = slot<&Controls::heading>},
    {.at = {120, 1920, 6465, 705}, .font = {"Times New Roman", 24},
         .fore = LightBlue, .flags = Transparent, .to = slot<&Controls::worksheetTitle>},
    {.at = {6840, 240, 855, 615}, .flags = Stretch, .to = slot<&Controls::picture>},
    {.caption = "Question 1", .at = {360, 3240, 5415, 615},
         .font = {"Times New Roman", 24}, .fore = Yellow, .flags = Transparent, .to = slot<&Controls::number>},
    {.at = {960, 3960, 9840, 1455}, .font = {"Times New Roman", 30},
         .fore = Yellow, .flags = Transparent, .to = slot<&Controls::question>},
    // The answers lie in a frame that draws nothing: to a screen reader they are one group, named by
    // the question. "No answer" lies beneath answer A, out of sight.
    {.at = {2400, 5400, 6975, 2325}, .flags = Transparent, .to = slot<&Controls::answerGroup>},
    {.at = {0, 0, 495, 375}, .to = slot<&Controls::noAnswer>, .container = container<&Controls::answerGroup>},
    {.index = 0, .at = {0, 0, 6975, 525}, .font = AnswerFont,
         .fore = Yellow, .to = slot<&Controls::answers>, .container = container<&Controls::answerGroup>},
    {.index = 1, .at = {0, 600, 6975, 525}, .font = AnswerFont,
         .fore = Yellow, .to = slot<&Controls::answers>, .container = container<&Controls::answerGroup>},
    {.index = 2, .at = {0, 1200, 6975, 525}, .font = AnswerFont,
         .fore = Yellow, .to = slot<&Controls::answers>, .container = container<&Controls::answerGroup>},
    {.index = 3, .at = {0, 1800, 6975, 525}, .font = AnswerFont,
         .fore = Yellow, .to = slot<&Controls::answers>, .container = container<&Controls::answerGroup>},
    {.caption = "<< Previous Question",
         .at = {2040, 7920, 3765, 495}, .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden | Hover, .to = slot<&Controls::previous>},
    {.caption = "Next Question >>", .at = {6000, 7920, 3765, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::next>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exit>},
    {.caption = "Print Worksheet", .at = {7920, 1920, 3045, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::print>},
};
// clang-format on
}  // namespace

QuizScreen::QuizScreen() {
    build<Layout>(m_ui);
    // "No answer" lies hidden under the picture: neither Tab, the arrows nor a screen reader reach it.
    m_ui.noAnswer->setTabStop(false);
    // The keyboard starts on the first answer, under the question, not on "Print Worksheet" above it.
    setKeyboardStart(m_ui.answers[0]);
    m_ui.question->labels = m_ui.answerGroup;
    m_ui.noAnswer->setChosen(true);
    m_ui.previous->onClick = [this] {
        --m_question;
        showQuestion();
    };
    m_ui.next->onClick = [this] { nextQuestion(); };
    m_ui.exit->onClick = [] { screens().close<QuizScreen>(); };
    m_ui.print->onClick = [this] { printQuestionSheet(); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.title->text(); };
}

void QuizScreen::prepare() {
    prepareScreen(*this, m_ui.picture);
    for (OptionButton* answer : m_ui.answers) answer->setBackColor(theme::ScreenBlue);
}

void QuizScreen::start(const Worksheet& sheet, const core::PictureFile& portrait, const QString& heading,
                       const QString& topic) {
    QuizScreen& m = screens().open<QuizScreen>();
    m.m_sheet = sheet;
    m.m_portrait = portrait;
    m.m_topic = topic;
    m.m_question = 1;
    m.m_marks = {};
    m.m_ui.worksheetTitle->setText(sheet.title);
    m.showQuestion();
    m.m_ui.picture->setPicture(LoadPictureOrEmpty(portrait));
    m.m_ui.heading->setText(heading);
    m.showInFront();
}

void QuizScreen::showQuestion() {
    m_ui.noAnswer->setChosen(true);
    m_ui.previous->setShown(true);
    m_ui.next->setText(QStringLiteral("Next Question >>"));
    const Question& shown = question();
    m_ui.number->setText(QStringLiteral("Question") + numberText(m_question));
    m_ui.question->setText(shown.text);
    for (size_t k = 0; k < 4; ++k) m_ui.answers[k]->setText(shown.answers[k]);
    if (m_question == 1) m_ui.previous->setShown(false);
    if (m_question == QuestionCount) m_ui.next->setText(QStringLiteral("Check Score >>"));
    const QString said = m_ui.number->text() + QStringLiteral(". ") + m_ui.question->text();
    m_ui.answerGroup->setAccessibleName(said);
    // A pupil at the keyboard goes on at the first answer, where a reader says the question as the
    // keyboard comes into its group (as the quiz opens, the screen puts the keyboard there itself);
    // otherwise the question is said as it shows.
    if (!Stage::instance()->keyboardUser() || m_ui.answers[0]->widget()->hasFocus())
        announce(said);
    else if (Stage::instance()->front() == this)
        m_ui.answers[0]->widget()->setFocus(Qt::TabFocusReason);
}

int QuizScreen::markOfCurrentQuestion() const {
    int ticked = 0;
    for (int k = 1; k <= 4; ++k)
        if (m_ui.answers[size_t(k - 1)]->isChosen()) ticked = k;
    return core::markOf(question().correct, ticked);
}

// Marks the question shown and goes on: to the next question, or after the last to the score.
void QuizScreen::nextQuestion() {
    m_marks[size_t(m_question)] = markOfCurrentQuestion();
    ++m_question;
    if (m_question <= QuestionCount)
        showQuestion();
    else
        endOfQuiz();
}

void QuizScreen::endOfQuiz() {
    core::QuestionTexts texts;
    for (int q = 1; q <= QuestionCount; ++q) texts[size_t(q)] = m_sheet.questions[size_t(q - 1)].text;
    WrongAnswersScreen::list(core::wrongAnswerLines(m_marks, texts), m_ui.worksheetTitle->text());
    int score = 0;
    for (int q = 1; q <= QuestionCount; ++q) score += m_marks[size_t(q)];
    // The certificate names the work: a topic's quiz after its mathematician, a teacher's by its title.
    const QString work = m_topic.isEmpty() ? m_sheet.title : m_topic + QStringLiteral(" Quiz");
    ScoreScreen::afterQuiz({score, QuestionCount, work, m_portrait, m_topic});
    screens().close<QuizScreen>();
}

// "Name", "Class" and "Date", each followed by a rule to write on, across the printable width.
static void writingLine(Printer& printer, float W) {
    printer.setFontSize(12);
    const float y = printer.currentY();
    const float rule = y + 260;  // just under the letters' baseline at 12 points
    const std::pair<const char*, float> fields[] = {{"Name", 0.56f}, {"Class", 0.76f}, {"Date", 15 / 16.0f}};
    float x = W / 16;
    for (const auto& [label, end] : fields) {
        printer.setCurrentY(y);
        printer.setCurrentX(x);
        printer.print(QString::fromLatin1(label), false);
        printer.line(printer.currentX() + 80, rule, W * end, rule, 0);
        x = W * end + 240;
    }
    printer.setCurrentY(y);
    printer.print(QStringLiteral(" "));
    printer.print(QStringLiteral(" "));
}

// The question sheet: a header line, a line for the pupil's name, class and date, the heading and
// title, then all ten questions with their answers in two columns, whatever question is on screen.
// The quiz itself is left as it was.
void QuizScreen::printQuestionSheet() {
    const bool printed = PrintDocument([this](Printer& printer) {
        const QString publisher = QStringLiteral("Halvern Press Publishing Ltd");
        const float W = printer.printableWidth();
        printer.setFontName(QStringLiteral("Times New Roman"));
        printer.setFontBold(false);
        printer.setFontSize(16);
        printer.setCurrentX(W / 8);
        printer.print(QStringLiteral(" "));
        printer.setCurrentX(W / 16);
        printer.print(ProgramTitle, false);
        // The publisher ends where the margin starts, so its name is never cut at the page's edge.
        printer.setCurrentX(W - W / 16 - printer.textWidth(publisher));
        printer.print(publisher);
        printer.print(QStringLiteral(" "));
        writingLine(printer, W);
        printer.setFontSize(32);
        printer.printCentred(m_ui.heading->text());
        printer.printCentred(m_ui.worksheetTitle->text());
        printer.print(QStringLiteral(" "));
        printer.setFontSize(12);
        for (int i = 1; i <= QuestionCount; ++i) {
            const Question& q = m_sheet.questions[size_t(i - 1)];
            printer.setCurrentX(W / 16);
            printer.print(QStringLiteral("Question") + numberText(i) + QStringLiteral("    ") + q.text);
            printer.setCurrentX(2 * W / 6);
            printer.print(QStringLiteral("A. ") + q.answers[0], false);
            printer.setCurrentX(4 * W / 6);
            printer.print(QStringLiteral("B. ") + q.answers[1]);
            printer.setCurrentX(2 * W / 6);
            printer.print(QStringLiteral("C. ") + q.answers[2], false);
            printer.setCurrentX(4 * W / 6);
            printer.print(QStringLiteral("D. ") + q.answers[3]);
            printer.print(QStringLiteral(" "));
        }
    });
    if (printed) showMessage(QStringLiteral("Your worksheet is now printing."));
}
