#include "shell/MainMenu.h"
#include "platform/Stage.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "shell/Forms.h"
#include "pages/GuideViewer.h"
#include "pages/PageViewer.h"
#include "shell/Titlefrm.h"
#include "shell/TopicMenu.h"
#include "worksheets/Catalogue.h"
#include "worksheets/Wizard.h"
#include "core/Module1.h"
#include "platform/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMenu, "vellacourt.menu")

platform::FormRef<::intro0> forms::intro0;

using namespace platform;

namespace {
constexpr FontDesc Entry12{"Tahoma", 12, true}, Entry18{"Tahoma", 18, true}, Entry14{"Tahoma", 14.25, true};
constexpr int EntryFlags = Border | Centered;
constexpr int Greyed = EntryFlags | Disabled;

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.kind = Kind::Label, .name = "Label1", .caption = "Vellacourt Numerists", .at = {0, 0, 12000, 900},
         .font = {"Tahoma", 32.25, true}, .fore = Yellow, .flags = Centered | Transparent},
    {.kind = Kind::Frame, .name = "Frame1", .at = {6720, 1080, 5055, 3975}},
    {.kind = Kind::Image, .name = "Image1", .at = {120, 240, 4800, 3600}, .container = "Frame1"},
    {.kind = Kind::Image, .name = "Image2", .at = {4200, 6300, 1500, 2085}},
    {.kind = Kind::Label, .name = "Label4", .caption = "www.vellacourt.example", .at = {6960, 7680, 3315, 375},
         .font = {"Arial", 12, true}, .fore = Yellow, .back = Black, .flags = Centered | Border},
    {.kind = Kind::Label, .name = "Label3", .caption = "\u00A9 Vellacourt Numerists 2026",
         .at = {6960, 8160, 3480, 375}, .font = {"Tahoma", 9.75}, .fore = Yellow, .flags = Centered | Transparent},
    {.kind = Kind::Label, .name = "Label2", .index = 0, .caption = "Pythagoras", .at = {120, 2160, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 1, .caption = "Euclid", .at = {120, 2880, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = 2, .caption = "Eratosthenes", .at = {120, 3600, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 3, .caption = "Archimedes", .at = {120, 4320, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 4, .caption = "Al-Khwarizmi", .at = {120, 5040, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 5, .caption = "Omar Khayyam", .at = {120, 5760, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 6, .caption = "Fibonacci", .at = {3360, 2160, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 7, .caption = "John Napier", .at = {3360, 2880, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 8, .caption = "René Descartes", .at = {3360, 3600, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 9, .caption = "Blaise Pascal", .at = {3360, 4320, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 10, .caption = "Leonhard Euler", .at = {3360, 5040, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = 11, .caption = "Ada Lovelace", .at = {3360, 5760, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed},
    {.kind = Kind::Label, .name = "Label2", .index = intro0::ExitEntry, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = Entry18, .fore = Yellow, .back = Black, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = intro0::WizardEntry, .caption = "Multiple Choice Wizard",
         .at = {6960, 5760, 4635, 495}, .font = Entry18, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = intro0::CatalogueEntry, .caption = "Worksheet Catalogue",
         .at = {6960, 6600, 4635, 495}, .font = Entry18, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = intro0::AcknowledgmentsEntry, .caption = "Acknowledgments", .at = {120, 7920, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = intro0::GuideEntry, .caption = "Teachers' Guide", .at = {120, 1080, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Timer, .name = "Timer1", .interval = 1},
};
// clang-format on
}  // namespace

intro0::intro0() {
    build(Layout);
    Label2.onClick([this](int i) { Label2_Click(i); });
    Label2.onMouseMove([this](int i) { Label2_MouseMove(i); });
    Label4->onClick = [this] { Label4_Click(); };
    Timer1->onTimer = [this] { Timer1_Timer(); };
}

void intro0::Form_Load() {
    Module1::PrepareForm(*this);
    // No pupil's work is open here: a screen that changed size is followed from this menu.
    Stage::instance()->setRestingScreen(this);
    Image2->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\logo2.jpg")));
    Image1->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclidsm.jpg")));
    Frame1->SetBackColor(theme::ScreenBlue);
    Timer1->SetEnabled(true);
}

void intro0::Form_MouseMove(int, int, float, float) {
    for (int i : Label2.indices()) Label2(i)->SetBackStyle(0);
}

void intro0::Label2_MouseMove(int Index) { Label2(Index)->SetBackStyle(1); }

void intro0::Label2_Click(int Index) {
    switch (Index) {
    case EuclidEntry:
        forms::euclid->Show();
        break;
    case ExitEntry:
        Titlefrm::askToExit();
        break;
    case WizardEntry:
        forms::wizard->Show();
        break;
    case CatalogueEntry:
        forms::worksheets->Show();
        forms::intro0.unload();
        break;
    case AcknowledgmentsEntry:
        teacher::showAcknowledgments();
        break;
    case GuideEntry:
        guide::showFirstPage();
        break;
    default:
        break;  // the greyed mathematicians
    }
}

// The catalogue's way back to this menu, and the picture and heading its worksheets run under.
static const bool catalogueKnowsTheMenu = [] {
    worksheets::menu = {[] { forms::intro0->Show(); }, &intro0::picture, &intro0::heading};
    return true;
}();

Picture intro0::picture() { return forms::intro0->Image1->picture(); }
QString intro0::heading() { return forms::intro0->Label1->Caption(); }

void intro0::Label4_Click() { openUrl(WebAddress); }

// Reads the catalogue list once, right after the menu is on screen. A missing or short
// list ends the reading quietly with what was read.
void intro0::Timer1_Timer() {
    try {
        worksheetfiles::IndexRead();
    } catch (const RuntimeError& e) {
        qCInfo(lcMenu, "the catalogue list is read as far as it goes: %s", core::reasonOf(e).c_str());
    }
    Timer1->SetEnabled(false);
    // Euclid's page is the one ready to open: on a scaled stage its large picture is decoded now,
    // while the pupil reads the menu, not when the pupil clicks.
    if (Stage::instance()->devicePixelRatioF() > 1) LoadPictureOrEmpty(QStringLiteral("Images\\euclid.jpg"));
}
