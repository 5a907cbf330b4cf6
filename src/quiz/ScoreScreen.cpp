#include "quiz/ScoreScreen.h"
#include "platform/screen/Navigator.h"
#include "quiz/WrongAnswersScreen.h"
#include "core/Marking.h"
#include "core/Shared.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Stage.h"
#include "platform/screen/PrepareForm.h"
#include "platform/printing/Printer.h"
#include "platform/files/ResultsFiles.h"

#include <QCoreApplication>
#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <cmath>
#include <tuple>

using namespace platform;

namespace {
constexpr FontDesc Message{"Times New Roman", 24};
}

namespace {
using Controls = ScoreScreen::Controls;
// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.caption = "Well Done!", .at = {0, 120, 12000, 900},
         .font = {"Tahoma", 36, true}, .fore = Yellow, .flags = Centered | Transparent, .to = slot<&Controls::title>},
    {.at = {5880, 1440, 4800, 3600}, .to = slot<&Controls::picture>},
    {.at = {0, 5400, 12000, 855}, .font = Message, .fore = Yellow,
         .flags = Centered | Transparent, .to = slot<&Controls::score>},
    {.at = {1680, 6000, 8640, 1335}, .font = Message, .fore = Yellow,
         .flags = Centered | Transparent | Hidden, .to = slot<&Controls::reviewHint>},
    {.caption = "Read the Key Facts and try again.",
         .at = {0, 6240, 12000, 855}, .font = Message, .fore = Yellow, .flags = Centered | Transparent, .to = slot<&Controls::tryAgain>},
    {.at = {3120, 6600, 5760, 615}, .font = Message, .fore = Black,
         .back = White, .flags = Hidden, .to = slot<&Controls::name>, .maxLength = 25},
    {.caption = "Enter your name in the box above before printing your certificate",
         .at = {3120, 7440, 5775, 855}, .font = {"Times New Roman", 18}, .fore = Yellow,
         .flags = Centered | Transparent | Hidden, .to = slot<&Controls::nameHint>},
    {.at = {240, 1800, 3765, 495}, .font = theme::ButtonFont,
         .fore = Yellow, .back = Black, .flags = Centered | Hidden | Hover, .to = slot<&Controls::action>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exit>},
    {.to = slot<&Controls::showPicture>, .interval = 1},
    {.to = slot<&Controls::readyKeys>, .interval = 10},
    {.to = slot<&Controls::reseed>, .interval = 1},
};
// clang-format on
}  // namespace

ScoreScreen::ScoreScreen() {
    build<Layout>(m_ui);
    m_ui.name->setAccessibleName(QStringLiteral("Your name, for the certificate"));
    m_ui.action->onClick = [this] {
        if (m_result.score == m_result.outOf)
            printCertificate();  // says itself whether the certificate is printing
        else
            screens().show<WrongAnswersScreen>();
    };
    m_ui.exit->onClick = [this] {
        record();
        screens().close(this);
    };
    // The program ended from here (the window closed, the desktop logging out through Qt): the work is kept.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { record(false); });
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.title->text(); };
    m_ui.showPicture->onTimer = [this] { showPicture(); };
    m_ui.readyKeys->onTimer = [this] { readyKeys(); };
    m_ui.reseed->onTimer = [this] {
        reseedRandom();
        m_ui.reseed->setEnabled(false);
    };
}

ScoreScreen::~ScoreScreen() { record(false); }

void ScoreScreen::prepare() { prepareScreen(*this, m_ui.picture); }

void ScoreScreen::present(const Result& result) {
    record();  // whatever this screen showed before
    m_result = result;
    m_recorded = false;
    m_ui.score->setText(core::scoreLine(result.score, result.outOf));
    if (core::tierOf(result.score, result.outOf) == core::Tier::Perfect) {
        m_ui.tryAgain->setShown(false);
        m_ui.action->setShown(true);
        m_ui.action->setText(QStringLiteral("Print Certificate"));
        m_ui.name->setShown(true);
        m_ui.nameHint->setShown(true);
    } else {
        m_ui.reviewHint->setText(
            QStringLiteral("Click the button above to check which questions you answered incorrectly."));
        m_ui.action->setText(QStringLiteral("Check Wrong Answers"));
    }
    m_ui.showPicture->setEnabled(true);
}

