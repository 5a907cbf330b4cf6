#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "core/Marking.h"
#include "core/Module1.h"
#include "platform/Accessibility.h"
#include "platform/PrepareForm.h"
#include "platform/Printer.h"

platform::FormRef<::QuizScreen> forms::QuizScreen;

using namespace platform;
using namespace Module1;

namespace {
constexpr FontDesc AnswerFont{"Times New Roman", 20.25};

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.kind = Kind::Label, .name = "Label1", .caption = "Multiple Choice", .at = {120, 120, 6240, 900},
         .font = {"Tahoma", 36, true}, .fore = Yellow, .flags = Transparent},
    {.kind = Kind::Label, .name = "Label5", .caption = "Vellacourt Numerists", .at = {120, 1200, 6465, 585},
         .font = {"Times New Roman", 24}, .fore = BrightGreen, .flags = Transparent},
    {.kind = Kind::Label, .name = "Label6", .at = {120, 1920, 6465, 705}, .font = {"Times New Roman", 24},
         .fore = LightBlue, .flags = Transparent},
    {.kind = Kind::Option, .name = "Option1", .index = 5, .at = {6840, 240, 495, 375}},
    {.kind = Kind::PictureBox, .name = "Picture1", .at = {6840, 240, 855, 615}},
    {.kind = Kind::Label, .name = "Label4", .caption = "Question 1", .at = {360, 3240, 5415, 615},
         .font = {"Times New Roman", 24}, .fore = Yellow, .flags = Transparent},
    {.kind = Kind::Label, .name = "Label2", .at = {960, 3960, 9840, 1455}, .font = {"Times New Roman", 30},
         .fore = Yellow, .flags = Transparent},
    {.kind = Kind::Option, .name = "Option1", .index = 1, .at = {2400, 5400, 6975, 525}, .font = AnswerFont,
         .fore = Yellow},
    {.kind = Kind::Option, .name = "Option1", .index = 2, .at = {2400, 6000, 6975, 525}, .font = AnswerFont,
         .fore = Yellow},
    {.kind = Kind::Option, .name = "Option1", .index = 3, .at = {2400, 6600, 6975, 525}, .font = AnswerFont,
         .fore = Yellow},
    {.kind = Kind::Option, .name = "Option1", .index = 4, .at = {2400, 7200, 6975, 525}, .font = AnswerFont,
         .fore = Yellow},
    {.kind = Kind::Label, .name = "Label3", .index = 0, .caption = "<< Previous Question",
         .at = {2040, 7920, 3765, 495}, .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden},
    {.kind = Kind::Label, .name = "Label3", .index = 1, .caption = "Next Question >>", .at = {6000, 7920, 3765, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered},
    {.kind = Kind::Label, .name = "Label3", .index = 2, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered},
    {.kind = Kind::Label, .name = "Label3", .index = 3, .caption = "Print Worksheet", .at = {7920, 1920, 3045, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered},
};
// clang-format on
}  // namespace

QuizScreen::QuizScreen() {
    build(Layout);
    // "No answer" lies hidden under the picture: neither Tab, the arrows nor a screen reader reach it.
    Option1(5)->SetTabStop(false);
    // The keyboard starts on the first answer, under the question, not on "Print Worksheet" above it.
    SetKeyboardStart(Option1(1));
    Option1(5)->SetValue(true);
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i) { Label3_MouseMove(i); });
}

void QuizScreen::Form_Load() {
    PrepareForm(*this);
    Score = 0;
    OutOf = QuestionCount;
    CurrentQuestion = 1;
    Option1(5)->Move(Picture1->Left() + 240, Picture1->Top() + 240);
    for (int i = 1; i <= 4; ++i) Option1(i)->SetBackColor(theme::ScreenBlue);
    Label6->SetCaption(WorksheetTitle);
    showQuestion();
}

void QuizScreen::start(const Picture& picture, const QString& heading) {
    QuizScreen& m = *forms::QuizScreen;
    m.Picture1->SetPicture(picture);
    m.Label5->SetCaption(heading);
    m.Show();
}

void QuizScreen::showQuestion() {
    Option1(5)->SetValue(true);
    Label3(0)->SetVisible(true);
    Label3(1)->SetCaption(QStringLiteral("Next Question >>"));
    Label4->SetCaption(QStringLiteral("Question") + numberText(CurrentQuestion));
    Label2->SetCaption(QuestionText[CurrentQuestion]);
    Option1(1)->SetCaption(AnswerA[CurrentQuestion]);
    Option1(2)->SetCaption(AnswerB[CurrentQuestion]);
    Option1(3)->SetCaption(AnswerC[CurrentQuestion]);
    Option1(4)->SetCaption(AnswerD[CurrentQuestion]);
    if (CurrentQuestion == 1) Label3(0)->SetVisible(false);
    if (CurrentQuestion == QuestionCount) Label3(1)->SetCaption(QStringLiteral("Check Score >>"));
    announce(Label4->Caption() + QStringLiteral(". ") + Label2->Caption());
}

