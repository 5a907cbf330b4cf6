#include "core/GalleryActivities.h"
#include "core/Activities.h"
#include "core/Random.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace core {

namespace {

// Moves `count` different elements, chosen at random, to the front of `pool`, in random order.
template <typename T> void pickFront(std::vector<T>& pool, size_t count) {
    for (size_t i = 0; i < count && i < pool.size(); ++i) {
        const size_t left = pool.size() - i;
        // A fraction just below 1 times `left` can round up to `left`.
        const size_t j = i + std::min(size_t(randomFraction() * double(left)), left - 1);
        std::swap(pool[i], pool[j]);
    }
}

// Every triple a < b < c, a² + b² = c², c <= 30, in order of c.
std::vector<Triangle> allTriples() {
    std::vector<Triangle> triples;
    for (int c = 1; c <= 30; ++c)
        for (int a = 1; a < c; ++a)
            for (int b = a + 1; b < c; ++b)
                if (a * a + b * b == c * c) triples.push_back({qint16(a), qint16(b), qint16(c)});
    return triples;
}

// Triangles that look like a triple but are not one: one side of a triple moved by 1 or 2.
std::vector<Triangle> nearMisses() {
    std::vector<Triangle> misses;
    for (const Triangle& t : allTriples())
        for (int side = 0; side < 3; ++side)
            for (int by : {-2, -1, 1, 2}) {
                std::array<qint16, 3> s = {t.a, t.b, t.c};
                s[side] = qint16(s[side] + by);
                std::sort(s.begin(), s.end());
                const Triangle m{s[0], s[1], s[2]};
                if (m.a >= 1 && m.c <= 30 && m.a + m.b > m.c && !isRightAngled(m) &&
                    std::find(misses.begin(), misses.end(), m) == misses.end())
                    misses.push_back(m);
            }
    return misses;
}

// A box's number as its tile writes it (plain digits, no leading zero), or 0.
qint64 shownNumber(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 && QString::number(n) == text ? n : 0;
}

}  // namespace

int boxesScore(const std::array<QString, 12>& needed, const std::array<QString, 12>& shown) {
    int score = 0;
    for (size_t i = 0; i < needed.size(); ++i)
        if (!shown[i].isEmpty() && shown[i] == needed[i]) ++score;
    return score;
}

std::array<qint16, 12> drawTriplesProblem() {
    std::vector<Triangle> triples = allTriples();
    pickFront(triples, 4);
    std::array<qint16, 12> problem;
    for (int r = 0; r < 4; ++r) {
        problem[3 * r] = triples[r].a;
        problem[3 * r + 1] = triples[r].b;
        problem[3 * r + 2] = triples[r].c;
    }
    return problem;
}

int triplesScore(const std::array<QString, 12>& shown) {
    int score = 0;
    for (int r = 0; r < 4; ++r) {
        const qint64 x = shownNumber(shown[3 * r]), y = shownNumber(shown[3 * r + 1]),
                     z = shownNumber(shown[3 * r + 2]);
        if (x && y && z && x * x + y * y == z * z) score += 3;
    }
    return score;
}

bool isRightAngled(const Triangle& t) { return int(t.a) * t.a + int(t.b) * t.b == int(t.c) * t.c; }

QString rightAngleAnswer(const Triangle& t) { return isRightAngled(t) ? QStringLiteral("Yes") : QStringLiteral("No"); }

std::array<Triangle, 12> drawRightAngleProblem() {
    const size_t right = 4 + std::min(size_t(randomFraction() * 5), size_t(4));
    std::vector<Triangle> triples = allTriples(), misses = nearMisses();
    pickFront(triples, right);
    pickFront(misses, 12 - right);
    std::vector<Triangle> problem(triples.begin(), triples.begin() + right);
    problem.insert(problem.end(), misses.begin(), misses.begin() + (12 - right));
    pickFront(problem, 12);
    std::array<Triangle, 12> shuffled;
    std::copy(problem.begin(), problem.end(), shuffled.begin());
    return shuffled;
}

std::array<SequenceRow, 4> drawSequenceProblem() {
    std::vector<SequenceRow> starts;
    for (qint16 first = 1; first <= 9; ++first)
        for (qint16 second = 1; second <= 9; ++second) starts.push_back({first, second});
    pickFront(starts, 4);
    return {starts[0], starts[1], starts[2], starts[3]};
}

