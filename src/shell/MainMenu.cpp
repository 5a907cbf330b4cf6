#include "shell/MainMenu.h"
#include "shell/Forms.h"
#include "shell/Module1.h"
#include "worksheets/WorksheetFiles.h"

using namespace platform;

namespace {
constexpr FontSpec Entry12{"Tahoma", 12, true}, Entry18{"Tahoma", 18, true}, Entry14{"Tahoma", 14.25, true};
constexpr int EntryFlags = Border | Centered;
constexpr int Greyed = EntryFlags | Disabled;
}  // namespace

intro0::intro0() {
    build({
        {Kind::Label, "Label1", -1, "Vellacourt Numerists", {0, 0, 12000, 900}, {"Tahoma", 32.25, true}, Yellow,
         DefaultColour, Centered | Transparent},
        {Kind::Frame, "Frame1", -1, "", {6720, 1080, 5055, 3975}},
        {Kind::Image, "Image1", -1, "", {120, 240, 4800, 3600}, {}, DefaultColour, DefaultColour, 0, "Frame1"},
        {Kind::Image, "Image2", -1, "", {4200, 6300, 1500, 2085}},
        {Kind::Label, "Label4", -1, "www.vellacourt.example", {6960, 7680, 3315, 375},
         {"Arial", 12, true}, Yellow, Black, Centered | Border},
        {Kind::Label, "Label3", -1, "\u00A9 Vellacourt Numerists 2026", {6960, 8160, 3480, 375},
         {"Tahoma", 9.75}, Yellow, DefaultColour, Centered | Transparent},
        {Kind::Label, "Label2", 0, "Pythagoras", {120, 2160, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 1, "Euclid", {120, 2880, 3075, 375}, Entry12, Yellow, Black, EntryFlags},
        {Kind::Label, "Label2", 2, "Eratosthenes", {120, 3600, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 3, "Archimedes", {120, 4320, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 4, "Al-Khwarizmi", {120, 5040, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 5, "Omar Khayyam", {120, 5760, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 6, "Fibonacci", {3360, 2160, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 7, "John Napier", {3360, 2880, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 8, "René Descartes", {3360, 3600, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 9, "Blaise Pascal", {3360, 4320, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 10, "Leonhard Euler", {3360, 5040, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 11, "Ada Lovelace", {3360, 5760, 3075, 375}, Entry12, Yellow, Black, Greyed},
        {Kind::Label, "Label2", 16, "Exit", {10560, 7920, 1245, 495}, Entry18, Yellow, Black, EntryFlags},
        {Kind::Label, "Label2", 17, "Multiple Choice Wizard", {6960, 5760, 4635, 495}, Entry18, Yellow, Navy, EntryFlags},
        {Kind::Label, "Label2", 18, "Worksheet Catalogue", {6960, 6600, 4635, 495}, Entry18, Yellow, Navy, EntryFlags},
        {Kind::Label, "Label2", 19, "Acknowledgments", {120, 7920, 3075, 495}, Entry14, Yellow, Navy, EntryFlags},
        {Kind::Label, "Label2", 20, "Teachers' Guide", {120, 1080, 3075, 495}, Entry14, Yellow, Navy, EntryFlags},
        {Kind::Timer, "Timer1", -1, "", {}, {}, DefaultColour, DefaultColour, 0, nullptr, 1},
    });
    Label2.onClick([this](int i) { Label2_Click(i); });
    Label2.onMouseMove([this](int i) { Label2_MouseMove(i); });
    Label4->onClick = [this] { Label4_Click(); };
    timer(QStringLiteral("Timer1"))->onTimer = [this] { Timer1_Timer(); };
}

void intro0::Form_Load() {
    Module1::PrepareForm(*this);
    Image2->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\logo2.jpg")));
    Image1->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclidsm.jpg")));
    Frame1->SetBackColor(RGB(39, 63, 137));
    timer(QStringLiteral("Timer1"))->SetEnabled(true);
}

void intro0::Form_MouseMove(int, int, float, float) {
    for (int i : Label2.indices()) Label2(i)->SetBackStyle(0);
}

void intro0::Label2_MouseMove(int Index) { Label2(Index)->SetBackStyle(1); }

void intro0::Label2_Click(int Index) {
    switch (Index) {
    case 1:
        forms::euclid->Show();
        break;
    case 16:
        forms::Titlefrm->Command1->SetCaption(QStringLiteral("Cancel"));
        forms::Titlefrm->Show();
        break;
    case 17:
        forms::wizard->Show();
        break;
    case 18:
        forms::worksheets->Show();
        forms::intro0.unload();
        break;
    default:
        break;  // greyed mathematicians; the guide and acknowledgments arrive with their screens
    }
}

void intro0::Label4_Click() { openUrl(WebAddress); }

// Reads the catalogue list once, right after the menu is on screen. A missing or short
// list ends the reading quietly with what was read.
void intro0::Timer1_Timer() {
    try {
        worksheetfiles::IndexRead();
    } catch (const RuntimeError&) {
    }
    timer(QStringLiteral("Timer1"))->SetEnabled(false);
}