void ScoreScreen::afterQuiz(const Result& result) {
    ScoreScreen& w = screens().open<ScoreScreen>();
    // The review of wrong answers, made unseen as the quiz ended, leaves with this screen.
    if (auto* review = screens().find<WrongAnswersScreen>()) screens().closeTogether(&w, review);
    w.present(result);
    w.m_ui.tryAgain->setShown(false);
    w.m_ui.reviewHint->setShown(true);
    w.m_ui.action->setShown(true);
    w.showInFront();
    w.tellScore();
    if (result.score < result.outOf) w.record();
}

void ScoreScreen::afterActivity(const Result& result) {
    ScoreScreen& w = screens().open<ScoreScreen>();
    w.present(result);
    w.showInFront();
    w.tellScore();
    if (result.score < result.outOf) w.record();
}

// The keyboard, coming onto the screen, has a reader say the screen, its words (the score first) and
// the control it lands on; without it the score is said as it shows.
void ScoreScreen::tellScore() {
    if (!Stage::instance()->keyboardUser()) announce(m_ui.score->text());
}

// The timers run once, in a chain, after the screen is up.
void ScoreScreen::showPicture() {
    m_ui.picture->setPicture(LoadPictureOrEmpty(m_result.portrait));
    m_ui.showPicture->setEnabled(false);
    m_ui.readyKeys->setEnabled(true);
}

void ScoreScreen::readyKeys() {
    if (m_ui.name->isShown()) m_ui.name->setFocus();
    m_ui.readyKeys->setEnabled(false);
    m_ui.action->setBackStyle(1);
    m_ui.exit->setBackStyle(1);
    m_ui.reseed->setEnabled(true);
}

