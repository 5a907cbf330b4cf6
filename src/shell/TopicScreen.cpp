#include "shell/TopicScreen.h"
#include "platform/screen/Navigator.h"
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "shell/MainMenu.h"
#include "shell/TitleScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "activities/BoardKinds.h"
#include "activities/BoardSheets.h"
#include "platform/files/FileChannel.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include <QFontMetricsF>
#include <QLoggingCategory>
#include <cmath>

Q_LOGGING_CATEGORY(lcTopic, "vellacourt.topic")

using namespace platform;

namespace {
constexpr int EntryFlags = Border | Centered | Hover;
using Controls = TopicScreen::Controls;

// The screen's controls, in the order they are built (later ones lie above earlier ones); the heading
// and the activities' captions are the topic's.
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {240, 0, 6000, 900},
         .font = {"Times New Roman", 27.75, true}, .fore = Yellow, .flags = Transparent, .to = slot<&Controls::heading>},
    {.index = 0, .caption = "Multiple Choice", .at = {120, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::quiz>},
    {.index = 1, .at = {3600, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::firstActivity>},
    {.index = 2, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::exit>},
    {.index = 3, .at = {7080, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::secondActivity>},
    {.index = 4, .caption = "Key Facts", .at = {6360, 120, 1995, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::keyFacts>},
    {.index = 5, .caption = "Teacher's Notes", .at = {8640, 120, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::notes>},
};
// clang-format on
// An activity's caption too long for its entry is set smaller, on one line, rather than cut off.
void fitCaption(Label& entry, const QString& caption) {
    entry.setText(caption);
    FontDesc font = theme::ButtonFont;
    const double room = double(entry.widthTwips()) / TwipsPerPixel - 12;
    const double wide = QFontMetricsF(makeFont(font)).horizontalAdvance(caption);
    if (wide > room) font.points = std::floor(font.points * room / wide * 4) / 4;
    entry.setFont(font);
}
}  // namespace

TopicScreen::TopicScreen() {
    build<Layout>(m_ui);
    m_ui.quiz->onClick = [this] { startQuiz(); };
    m_ui.firstActivity->onClick = [this] { openActivity(m_topic.activities[0]); };
    m_ui.secondActivity->onClick = [this] { openActivity(m_topic.activities[1]); };
    // Each document printed under the topic's name and its own ("Pythagoras — Key Facts").
    m_ui.keyFacts->onClick = [this] {
        PageViewer::showDocument(m_topic.keyFacts.stem, m_topic.keyFacts.pages, m_topic.heading + QStringLiteral(" — Key Facts"));
    };
    // The Notes are the teacher's, so the boards' sheets and answer keys are printed from there.
    m_ui.notes->onClick = [this] {
        PageViewer::showDocument(m_topic.notes.stem, m_topic.notes.pages, m_topic.heading + QStringLiteral(" — Teacher's Notes"),
                                 [topic = m_topic] { printBoardSheets(topic); });
    };
    m_ui.exit->onClick = [this] { leave(); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->text(); };
}

void TopicScreen::prepare() {
    prepareScreen(*this);
    setBackColor(theme::ScreenBlue);
}

void TopicScreen::show(const core::Topic& topic) {
    TopicScreen& t = screens().open<TopicScreen>();
    t.m_topic = topic;
    t.m_ui.heading->setText(topic.heading);
    fitCaption(*t.m_ui.firstActivity, topic.activities[0].caption);
    fitCaption(*t.m_ui.secondActivity, topic.activities[1].caption);
    t.setPicture(LoadPictureOrEmpty(topic.picture));
    t.showInFront();
}

// Reads the topic's quiz. A missing or damaged file is said plainly and no quiz starts, so no pupil
// is shown half a question set.
std::optional<worksheetfiles::Worksheet> TopicScreen::readQuiz() {
    const FileOneGuard guard;
    try {
        FileChannel::one().openForReading(m_topic.quiz);
        const worksheetfiles::Worksheet sheet = worksheetfiles::readOpenWorksheet();
        FileChannel::one().close();
        return sheet;
    } catch (const std::exception& e) {
        qCWarning(lcTopic, "%s: %s", qPrintable(m_topic.quiz), core::reasonOf(e).c_str());
        showMessage(QStringLiteral("%1's quiz cannot be opened: the file %2 is missing or damaged.")
                        .arg(m_topic.heading, m_topic.quiz));
        return std::nullopt;
    }
}

void TopicScreen::startQuiz() {
    const std::optional<worksheetfiles::Worksheet> sheet = readQuiz();
    if (!sheet) return;
    QuizScreen::start(*sheet, m_topic.portrait, QStringLiteral("Vellacourt Numerists"), m_topic.heading);
}

// The board the topic names, looked up by its kind (the menu opened no topic naming a board there is none of).
void TopicScreen::openActivity(const core::TopicActivity& activity) {
    if (const BoardKind* kind = boardKind(activity.kind))
        kind->open(*kind, {activity.caption, m_topic.heading, m_topic.portrait});
}

void TopicScreen::leave() {
    screens().returnFrom(this);
}
