#include "shell/MainMenu.h"
#include "platform/Stage.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "shell/Forms.h"
#include "pages/GuideViewer.h"
#include "pages/PageViewer.h"
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "core/Module1.h"
#include "platform/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMenu, "vellacourt.menu")

platform::FormRef<::MainMenu> forms::MainMenu;

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
    {.kind = Kind::Label, .name = "Label2", .index = MainMenu::ExitEntry, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = Entry18, .fore = Yellow, .back = Black, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = MainMenu::WizardEntry, .caption = "Multiple Choice Wizard",
         .at = {6960, 5760, 4635, 495}, .font = Entry18, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = MainMenu::CatalogueEntry, .caption = "Worksheet Catalogue",
         .at = {6960, 6600, 4635, 495}, .font = Entry18, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = MainMenu::AcknowledgmentsEntry, .caption = "Acknowledgments", .at = {120, 7920, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Label, .name = "Label2", .index = MainMenu::GuideEntry, .caption = "Teachers' Guide", .at = {120, 1080, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags},
    {.kind = Kind::Timer, .name = "Timer1", .interval = 1},
};
// clang-format on
}  // namespace

MainMenu::MainMenu() {
    build(Layout);
    Label2.onClick([this](int i) { Label2_Click(i); });
    Label2.onMouseMove([this](int i) { Label2_MouseMove(i); });
    Label4->onClick = [this] { Label4_Click(); };
    Timer1->onTimer = [this] { Timer1_Timer(); };
}

void MainMenu::Form_Load() {
    Module1::PrepareForm(*this);
    // No pupil's work is open here: a screen that changed size is followed from this menu.
    Stage::instance()->setRestingScreen(this);
    Image2->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\logo2.jpg")));
    Image1->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclidsm.jpg")));
    Frame1->SetBackColor(theme::ScreenBlue);
    Timer1->SetEnabled(true);
}

void MainMenu::Form_MouseMove(int, int, float, float) {
    Label2.unhover();
}

void MainMenu::Label2_MouseMove(int Index) { Label2(Index)->SetBackStyle(1); }

void MainMenu::Label2_Click(int Index) {
    switch (Index) {
    case EuclidEntry:
        forms::TopicScreen->Show();
        break;
    case ExitEntry:
        TitleScreen::askToExit();
        break;
    case WizardEntry:
        forms::WizardScreen->Show();
        break;
    case CatalogueEntry:
        forms::CatalogueScreen->Show();
        forms::MainMenu.unload();
        break;
    case AcknowledgmentsEntry:
        PageViewer::showAcknowledgments();
        break;
    case GuideEntry:
        GuideViewer::showFirstPage();
        break;
    default:
        break;  // the greyed mathematicians
    }
}

// The catalogue's way back to this menu, and the picture and heading its worksheets run under.
static const bool catalogueKnowsTheMenu = [] {
    CatalogueScreen::menu = {[] { forms::MainMenu->Show(); }, &MainMenu::picture, &MainMenu::heading};
    return true;
}();

Picture MainMenu::picture() { return forms::MainMenu->Image1->picture(); }
QString MainMenu::heading() { return forms::MainMenu->Label1->Caption(); }

void MainMenu::Label4_Click() { openUrl(WebAddress); }

// Reads the catalogue list once, right after the menu is on screen. A missing or short
// list ends the reading quietly with what was read.
void MainMenu::Timer1_Timer() {
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
