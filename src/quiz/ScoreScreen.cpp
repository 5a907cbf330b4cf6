#include "quiz/ScoreScreen.h"
#include "shell/Forms.h"
#include "quiz/WrongAnswers.h"
#include "shell/Module1.h"

platform::FormRef<::Welldone> forms::Welldone;

using namespace platform;
using namespace Module1;

namespace {
constexpr FontDesc ButtonFont{"Tahoma", 15.75, true}, Message{"Times New Roman", 24};
}

namespace {
// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.kind = Kind::Label, .name = "Label4", .caption = "Well Done!", .at = {0, 120, 12000, 900},
         .font = {"Tahoma", 36, true}, .fore = Yellow, .flags = Centered | Transparent},
    {.kind = Kind::PictureBox, .name = "Picture1", .at = {5880, 1440, 4800, 3600}},
    {.kind = Kind::Label, .name = "Label1", .at = {0, 5400, 12000, 855}, .font = Message, .fore = Yellow,
         .flags = Centered | Transparent},
    {.kind = Kind::Label, .name = "Label5", .at = {1680, 6000, 8640, 1335}, .font = Message, .fore = Yellow,
         .flags = Centered | Transparent | Hidden},
    {.kind = Kind::Label, .name = "Label6", .caption = "Read the Key Facts and try again.",
         .at = {0, 6240, 12000, 855}, .font = Message, .fore = Yellow, .flags = Centered | Transparent},
    {.kind = Kind::TextBox, .name = "Text1", .at = {3120, 6600, 5760, 615}, .font = Message, .fore = Black,
         .back = White, .flags = Hidden, .maxLength = 25},
    {.kind = Kind::Label, .name = "Label2",
         .caption = "Enter your name in the box above before printing your certificate",
         .at = {3120, 7440, 5775, 855}, .font = {"Times New Roman", 18}, .fore = Yellow,
         .flags = Centered | Transparent | Hidden},
    {.kind = Kind::Label, .name = "Label3", .index = 0, .at = {240, 1800, 3765, 495}, .font = ButtonFont,
         .fore = Yellow, .back = Black, .flags = Centered | Hidden},
    {.kind = Kind::Label, .name = "Label3", .index = 1, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = ButtonFont, .fore = Yellow, .back = Black, .flags = Centered},
    {.kind = Kind::Timer, .name = "Timer1", .interval = 1},
    {.kind = Kind::Timer, .name = "Timer2", .interval = 10},
    {.kind = Kind::Timer, .name = "Timer3", .interval = 1},
};
// clang-format on
}  // namespace

Welldone::Welldone() {
    build(Layout);
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i) { Label3_MouseMove(i); });
    Timer1->onTimer = [this] { Timer1_Timer(); };
    Timer2->onTimer = [this] { Timer2_Timer(); };
    Timer3->onTimer = [this] { Timer3_Timer(); };
}

void Welldone::Form_Load() {
    PrepareForm(*this);
    const QString scored =
        QStringLiteral("You have scored") + Str(Score) + QStringLiteral(" out of") + Str(OutOf) + QStringLiteral(".");
    const QString hint = QStringLiteral("Click the button above to check which questions you answered incorrectly.");
    if (Score == OutOf) {
        Label1->SetCaption(QStringLiteral("Excellent work. ") + scored);
        Label6->SetVisible(false);
        Label3(0)->SetVisible(true);
        Label3(0)->SetCaption(QStringLiteral("Print Certificate"));
        Text1->SetVisible(true);
        Label2->SetVisible(true);
    } else if (Score == OutOf - 1 || Score == OutOf - 2) {
        Label1->SetCaption(QStringLiteral("Good work. ") + scored);
        Label5->SetCaption(hint);
        Label3(0)->SetCaption(QStringLiteral("Check Wrong Answers"));
    } else if (Score < OutOf - 2) {
        Label1->SetCaption(scored);
        Label5->SetCaption(hint);
        Label3(0)->SetCaption(QStringLiteral("Check Wrong Answers"));
    }
    Timer1->SetEnabled(true);
}

// The timers run once, in a chain, after the screen is up.
void Welldone::Timer1_Timer() {
    Picture1->SetPicture(LoadPictureOrEmpty(QStringLiteral("images\\euclidsm.jpg")));
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(true);
}

void Welldone::Timer2_Timer() {
    if (Text1->Visible()) Text1->SetFocus();
    Timer2->SetEnabled(false);
    Label3(0)->SetBackStyle(1);
    Label3(1)->SetBackStyle(1);
    Timer3->SetEnabled(true);
}

void Welldone::Timer3_Timer() {
    Randomize();
    Timer3->SetEnabled(false);
}

void Welldone::Form_MouseMove(int, int, float, float) {
    Label3(0)->SetBackStyle(0);
    Label3(1)->SetBackStyle(0);
}

void Welldone::Label3_MouseMove(int Index) { Label3(Index)->SetBackStyle(1); }

void Welldone::Label3_Click(int Index) {
    if (Index == 0) {
        if (Score == OutOf) {
            try {
                Printpage();
            } catch (const std::exception&) {
                MsgBox(QStringLiteral("Printing has been cancelled."));
            }
        } else {
            forms::Wrong->Show();
        }
    } else if (Index == 1) {
        forms::Wrong.unload();
        forms::Welldone.unload();
    }
}

// The certificate arrives with printing; until then the button does nothing.
void Welldone::Printpage() {}
