#include "shell/TitleScreen.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Desktop.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Stage.h"
#include "platform/screen/Navigator.h"
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "shell/MainMenu.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"

#include <QTimer>

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTitle, "vellacourt.title")

using namespace platform;

namespace {
using Controls = TitleScreen::Controls;
constexpr int FirstFrameMs = 250;

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {0, -90, 5480, 6660}, .back = Silver, .to = slot<&Controls::panel>},
    {.at = {300, 1200, 4800, 3600}, .to = slot<&Controls::picture>, .container = container<&Controls::panel>},
    {.kind = Kind::Label, .caption = "Vellacourt Numerists", .at = {60, 360, 5355, 1065},
         .font = {"Times New Roman", 20.25, true}, .fore = Blue, .back = Silver, .flags = Centered | Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Label, .caption = "Mathematics through history", .at = {360, 5040, 4695, 375},
         .font = {"Times New Roman", 15.75}, .fore = Blue, .back = Silver, .flags = Centered | Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Label, .caption = "For pupils and their teachers", .at = {480, 5610, 4455, 375},
         .font = {"Times New Roman", 12}, .fore = Blue, .back = Silver, .flags = Centered | Transparent,
         .container = container<&Controls::panel>},
    {.kind = Kind::Label, .caption = "Published by Vellacourt Numerists for classroom use",
         .at = {0, 6420, 5415, 255}, .font = {"Arial", 8.25}, .fore = DarkGreen, .back = Silver, .flags = Transparent,
         .container = container<&Controls::panel>},
    {.caption = "OK", .at = {1320, 6000, 1335, 375},
         .font = {"Tahoma", 8.25}, .to = slot<&Controls::ok>, .container = container<&Controls::panel>},
    {.caption = "Exit", .at = {2760, 6000, 1335, 375},
         .font = {"Tahoma", 8.25}, .to = slot<&Controls::exit>, .container = container<&Controls::panel>},
};
// clang-format on
}  // namespace

void TitleScreen::readPictureAhead() { readAhead(QStringLiteral("Images\\euclidsm.jpg")); }

TitleScreen::TitleScreen() : Form(5460, 6570) {
    setText(QStringLiteral(" "));
    setBackColor(Silver);
    build<Layout>(m_ui);
    // OK has the keyboard as the screen comes up: Enter goes on into the program.
    setDefaultFocus(m_ui.ok);
    setCancelControl(m_ui.exit);
    m_ui.ok->onClick = [] {
        screens().show<MainMenu>();
        screens().close<TitleScreen>();
    };
    m_ui.exit->onClick = [] { quitProgram(); };
}

void TitleScreen::askToExit() {
    TitleScreen& screen = screens().open<TitleScreen>();
    screen.m_ui.ok->setText(QStringLiteral("Cancel"));
    // Asked whether to leave, Escape stays.
    screen.setCancelControl(screen.m_ui.ok);
    screens().show<TitleScreen>();
    // What the screen asks, in words a reader hears: a sighted pupil reads it from the buttons.
    announce(QStringLiteral("Leave Vellacourt Numerists? Exit leaves the program, Cancel goes back."));
}

void TitleScreen::prepare() {
    try {
        centreOn(Stage::instance()->screenWidth(), Stage::instance()->screenHeight());
        Stage::instance()->showBackdrop();
        m_ui.picture->setPicture(LoadPicture(QStringLiteral("Images\\euclidsm.jpg")));
        // The main menu's crest is decoded while the pupil reads this screen, once it is up: decoded
        // at once it would take the processor from the screen's first showing.
        QTimer::singleShot(FirstFrameMs, this, [] { readAhead(QStringLiteral("Images\\logo2.jpg")); });
    } catch (const std::exception& e) {
        qCWarning(lcTitle, "the title screen is laid out again: %s", core::reasonOf(e).c_str());
        // Recovery: the standard frame, and one more try at the picture. The backdrop must be up,
        // or nothing of the program would be seen.
        prepareScreen(*this, m_ui.picture);
        m_ui.panel->moveTo(0, m_ui.panel->topTwips());
        if (!Stage::instance()->isVisible()) Stage::instance()->showBackdrop();
        m_ui.picture->setPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclidsm.jpg")));
    }
}
