#include "activities/DiceActivity.h"
#include "platform/screen/Navigator.h"
#include "core/Activities.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"
#include <algorithm>

using namespace platform;

namespace {
using Board = TileBoard::Board;
using Controls = DiceActivity::Controls;
// The nets by their place on the screen, as Teacher's Notes names them.
const char* const NetPlaces[] = {"top left", "bottom middle", "top middle", "right"};
QString netName(int net) { return QLatin1String(NetPlaces[std::clamp(net, 0, 3)]) + QStringLiteral(" net"); }
// The nets in reading order, as a reader meets them: top left, top middle, right, bottom middle.
constexpr int NetsInReadingOrder[4] = {0, 2, 3, 1};

constexpr FontDesc Digit{"Tahoma", 15.75, true};

// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {240, 120, 3345, 705},
         .font = {"Times New Roman", 24}, .fore = Yellow, .flags = Transparent, .to = slot<&Board::heading>},
    {.kind = Kind::Label, .caption = "               The nets of these cubic dice have numbers missing. "
                    "Drag numbers into the empty squares to show the missing digits.",
         .at = {1080, 360, 10680, 1065}, .font = {"Times New Roman", 20.25}, .fore = Yellow, .flags = Transparent},
};
// clang-format on

// The squares of the four nets: their index, corner and colour.
struct Square {
    int index;
    float left, top;
    quint32 colour;
};
constexpr Square Squares[] = {
    {0, 825, 2520, Magenta},  {1, 1560, 2520, Orange}, {2, 2295, 2520, Blue},     {3, 3030, 2520, DiceGreen},
    {4, 1560, 3255, Teal},    {5, 2295, 1785, Red},    {6, 3360, 4575, Red},      {7, 4095, 4575, Teal},
    {10, 4095, 5310, DiceGreen},  {8, 4830, 5310, Blue},   {11, 4830, 6045, Magenta}, {9, 5565, 6045, Orange},
    {17, 6255, 1800, Teal},   {12, 5520, 2535, DiceGreen}, {13, 6255, 2535, Magenta}, {16, 6255, 3270, Blue},
    {14, 6990, 3270, Orange}, {15, 6990, 4005, Red},   {23, 9615, 3600, Orange},  {18, 8880, 4335, DiceGreen},
    {19, 9615, 4335, Red},    {20, 10350, 4335, Teal}, {22, 9615, 5070, Blue},    {21, 9615, 5805, Magenta},
};
// A digit on a square: its index, caption and corner (printed digits and answer boxes alike).
struct Placing {
    int index;
    const char* digit;
    float left, top;
};
constexpr Placing Printed[] = {
    {0, "6", 2400, 2700}, {1, "2", 3120, 2700}, {2, "3", 1650, 3420},   {8, "5", 3465, 4755},
    {6, "1", 4200, 5490}, {7, "3", 4920, 6225}, {5, "4", 6360, 1980},   {3, "1", 7080, 3450},
    {4, "2", 7080, 4200}, {9, "4", 9720, 4515}, {11, "5", 10440, 4515}, {10, "6", 9720, 5250},
};
// Each blank square's answer is 7 less the digit on the square opposite it when the net is folded.
constexpr Placing Boxes[] = {
    {0, "6", 5715, 6195}, {1, "5", 1695, 2670}, {2, "1", 975, 2670},   {3, "4", 2430, 1935},
    {4, "4", 4245, 4740}, {5, "5", 6405, 2700}, {6, "3", 6405, 3420},  {7, "6", 5670, 2700},
    {8, "2", 4980, 5460}, {9, "1", 9765, 3750}, {10, "3", 9765, 5955}, {11, "2", 9030, 4485},
};
// The tray from left to right: which tile stands in each place (digits 1, 1, 2, 2, ... 6, 6).
constexpr int TrayOrder[12] = {9, 2, 11, 8, 6, 10, 3, 4, 5, 1, 0, 7};
}  // namespace

