#include "quiz/Quiz.h"
#include "shell/Forms.h"
#include "shell/Module1.h"

using namespace platform;
using namespace Module1;

namespace {
constexpr FontSpec ButtonFont{"Tahoma", 15.75, true}, AnswerFont{"Times New Roman", 20.25};
constexpr quint32 Green = 0x0000FF00, LightBlue = RGB(128, 128, 255);
}  // namespace

multiple::multiple() {
    build({
        {Kind::Label, "Label1", -1, "Multiple Choice", {120, 120, 6240, 900}, {"Tahoma", 36, true}, Yellow,
         DefaultColour, Transparent},
        {Kind::Label, "Label5", -1, "Vellacourt Numerists", {120, 1200, 6465, 585}, {"Times New Roman", 24}, Green,
         DefaultColour, Transparent},
        {Kind::Label, "Label6", -1, "", {120, 1920, 6465, 705}, {"Times New Roman", 24}, LightBlue, DefaultColour,
         Transparent},
        // The no-choice answer lies under the picture box, so it comes before it.
        {Kind::Option, "Option1", 5, "", {6840, 240, 495, 375}},
        {Kind::PictureBox, "Picture1", -1, "", {6840, 240, 855, 615}},
        {Kind::Label, "Label4", -1, "Question 1", {360, 3240, 5415, 615}, {"Times New Roman", 24}, Yellow,
         DefaultColour, Transparent},
        {Kind::Label, "Label2", -1, "", {960, 3960, 9840, 1455}, {"Times New Roman", 30}, Yellow, DefaultColour,
         Transparent},
        {Kind::Option, "Option1", 1, "", {2400, 5400, 6975, 525}, AnswerFont, Yellow},
        {Kind::Option, "Option1", 2, "", {2400, 6000, 6975, 525}, AnswerFont, Yellow},
        {Kind::Option, "Option1", 3, "", {2400, 6600, 6975, 525}, AnswerFont, Yellow},
        {Kind::Option, "Option1", 4, "", {2400, 7200, 6975, 525}, AnswerFont, Yellow},
        {Kind::Label, "Label3", 0, "<< Previous Question", {2040, 7920, 3765, 495}, ButtonFont, Yellow, Black,
         Centered | Hidden},
        {Kind::Label, "Label3", 1, "Next Question >>", {6000, 7920, 3765, 495}, ButtonFont, Yellow, Black, Centered},
        {Kind::Label, "Label3", 2, "Exit", {10560, 7920, 1245, 495}, ButtonFont, Yellow, Black, Centered},
        {Kind::Label, "Label3", 3, "Print Worksheet", {7920, 1920, 3045, 495}, ButtonFont, Yellow, Black, Centered},
    });
    Option1(5)->SetValue(true);
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i) { Label3_MouseMove(i); });
}

void multiple::Form_Load() {
    PrepareForm(*this);
    Score = 0;
    OutOf = 10;
    CurrentQuestion = 1;
    Option1(5)->Move(Picture1->Left() + 240, Picture1->Top() + 240);
    for (int i = 1; i <= 4; ++i) Option1(i)->SetBackColor(RGB(39, 63, 137));
    Label6->SetCaption(WorksheetTitle);
    showquest();
}

void multiple::showquest() {
    Option1(5)->SetValue(true);
    Label3(0)->SetVisible(true);
    Label3(1)->SetCaption(QStringLiteral("Next Question >>"));
    Label4->SetCaption(QStringLiteral("Question") + Str(CurrentQuestion));
    Label2->SetCaption(QuestionText[CurrentQuestion]);
    Option1(1)->SetCaption(AnswerA[CurrentQuestion]);
    Option1(2)->SetCaption(AnswerB[CurrentQuestion]);
    Option1(3)->SetCaption(AnswerC[CurrentQuestion]);
    Option1(4)->SetCaption(AnswerD[CurrentQuestion]);
    if (CurrentQuestion == 1) Label3(0)->SetVisible(false);
    if (CurrentQuestion == 10) Label3(1)->SetCaption(QStringLiteral("Check Score >>"));
    // No visible answer should carry the focus mark; while loading, the form is not on screen yet.
    if (Option1(5)->Visible() && isVisible()) Option1(5)->SetFocus();
}

void multiple::Form_MouseMove(int, int, float, float) {
    for (int i = 0; i <= 3; ++i) Label3(i)->SetBackStyle(0);
}

void multiple::Label3_MouseMove(int Index) { Label3(Index)->SetBackStyle(1); }

// The answer field names the right option 1 to 4; anything else cannot be answered right.
int multiple::markOfCurrentQuestion() const {
    int k = 0;
    try {
        k = int(Val(CorrectAnswer[CurrentQuestion]));
    } catch (const RuntimeError&) {
        return 0;
    }
    return k >= 1 && k <= 4 && Option1(k)->Value() ? 1 : 0;
}

void multiple::Label3_Click(int Index) {
    switch (Index) {
    case 0:
        CurrentQuestion = CurrentQuestion - 1;
        showquest();
        break;
    case 1:
        Marks[CurrentQuestion] = markOfCurrentQuestion();
        CurrentQuestion = CurrentQuestion + 1;
        if (CurrentQuestion < 11) showquest();
        else endOfQuiz();
        break;
    case 2:
        forms::multiple.unload();
        break;
    case 3:
        Printpage();
        break;
    default:
        break;
    }
}

void multiple::endOfQuiz() {
    for (int i = 1; i <= 10; ++i) {
        Score = Score + Marks[i];
        if (Marks[i] == 0) {
            const int n = (i - 1) - Score;  // wrong answers so far, less one
            forms::Wrong->Label2(n)->SetCaption(Str(i) + QStringLiteral(". ") + QuestionText[i]);
            forms::Wrong->Label2(n)->SetVisible(true);
        }
    }
    QuizHeading = Label5->Caption();
    forms::Wrong->Label6->SetCaption(Label6->Caption());
    forms::Welldone->Label6->SetVisible(false);
    forms::Welldone->Label5->SetVisible(true);
    forms::Welldone->Label3(0)->SetVisible(true);
    forms::Welldone->Show();
    forms::multiple.unload();
}

// The question sheet arrives with printing; until then the button does nothing.
void multiple::Printpage() {}
