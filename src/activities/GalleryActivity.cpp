#include "activities/GalleryActivity.h"
#include "platform/Navigator.h"
#include "core/NumberText.h"
#include "core/Random.h"
#include "platform/PrepareForm.h"

#include <algorithm>
#include <numeric>


using namespace platform;
using Task = GalleryActivity::Task;

namespace {
using Board = TileBoard::Board;
using Controls = GalleryActivity::Controls;
constexpr FontDesc Text{"Times New Roman", 20.25}, Number{"Arial", 24, true}, Clue{"Arial", 18, true};

// What every board shows alike: the topic's heading, the texts (captioned by the task), the buttons.
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {240, 120, 2985, 705},
         .font = {"Times New Roman", 24}, .fore = Yellow, .flags = Transparent, .to = slot<&Board::heading>},
    {.at = {3960, 120, 7305, 1065}, .font = Text, .fore = Yellow,
         .flags = Transparent, .to = slot<&Controls::fact>},
    {.at = {960, 1200, 9945, 1620}, .font = Text, .fore = Yellow,
         .flags = Transparent, .to = slot<&Controls::instruction>},
    // Our own line: the same task without a mouse, or on a touch screen.
    {.kind = Kind::Label, .caption = "Keyboard: Tab to a tile, Space to lift it, arrows to move it, Space to drop it. "
                    "Touch: tap a tile, then a box.",
         .at = {120, 6090, 11550, 330}, .font = {"Tahoma", 10.5}, .fore = Yellow, .flags = Transparent | Centered},
    {.at = {960, 6600, 9945, 585}, .font = Text, .fore = Yellow,
         .flags = Transparent, .to = slot<&Controls::dragHint>},
    {.caption = "New Problem", .at = {120, 7920, 2565, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Board::newProblem>},
    {.caption = "Start Again", .at = {3360, 7920, 2565, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Board::startAgain>},
    {.caption = "Check Score", .at = {6000, 7920, 2565, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden | Hover, .to = slot<&Board::checkScore>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Board::exit>},
};
// clang-format on

// A board's words and the shape of its boxes. Rows: four rows of three boxes, a row's start before
// them and a sign after each. Cells: twelve boxes in four rows of three, each after its own clue.
struct TaskLayout {
    const char *fact, *instruction, *dragHint;
    bool cells;
    const char* signs[3];     // rows: after the first, second and third box
    float firstBox, boxStep;  // rows: where the boxes stand across
    FontDesc tileFont;
};
constexpr float RowTop = 2880, RowStep = 840, BoxWidth = 720, BoxHeight = 585, ClueHeight = 465;
constexpr float CellLeft = 240, CellStep = 3840, ClueWidth = 2400;

// clang-format off
constexpr TaskLayout Layouts[] = {
    // Triples: a row reads "9² + 12² = 15²".
    {"Whole numbers with a² + b² = c² make a Pythagorean triple.",
     "Use each number once to make four Pythagorean triples, one in each row, with the largest number of "
     "the row in its last box. Check by squaring: 3² + 4² = 9 + 16 = 25 = 5².",
     "Drag and drop these numbers into the boxes.",
     false, {"² +", "² =", "²"}, 3000, 2400, Number},
    // Right-Angled?: a clue is a triangle's sides, in any order.
    {"A triangle is right-angled when a² + b² = c², c being its longest side.",
     "Each triangle below is given by the lengths of its three sides. Put Yes beside every right-angled "
     "triangle and No beside the others.",
     "Drag and drop Yes or No beside each triangle.",
     true, {}, 0, 0, {"Arial", 14.25, true}},
    // Fibonacci Sequences: a row reads "4,  7,  11,  18,  29, ...".
    {"Each number is the sum of the two before it: 1, 1, 2, 3, 5, 8, 13, ...",
     "Each row below starts with two numbers. Find the next three numbers of each row in the same way.",
     "Drag and drop these numbers into the correct boxes.",
     false, {",", ",", ",  ..."}, 5520, 1440, Number},
    // Roman Numerals: a clue is a numeral, the tiles the numbers Fibonacci's book taught Europe.
    {"Fibonacci's book of 1202 helped bring our numerals 0 to 9 to Europe.",
     "I = 1, V = 5, X = 10, L = 50, C = 100. A smaller letter before a larger one is taken away: IV = 4, "
     "XC = 90. Put the matching number beside each Roman numeral.",
     "Drag and drop these numbers beside the Roman numerals.",
     true, {}, 0, 0, Number},
};
// clang-format on
const TaskLayout& layoutOf(Task task) { return Layouts[int(task)]; }

QString numbers(std::initializer_list<int> values, const QString& separator) {
    QStringList parts;
    for (int v : values) parts << QString::number(v);
    return parts.join(separator);
}
}  // namespace

// clang-format off
GalleryActivity::GalleryActivity(Task task) : m_task(task) {
    const TaskLayout& layout = layoutOf(task);
    build<Layout>(m_board, m_ui);
    for (int i = 0; i < Tiles; ++i) {
        const int row = i / 3, column = i % 3;
        const float top = RowTop + RowStep * float(row);
        // Cells: each clue right-aligned up to its box. Rows: the row's start up to its first box.
        const Geometry clue = layout.cells ? Geometry{CellLeft + CellStep * float(column), top, ClueWidth, ClueHeight}
                                           : Geometry{240, top, layout.firstBox - 600, ClueHeight};
        build({{.index = i, .at = clue, .font = layout.cells ? Clue : Number,
                .fore = Yellow, .flags = Transparent | RightAligned | (layout.cells || column == 0 ? 0 : Hidden),
                .to = slot<&Controls::clues>}}, m_ui);
        const float left = layout.cells ? clue.left + ClueWidth + 120 : layout.firstBox + layout.boxStep * float(column);
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
    m_board.newProblem->onClick = [this] {
        startAgain();
        newProblem();
    };
}
// clang-format on

void GalleryActivity::open(Task task, const QString& caption, const QString& heading, const QString& portrait) {
    switch (task) {
    case Task::Triples: return screens().open<TriplesActivity>().showAs(caption, heading, portrait);
    case Task::RightAngles: return screens().open<RightAngleActivity>().showAs(caption, heading, portrait);
    case Task::Sequences: return screens().open<SequencesActivity>().showAs(caption, heading, portrait);
    case Task::Roman: return screens().open<RomanActivity>().showAs(caption, heading, portrait);
    }
}

void GalleryActivity::prepare() {
    prepareScreen(*this);
    newProblem();
}

void GalleryActivity::newProblem() {
    draw();
    trayInOrder();
    boardSetUp();
}

// A new problem from a fresh seed: the answers into the boxes (the board hands them on to the tiles),
// the clues beside them.
void GalleryActivity::draw() {
    core::reseedRandom();
    const auto number = [](int n) { return QString::number(n); };
    switch (m_task) {
    case Task::Triples: {
        const auto sides = core::drawTriplesProblem();
        for (int i = 0; i < Tiles; ++i) m_answers[size_t(i)] = number(sides[size_t(i)]);
        break;
    }
    case Task::RightAngles:
        m_triangles = core::drawRightAngleProblem();
        for (int i = 0; i < Tiles; ++i) {
            const core::Triangle& t = m_triangles[size_t(i)];
            m_answers[size_t(i)] = core::rightAngleAnswer(t);
            // The longest side is not always written last, as on a worksheet it need not be.
            const int turn = int(core::randomFraction() * 3);
            const QString sides = turn == 0   ? numbers({t.a, t.b, t.c}, QStringLiteral(", "))
                                  : turn == 1 ? numbers({t.c, t.a, t.b}, QStringLiteral(", "))
                                              : numbers({t.b, t.c, t.a}, QStringLiteral(", "));
            m_ui.clues[size_t(i)]->setText(sides + QStringLiteral("  "));
        }
        break;
    case Task::Sequences: {
        const auto rows = core::drawSequenceProblem();
        const auto terms = core::sequenceTerms(rows);
        for (int i = 0; i < Tiles; ++i) m_answers[size_t(i)] = number(terms[size_t(i)]);
        for (int r = 0; r < 4; ++r)
            m_ui.clues[size_t(3 * r)]->setText(
                numbers({rows[size_t(r)].first, rows[size_t(r)].second}, QStringLiteral(",  ")) + QStringLiteral(","));
        break;
    }
    case Task::Roman: {
        const auto values = core::drawRomanProblem();
        for (int i = 0; i < Tiles; ++i) {
            m_answers[size_t(i)] = number(values[size_t(i)]);
            m_ui.clues[size_t(i)]->setText(core::romanNumeral(values[size_t(i)]) + QStringLiteral("  ="));
        }
        break;
    }
    }
    for (int i = 0; i < Tiles; ++i) m_board.boxes[size_t(i)]->setText(m_answers[size_t(i)]);
}

// The tray in the order of the tiles' values (Yes before No), so where a tile starts says nothing of
// the box it belongs on.
void GalleryActivity::trayInOrder() {
    std::array<int, Tiles> order;
    std::iota(order.begin(), order.end(), 0);
    const auto value = [this](int i) {
        const QString& a = m_answers[size_t(i)];
        return a == QLatin1String("Yes") ? -1 : a == QLatin1String("No") ? 0 : int(toNumber(a));
    };
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return value(x) < value(y); });
    for (int k = 0; k < Tiles; ++k) m_board.tiles[size_t(order[size_t(k)])]->Move(960 + 840.0f * float(k), 7200);
}

