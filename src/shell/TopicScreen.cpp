#include "shell/TopicScreen.h"
#include "shell/Forms.h"
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "shell/MainMenu.h"
#include "platform/FileChannel.h"
#include "core/Shared.h"
#include "platform/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTopic, "vellacourt.topic")

platform::FormRef<::TopicScreen> forms::TopicScreen;

using namespace platform;

namespace {
constexpr int EntryFlags = Border | Centered | Hover;
using Controls = TopicScreen::Controls;

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.kind = Kind::Label, .name = "Label1", .caption = "Euclid", .at = {240, 0, 6000, 900},
         .font = {"Times New Roman", 27.75, true}, .fore = Yellow, .flags = Transparent, .to = slot<&Controls::heading>},
    {.kind = Kind::Label, .name = "label3", .index = 0, .caption = "Multiple Choice", .at = {120, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::quiz>},
    {.kind = Kind::Label, .name = "label3", .index = 1, .caption = "Products of Primes", .at = {3600, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::primes>},
    {.kind = Kind::Label, .name = "label3", .index = 2, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::exit>},
    {.kind = Kind::Label, .name = "label3", .index = 3, .caption = "Nets of Dice", .at = {7080, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::dice>},
    {.kind = Kind::Label, .name = "label3", .index = 4, .caption = "Key Facts", .at = {6360, 120, 1995, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::keyFacts>},
    {.kind = Kind::Label, .name = "label3", .index = 5, .caption = "Teacher's Notes", .at = {8640, 120, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = EntryFlags, .to = slot<&Controls::notes>},
};
// clang-format on
}  // namespace

TopicScreen::TopicScreen() {
    build(Layout, m_ui);
    m_ui.quiz->onClick = [this] { startQuiz(); };
    m_ui.primes->onClick = [this] { PrimesActivity::open(m_ui.primes->Caption(), m_ui.heading->Caption()); };
    m_ui.dice->onClick = [this] { DiceActivity::open(m_ui.dice->Caption(), m_ui.heading->Caption()); };
    m_ui.keyFacts->onClick = [] { PageViewer::showDocument(QStringLiteral("key euclid"), 3); };
    m_ui.notes->onClick = [] { PageViewer::showDocument(QStringLiteral("euclid"), 2); };
    m_ui.exit->onClick = [this] { leave(); };
    SetCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->Caption(); };
}

void TopicScreen::Form_Load() {
    prepareScreen(*this);
    SetBackColor(theme::ScreenBlue);
    SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclid.jpg")));
}

// Reads Euclid's own quiz. A missing or damaged file is said plainly and no quiz starts, so no
// pupil is shown half a question set.
std::optional<worksheetfiles::Worksheet> TopicScreen::readEuclidsWorksheet() {
    const FileOneGuard guard;
    try {
        FileChannel::one().openForReading(QStringLiteral("multiple\\Euclid.txt"));
        const worksheetfiles::Worksheet sheet = worksheetfiles::readOpenWorksheet();
        FileChannel::one().Close();
        return sheet;
    } catch (const std::exception& e) {
        qCWarning(lcTopic, "multiple\\Euclid.txt: %s", core::reasonOf(e).c_str());
        showMessage(
            QStringLiteral("Euclid's quiz cannot be opened: the file multiple\\Euclid.txt is missing or damaged."));
        return std::nullopt;
    }
}

void TopicScreen::startQuiz() {
    const std::optional<worksheetfiles::Worksheet> sheet = readEuclidsWorksheet();
    if (!sheet) return;
    QuizScreen::start(*sheet, LoadPictureOrEmpty(QStringLiteral("images\\euclidsm.jpg")),
                      QStringLiteral("Vellacourt Numerists"));
}

void TopicScreen::leave() {
    forms::MainMenu.show();
    forms::TopicScreen.unload();
}
