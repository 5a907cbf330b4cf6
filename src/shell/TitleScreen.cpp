#include "shell/TitleScreen.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Desktop.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Stage.h"
#include "shell/Forms.h"
#include "shell/MainMenu.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"

#include <QTimer>

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTitle, "vellacourt.title")

platform::FormRef<::Backdrop> forms::Backdrop;
platform::FormRef<::TitleScreen> forms::TitleScreen;

using namespace platform;

void Backdrop::Form_Load() { Stage::instance()->setBackColor(theme::BackdropBlue); }
void Backdrop::Show() { Stage::instance()->showBackdrop(); }

namespace {
using Controls = TitleScreen::Controls;
constexpr int FirstFrameMs = 250;

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.kind = Kind::Frame, .name = "Frame1", .at = {0, -90, 5480, 6660}, .back = Silver, .to = slot<&Controls::panel>},
    {.kind = Kind::PictureBox, .name = "Picture1", .at = {300, 1200, 4800, 3600}, .to = slot<&Controls::picture>, .container = container<&Controls::panel>},
    {.kind = Kind::Label, .name = "Label4", .caption = "Vellacourt Numerists", .at = {60, 360, 5355, 1065},
         .font = {"Times New Roman", 20.25, true}, .fore = Blue, .back = Silver, .flags = Centered | Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Label, .name = "Label1", .caption = "Mathematics through history", .at = {360, 5040, 4695, 375},
         .font = {"Times New Roman", 15.75}, .fore = Blue, .back = Silver, .flags = Centered | Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Label, .name = "Label3", .caption = "For pupils and their teachers", .at = {480, 5610, 4455, 375},
         .font = {"Times New Roman", 12}, .fore = Blue, .back = Silver, .flags = Centered | Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Label, .name = "Label2", .caption = "Published by Vellacourt Numerists for classroom use",
         .at = {0, 6420, 5415, 255}, .font = {"Arial", 8.25}, .fore = DarkGreen, .back = Silver, .flags = Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Command, .name = "Command1", .caption = "OK", .at = {1320, 6000, 1335, 375},
         .font = {"Tahoma", 8.25}, .to = slot<&Controls::ok>, .container = container<&Controls::panel>},
    {.kind = Kind::Command, .name = "Command2", .caption = "Exit", .at = {2760, 6000, 1335, 375},
         .font = {"Tahoma", 8.25}, .to = slot<&Controls::exit>, .container = container<&Controls::panel>},
};
// clang-format on
}  // namespace

void TitleScreen::readPictureAhead() { readAhead(QStringLiteral("Images\\euclidsm.jpg")); }

TitleScreen::TitleScreen() : Form(5460, 6570) {
    SetCaption(QStringLiteral(" "));
    SetBackColor(Silver);
    build(Layout, m_ui);
    // OK has the keyboard as the screen comes up: Enter goes on into the program.
    SetDefaultFocus(m_ui.ok);
    SetCancelControl(m_ui.exit);
    m_ui.ok->onClick = [] {
        forms::MainMenu.show();
        forms::TitleScreen.unload();
    };
    m_ui.exit->onClick = [] { quitProgram(); };
}

void TitleScreen::askToExit() {
    TitleScreen& screen = forms::TitleScreen.open();
    screen.m_ui.ok->SetCaption(QStringLiteral("Cancel"));
    // Asked whether to leave, Escape stays.
    screen.SetCancelControl(screen.m_ui.ok);
    forms::TitleScreen.show();
    // What the screen asks, in words a reader hears: a sighted pupil reads it from the buttons.
    announce(QStringLiteral("Leave Vellacourt Numerists? Exit leaves the program, Cancel goes back."));
}

void TitleScreen::Form_Load() {
    try {
        centreOn(Stage::instance()->screenWidth(), Stage::instance()->screenHeight());
        forms::Backdrop.show();
        m_ui.picture->SetPicture(LoadPicture(QStringLiteral("Images\\euclidsm.jpg")));
        // The main menu's crest is decoded while the pupil reads this screen, once it is up: decoded
        // at once it would take the processor from the screen's first showing.
        QTimer::singleShot(FirstFrameMs, this, [] { readAhead(QStringLiteral("Images\\logo2.jpg")); });
    } catch (const std::exception& e) {
        qCWarning(lcTitle, "the title screen is laid out again: %s", core::reasonOf(e).c_str());
        // Recovery: the standard frame, and one more try at the picture. The backdrop must be up,
        // or nothing of the program would be seen.
        prepareScreen(*this, m_ui.picture);
        m_ui.panel->Move(0, m_ui.panel->Top());
        if (!Stage::instance()->isVisible()) forms::Backdrop.show();
        m_ui.picture->SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclidsm.jpg")));
    }
}
