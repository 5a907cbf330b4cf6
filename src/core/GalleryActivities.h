// The rules of four more board activities: Pythagorean Triples, Right-Angled?, Fibonacci Sequences and
// Roman Numerals. Like the others, each board has 12 tiles and 12 boxes, and a box is marked by what it
// shows (a tile's caption, or "" when empty), never by which tile lies on it.
//
// The draws take their numbers from randomFraction() alone and never reseed: the board reseeds
// (reseedRandom()) before it draws, so a new problem is new, while the same seed draws the same problem.
#pragma once
#include <QString>
#include <QStringList>
#include <array>

namespace core {

// A gallery board's problem as its screen shows it: what each box must show for its point, and the clue
// written beside each box ("XLVII  ="); on a board of rows, a row's start stands at its first box
// ("4,  7,") and the other clues are "".
struct GalleryProblem {
    std::array<QString, 12> answers, clues;
};
// A gallery board kind's rule: it draws a problem, scores what the boxes show, and says where box b
// stands and what it answers as a screen reader tells it ("row 2 (4, 7,), box 1").
struct GalleryRule {
    GalleryProblem (*draw)();
    int (*score)(const GalleryProblem& problem, const std::array<QString, 12>& shown);
    QString (*describe)(const GalleryProblem& problem, int box);
};
extern const GalleryRule TriplesRule, RightAngleRule, SequencesRule, RomanRule;
// Products of Primes and Nets of Dice as rules too: their boards have screens of their own, and these
// give their problems to the sheets a teacher prints.
extern const GalleryRule PrimesRule, DiceRule;

// A freshly drawn problem as a sheet to do by hand shows it: the problem, what each box answers in the
// words the board gives a screen reader ("row 2 (4, 7,), box 1"), and the tiles to write in the boxes,
// smallest first. Tiles of words (Yes, No) are listed once each, so the list does not tell how many.
struct BoardSheet {
    GalleryProblem problem;
    std::array<QString, 12> boxes;
    QStringList tiles;
};
BoardSheet drawSheet(const GalleryRule& rule);

// A point for each box that shows exactly the text it needs; an empty box never scores.
int boxesScore(const std::array<QString, 12>& needed, const std::array<QString, 12>& shown);

// Pythagorean Triples: four different triples a < b < c, a² + b² = c², c <= 30 (multiples included);
// row r is (a, b, c) at 3r, 3r + 1, 3r + 2.
std::array<qint16, 12> drawTriplesProblem();
// Three points for each row whose boxes show whole numbers x, y, z with x² + y² = z² (so a and b may
// be either way round). A number is read strictly as its tile writes it: "7 ", "07" or "+7" are not 7.
int triplesScore(const std::array<QString, 12>& shown);

// Right-Angled?: twelve different triangles, sides ascending.
struct Triangle {
    qint16 a, b, c;
    friend bool operator==(const Triangle&, const Triangle&) = default;
};
bool isRightAngled(const Triangle& t);
QString rightAngleAnswer(const Triangle& t);  // "Yes" or "No"
// Four to eight right-angled triangles from the triples; the rest are triples with one side off by 1
// or 2, still triangles (a + b > c, sides 1 to 30) but not right-angled; all in random order.
std::array<Triangle, 12> drawRightAngleProblem();

// Fibonacci Sequences: four different starts, each term 1 to 9.
struct SequenceRow {
    qint16 first, second;
    friend bool operator==(const SequenceRow&, const SequenceRow&) = default;
};
std::array<SequenceRow, 4> drawSequenceProblem();
// Row r's next three terms at 3r, 3r + 1, 3r + 2, each the sum of the two before it.
std::array<qint16, 12> sequenceTerms(const std::array<SequenceRow, 4>& rows);

// Roman Numerals, 1 to 3999 with the subtractive pairs IV IX XL XC CD CM; "" outside that range.
QString romanNumeral(int n);
// The number a numeral stands for, or 0 unless it is exactly how romanNumeral writes that number
// ("IIII", "VX", "IC", "iv" and "" are all 0).
int romanValue(const QString& numeral);
// Twelve different numbers from 1 to 99.
std::array<qint16, 12> drawRomanProblem();

}  // namespace core