// clang-format off
DiceActivity::DiceActivity() {
    // Each net to a reader: one text over the net's squares that names its printed faces, so the
    // screen's opening reads the faces net by net, not row by row across the nets. Beneath everything
    // and taking no clicks.
    for (int net = 0; net < 4; ++net) {
        float left = 12000, top = 9000, right = 0, bottom = 0;
        for (const Square& q : Squares)
            if (q.index / 6 == net) {
                left = std::min(left, q.left), top = std::min(top, q.top);
                right = std::max(right, q.left + 750), bottom = std::max(bottom, q.top + 750);
            }
        build({{.index = net, .at = {left, top, right - left, bottom - top}, .flags = Transparent, .to = slot<&Controls::nets>}}, m_ui);
        m_ui.nets[size_t(net)]->widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    // The squares lie beneath everything else, so they are built first; the tiles last, on top.
    for (const Square& q : Squares)
        build({{.kind = Kind::Shape, .index = q.index, .at = {q.left, q.top, 750, 750},
                .fore = Black, .back = q.colour}});
    for (const Placing& d : Printed)
        build({{.index = d.index, .caption = d.digit,
                .at = {d.left, d.top, 555, 495}, .font = Digit, .fore = Yellow, .flags = Transparent,
                .to = slot<&Controls::faces>}}, m_ui);
    for (const Placing& d : Boxes)
        build({{.index = d.index, .caption = d.digit,
                .at = {d.left, d.top, 450, 450}, .font = Digit, .fore = Yellow, .back = Navy, .flags = Centered,
                .to = slot<&Board::boxes>}}, m_board);
    for (int i = 0; i < 12; ++i)
        build({{.index = i, .font = {"Tahoma", 9, true}, .flags = Transparent,
                .to = slot<&Board::homes>}}, m_board);
    build<Layout>(m_board);
    buildButtons({.font = Digit, .newProblem = false, .howToTop = 6855, .tile = "number", .place = "square"});
    for (int k = 0; k < 12; ++k)
        build({{.index = TrayOrder[k], .at = {2400 + 600.0f * float(k), 7320, 450, 450},
                .font = Digit, .fore = Yellow, .back = Black, .flags = Centered | Border, .to = slot<&Board::tiles>}}, m_board);
    bindBoard();
    // A printed face says "face 6": its net says the rest. (Two words: a reader's opening of the
    // screen passes over it, and reads the net's words instead.)
    for (Label* face : m_ui.faces) face->describe = [face] { return QStringLiteral("face ") + face->text(); };
    for (int net = 0; net < 4; ++net)
        m_ui.nets[size_t(net)]->describe = [this, net] {
            std::vector<const Label*> faces;
            for (const Label* face : m_ui.faces)
                if (netOf(face) == net) faces.push_back(face);
            std::stable_sort(faces.begin(), faces.end(), readingOrder);
            QStringList digits;
            for (const Label* face : faces) digits << face->text();
            return netName(net) + QStringLiteral(", faces ") + digits.mid(0, digits.size() - 1).join(QStringLiteral(", ")) +
                   QStringLiteral(" and ") + digits.back();
        };
}
// clang-format on

void DiceActivity::open(const BoardKind&, const BoardOpening& opening) {
    screens().open<DiceActivity>().showAs(opening.caption, opening.heading, opening.portrait);
}

void DiceActivity::prepare() {
    prepareScreen(*this);
    boardSetUp();
}

// One point for each box showing the digit it needs. The two tiles of a digit look the same, so
// either of them scores; the box's answer went onto tile i of the same index when the board was set.
void DiceActivity::checkScore() {
    std::array<QString, 12> needed, shown;
    for (int i = 0; i < Tiles; ++i) {
        needed[size_t(i)] = m_board.tiles[size_t(i)]->text();
        shown[size_t(i)] = shownOn(i);
    }
    showScore(core::diceScore(needed, shown), text());
}

int DiceActivity::netOf(const Control* c) const {
    const float x = c->leftTwips() + c->widthTwips() / 2, y = c->topTwips() + c->heightTwips() / 2;
    for (const Square& q : Squares)
        if (x >= q.left && x < q.left + 750 && y >= q.top && y < q.top + 750) return q.index / 6;
    return -1;
}

// "top middle net, box 2": a net's boxes are counted in reading order.
QString DiceActivity::boxPlace(int b) const {
    const Label* box = m_board.boxes[size_t(b)];
    const int net = netOf(box);
    int ordinal = 1;
    for (const Label* other : m_board.boxes)
        if (other != box && netOf(other) == net &&
            std::pair(other->topTwips(), other->leftTwips()) < std::pair(box->topTwips(), box->leftTwips()))
            ++ordinal;
    return netName(net) + QStringLiteral(", box %1").arg(ordinal);
}

int DiceActivity::boxGroup(int b) const {
    const int net = netOf(m_board.boxes[size_t(b)]);
    return int(std::find(std::begin(NetsInReadingOrder), std::end(NetsInReadingOrder), net) - std::begin(NetsInReadingOrder));
}

// The face a box lies opposite when its net is folded, so the rule can be used by ear: the box needs
// 7 less that face's digit.
QString DiceActivity::boxClue(int b) const {
    for (const Placing& d : Boxes)
        if (d.index == b) return QStringLiteral(", opposite the %1").arg(7 - QString::fromLatin1(d.digit).toInt());
    return {};
}
