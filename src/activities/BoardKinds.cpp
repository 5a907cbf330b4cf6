#include "activities/BoardKinds.h"
#include "activities/DiceActivity.h"
#include "activities/GalleryActivity.h"
#include "activities/PrimesActivity.h"

namespace {
constexpr platform::FontDesc Number{"Arial", 24, true};

// clang-format off
constexpr BoardKind Kinds[] = {
    // Boards with screens of their own: the layout and rule here are for their sheets alone.
    {.key = "primes", .open = PrimesActivity::open, .layout = {
        .instruction = "Every whole number greater than 1 can be written as a product of primes in just one way, "
                       "apart from the order of the factors. Find the prime factors of the numbers below.",
        .signs = {"×", "×", ""}},
     .rule = &core::PrimesRule},
    // On paper the nets are not drawn: each box is said by its net and the face opposite it.
    {.key = "dice", .open = DiceActivity::open, .layout = {
        .instruction = "The faces opposite each other on a die add up to 7. Each box below is a blank face on one of "
                       "the four nets of dice on the screen: write the digit it needs."},
     .rule = &core::DiceRule},
    // A row reads "9² + 12² = 15²".
    {.key = "triples", .open = GalleryActivity::open, .layout = {
        .fact = "Whole numbers with a² + b² = c² make a Pythagorean triple.",
        .instruction = "Use each number once to make four Pythagorean triples, one in each row, with the largest "
                       "number of the row in its last box. Check by squaring: 3² + 4² = 9 + 16 = 25 = 5².",
        .dragHint = "Drag and drop these numbers into the boxes.",
        .signs = {"² +", "² =", "²"}, .firstBox = 3000, .boxStep = 2400, .tileFont = Number},
     .rule = &core::TriplesRule},
    // A clue is a triangle's sides, in any order.
    {.key = "right-angles", .open = GalleryActivity::open, .layout = {
        .fact = "A triangle is right-angled when a² + b² = c², c being its longest side.",
        .instruction = "Each triangle below is given by the lengths of its three sides. Put Yes beside every "
                       "right-angled triangle and No beside the others.",
        .dragHint = "Drag and drop Yes or No beside each triangle.",
        .cells = true, .tileFont = {"Arial", 14.25, true}, .piles = true},
     .rule = &core::RightAngleRule},
    // A row reads "4,  7,  11,  18,  29, ...".
    {.key = "sequences", .open = GalleryActivity::open, .layout = {
        .fact = "Each number is the sum of the two before it: 1, 1, 2, 3, 5, 8, 13, ...",
        .instruction = "Each row below starts with two numbers. Find the next three numbers of each row in the same way.",
        .dragHint = "Drag and drop these numbers into the correct boxes.",
        .signs = {",", ",", ",  ..."}, .firstBox = 5520, .boxStep = 1440, .tileFont = Number},
     .rule = &core::SequencesRule},
    // A clue is a numeral, the tiles the numbers Fibonacci's book taught Europe.
    {.key = "roman", .open = GalleryActivity::open, .layout = {
        .fact = "Fibonacci's book of 1202 helped bring our numerals 0 to 9 to Europe.",
        .instruction = "I = 1, V = 5, X = 10, L = 50, C = 100. A smaller letter before a larger one is taken away: "
                       "IV = 4, XC = 90. Put the matching number beside each Roman numeral.",
        .dragHint = "Drag and drop these numbers beside the Roman numerals.",
        .cells = true, .tileFont = Number},
     .rule = &core::RomanRule},
};
// clang-format on
}  // namespace

const BoardKind* boardKind(const QString& key) {
    for (const BoardKind& kind : Kinds)
        if (key == QLatin1String(kind.key)) return &kind;
    return nullptr;
}