void QuizScreen::Form_MouseMove(int, int, float, float) {
    Label3.unhover();
}

void QuizScreen::Label3_MouseMove(int Index) { Label3(Index)->SetBackStyle(1); }

int QuizScreen::markOfCurrentQuestion() const {
    int ticked = 0;
    for (int k = 1; k <= 4; ++k)
        if (Option1(k)->Value()) ticked = k;
    return core::markOf(CorrectAnswer[CurrentQuestion], ticked);
}

void QuizScreen::Label3_Click(int Index) {
    switch (Index) {
    case 0:
        CurrentQuestion = CurrentQuestion - 1;
        showQuestion();
        break;
    case 1:
        Marks[CurrentQuestion] = markOfCurrentQuestion();
        CurrentQuestion = CurrentQuestion + 1;
        if (CurrentQuestion <= QuestionCount)
            showQuestion();
        else
            endOfQuiz();
        break;
    case 2:
        forms::QuizScreen.unload();
        break;
    case 3:
        Printpage();
        break;
    default:
        break;
    }
}

void QuizScreen::endOfQuiz() {
    for (int i = 1; i <= QuestionCount; ++i) Score = Score + Marks[i];
    WrongAnswersScreen::list(core::wrongAnswerLines(Marks, QuestionText), Label6->Caption());
    QuizHeading = Label5->Caption();
    ScoreScreen::afterQuiz();
    forms::QuizScreen.unload();
}

// "Name", "Class" and "Date", each followed by a rule to write on, across the printable width.
static void writingLine(Printer& printer, float W) {
    printer.SetFontSize(12);
    const float y = printer.CurrentY();
    const float rule = y + 260;  // just under the letters' baseline at 12 points
    const std::pair<const char*, float> fields[] = {{"Name", 0.56f}, {"Class", 0.76f}, {"Date", 15 / 16.0f}};
    float x = W / 16;
    for (const auto& [label, end] : fields) {
        printer.SetCurrentY(y);
        printer.SetCurrentX(x);
        printer.Print(QString::fromLatin1(label), false);
        printer.Line(printer.CurrentX() + 80, rule, W * end, rule, 0);
        x = W * end + 240;
    }
    printer.SetCurrentY(y);
    printer.Print(QStringLiteral(" "));
    printer.Print(QStringLiteral(" "));
}

// The question sheet: a header line, a line for the pupil's name, class and date, the heading and
// title, then all ten questions with their answers in two columns, whatever question is on screen.
// The quiz itself is left as it was.
void QuizScreen::Printpage() {
    const bool printed = PrintDocument([this](Printer& printer) {
        const QString publisher = QStringLiteral("Halvern Press Publishing Ltd");
        const float W = printer.ScaleWidth();
        printer.SetFontName(QStringLiteral("Times New Roman"));
        printer.SetFontBold(false);
        printer.SetFontSize(16);
        printer.SetCurrentX(W / 8);
        printer.Print(QStringLiteral(" "));
        printer.SetCurrentX(W / 16);
        printer.Print(ProgramTitle, false);
        // The publisher ends where the margin starts, so its name is never cut at the page's edge.
        printer.SetCurrentX(W - W / 16 - printer.TextWidth(publisher));
        printer.Print(publisher);
        printer.Print(QStringLiteral(" "));
        writingLine(printer, W);
        printer.SetFontSize(32);
        printer.PrintCentred(Label5->Caption());
        printer.PrintCentred(Label6->Caption());
        printer.Print(QStringLiteral(" "));
        printer.SetFontSize(12);
        for (int i = 1; i <= QuestionCount; ++i) {
            printer.SetCurrentX(W / 16);
            printer.Print(QStringLiteral("Question") + numberText(i) + QStringLiteral("    ") + QuestionText[i]);
            printer.SetCurrentX(2 * W / 6);
            printer.Print(QStringLiteral("A. ") + AnswerA[i], false);
            printer.SetCurrentX(4 * W / 6);
            printer.Print(QStringLiteral("B. ") + AnswerB[i]);
            printer.SetCurrentX(2 * W / 6);
            printer.Print(QStringLiteral("C. ") + AnswerC[i], false);
            printer.SetCurrentX(4 * W / 6);
            printer.Print(QStringLiteral("D. ") + AnswerD[i]);
            printer.Print(QStringLiteral(" "));
        }
    });
    if (printed) showMessage(QStringLiteral("Your worksheet is now printing."));
}
