// The rules of the tile board and its two activities, Products of Primes and Nets of Dice.
#pragma once
#include <QString>
#include <array>

namespace core {

// A tile, box or slot of the board, in twips, single precision as the board keeps them.
struct Place {
    float left = 0, top = 0, width = 0, height = 0;
};
// The snap rule: a tile dropped with its top-left corner less than half a target before the
// target's corner and less than a whole target after it lands on the target. Each bound is a
// single-precision number, as the positions are, and strict.
bool hits(const Place& tile, const Place& target);

// Products of Primes: each of the primes 2 to 13 twice, shuffled; row a is factors 3a to 3a + 2.
using Factors = std::array<qint16, 12>;
Factors drawPrimeProblem();
int productOfRow(const Factors& f, int row);
// Three points for each row whose placed primes (0 for an empty box) multiply to its number.
int primesScore(const Factors& factors, const Factors& placed);

// Nets of Dice: a point for each box that shows the digit it needs (an empty box shows "").
int diceScore(const std::array<QString, 12>& needed, const std::array<QString, 12>& shown);

}  // namespace core
