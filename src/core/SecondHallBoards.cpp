#include "core/SecondHallBoards.h"
#include "core/Random.h"

#include <algorithm>
#include <vector>

namespace core {

namespace {

// A whole number from 0 to count - 1; a fraction just below 1 times `count` can round up to `count`.
int below(int count) { return std::min(int(randomFraction() * count), count - 1); }

// Moves `count` different elements, chosen at random, to the front of `pool`, in random order.
template <typename T> void shuffleFront(std::vector<T>& pool, size_t count) {
    for (size_t i = 0; i < count && i < pool.size(); ++i) std::swap(pool[i], pool[i + size_t(below(int(pool.size() - i)))]);
}

// A box's number as its tile writes it (plain digits, no leading zero, no sign), or 0.
int shownNumber(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 && QString::number(n) == text ? n : 0;
}

QString place(int b) { return QStringLiteral("row %1, box %2").arg(b / 3 + 1).arg(b % 3 + 1); }
int answersScore(const GalleryProblem& problem, const std::array<QString, 12>& shown) { return boxesScore(problem.answers, shown); }

// The Sieve: the rows' primes, and the composite numbers up to 100 that each crosses out first.
constexpr int SievePrimes[4] = {2, 3, 5, 7};
std::vector<int> crossedOutFirstBy(int prime) {
    std::vector<int> numbers;
    for (int n = 4; n <= 100; ++n)
        if (n != prime && smallestPrimeFactor(n) == prime) numbers.push_back(n);
    return numbers;
}

// Measuring the Earth: 360 ÷ n, written to a tenth of a degree, for every n from 3 to 144 whose angle
// is a whole number of tenths; 7.2° (n = 50) is Eratosthenes' own.
QString angleText(int turns) {
    const int tenths = 3600 / turns;
    return QString::number(tenths / 10) + (tenths % 10 ? QStringLiteral(".%1").arg(tenths % 10) : QString()) + QStringLiteral("°");
}

// Balance the Lever: a row's first weight is the number its start begins with ("6 kg at").
int leverStart(const GalleryProblem& p, int row) { return p.clues[size_t(3 * row)].section(u' ', 0, 0).toInt(); }

// Balancing: x written with its coefficient ("3x"), a minus sign as printed (U+2212).
const QString Minus = QStringLiteral("\u2212");

const char* const Units[] = {"",      "one",     "two",       "three",    "four",     "five",    "six",
                             "seven", "eight",   "nine",      "ten",      "eleven",   "twelve",  "thirteen",
                             "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const char* const Tens[] = {"", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};

}  // namespace

int smallestPrimeFactor(int n) {
    if (n < 2) return 0;
    for (int p = 2; p * p <= n; ++p)
        if (n % p == 0) return p;
    return n;
}

QString numberInWords(int n) {
    if (n < 1 || n > 9999) return {};
    QStringList parts;
    if (n >= 1000) parts << QLatin1String(Units[n / 1000]) + QStringLiteral(" thousand");
    if (n % 1000 >= 100) parts << QLatin1String(Units[n % 1000 / 100]) + QStringLiteral(" hundred");
    const int last = n % 100;
    if (last) {
        QString words = last < 20 ? QLatin1String(Units[last]) : QLatin1String(Tens[last / 10]);
        if (last >= 20 && last % 10) words += u'-' + QLatin1String(Units[last % 10]);
        if (n >= 100) parts << QStringLiteral("and");
        parts << words;
    }
    return parts.join(u' ');
}

// Four rows, one a prime; each box scores for a number up to 100 that its row's prime crosses out
// first, in any order. 7 crosses out first only 49, 77 and 91 below 100, so its row is always those.
const GalleryRule SieveRule{
    [] {
        GalleryProblem p;
        for (int r = 0; r < 4; ++r) {
            std::vector<int> numbers = crossedOutFirstBy(SievePrimes[r]);
            shuffleFront(numbers, 3);
            for (int k = 0; k < 3; ++k) p.answers[size_t(3 * r + k)] = QString::number(numbers[size_t(k)]);
            p.clues[size_t(3 * r)] = QStringLiteral("Crossed out first by %1:").arg(SievePrimes[r]);
        }
        return p;
    },
    [](const GalleryProblem&, const std::array<QString, 12>& shown) {
        int score = 0;
        for (int b = 0; b < 12; ++b) {
            const int n = shownNumber(shown[size_t(b)]);
            score += n <= 100 && n != SievePrimes[b / 3] && smallestPrimeFactor(n) == SievePrimes[b / 3];
        }
        return score;
    },
    [](const GalleryProblem&, int b) {
        return QStringLiteral("row %1 (crossed out first by %2), box %3").arg(b / 3 + 1).arg(SievePrimes[b / 3]).arg(b % 3 + 1);
    }};

// Twelve different angles that make a whole number of turns, 7.2° always among them, in random places.
const GalleryRule EarthRule{
    [] {
        std::vector<int> turns;
        for (int n = 3; n <= 144; ++n)
            if (3600 % n == 0 && n != 50) turns.push_back(n);
        shuffleFront(turns, 11);
        turns.resize(11);
        turns.insert(turns.begin() + below(12), 50);
        GalleryProblem p;
        for (size_t i = 0; i < 12; ++i) {
            p.answers[i] = QString::number(turns[i]);
            p.clues[i] = QStringLiteral("360° ÷ %1  =").arg(angleText(turns[i]));
        }
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) {
        return place(b) + QStringLiteral(", beside the angle ") + p.clues[size_t(b)].section(u' ', 2, 2);
    }};

// A row is a lever "a kg at b m = c kg at d m", a given: four different first weights, each with a
// balance from 1 to 12 that is not the same lever turned round (c is neither a nor b). Three points
// for each row whose boxes balance, however its numbers are placed (as on Pythagorean Triples).
const GalleryRule LeverRule{
    [] {
        std::vector<int> starts;
        for (int a = 1; a <= 12; ++a) starts.push_back(a);
        shuffleFront(starts, starts.size());
        GalleryProblem p;
        int row = 0;
        for (size_t i = 0; row < 4 && i < starts.size(); ++i) {
            const int a = starts[i];
            std::vector<std::array<int, 3>> balances;
            for (int b = 1; b <= 12; ++b)
                for (int c = 1; c <= 12; ++c)
                    if (a * b % c == 0 && a * b / c <= 12 && c != a && c != b) balances.push_back({b, c, a * b / c});
            if (balances.empty()) continue;  // 7 and 11 balance only as the same lever turned round
            const auto& chosen = balances[size_t(below(int(balances.size())))];
            p.clues[size_t(3 * row)] = QStringLiteral("%1 kg at").arg(a);
            for (int k = 0; k < 3; ++k) p.answers[size_t(3 * row + k)] = QString::number(chosen[size_t(k)]);
            ++row;
        }
        return p;
    },
    [](const GalleryProblem& p, const std::array<QString, 12>& shown) {
        int score = 0;
        for (int r = 0; r < 4; ++r) {
            const int b = shownNumber(shown[size_t(3 * r)]), c = shownNumber(shown[size_t(3 * r + 1)]),
                      d = shownNumber(shown[size_t(3 * r + 2)]);
            if (b && c && d && qint64(leverStart(p, r)) * b == qint64(c) * d) score += 3;
        }
        return score;
    },
    [](const GalleryProblem& p, int b) {
        static const char* const answers[] = {"the distance in m", "the other weight in kg", "the other distance in m"};
        return QStringLiteral("row %1 (%2), box %3, %4")
            .arg(b / 3 + 1)
            .arg(p.clues[size_t(b / 3 * 3)])
            .arg(b % 3 + 1)
            .arg(QLatin1String(answers[b % 3]));
    }};

// Twelve different diameters 7 to 140 cm, multiples of 7, so that 22/7 of each is whole.
const GalleryRule CirclesRule{
    [] {
        std::vector<int> sevens;
        for (int k = 1; k <= 20; ++k) sevens.push_back(k);
        shuffleFront(sevens, 12);
        GalleryProblem p;
        for (size_t i = 0; i < 12; ++i) {
            p.answers[i] = QString::number(22 * sevens[i]);
            p.clues[i] = QStringLiteral("d = %1 cm,  C ≈").arg(7 * sevens[i]);
        }
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) {
        return place(b) + QStringLiteral(", beside the diameter ") + p.clues[size_t(b)].section(u' ', 2, 3).chopped(1);
    }};

// Twelve equations whose answers are twelve different whole numbers 1 to 20, three of each kind:
// x + a = b, x − a = b, ax = b and ax + a' = b, every number in them positive.
const GalleryRule EquationsRule{
    [] {
        std::vector<int> xs;
        for (int x = 1; x <= 20; ++x) xs.push_back(x);
        shuffleFront(xs, 12);
        std::vector<int> order = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
        shuffleFront(order, 12);
        // x − a = b needs x at least 2; 1 takes another's kind instead.
        for (size_t i = 0; i < 12; ++i)
            if (xs[i] == 1 && order[i] == 1) std::swap(order[i], *std::find_if(order.begin(), order.end(), [](int k) { return k != 1; }));
        GalleryProblem p;
        for (size_t i = 0; i < 12; ++i) {
            const int x = xs[i];
            const int a = order[i] >= 2 ? 2 + below(order[i] == 2 ? 8 : 4)  // 2 to 9 times, or 2 to 5 and add
                                        : order[i] == 1 ? 1 + below(x - 1)  // take away less than x
                                                        : 1 + below(20);
            const int c = 1 + below(10);
            p.answers[i] = QString::number(x);
            p.clues[i] = order[i] == 0   ? QStringLiteral("x + %1 = %2").arg(a).arg(x + a)
                         : order[i] == 1 ? QStringLiteral("x %1 %2 = %3").arg(Minus).arg(a).arg(x - a)
                         : order[i] == 2 ? QStringLiteral("%1x = %2").arg(a).arg(a * x)
                                         : QStringLiteral("%1x + %2 = %3").arg(a).arg(c).arg(a * x + c);
        }
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) { return place(b) + QStringLiteral(", beside the equation ") + p.clues[size_t(b)]; }};

// Four rows of near-twins: in each, three numbers with the same two non-zero digits and at least one
// 0 holding a place (4006, 4060, 406), so that only place value tells them apart; four different pairs.
const GalleryRule PlaceValueRule{
    [] {
        std::vector<std::pair<int, int>> pairs;
        for (int d = 1; d <= 9; ++d)
            for (int e = d; e <= 9; ++e) pairs.push_back({d, e});
        shuffleFront(pairs, 4);
        GalleryProblem p;
        for (size_t r = 0; r < 4; ++r) {
            const auto [d, e] = pairs[r];
            // Every number of three or four digits with d and e in two of its places, one of them the
            // first, and 0 in the others.
            constexpr int Place[] = {1, 10, 100, 1000};
            std::vector<int> twins;
            for (int length : {3, 4})
                for (int i = 0; i < length; ++i)
                    for (int j = 0; j < length; ++j) {
                        const int n = d * Place[i] + e * Place[j];
                        if (i != j && std::max(i, j) == length - 1 && std::find(twins.begin(), twins.end(), n) == twins.end())
                            twins.push_back(n);
                    }
            shuffleFront(twins, 3);
            for (size_t k = 0; k < 3; ++k) {
                p.answers[3 * r + k] = QString::number(twins[k]);
                // A line may break only between the thousands, the hundreds and the rest.
                p.clues[3 * r + k] = numberInWords(twins[k])
                                         .replace(u' ', QChar::Nbsp)
                                         .replace(QStringLiteral("thousand\u00A0"), QStringLiteral("thousand "))
                                         .replace(QStringLiteral("hundred\u00A0"), QStringLiteral("hundred "));
            }
        }
        return p;
    },
    answersScore,
    [](const GalleryProblem& p, int b) { return place(b) + QStringLiteral(", beside ") + p.clues[size_t(b)].simplified(); }};

}  // namespace core
