#include "quiz/ScoreScreen.h"
#include "shell/Forms.h"
#include "shell/Module1.h"

using namespace platform;
using namespace Module1;

namespace {
constexpr FontSpec ButtonFont{"Tahoma", 15.75, true}, Message{"Times New Roman", 24};
}

Welldone::Welldone() {
    build({
        {Kind::Label, "Label4", -1, "Well Done!", {0, 120, 12000, 900}, {"Tahoma", 36, true}, Yellow, DefaultColour,
         Centered | Transparent},
        {Kind::PictureBox, "Picture1", -1, "", {5880, 1440, 4800, 3600}},
        {Kind::Label, "Label1", -1, "", {0, 5400, 12000, 855}, Message, Yellow, DefaultColour, Centered | Transparent},
        {Kind::Label, "Label5", -1, "", {1680, 6000, 8640, 1335}, Message, Yellow, DefaultColour,
         Centered | Transparent | Hidden},
        {Kind::Label, "Label6", -1, "Read the Key Facts and try again.", {0, 6240, 12000, 855}, Message, Yellow,
         DefaultColour, Centered | Transparent},
        {Kind::TextBox, "Text1", -1, "", {3120, 6600, 5760, 615}, Message, Black, White, Hidden, nullptr, 25},
        {Kind::Label, "Label2", -1, "Enter your name in the box above before printing your certificate",
         {3120, 7440, 5775, 855}, {"Times New Roman", 18}, Yellow, DefaultColour, Centered | Transparent | Hidden},
        {Kind::Label, "Label3", 0, "", {240, 1800, 3765, 495}, ButtonFont, Yellow, Black, Centered | Hidden},
        {Kind::Label, "Label3", 1, "Exit", {10560, 7920, 1245, 495}, ButtonFont, Yellow, Black, Centered},
        {Kind::Timer, "Timer1", -1, "", {}, {}, DefaultColour, DefaultColour, 0, nullptr, 1},
        {Kind::Timer, "Timer2", -1, "", {}, {}, DefaultColour, DefaultColour, 0, nullptr, 10},
        {Kind::Timer, "Timer3", -1, "", {}, {}, DefaultColour, DefaultColour, 0, nullptr, 1},
    });
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i) { Label3_MouseMove(i); });
    timer(QStringLiteral("Timer1"))->onTimer = [this] { Timer1_Timer(); };
    timer(QStringLiteral("Timer2"))->onTimer = [this] { Timer2_Timer(); };
    timer(QStringLiteral("Timer3"))->onTimer = [this] { Timer3_Timer(); };
}

void Welldone::Form_Load() {
    PrepareForm(*this);
    const QString scored = QStringLiteral("You have scored") + Str(Score) + QStringLiteral(" out of") + Str(OutOf) +
                           QStringLiteral(".");
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
    timer(QStringLiteral("Timer1"))->SetEnabled(true);
}

// The timers run once, in a chain, after the screen is up.
void Welldone::Timer1_Timer() {
    Picture1->SetPicture(LoadPictureOrEmpty(QStringLiteral("images\\euclidsm.jpg")));
    timer(QStringLiteral("Timer1"))->SetEnabled(false);
    timer(QStringLiteral("Timer2"))->SetEnabled(true);
}

void Welldone::Timer2_Timer() {
    if (Text1->Visible()) Text1->SetFocus();
    timer(QStringLiteral("Timer2"))->SetEnabled(false);
    Label3(0)->SetBackStyle(1);
    Label3(1)->SetBackStyle(1);
    timer(QStringLiteral("Timer3"))->SetEnabled(true);
}

void Welldone::Timer3_Timer() {
    Randomize();
    timer(QStringLiteral("Timer3"))->SetEnabled(false);
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