std::array<qint16, 12> sequenceTerms(const std::array<SequenceRow, 4>& rows) {
    std::array<qint16, 12> terms;
    for (int r = 0; r < 4; ++r) {
        qint16 before = rows[r].first, last = rows[r].second;
        for (int k = 0; k < 3; ++k) {
            terms[3 * r + k] = qint16(before + last);
            before = last;
            last = terms[3 * r + k];
        }
    }
    return terms;
}

QString romanNumeral(int n) {
    if (n < 1 || n > 3999) return {};
    static const struct {
        int value;
        const char* letters;
    } steps[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                 {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString numeral;
    for (const auto& s : steps)
        for (; n >= s.value; n -= s.value) numeral += QLatin1String(s.letters);
    return numeral;
}

int romanValue(const QString& numeral) {
    // The longest numeral up to 3999 is MMMDCCCLXXXVIII; a longer text cannot be one and could overflow.
    if (numeral.size() > 15) return 0;
    static const QString letters = QStringLiteral("IVXLCDM");
    static const int values[] = {1, 5, 10, 50, 100, 500, 1000};
    int total = 0;
    for (qsizetype i = 0; i < numeral.size(); ++i) {
        const qsizetype here = letters.indexOf(numeral[i]);
        if (here < 0) return 0;
        const qsizetype next = i + 1 < numeral.size() ? letters.indexOf(numeral[i + 1]) : -1;
        total += next >= 0 && values[next] > values[here] ? -values[here] : values[here];
    }
    // Reading is lenient ("IIII" adds up to 4); only the one way romanNumeral writes it is a numeral.
    return romanNumeral(total) == numeral ? total : 0;
}

std::array<qint16, 12> drawRomanProblem() {
    std::vector<qint16> numbers;
    for (qint16 n = 1; n <= 99; ++n) numbers.push_back(n);
    pickFront(numbers, 12);
    std::array<qint16, 12> problem;
    std::copy(numbers.begin(), numbers.begin() + 12, problem.begin());
    return problem;
}

}  // namespace core

namespace core {

namespace {
QString numbers(std::initializer_list<int> values, const QString& separator) {
    QStringList parts;
    for (int v : values) parts << QString::number(v);
    return parts.join(separator);
}
QString place(int b) { return QStringLiteral("row %1, box %2").arg(b / 3 + 1).arg(b % 3 + 1); }
int answersScore(const GalleryProblem& problem, const std::array<QString, 12>& shown) {
    return boxesScore(problem.answers, shown);
}
}  // namespace

// The rows as drawn are one arrangement; any other that works scores as well.
const GalleryRule TriplesRule{
    [] {
        GalleryProblem p;
        const auto sides = drawTriplesProblem();
        for (size_t i = 0; i < 12; ++i) p.answers[i] = QString::number(sides[i]);
        return p;
    },
    [](const GalleryProblem&, const std::array<QString, 12>& shown) { return triplesScore(shown); },
    [](const GalleryProblem&, int b) { return place(b); }};

// A triangle's sides in a random turn: the longest is not always written last, as on a worksheet it
// need not be.
const GalleryRule RightAngleRule{
    [] {
        GalleryProblem p;
        const auto triangles = drawRightAngleProblem();
        for (size_t i = 0; i < 12; ++i) {
            const Triangle& t = triangles[i];
            p.answers[i] = rightAngleAnswer(t);
            const int turn = int(randomFraction() * 3);
            p.clues[i] = (turn == 0   ? numbers({t.a, t.b, t.c}, QStringLiteral(", "))
                          : turn == 1 ? numbers({t.c, t.a, t.b}, QStringLiteral(", "))
                                      : numbers({t.b, t.c, t.a}, QStringLiteral(", "))) +
                         QStringLiteral("  ");
        }
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) {
        return place(b) + QStringLiteral(", beside the triangle ") + p.clues[size_t(b)].simplified();
    }};

const GalleryRule SequencesRule{
    [] {
        GalleryProblem p;
        const auto rows = drawSequenceProblem();
        const auto terms = sequenceTerms(rows);
        for (size_t i = 0; i < 12; ++i) p.answers[i] = QString::number(terms[i]);
        for (size_t r = 0; r < 4; ++r)
            p.clues[3 * r] = numbers({rows[r].first, rows[r].second}, QStringLiteral(",  ")) + QStringLiteral(",");
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) {
        return QStringLiteral("row %1 (%2), box %3").arg(b / 3 + 1).arg(p.clues[size_t(b / 3 * 3)].simplified()).arg(b % 3 + 1);
    }};

const GalleryRule RomanRule{
    [] {
        GalleryProblem p;
        const auto values = drawRomanProblem();
        for (size_t i = 0; i < 12; ++i) {
            p.answers[i] = QString::number(values[i]);
            p.clues[i] = romanNumeral(values[i]) + QStringLiteral("  =");
        }
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) {
        return place(b) + QStringLiteral(", beside the numeral ") + p.clues[size_t(b)].simplified().chopped(2);  // less " ="
    }};

}  // namespace core

namespace core {

namespace {
// The nets of Nets of Dice as its board draws them: the net each box is on (its place, as the board
// names it), its count in reading order on that net, and the digit it needs.
struct DiceBox {
    int net, ordinal, digit;
};
constexpr const char* NetPlaces[] = {"top left", "bottom middle", "top middle", "right"};
constexpr DiceBox DiceBoxes[12] = {{1, 3, 6}, {0, 3, 5}, {0, 2, 1}, {0, 1, 4}, {1, 1, 4}, {2, 2, 5},
                                   {2, 3, 3}, {2, 1, 6}, {1, 2, 2}, {3, 1, 1}, {3, 3, 3}, {3, 2, 2}};
}  // namespace

const GalleryRule PrimesRule{
    [] {
        GalleryProblem p;
        const Factors factors = drawPrimeProblem();
        for (size_t i = 0; i < 12; ++i) p.answers[i] = QString::number(factors[i]);
        for (int r = 0; r < 4; ++r) p.clues[size_t(3 * r)] = QString::number(productOfRow(factors, r)) + QStringLiteral("  =");
        return p;
    },
    // Any order of a row's primes scores, as on the board; a number too large for a prime tile is none.
    [](const GalleryProblem& p, const std::array<QString, 12>& shown) {
        Factors factors{}, placed{};
        for (size_t i = 0; i < 12; ++i) {
            factors[i] = qint16(p.answers[i].toInt());
            const qint64 n = shownNumber(shown[i]);
            placed[i] = n <= 99 ? qint16(n) : 0;
        }
        return primesScore(factors, placed);
    },
    [](const GalleryProblem& p, int b) {
        return QStringLiteral("row %1 (%2), box %3").arg(b / 3 + 1).arg(p.clues[size_t(b / 3 * 3)].simplified()).arg(b % 3 + 1);
    }};

// The dice's problem is always the same; each box needs 7 less the face opposite it when folded.
const GalleryRule DiceRule{
    [] {
        GalleryProblem p;
        for (size_t i = 0; i < 12; ++i) p.answers[i] = QString::number(DiceBoxes[i].digit);
        return p;
    },
    [](const GalleryProblem& p, const std::array<QString, 12>& shown) { return diceScore(p.answers, shown); },
    [](const GalleryProblem&, int b) {
        const DiceBox& d = DiceBoxes[size_t(b)];
        return QStringLiteral("%1 net, box %2, opposite the %3").arg(QLatin1String(NetPlaces[d.net])).arg(d.ordinal).arg(7 - d.digit);
    }};

BoardSheet drawSheet(const GalleryRule& rule) {
    BoardSheet sheet{rule.draw(), {}, {}};
    for (int b = 0; b < 12; ++b) sheet.boxes[size_t(b)] = rule.describe(sheet.problem, b);
    const auto value = [](const QString& a) { return a == QLatin1String("Yes") ? -1 : a == QLatin1String("No") ? 0 : a.toInt(); };
    for (const QString& a : sheet.problem.answers)
        if (shownNumber(a) || !sheet.tiles.contains(a)) sheet.tiles << a;
    std::stable_sort(sheet.tiles.begin(), sheet.tiles.end(), [&](const QString& x, const QString& y) { return value(x) < value(y); });
    return sheet;
}

}  // namespace core
