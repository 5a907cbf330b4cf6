#include "shell/MainMenu.h"
#include "platform/screen/Stage.h"
#include "platform/screen/Desktop.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Navigator.h"
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "results/ResultsScreen.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include "platform/files/Paths.h"
#include "platform/files/WorkingFiles.h"
#include "activities/BoardKinds.h"

#include <QDir>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMenu, "vellacourt.menu")

using namespace platform;

namespace {
// The program's own picture (the title screen's too), not a topic's.
const QString Portrait = QStringLiteral("Images\\euclidsm.jpg");
constexpr FontDesc Entry12{"Tahoma", 12, true}, Entry18{"Tahoma", 18, true}, Entry14{"Tahoma", 14.25, true};
constexpr int EntryFlags = Border | Centered | Hover;
using Controls = MainMenu::Controls;
constexpr int Greyed = EntryFlags | Disabled;

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.caption = "Vellacourt Numerists", .at = {0, 0, 12000, 900},
         .font = {"Tahoma", 32.25, true}, .fore = Yellow, .flags = Centered | Transparent, .to = slot<&Controls::heading>},
    {.at = {6720, 1080, 5055, 3975}, .to = slot<&Controls::frame>},
    {.at = {120, 240, 4800, 3600}, .to = slot<&Controls::portrait>,
         .container = container<&Controls::frame>},
    {.at = {4200, 6300, 1500, 2085}, .to = slot<&Controls::logo>},
    {.caption = "www.vellacourt.example", .at = {6960, 7680, 3315, 375},
         .font = {"Arial", 12, true}, .fore = Yellow, .back = Black, .flags = Centered | Border, .to = slot<&Controls::webLink>},
    {.kind = Kind::Label, .caption = "\u00A9 Vellacourt Numerists 2026",
         .at = {6960, 8160, 3480, 375}, .font = {"Tahoma", 9.75}, .fore = Yellow, .flags = Centered | Transparent},
    {.index = 0, .caption = "Pythagoras", .at = {120, 2160, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 1, .caption = "Euclid", .at = {120, 2880, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 2, .caption = "Eratosthenes", .at = {120, 3600, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 3, .caption = "Archimedes", .at = {120, 4320, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 4, .caption = "Al-Khwarizmi", .at = {120, 5040, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 5, .caption = "Omar Khayyam", .at = {120, 5760, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 6, .caption = "Fibonacci", .at = {3360, 2160, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 7, .caption = "John Napier", .at = {3360, 2880, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 8, .caption = "René Descartes", .at = {3360, 3600, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 9, .caption = "Blaise Pascal", .at = {3360, 4320, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 10, .caption = "Leonhard Euler", .at = {3360, 5040, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.index = 11, .caption = "Ada Lovelace", .at = {3360, 5760, 3075, 375},
         .font = Entry12, .fore = Yellow, .back = Black, .flags = Greyed, .to = slot<&Controls::mathematicians>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = Entry18, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::exit>},
    {.caption = "Multiple Choice Wizard",
         .at = {6960, 5760, 4635, 495}, .font = Entry18, .fore = Yellow, .back = Navy, .flags = EntryFlags, .to = slot<&Controls::wizard>},
    {.caption = "Worksheet Catalogue",
         .at = {6960, 6600, 4635, 495}, .font = Entry18, .fore = Yellow, .back = Navy, .flags = EntryFlags, .to = slot<&Controls::catalogue>},
    {.caption = "Acknowledgments", .at = {120, 7920, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags, .to = slot<&Controls::acknowledgments>},
    {.caption = "Teachers' Guide", .at = {120, 1080, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags, .to = slot<&Controls::guide>},
    // The teacher's own tools lie beside the Teachers' Guide, where a teacher already looks.
    {.caption = "Pupils' Results", .at = {3360, 1080, 3075, 495},
         .font = Entry14, .fore = Yellow, .back = Navy, .flags = EntryFlags, .to = slot<&Controls::results>},
    {.to = slot<&Controls::readCatalogue>, .interval = 1},
};
// clang-format on
}  // namespace

MainMenu::MainMenu() {
    build<Layout>(m_ui);
    // Every mathematician is an entry; those without a topic stay greyed.
    for (size_t i = 0; i < m_ui.mathematicians.size(); ++i)
        m_ui.mathematicians[i]->onClick = [this, i] {
            if (m_topics[i]) TopicScreen::show(*m_topics[i]);
        };
    m_ui.exit->onClick = [] { TitleScreen::askToExit(); };
    m_ui.wizard->onClick = [] { screens().show<WizardScreen>(); };
    // The catalogue's worksheets run under the menu's portrait and the program's title.
    m_ui.catalogue->onClick = [this] {
        screens().show<CatalogueScreen>().runUnder({Portrait, {}}, ProgramTitle);
        screens().close(this);
    };
    m_ui.acknowledgments->onClick = [] { PageViewer::showAcknowledgments(); };
    m_ui.guide->onClick = [] { PageViewer::show(PageViewer::Guide); };
    m_ui.results->onClick = [] { screens().show<ResultsScreen>(); };
    m_ui.webLink->onClick = [] { openUrl(WebAddress); };
    m_ui.readCatalogue->onTimer = [this] { readCatalogue(); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->text(); };
}

void MainMenu::prepare() {
    prepareScreen(*this);
    // No pupil's work is open here: a screen that changed size is followed from this menu.
    Stage::instance()->setRestingScreen(this);
    m_ui.logo->setPicture(LoadPictureOrEmpty(QStringLiteral("Images\\logo2.jpg")));
    m_ui.portrait->setPicture(LoadPictureOrEmpty(Portrait));
    m_ui.frame->setBackColor(theme::ScreenBlue);
    m_ui.readCatalogue->setEnabled(true);
    readTopics();
}

// Each mathematician's topic file in the folder "topics" opens the entry. A topic missing or broken, or
// naming a board there is none of, leaves the entry greyed, with a log line saying why.
void MainMenu::readTopics() {
    for (const TopicFileRead& read : readTopicFiles()) {
        QString problem = read.problem;
        if (read.topic) {
            for (const core::TopicActivity& a : read.topic->activities)
                if (!boardKind(a.kind)) problem = QStringLiteral("no board is called \"%1\"").arg(a.kind);
            if (problem.isEmpty() && m_topics[size_t(read.topic->entry)]) problem = QStringLiteral("another topic has its entry");
        }
        if (!problem.isEmpty()) {
            qCWarning(lcMenu, "%s is left out: %s", qPrintable(read.file), qPrintable(problem));
            continue;
        }
        m_topics[size_t(read.topic->entry)] = read.topic;
        m_ui.mathematicians[size_t(read.topic->entry)]->setEnabled(true);
    }
    for (size_t i = 0; i < m_topics.size(); ++i)
        if (!m_topics[i])
            qCInfo(lcMenu, "%s has no topic in the folder \"topics\": the entry stays greyed",
                   qPrintable(m_ui.mathematicians[i]->text()));
}

// Reads the catalogue list once, right after the menu is on screen. A missing or short
// list ends the reading quietly with what was read.
void MainMenu::readCatalogue() {
    try {
        worksheetfiles::IndexRead();
    } catch (const RuntimeError& e) {
        qCInfo(lcMenu, "the catalogue list is read as far as it goes: %s", core::reasonOf(e).c_str());
    }
    m_ui.readCatalogue->setEnabled(false);
    // Euclid's page is the one ready to open: on a scaled stage its large picture is decoded now,
    // while the pupil reads the menu, not when the pupil clicks.
    if (Stage::instance()->devicePixelRatioF() > 1 && m_topics[Euclid]) LoadPictureOrEmpty(m_topics[Euclid]->picture.file);
}
