#include "activities/PrimesActivity.h"
#include "platform/screen/Navigator.h"
#include "core/Activities.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"

using namespace platform;

namespace {
using Board = TileBoard::Board;
using Controls = PrimesActivity::Controls;
constexpr FontDesc Text{"Times New Roman", 20.25}, Number{"Arial", 24, true};

// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {240, 120, 2985, 705},
         .font = {"Times New Roman", 24}, .fore = Yellow, .flags = Transparent, .to = slot<&Board::heading>},
    // The sentence pupils read first: 1 is neither prime nor a product of primes, so it is left out.
    {.kind = Kind::Label, .caption = "Every whole number greater than 1 is a prime or a product of primes.",
         .at = {3960, 120, 7305, 1065}, .font = Text, .fore = Yellow, .flags = Transparent},
    // As Key Facts says it: 1 has no prime factors, and 2 x 3 and 3 x 2 are the same factorisation.
    {.kind = Kind::Label, .caption = "Each number below can be written as a product of primes in just one way, apart "
                    "from the order of the factors. Find its prime factors.",
         .at = {960, 1200, 9945, 1620}, .font = Text, .fore = Yellow, .flags = Transparent},
    {.index = 0, .caption = "1 =", .at = {2760, 2880, 2415, 465},
         .font = Number, .fore = Yellow, .flags = Transparent | RightAligned, .to = slot<&Controls::products>},
    {.index = 1, .caption = "1 =", .at = {3120, 3720, 2055, 465},
         .font = Number, .fore = Yellow, .flags = Transparent | RightAligned, .to = slot<&Controls::products>},
    {.index = 2, .caption = "1 =", .at = {3240, 4560, 1935, 465},
         .font = Number, .fore = Yellow, .flags = Transparent | RightAligned, .to = slot<&Controls::products>},
    {.index = 3, .caption = "1 =", .at = {3480, 5400, 1695, 465},
         .font = Number, .fore = Yellow, .flags = Transparent | RightAligned, .to = slot<&Controls::products>},
    {.kind = Kind::Label, .caption = "Drag and drop these prime numbers into the correct boxes.",
         .at = {960, 6600, 9945, 585}, .font = Text, .fore = Yellow, .flags = Transparent},
};
// clang-format on

// The tray from left to right: which tile stands in each place.
constexpr int TrayOrder[12] = {6, 10, 5, 8, 7, 2, 11, 0, 4, 9, 1, 3};
}  // namespace

// clang-format off
PrimesActivity::PrimesActivity() {
    build<Layout>(m_board, m_ui);
    buildButtons({.font = theme::ButtonFont, .newProblem = true, .howToTop = 6090, .tile = "number", .place = "box"});
    // The rows of boxes and signs, the home slots and the tray follow one pattern each.
    for (int a = 0; a < 4; ++a) {
        const float top = 2880 + 840.0f * float(a);
        for (int b = 0; b < 3; ++b)
            build({{.index = 3 * a + b, .at = {5520 + 1440.0f * float(b), top, 720, 585},
                    .font = Number, .fore = Yellow, .back = DeepBlue, .flags = Centered, .to = slot<&Board::boxes>}}, m_board);
        for (int k = 0; k < 2; ++k)
            build({{.kind = Kind::Label, .caption = "\u00D7",
                    .at = {6480 + 1440.0f * float(k), top, 285, 555}, .font = Number, .fore = Yellow, .flags = Transparent}});
    }
    for (int i = 0; i < 12; ++i)
        build({{.index = i, .font = {"Tahoma", 12, true}, .flags = Transparent,
                .to = slot<&Board::homes>}}, m_board);
    for (int k = 0; k < 12; ++k)
        build({{.index = TrayOrder[k], .at = {960 + 840.0f * float(k), 7200, 720, 585},
                .font = Number, .fore = Yellow, .back = Black, .flags = Centered | Border, .to = slot<&Board::tiles>}}, m_board);
    bindBoard();
}
// clang-format on

void PrimesActivity::open(const BoardKind&, const BoardOpening& opening) {
    screens().open<PrimesActivity>().showAs(opening.caption, opening.heading, opening.portrait);
}

void PrimesActivity::prepare() {
    prepareScreen(*this);
    newProblem();
}

// A fresh problem on a board set up again; the caption and heading stay as the topic gave them.
void PrimesActivity::newProblem() {
    calculate();
    boardSetUp();
}

// A new problem: its primes in the answer boxes, the products they make beside the rows.
void PrimesActivity::calculate() {
    Factors = core::drawPrimeProblem();
    for (int c = 0; c <= 11; ++c) m_board.boxes[size_t(c)]->setText(QString::number(Factors[c]));
    for (int a = 0; a <= 3; ++a)
        m_ui.products[size_t(a)]->setText(QString::number(core::productOfRow(Factors, a)) + QStringLiteral("  ="));
}

// Found afresh at each check: a box without a tile is empty (0), so its row cannot score.
void PrimesActivity::checkScore() {
    for (int b = 0; b < Tiles; ++b) {
        const QString shown = shownOn(b);
        Placed[size_t(b)] = shown.isEmpty() ? 0 : qint16(toNumber(shown));
    }
    // The certificate names what the pupil achieved, as the topic captions it.
    showScore(core::primesScore(Factors, Placed), text());
}

// "row 2 (30 =), box 1": the row's product is what the pupil reads beside it.
QString PrimesActivity::boxPlace(int b) const {
    return QStringLiteral("row %1 (%2), box %3")
        .arg(b / 3 + 1)
        .arg(m_ui.products[size_t(b / 3)]->text().simplified())
        .arg(b % 3 + 1);
}
