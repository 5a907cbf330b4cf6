#include "core/Activities.h"
#include "core/GalleryActivities.h"
#include "core/Random.h"

#include <algorithm>

namespace core {

bool hits(const Place& t, const Place& r) {
    return t.left > float(double(r.left) - double(r.width) / 2) && t.left < float(double(r.left) + double(r.width)) &&
           t.top > float(double(r.top) - double(r.height) / 2) && t.top < float(double(r.top) + double(r.height));
}

Factors drawPrimeProblem() {
    Factors pool = {2, 2, 3, 3, 5, 5, 7, 7, 11, 11, 13, 13};
    // Reseeded to the moment, finer than a second, so a second "New Problem" is a new problem.
    reseedRandom();
    for (int pass = 0; pass < 10; ++pass)
        for (int b = 0; b <= 11; ++b) std::swap(pool[b], pool[int(randomFraction() * 11)]);
    return pool;
}

int productOfRow(const Factors& f, int row) { return f[3 * row] * f[3 * row + 1] * f[3 * row + 2]; }

int primesScore(const Factors& factors, const Factors& placed) {
    int score = 0;
    for (int a = 0; a <= 3; ++a)
        if (productOfRow(placed, a) == productOfRow(factors, a)) score += 3;
    return score;
}

int diceScore(const std::array<QString, 12>& needed, const std::array<QString, 12>& shown) {
    return boxesScore(needed, shown);
}

}  // namespace core