void GalleryActivity::checkScore() {
    std::array<QString, Tiles> shown;
    for (int b = 0; b < Tiles; ++b) shown[size_t(b)] = shownOn(b);
    const int score = m_task == Task::Triples       ? core::triplesScore(shown)
                      : m_task == Task::RightAngles ? core::rightAngleScore(m_triangles, shown)
                                                    : core::boxesScore(m_answers, shown);
    showScore(score, text());
}

// Where a box stands and what it answers, as a reader says it when a tile is carried there:
// "row 2 (4, 7,), box 1", "row 2, box 1, beside the numeral XLVII", "row 1, box 3, beside the
// triangle 5, 12, 13", "row 2, box 1".
QString GalleryActivity::boxPlace(int b) const {
    const QString place = QStringLiteral("row %1, box %2").arg(b / 3 + 1).arg(b % 3 + 1);
    const QString clue = m_ui.clues[size_t(m_task == Task::Sequences ? b / 3 * 3 : b)]->text().simplified();
    switch (m_task) {
    case Task::Sequences: return QStringLiteral("row %1 (%2), box %3").arg(b / 3 + 1).arg(clue).arg(b % 3 + 1);
    case Task::Roman: return place + QStringLiteral(", beside the numeral ") + clue.chopped(2);  // less " ="
    case Task::RightAngles: return place + QStringLiteral(", beside the triangle ") + clue;
    case Task::Triples: break;
    }
    return place;
}

