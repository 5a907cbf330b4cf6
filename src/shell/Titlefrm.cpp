#include "shell/Titlefrm.h"
#include "platform/Stage.h"
#include "shell/Forms.h"
#include "shell/Module1.h"

using namespace platform;

void Grey::Form_Load() { Stage::instance()->setBackColor(RGB(48, 133, 214)); }
void Grey::Show() { Stage::instance()->showBackdrop(); }

Titlefrm::Titlefrm() : Form(5460, 6570) {
    SetCaption(QStringLiteral(" "));
    SetBackColor(0x00C0C0C0);
    constexpr quint32 blue = 0x00FF0000, green = 0x00008000, grey = 0x00C0C0C0;
    build({
        {Kind::Frame, "Frame1", -1, "", {0, -90, 5480, 6660}, {}, DefaultColour, grey},
        {Kind::PictureBox, "Picture1", -1, "", {300, 1200, 4800, 3600}, {}, DefaultColour, DefaultColour, 0, "Frame1"},
        {Kind::Label, "Label4", -1, "Vellacourt Numerists", {60, 360, 5355, 1065}, {"Times New Roman", 20.25, true},
         blue, grey, Centered | Transparent, "Frame1"},
        {Kind::Label, "Label1", -1, "Mathematics through history", {360, 5040, 4695, 375},
         {"Times New Roman", 15.75}, blue, grey, Centered | Transparent, "Frame1"},
        {Kind::Label, "Label3", -1, "For pupils and their teachers", {480, 5610, 4455, 375}, {"Times New Roman", 12},
         blue, grey, Centered | Transparent, "Frame1"},
        {Kind::Label, "Label2", -1, "Published by Vellacourt Numerists for classroom use", {0, 6420, 5415, 255},
         {"Arial", 8.25}, green, grey, Transparent, "Frame1"},
        {Kind::Command, "Command1", -1, "OK", {1320, 6000, 1335, 375}, {"Tahoma", 8.25}, DefaultColour, DefaultColour,
         0, "Frame1"},
        {Kind::Command, "Command2", -1, "Exit", {2760, 6000, 1335, 375}, {"Tahoma", 8.25}, DefaultColour, DefaultColour,
         0, "Frame1"},
    });
    Command1->onClick = [this] { Command1_Click(); };
    Command2->onClick = [this] { Command2_Click(); };
}

void Titlefrm::Form_Load() {
    try {
        const float screenWidth = Stage::instance()->screenWidth();
        const float screenHeight = Stage::instance()->screenHeight();
        SetTop(float(double(screenHeight) / 2 - double(Height()) / 2));
        SetLeft(float(double(screenWidth) / 2 - double(Width()) / 2));
        forms::Grey->Show();
        Picture1->SetPicture(LoadPicture(QStringLiteral("Images\\euclidsm.jpg")));
    } catch (const std::exception&) {
        // Recovery: the standard frame, and one more try at the picture. The backdrop must be up,
        // or nothing of the program would be seen.
        Module1::PrepareForm(*this);
        Frame1->Move(0, Frame1->Top());
        if (!Stage::instance()->isVisible()) forms::Grey->Show();
        Picture1->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclidsm.jpg")));
    }
}

void Titlefrm::Command1_Click() {
    forms::intro0->Show();
    forms::Titlefrm.unload();
}

void Titlefrm::Command2_Click() { End(); }
