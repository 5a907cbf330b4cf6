#include "quiz/WrongAnswersScreen.h"
#include "platform/screen/Navigator.h"
#include "quiz/ScoreScreen.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"

using namespace platform;

namespace {
using Controls = WrongAnswersScreen::Controls;
constexpr FontDesc Heading{"Tahoma", 20.25, true}, Line{"Tahoma", 15.75, true};

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {0, 120, 12000, 540}, .font = Heading, .fore = Yellow,
         .flags = Centered | Transparent, .to = slot<&Controls::title>},
    {.kind = Kind::Label, .caption = "You answered the following questions incorrectly.",
         .at = {240, 960, 12000, 540}, .font = Line, .fore = Yellow, .flags = Transparent},
    {.kind = Kind::Label, .caption = "Read the Key Facts and try again.",
         .at = {0, 7920, 12000, 540}, .font = Heading, .fore = Yellow, .flags = Centered | Transparent},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = Line, .fore = Yellow, .back = Black, .flags = Centered, .to = slot<&Controls::exit>},
};
// clang-format on
}  // namespace

WrongAnswersScreen::WrongAnswersScreen() {
    build<Layout>(m_ui);
    // clang-format off
    for (int i = 0; i < core::QuestionCount; ++i)
        build({{.index = i, .at = {120, 1680 + 600.0f * float(i), 12000, 540},
                .font = Line, .fore = White, .flags = Transparent | Hidden, .to = slot<&Controls::lines>}}, m_ui);
    // clang-format on
    m_ui.exit->onClick = [this] { screens().close(this); };  // the score screen with it
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.title->text(); };
}

void WrongAnswersScreen::prepare() { prepareScreen(*this); }

void WrongAnswersScreen::list(const QStringList& lines, const QString& title) {
    WrongAnswersScreen& w = screens().open<WrongAnswersScreen>();
    for (int n = 0; n < lines.size(); ++n) {
        w.m_ui.lines[size_t(n)]->setText(lines[n]);
        w.m_ui.lines[size_t(n)]->setShown(true);
    }
    w.m_ui.title->setText(title);
}