// The certificate: two banners, the title, the mathematician and the work by name, the award, the
// name and the score in a border of nested frames, and under them the date and a line for the
// teacher's signature. A failed print is abandoned whole, so nothing half-printed comes out later.
void ScoreScreen::printCertificate() {
    const bool printed = PrintDocument([this](Printer& printer) {
        const QString banner = QStringLiteral("   Well Done      Well Done     Well Done     Well Done    ");
        // A teacher's worksheet names no mathematician: its own title stands in his place.
        const QString topic = m_result.topic.isEmpty() ? m_result.heading : m_result.topic;
        const QString work = m_result.topic.isEmpty() ? QString() : m_result.heading;
        const QString name = m_ui.name->contents();
        const QString scored = core::scoredSentence(m_result.score, m_result.outOf);
        // Dated as a UK school writes it, whatever the computer's own language.
        const QString date = QLocale(QLocale::English, QLocale::UnitedKingdom).toString(QDate::currentDate(), QStringLiteral("d MMMM yyyy"));
        // The topic is measured with this screen's own font, as it would be shown here.
        const float topicWidth = float(QFontMetricsF(makeFont({})).horizontalAdvance(topic) * TwipsPerPixel);
        const float W = printer.printableWidth(), H = printer.printableHeight();
        // Five nested frames round the page, each a step inside the last; the first three also frame
        // the award in the middle of the page.
        constexpr float Step = 45, TopMargin = 225, AwardInset = 600, AwardTop = 7050, AwardBottom = 3750;
        const float awardTop = TopMargin + 3 * Step + AwardTop, awardBottom = H - TopMargin - 3 * Step - AwardBottom;
        const float awardRoom = W - 2 * (3 * Step + AwardInset + 240);  // inside the innermost, with a margin
        const auto blank = [&printer](int lines) {
            for (int i = 0; i < lines; ++i) printer.print(QStringLiteral(" "));
        };
        // A line centred at `points`, or smaller where it would not fit `room`: a long name is never cut.
        const auto centred = [&printer](const QString& text, double points, float room) {
            printer.setFontSize(points);
            if (const float wide = printer.textWidth(text); wide > room)
                printer.setFontSize(std::floor(points * room / wide * 4) / 4);
            printer.printCentred(text);
            printer.setFontSize(points);
        };
        printer.setFontName(QStringLiteral("Times New Roman"));
        printer.setFontBold(false);
        printer.setForeColor(Blue);
        printer.setFontSize(25);
        printer.setCurrentX(W / 8);
        blank(1);
        printer.print(banner + banner, false);
        blank(3);
        printer.setForeColor(Red);
        printer.setFontSize(36);
        printer.printCentred(ProgramTitle);
        blank(1);
        printer.setForeColor(Blue);
        centred(topic, topicWidth > W / 4 ? 28 : 36, W - 2 * AwardInset);
        centred(work, 28, W - 2 * AwardInset);
        // The award, the name and the score, spread evenly inside the middle frames.
        printer.setForeColor(Navy);
        printer.setFontSize(28);
        const float gap = (awardBottom - awardTop) / 4;
        const QString award[] = {QStringLiteral("Excellent Work"), name, scored};
        for (int i = 0; i < 3; ++i) {
            printer.setCurrentY(awardTop + gap * float(i + 1) - 320);  // half a line at 28 points above
            centred(award[i], 28, awardRoom);
        }
        // The date and the teacher's signature, each on a rule of its own, between the frames and the banner.
        const float rule = awardBottom + (H - awardBottom) / 3, ruleWidth = W * 0.3f;
        printer.setDrawWidth(1);
        for (const auto& [centre, above, under] :
             {std::tuple{W * 0.3f, date, QStringLiteral("Date")}, std::tuple{W * 0.7f, QString(), QStringLiteral("Teacher's signature")}}) {
            printer.line(centre - ruleWidth / 2, rule, centre + ruleWidth / 2, rule, Black);
            printer.setForeColor(Navy);
            printer.setFontSize(20);
            printer.setCurrentX(centre - printer.textWidth(above) / 2);
            printer.setCurrentY(rule - 500);
            printer.print(above);
            printer.setForeColor(Black);
            printer.setFontSize(12);
            printer.setCurrentX(centre - printer.textWidth(under) / 2);
            printer.setCurrentY(rule + 60);
            printer.print(under);
        }
        printer.setForeColor(Black);
        printer.setFontSize(25);
        printer.setCurrentX(0);
        printer.setCurrentY(H - TopMargin - 5 * Step - 1000);
        printer.print(banner + banner, false);
        printer.setDrawWidth(2);
        const auto frame = [&printer](float left, float top, float right, float bottom) {
            printer.line(left, top, right, top, Black);
            printer.line(left, top, left, bottom, Black);
            printer.line(right, top, right, bottom, Black);
            printer.line(left, bottom, right, bottom, Black);
        };
        for (int k = 1; k <= 5; ++k) {
            const float a = Step * float(k), b = TopMargin + Step * float(k);
            frame(a, b, W - a, H - b);
            if (k <= 3) frame(a + AwardInset, b + AwardTop, W - a - AwardInset, H - b - AwardBottom);
        }
    });
    if (printed) showMessage(QStringLiteral("Your certificate is now printing."));
    if (printed) record();
}

void ScoreScreen::record(bool tell) {
    if (m_recorded) return;
    m_recorded = true;
    const QString name = m_result.score == m_result.outOf ? m_ui.name->contents().trimmed() : QString();
    const QString problem = recordResult({.when = QDateTime::currentDateTime(), .login = {}, .name = name, .topic = m_result.topic,
                                          .work = m_result.heading, .score = m_result.score, .outOf = m_result.outOf, .pupil = {}});
    if (tell && !problem.isEmpty()) showMessage(problem);
}
