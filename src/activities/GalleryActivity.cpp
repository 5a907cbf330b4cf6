#include "activities/GalleryActivity.h"
#include "platform/screen/Navigator.h"
#include "core/NumberText.h"
#include "core/Random.h"
#include "platform/screen/PrepareForm.h"

#include <algorithm>
#include <numeric>
#include <set>

using namespace platform;

namespace {
using Board = TileBoard::Board;
using Controls = GalleryActivity::Controls;
constexpr FontDesc Text{"Times New Roman", 20.25}, Number{"Arial", 24, true}, Clue{"Arial", 18, true};

// What every board shows alike: the topic's heading, and the texts the kind's layout words.
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {240, 120, 2985, 705},
         .font = {"Times New Roman", 24}, .fore = Yellow, .flags = Transparent, .to = slot<&Board::heading>},
    {.at = {3960, 120, 7305, 1065}, .font = Text, .fore = Yellow,
         .flags = Transparent, .to = slot<&Controls::fact>},
    {.at = {960, 1200, 9945, 1620}, .font = Text, .fore = Yellow,
         .flags = Transparent, .to = slot<&Controls::instruction>},
    {.at = {960, 6600, 9945, 585}, .font = Text, .fore = Yellow,
         .flags = Transparent, .to = slot<&Controls::dragHint>},
};
// clang-format on

constexpr float RowTop = 2880, RowStep = 840, BoxWidth = 720, BoxHeight = 585, ClueHeight = 465;
constexpr float CellLeft = 240, CellStep = 3840, ClueWidth = 2400;

}  // namespace

// clang-format off
GalleryActivity::GalleryActivity(const BoardKind& kind) : m_kind(kind) {
    const GalleryLayout& layout = kind.layout;
    build<Layout>(m_board, m_ui);
    buildButtons({.font = theme::ButtonFont, .newProblem = true, .howToTop = 6090, .tile = "tile", .place = "box"});
    for (int i = 0; i < Tiles; ++i) {
        const int row = i / 3, column = i % 3;
        const float top = RowTop + RowStep * float(row);
        // Cells: each clue right-aligned up to its box. Rows: the row's start up to its first box.
        // A long clue (words, an equation) may take a wider cell and a smaller font, and runs on to a
        // second line if it must.
        const float clueWidth = layout.clueWidth > 0 ? layout.clueWidth : ClueWidth;
        const Geometry clue = layout.cells ? Geometry{CellLeft + CellStep * float(column), top, clueWidth, RowStep - 60}
                                           : Geometry{240, top, layout.firstBox - 600, ClueHeight};
        FontDesc clueFont = layout.cells ? Clue : Number;
        if (layout.cluePoints > 0) clueFont.points = layout.cluePoints;
        build({{.index = i, .at = clue, .font = clueFont,
                .fore = Yellow, .flags = Transparent | RightAligned | (layout.cells || column == 0 ? 0 : Hidden),
                .to = slot<&Controls::clues>}}, m_ui);
        const float left = layout.cells ? clue.left + clueWidth + 120 : layout.firstBox + layout.boxStep * float(column);
        build({{.index = i, .at = {left, top, BoxWidth, BoxHeight},
                .font = layout.tileFont, .fore = Yellow, .back = DeepBlue, .flags = Centered, .to = slot<&Board::boxes>}}, m_board);
        build({{.index = i, .caption = layout.cells ? "" : layout.signs[column],
                .at = {left + BoxWidth + 60, top, column == 2 ? 1560 : layout.boxStep - BoxWidth - 120, ClueHeight}, .font = Number,
                .fore = Yellow, .flags = Transparent | (layout.cells ? Hidden : 0), .to = slot<&Controls::signs>}}, m_ui);
    }
    for (int i = 0; i < Tiles; ++i)
        build({{.index = i, .font = {"Tahoma", 12, true}, .flags = Transparent,
                .to = slot<&Board::homes>}}, m_board);
    for (int i = 0; i < Tiles; ++i)
        build({{.index = i, .at = {960 + 840.0f * float(i), 7200, BoxWidth, BoxHeight},
                .font = layout.tileFont, .fore = Yellow, .back = Black, .flags = Centered | Border, .to = slot<&Board::tiles>}}, m_board);
    m_ui.fact->setText(QString::fromUtf8(layout.fact));
    m_ui.instruction->setText(QString::fromUtf8(layout.instruction));
    m_ui.dragHint->setText(QString::fromUtf8(layout.dragHint));
    bindBoard();
}
// clang-format on

void GalleryActivity::open(const BoardKind& kind, const BoardOpening& opening) {
    // One screen serves every kind: a board of another kind still standing is taken away first.
    if (screens().isOpen<GalleryActivity>() && &screens().get<GalleryActivity>().kind() != &kind) screens().close<GalleryActivity>();
    screens().open<GalleryActivity>(kind).showAs(opening.caption, opening.heading, opening.portrait);
}

void GalleryActivity::prepare() {
    prepareScreen(*this);
    newProblem();
}

// A new problem from a fresh seed: the answers into the boxes (the board hands them on to the tiles),
// the clues beside them.
void GalleryActivity::newProblem() {
    core::reseedRandom();
    m_problem = m_kind.rule->draw();
    for (int i = 0; i < Tiles; ++i) {
        m_board.boxes[size_t(i)]->setText(m_problem.answers[size_t(i)]);
        if (!m_problem.clues[size_t(i)].isEmpty()) m_ui.clues[size_t(i)]->setText(m_problem.clues[size_t(i)]);
    }
    trayInOrder();
    boardSetUp();
}

// The tray in the order of the tiles' values (Yes before No), so where a tile starts says nothing of
// the box it belongs on.
void GalleryActivity::trayInOrder() {
    std::array<int, Tiles> order;
    std::iota(order.begin(), order.end(), 0);
    const auto value = [this](int i) {
        const QString& a = m_problem.answers[size_t(i)];
        return a == QLatin1String("Yes") ? -1 : a == QLatin1String("No") ? 0 : int(toNumber(a));
    };
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return value(x) < value(y); });
    // Piles stand in the middle of the tray, a place for each face.
    int place = 0;
    if (m_kind.layout.piles) {
        std::set<int> faces;
        for (int i = 0; i < Tiles; ++i) faces.insert(value(i));
        place = (Tiles - int(faces.size())) / 2;
    }
    for (int k = 0; k < Tiles; ++k) {
        if (m_kind.layout.piles && k > 0 && value(order[size_t(k)]) != value(order[size_t(k - 1)])) ++place;
        m_board.tiles[size_t(order[size_t(k)])]->moveTo(960 + 840.0f * float(m_kind.layout.piles ? place : k), 7200);
    }
}

void GalleryActivity::checkScore() {
    std::array<QString, Tiles> shown;
    for (int b = 0; b < Tiles; ++b) shown[size_t(b)] = shownOn(b);
    showScore(m_kind.rule->score(m_problem, shown), text());
}

// Where a box stands and what it answers, as a reader says it when a tile is carried there.
QString GalleryActivity::boxPlace(int b) const { return m_kind.rule->describe(m_problem, b); }

