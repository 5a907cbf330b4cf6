#include "quiz/WrongAnswers.h"
#include "shell/Forms.h"
#include "shell/Module1.h"

using namespace platform;

Wrong::Wrong() {
    constexpr FontSpec Heading{"Tahoma", 20.25, true}, Line{"Tahoma", 15.75, true};
    build({
        {Kind::Label, "Label6", -1, "", {0, 120, 12000, 540}, Heading, Yellow, DefaultColour, Centered | Transparent},
        {Kind::Label, "Label4", -1, "You answered the following questions incorrectly.", {240, 960, 12000, 540}, Line,
         Yellow, DefaultColour, Transparent},
        {Kind::Label, "Label5", -1, "Read the Key Facts and try again.", {0, 7920, 12000, 540}, Heading, Yellow,
         DefaultColour, Centered | Transparent},
        {Kind::Label, "Label3", 1, "Exit", {10560, 7920, 1245, 495}, Line, Yellow, Black, Centered},
    });
    for (int i = 0; i < 10; ++i)
        build({{Kind::Label, "Label2", i, "", {120, 1680 + 600.0f * float(i), 12000, 540}, Line, White, DefaultColour,
                Transparent | Hidden}});
    Label3.onClick([this](int i) { Label3_Click(i); });
}

void Wrong::Form_Load() { Module1::PrepareForm(*this); }

void Wrong::Label3_Click(int) {
    forms::Welldone.unload();
    forms::Wrong.unload();
}
