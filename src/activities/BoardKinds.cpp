#include "activities/BoardKinds.h"
#include "activities/DiceActivity.h"
#include "activities/GalleryActivity.h"
#include "activities/PrimesActivity.h"
#include "core/SecondHallBoards.h"

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
    // A row reads "Crossed out first by 3:  9,  15,  21"; numbers to 100, so a smaller tile font.
    {.key = "sieve", .open = GalleryActivity::open, .layout = {
        .fact = "Eratosthenes' sieve crosses out the multiples of each prime, but not the prime itself.",
        .instruction = "A number is crossed out first by its smallest prime factor: 15 by 3, as 15 = 3 × 5. "
                       "Put each number in the row of the prime that crosses it out first.",
        .dragHint = "Drag and drop these numbers into the rows.",
        .signs = {",", ",", ""}, .firstBox = 4800, .boxStep = 1440, .tileFont = {"Arial", 18, true}, .cluePoints = 18},
     .rule = &core::SieveRule},
    // A clue is the division a pupil does: "360° ÷ 7.2°  =".
    {.key = "earth", .open = GalleryActivity::open, .layout = {
        .fact = "The way round the Earth is 50 times Syene to Alexandria: 7.2° is 1/50 of a full turn.",
        .instruction = "A full turn is 360°. How many of each angle make a full turn? Divide 360° by the angle "
                       "and put the answer beside it.",
        .dragHint = "Drag and drop these numbers beside the angles.",
        .cells = true, .tileFont = {"Arial", 18, true}, .clueWidth = 2760},
     .rule = &core::EarthRule},
    // A row reads "6 kg at  2 m  =  4 kg at  3 m".
    {.key = "lever", .open = GalleryActivity::open, .layout = {
        .fact = "Archimedes: a lever balances when weight × distance is the same on both sides.",
        .instruction = "Each row is a lever with its first weight given. Put a distance, a weight and a distance "
                       "in its boxes so that it balances: 6 kg at 2 m balances 4 kg at 3 m, as 6 × 2 = 4 × 3.",
        .dragHint = "Drag and drop these numbers into the boxes.",
        .signs = {"m  =", "kg at", "m"}, .firstBox = 2640, .boxStep = 2160, .tileFont = Number},
     .rule = &core::LeverRule},
    // A clue is a diameter, the circumference taken with 22/7 for the ratio: "d = 14 cm,  C ≈".
    {.key = "circles", .open = GalleryActivity::open, .layout = {
        .fact = "Archimedes proved a circle's circumference is just under 22/7 of its diameter.",
        .instruction = "Take the circumference C as 22/7 of the diameter d: divide d by 7, then multiply by 22. "
                       "Put each circumference, in cm, beside its diameter.",
        .dragHint = "Drag and drop these numbers beside the diameters.",
        .cells = true, .tileFont = {"Arial", 18, true}, .clueWidth = 2760},
     .rule = &core::CirclesRule},
    // A clue is an equation in x: "2x + 1 = 11".
    {.key = "equations", .open = GalleryActivity::open, .layout = {
        .fact = "Al-Khwarizmi's book on al-jabr, \"restoring\", gave algebra its name.",
        .instruction = "Find x in each equation (3x means 3 × x). Do the same to both sides until x stands alone: x + 7 = 15, "
                       "so x = 15 − 7 = 8. Put each answer beside its equation.",
        .dragHint = "Drag and drop these numbers beside the equations.",
        .cells = true, .tileFont = Number, .clueWidth = 2760},
     .rule = &core::EquationsRule},
    // A clue is a number in words, on two lines where it must ("seven thousand / seven hundred");
    // answers of four digits, so a smaller tile font.
    {.key = "place-value", .open = GalleryActivity::open, .layout = {
        .fact = "Al-Khwarizmi wrote of the Indian numerals, where 0 holds a place: 406 is not 46.",
        .instruction = "Write each number in digits, with a 0 in every empty place. "
                       "Put each number beside its words.",
        .dragHint = "Drag and drop these numbers beside the words.",
        .cells = true, .tileFont = {"Arial", 14.25, true}, .cluePoints = 14.25, .clueWidth = 2760},
     .rule = &core::PlaceValueRule},
};
// clang-format on
}  // namespace

const BoardKind* boardKind(const QString& key) {
    for (const BoardKind& kind : Kinds)
        if (key == QLatin1String(kind.key)) return &kind;
    return nullptr;
}
