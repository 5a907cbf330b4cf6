// The program's rules, tried directly: no window, no widgets, only Qt Core.
#include "core/Activities.h"
#include "core/Contrast.h"
#include "core/Errors.h"
#include "core/GalleryActivities.h"
#include "core/Catalogue.h"
#include "core/Marking.h"
#include "core/NumberText.h"
#include "core/SecondHallBoards.h"
#include "core/StageScale.h"
#include "core/Text1252.h"
#include "core/TopicFile.h"
#include "core/WorksheetFormat.h"

#include <QDir>
#include <QtTest>
#include <set>

using namespace core;
Q_DECLARE_METATYPE(const core::GalleryRule*)

namespace {

// The eleven triples up to 30, by hand.
const std::set<std::array<int, 3>> triples = {{3, 4, 5},    {6, 8, 10},   {5, 12, 13},  {9, 12, 15},
                                              {8, 15, 17},  {12, 16, 20}, {15, 20, 25}, {7, 24, 25},
                                              {10, 24, 26}, {20, 21, 29}, {18, 24, 30}};

// The topics shipped, as the program reads them.
std::vector<Topic> shippedTopics() {
    std::vector<Topic> topics;
    const QDir folder(QStringLiteral(DATA_DIR "/topics"));
    for (const QString& file : folder.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile f(folder.filePath(file));
        if (f.open(QIODevice::ReadOnly)) topics.push_back(parseTopic(f.readAll()));
    }
    return topics;
}

}  // namespace

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    void paging() {
        const struct { const char* name; int count, page, first, last; bool previous, next; } cases[] = {
            {"empty", 0, 0, 0, 0, false, false}, {"one page, full", 24, 0, 0, 24, false, false},
            {"one title more", 25, 0, 0, 24, false, true}, {"second page of 25", 25, 1, 24, 25, true, false},
            {"middle page", 100, 2, 48, 72, true, true}, {"emptied by a delete", 48, 2, 48, 48, true, false},
            {"a full catalogue's page 41 offers its last", 1000, 40, 960, 984, true, true},
            {"the last page offers no other", 1000, LastCataloguePage, 984, 1000, true, false}};
        for (const auto& c : cases) {
            const TitlePage p = titlePage(c.count, c.page);
            QVERIFY2(p.first == c.first && p.last == c.last && p.previous == c.previous && p.next == c.next, c.name);
        }
    }

    void marking() {
        const struct { const char* field; int ticked, mark; } cases[] = {
            {"3", 3, 1}, {"3", 2, 0}, {"1", 0, 0}, {" 2.0 ", 2, 1}, {"B", 2, 0}, {"5", 0, 0}, {"0", 0, 0}};
        for (const auto& c : cases) QVERIFY2(markOf(QString::fromLatin1(c.field), c.ticked) == c.mark, c.field);
    }

    // Box 2 of Nets of Dice: 450 twips square at 975, 2670; a tile exactly half a box off does not snap.
    void snapBoundsAreStrict() {
        const struct { float left, top; bool snaps; } cases[] = {
            {750, 2670, false}, {750.5f, 2670, true}, {1424.9f, 2670, true}, {1425, 2670, false},
            {975, 2445, false}, {975, 2445.5f, true}, {975, 3119, true}, {975, 3120, false}};
        for (const auto& c : cases)
            QVERIFY2(hits({c.left, c.top, 450, 450}, {975, 2670, 450, 450}) == c.snaps, qPrintable(QStringLiteral("%1, %2").arg(c.left).arg(c.top)));
    }

    void primeProblems() {
        const Factors f = drawPrimeProblem();
        Factors sorted = f;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, (Factors{2, 2, 3, 3, 5, 5, 7, 7, 11, 11, 13, 13}));
        QVERIFY(drawPrimeProblem() != f || drawPrimeProblem() != f);  // two draws in one moment differ
        // Any order within a row scores; an empty box (0) or a prime from another row does not.
        Factors placed = f;
        std::swap(placed[0], placed[2]);
        QCOMPARE(primesScore(f, placed), 12);
        placed[4] = 0;
        QCOMPARE(primesScore(f, placed), 9);
        Factors other = f;
        std::swap(other[0], other[11]);
        QCOMPARE(primesScore(f, other), f[0] == f[11] ? 12 : 6);
    }

    // Titles that cannot be file names (the round trip of a sheet is the worksheet tests' own).
    void worksheetTitles() {
        for (const char* bad :
             {"../escape", "a\\b",          "what?",     "x:y",        "star*",   "quote\"",   "<tag>",     "pipe|",
              "one, two",  "salt & pepper", " leading",  "trailing ",  "dots...", "..",        "tab\there", "CON",
              "lpt1",      "Com3.notes",    "nul",       "COM0",       "LPT0",    "COM\u00B9", "lpt\u00B3", "CONIN$",
              "conout$",   "euclid",        "FIBONACCI", "Pythagoras", "TRACK",   "track",     "łódź"})
            QVERIFY2(!worksheetfiles::TitleProblem(QString::fromUtf8(bad), shippedTopics()).isEmpty(), bad);
        QVERIFY(worksheetfiles::TitleProblem(QStringLiteral("Fractions €"), shippedTopics()).isEmpty());
        // A quiz title is kept by the topic present, whatever its name.
        Topic eratosthenes;
        eratosthenes.heading = QStringLiteral("Eratosthenes");
        eratosthenes.quiz = QStringLiteral("multiple\\Sieve.txt");
        QVERIFY(worksheetfiles::TitleProblem(QStringLiteral("sieve"), shippedTopics()).isEmpty());
        QCOMPARE(worksheetfiles::TitleProblem(QStringLiteral("sieve"), {eratosthenes}),
                 QStringLiteral("The title Sieve belongs to Eratosthenes's own quiz. Please choose another title."));
        QCOMPARE(worksheetfiles::IndexLine(QStringLiteral(" lead")), QStringLiteral("\" lead\""));
    }

    // The focus frame stands out 3:1 on both sides: text box on blue, tiles on each net colour, yellow on black.
    void focusFrameRingsStandOut() {
        const quint32 white = 0x00FFFFFF, black = 0, yellow = 0x0000FFFF, screenBlue = 0x00893F27;
        const std::pair<quint32, quint32> sides[] = {
            {white, screenBlue}, {black, 0x00C0C000}, {black, 0x0000C000}, {black, 0x000080FF}, {black, 0x00FF00FF},
            {black, 0x000000FF}, {black, 0x00FF0000}, {yellow, black}, {white, white}};
        for (const auto& [inside, outside] : sides) {
            const FrameRings r = focusFrameRings(inside, outside);
            QVERIFY(contrastRatio(r.outer, outside) >= 3 && contrastRatio(r.inner, inside) >= 3);
        }
    }

    void stageScale() {
        const struct { double width, height, scale; } cases[] = {
            {800, 600, 1.0}, {1024, 768, 1.28}, {1280, 800, 1.33}, {1920, 1080, 1.8}, {3840, 2160, 3.6},
            {1080, 1920, 1.35}, {640, 480, 0.8}, {100, 100, 0.5},  // the design, wide, portrait, small, tiny
            {2256, 1504, 2.5}};  // 2.5067 high: down to 2.5, never up to 2.51, past the screen
        for (const auto& c : cases) QVERIFY2(qFuzzyCompare(core::stageScale(c.width, c.height), c.scale), qPrintable(QString::number(c.width)));
        QVERIFY(scaleSetting(" 1.5 ") == 1.5 && scaleSetting("big") == 0.0 && scaleSetting("20") == 0.0);
    }

    // Each activity drawn 10,000 times: its invariants, and every value drawn some time.
    void triplesProblems() {
        std::set<std::array<int, 3>> seen;
        for (int draw = 0; draw < 10000; ++draw) {
            const auto p = drawTriplesProblem();
            std::set<std::array<int, 3>> rows;
            for (int r = 0; r < 4; ++r) rows.insert({p[3 * r], p[3 * r + 1], p[3 * r + 2]});
            QVERIFY(rows.size() == 4 && std::includes(triples.begin(), triples.end(), rows.begin(), rows.end()));
            seen.insert(rows.begin(), rows.end());
        }
        QCOMPARE(seen, triples);
        // a and b either way round, and a triple across rows, score; c out of place, empty or "07" do not.
        const auto score = [](QString a, QString b, QString c) {
            return triplesScore({a, b, c, "3", "4", "5", "5", "12", "13", "20", "21", "29"});
        };
        QVERIFY(score("4", "3", "5") == 12 && score("6", "8", "10") == 12);
        const std::array<QString, 3> wrongs[] = {{"3", "5", "4"},    {"", "4", "5"},     {"3", "4", "6"},
                                                 {"07", "24", "25"}, {"7 ", "24", "25"}, {"+7", "24", "25"},
                                                 {"0", "5", "5"}};
        for (const auto& [a, b, c] : wrongs) QVERIFY2(score(a, b, c) == 9, qPrintable(a + ',' + b + ',' + c));
    }

    void rightAngleProblems() {
        std::set<int> counts;
        for (int draw = 0; draw < 10000; ++draw) {
            const auto p = drawRightAngleProblem();
            std::set<std::array<int, 3>> distinct;
            int right = 0;
            for (size_t i = 0; i < 12; ++i) {
                const std::array<int, 3> t = {p[i].a, p[i].b, p[i].c};
                QVERIFY(1 <= t[0] && t[0] <= t[1] && t[1] <= t[2] && t[2] <= 30 && t[0] + t[1] > t[2]);
                QCOMPARE(isRightAngled(p[i]), bool(triples.count(t)));
                // A near miss lies within 2 of a triple, counting the differences of its sorted sides.
                QVERIFY(std::any_of(triples.begin(), triples.end(), [&](const auto& x) {
                    return std::abs(t[0] - x[0]) + std::abs(t[1] - x[1]) + std::abs(t[2] - x[2]) <= 2;
                }));
                distinct.insert(t);
                right += rightAngleAnswer(p[i]) == QLatin1String("Yes");
            }
            QVERIFY(distinct.size() == 12 && right >= 4 && right <= 8);
            counts.insert(right);
        }
        QCOMPARE(counts, (std::set<int>{4, 5, 6, 7, 8}));
    }

    void sequenceProblems() {
        std::set<std::pair<int, int>> seen;
        for (int draw = 0; draw < 10000; ++draw) {
            const auto rows = drawSequenceProblem();
            const auto terms = sequenceTerms(rows);
            std::set<std::pair<int, int>> starts;
            for (int r = 0; r < 4; ++r) {
                const int f = rows[r].first, s = rows[r].second;
                QVERIFY(f >= 1 && f <= 9 && s >= 1 && s <= 9);
                starts.insert({f, s});
                QVERIFY(terms[3 * r] == f + s && terms[3 * r + 1] == f + 2 * s && terms[3 * r + 2] == 2 * f + 3 * s);
            }
            QCOMPARE(starts.size(), size_t(4));
            seen.insert(starts.begin(), starts.end());
        }
        QCOMPARE(seen.size(), size_t(81));
        // Empty boxes, terms a place off and " 6" score nothing, nor "" where "" is needed; dice alike.
        const std::array<QString, 12> needed = {"2", "3", "5", "7", "11", "18", "", "9", "13", "4", "6", "10"};
        const std::array<QString, 12> shown = {"2", "3", "", "7", "18", "11", "", "9", "13", "4", " 6", "10"};
        QVERIFY(boxesScore(needed, shown) == 7 && diceScore(needed, shown) == 7);
    }

    void romanNumerals() {
        for (int n = 1; n <= 3999; ++n) QCOMPARE(romanValue(romanNumeral(n)), n);
        QCOMPARE(romanNumeral(1994) + romanNumeral(3888), QStringLiteral("MCMXCIVMMMDCCCLXXXVIII"));
        QCOMPARE(romanNumeral(0) + romanNumeral(4000), QString());
        for (const char* bad : {"", "IIII", "VX", "IC", "iv", "VV", "IIV", "IXI", "XM", "MMMM", "CMCM", "LL", "DM",
                                "XIIII", "IL", "XCX", "MCMXCIV ", "4", "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"})
            QVERIFY2(romanValue(QString::fromLatin1(bad)) == 0, bad);
        std::set<int> seen;
        for (int draw = 0; draw < 10000; ++draw) {
            const auto p = drawRomanProblem();
            const std::set<int> numbers(p.begin(), p.end());
            QVERIFY(numbers.size() == 12 && *numbers.begin() >= 1 && *numbers.rbegin() <= 99);
            seen.insert(numbers.begin(), numbers.end());
        }
        QCOMPARE(seen.size(), size_t(99));
    }

    // Each board's rule as a board uses it: its own answers score 12 and one answer moved scores less;
    // a box is described by the clue beside it (or its row's start). Its sheet: the answers of a fresh
    // draw score 12, each box's words are its own, and the tiles are the answers (words once each).
    void galleryRules_data() {
        QTest::addColumn<const GalleryRule*>("rule");
        QTest::addColumn<int>("oneOff");    // the score with box 0 wrong
        QTest::addColumn<QString>("said");  // box 4's description; %1 its clue, %2 its row's start
        QTest::newRow("triples") << &TriplesRule << 9 << "row 2, box 2";
        QTest::newRow("right-angles") << &RightAngleRule << 11 << "row 2, box 2, beside the triangle %1";
        QTest::newRow("sequences") << &SequencesRule << 11 << "row 2 (%2), box 2";
        QTest::newRow("roman") << &RomanRule << 11 << "row 2, box 2, beside the numeral %1";
        QTest::newRow("primes") << &PrimesRule << 9 << "row 2 (%2), box 2";
        QTest::newRow("dice") << &DiceRule << 11 << "bottom middle net, box 1, opposite the 3";
        QTest::newRow("sieve") << &SieveRule << 11 << "row 2 (crossed out first by 3), box 2";
        QTest::newRow("earth") << &EarthRule << 11 << "row 2, box 2, beside the angle %1";
        QTest::newRow("lever") << &LeverRule << 9 << "row 2 (%2), box 2, the other weight in kg";
        QTest::newRow("circles") << &CirclesRule << 11 << "row 2, box 2, beside the diameter %1";
        QTest::newRow("equations") << &EquationsRule << 11 << "row 2, box 2, beside the equation %1";
        QTest::newRow("place value") << &PlaceValueRule << 11 << "row 2, box 2, beside %1";
    }
    void galleryRules() {
        QFETCH(const GalleryRule*, rule);
        QFETCH(int, oneOff);
        QFETCH(QString, said);
        for (int draw = 0; draw < 200; ++draw) {
            const GalleryProblem p = rule->draw();
            QCOMPARE(rule->score(p, p.answers), 12);
            std::array<QString, 12> off = p.answers;
            off[0] = QString::number(off[0].toInt() + 100);
            QCOMPARE(rule->score(p, off), oneOff);
            // The clue less its " =" or " ≈", and "360° ÷ " or "d = " before what it names.
            const QString clue = p.clues[4].simplified().remove(QRegularExpression(QStringLiteral("(, C)? [=≈]$|^(360° ÷|d =) ")));
            QCOMPARE(rule->describe(p, 4), QString(said).replace("%1", clue).replace("%2", p.clues[3].simplified()));
            const BoardSheet sheet = drawSheet(*rule);
            QCOMPARE(rule->score(sheet.problem, sheet.problem.answers), 12);
            QCOMPARE(std::set<QString>(sheet.boxes.begin(), sheet.boxes.end()).size(), size_t(12));
            QStringList answers(sheet.problem.answers.begin(), sheet.problem.answers.end());
            if (answers.contains(QStringLiteral("Yes"))) answers = QStringList{"Yes", "No"};
            std::stable_sort(answers.begin(), answers.end(), [](const QString& x, const QString& y) { return x.toInt() < y.toInt(); });
            QCOMPARE(sheet.tiles, answers);
        }
    }

    // The second hall's boards drawn 10,000 times each: every draw keeps its board's promises, read back from its clues alone; every value it may draw comes up.
    void secondHallDraws_data() {
        QTest::addColumn<const GalleryRule*>("rule");
        QTest::addColumn<QString>("clue");  // a pattern for every clue, or for every row's start
        QTest::addColumn<int>("values");    // how many different answers the draws show between them
        QTest::newRow("sieve") << &SieveRule << "^Crossed out first by [2357]:$" << 49 + 16 + 6 + 3;  // evens, 9 ... 99, 25 ... 95, 49 77 91
        QTest::newRow("earth") << &EarthRule << "^360° ÷ (\\d+)(?:\\.(\\d))?°  =$" << 28;  // every n from 3 to 144 dividing 3600
        QTest::newRow("lever") << &LeverRule << "^(\\d+) kg at$" << 10;  // never 7 or 11
        QTest::newRow("circles") << &CirclesRule << "^d = (\\d+) cm,  C ≈$" << 20;
        QTest::newRow("equations") << &EquationsRule << "^([2-9]?)x(?: ([+\u2212]) ([1-9]\\d*))? = ([1-9]\\d*)$" << 20;
        QTest::newRow("place value") << &PlaceValueRule << "^[a-z\u00A0 -]+$" << 9 * 5 + 36 * 10;  // 7007 7070 7700 707 770; 10 for two digits
    }
    void secondHallDraws() {
        QFETCH(const GalleryRule*, rule);
        QFETCH(QString, clue);
        QFETCH(int, values);
        const QRegularExpression pattern(clue);
        const QString kind = QTest::currentDataTag();
        std::set<QString> seen;
        std::set<int> starts;
        for (int draw = 0; draw < 10000; ++draw) {
            const GalleryProblem p = rule->draw();
            std::set<QString> answers(p.answers.begin(), p.answers.end()), rowStarts;
            std::map<QString, int> kinds;
            for (size_t i = 0; i < 12; ++i) {
                const bool rows = kind == "sieve" || kind == "lever";
                if (rows && i % 3) continue;
                const QRegularExpressionMatch m = pattern.match(p.clues[i]);
                QVERIFY2(m.hasMatch(), qPrintable(p.clues[i]));
                const int n = p.answers[i].toInt(), c1 = m.captured(1).toInt();
                if (kind == "sieve") {
                    const int prime = std::array{2, 3, 5, 7}[i / 3];
                    for (size_t k = i; k < i + 3; ++k) {
                        const int x = p.answers[k].toInt();
                        int first = 2;
                        while (x % first) ++first;  // the first prime to cross x out, by trial
                        QVERIFY2(x >= 4 && x <= 100 && first == prime && x != prime, qPrintable(p.answers[k]));
                    }
                } else if (kind == "earth") {  // the angle to a tenth, times the answer, a full turn exactly
                    QCOMPARE((c1 * 10 + m.captured(2).toInt()) * n, 3600);
                } else if (kind == "lever") {
                    const int b = n, c = p.answers[i + 1].toInt(), d = p.answers[i + 2].toInt();
                    QVERIFY(std::min({c1, b, c, d}) >= 1 && std::max({c1, b, c, d}) <= 12 && c1 * b == c * d && c != c1 && c != b);
                    rowStarts.insert(m.captured(1));
                    starts.insert(c1);
                } else if (kind == "circles") {
                    QVERIFY(c1 >= 7 && c1 <= 140 && c1 % 7 == 0 && n * 7 == c1 * 22);
                } else if (kind == "equations") {  // m x + k = n, every number written positive and whole
                    const int times = c1 ? c1 : 1, k = (m.captured(2) == "+" ? 1 : -1) * m.captured(3).toInt();
                    QVERIFY2(times * n + k == m.captured(4).toInt() && n >= 1 && n <= 20, qPrintable(p.clues[i]));
                    ++kinds[(times > 1 ? "ax" : "x") + m.captured(2)];
                } else {  // near-twins: a row's numbers have the same two digits other than 0
                    QVERIFY(n >= 100 && n <= 9999 && p.answers[i].contains(u'0') && QString::number(n) == p.answers[i]);
                    QCOMPARE(p.clues[i].simplified(), numberInWords(n));
                    const auto nonZero = [&p](size_t j) { QString d = p.answers[j]; d.remove(u'0'); std::sort(d.begin(), d.end()); return d; };
                    QVERIFY(nonZero(i).size() == 2 && nonZero(i) == nonZero(i / 3 * 3));
                }
            }
            if (kind == "lever") QCOMPARE(rowStarts.size(), size_t(4));
            else QCOMPARE(answers.size(), size_t(12));
            if (kind == "sieve") QVERIFY(answers.count("49") && answers.count("77") && answers.count("91"));
            if (kind == "earth") QVERIFY(answers.count("50"));
            if (kind == "equations") QVERIFY(kinds.size() == 4 && std::all_of(kinds.begin(), kinds.end(), [](const auto& k) { return k.second == 3; }));
            seen.insert(answers.begin(), answers.end());
        }
        QCOMPARE(int(seen.size()), values);
        if (kind == "lever") QCOMPARE(starts, (std::set<int>{1, 2, 3, 4, 5, 6, 8, 9, 10, 12}));  // 7 and 11 balance only turned round
    }

    // Scoring by what works: the sieve in any order within a row, but nothing from another row, past
    // 100, a prime itself or written oddly; a lever balanced however its numbers are placed.
    void secondHallScoring() {
        std::array<QString, 12> shown = {"10", "4", "100", "9", "15", "21", "25", "35", "55", "49", "77", "91"};
        QCOMPARE(SieveRule.score({}, shown), 12);
        for (const char* wrong : {"15", "102", "2", "04", "+4", "4 ", "1", ""}) {
            shown[1] = QString::fromLatin1(wrong);
            QVERIFY2(SieveRule.score({}, shown) == 11, wrong);
        }
        GalleryProblem p;
        p.clues = {"6 kg at", "", "", "4 kg at", "", "", "12 kg at", "", "", "1 kg at"};
        shown = {"2", "3", "4", "3", "2", "6", "1", "3", "4", "4", "2", "2"};
        QCOMPARE(LeverRule.score(p, shown), 12);
        for (const char* wrong : {"4", "02"}) {  // 6 at 4 = 3 at 8 would, but 3 at 4 does not
            shown[0] = QString::fromLatin1(wrong);
            QCOMPARE(LeverRule.score(p, shown), 9);
        }
        const struct { int n; const char* words; } said[] = {
            {305, "three hundred and five"}, {4006, "four thousand and six"}, {4060, "four thousand and sixty"},
            {4600, "four thousand six hundred"}, {7077, "seven thousand and seventy-seven"}, {9999, "nine thousand nine hundred and ninety-nine"},
            {1010, "one thousand and ten"}, {12, "twelve"}, {40, "forty"}, {0, ""}, {10000, ""}};
        for (const auto& c : said) QCOMPARE(numberInWords(c.n), QString::fromLatin1(c.words));
    }

    void numbersAsText() {
        QCOMPARE(numberText(3) + numberText(-3) + PrintNumber(12), QStringLiteral(" 3-3 12 "));
        QCOMPARE(toNumber(QStringLiteral(" 2.5 ")), 3LL);  // halves round away from zero
        QVERIFY_THROWS_EXCEPTION(RuntimeError, toNumber(QStringLiteral("x")));
    }

    // The topics shipped: each reads, the entries differ, and every file and page a topic names is there.
    void shippedTopicsRead() {
        const QDir data(QStringLiteral(DATA_DIR));
        const auto exists = [&data](const QString& name) {  // as the program finds files: in any case
            const QStringList parts = name.split(QLatin1Char('\\'));
            const QString folder = data.entryList(QDir::Dirs)
                                       .filter(QRegularExpression(QLatin1Char('^') + parts[0] + QLatin1Char('$'),
                                                                  QRegularExpression::CaseInsensitiveOption))
                                       .value(0);
            return !folder.isEmpty() &&
                   QDir(data.filePath(folder)).entryList(QDir::Files).contains(parts[1], Qt::CaseInsensitive);
        };
        std::set<int> entries;
        for (const QString& file :
             QDir(data.filePath(QStringLiteral("topics"))).entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QFile f(data.filePath(QStringLiteral("topics/") + file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const Topic t = parseTopic(f.readAll());
            QVERIFY2(entries.insert(t.entry).second, qPrintable(file));
            for (const QString& name : {t.picture.file, t.portrait.file, t.quiz}) QVERIFY2(exists(name), qPrintable(name));
            // Its quiz reads back whole, written again the same bytes (a question opening with a quote
            // would be cut where the quote closes).
            QFile quiz(data.filePath(QString(t.quiz).replace(u'\\', u'/')));
            QVERIFY(quiz.open(QIODevice::ReadOnly));
            const QByteArray bytes = quiz.readAll();
            FieldReader fields(decode1252(bytes));
            QCOMPARE(worksheetfiles::WorksheetBytes(worksheetfiles::ReadWorksheet([&fields] { return fields.next(); })), bytes);
            QVERIFY(!t.picture.shows.isEmpty() && !t.portrait.shows.isEmpty());
            for (const TopicDocument& d : {t.keyFacts, t.notes})
                for (int n = 0; n < d.pages; ++n)
                    for (const char* folder : {"wmf", "wmf2"})
                        QVERIFY2(exists(QLatin1String(folder) + QLatin1Char('\\') + d.stem + QChar(u'a' + n) +
                                        QStringLiteral(".wmf")),
                                 qPrintable(d.stem));
        }
        QCOMPARE(entries, (std::set<int>{0, 1, 2, 3, 4, 6}));
    }

    // A topic file that breaks a rule is refused with its reason, whatever the rule.
    void brokenTopicsAreRefused() {
        const QByteArray good =
            "entry = 1\nheading = Euclid\npicture = Images\\euclid.jpg, Euclid, before a temple\n"
            "portrait = images\\euclidsm.jpg, Euclid\n"
            "quiz = multiple\\Euclid.txt\nkey facts = key euclid, 3\nnotes = euclid, 2\n"
            "activity = primes, Products of Primes\nactivity = dice, Nets of Dice\n";
        const Topic t = parseTopic(good);
        QVERIFY(t.activities[1].kind == "dice" && t.picture.shows == "Euclid, before a temple" && t.quizTitle() == "Euclid");
        QCOMPARE(parseTopic("# comment\r\n\r\n" + QByteArray(good).replace("\n", "\r\n")).entry, 1);
        const std::pair<const char*, const char*> breaks[] = {
            {"entry = 1", "entry = 12"}, {"entry = 1", "entry = one"}, {"heading = Euclid\n", ""},
            {"heading = Euclid", "heading = Euclid\nheading = Euclid"}, {"heading = Euclid", "colour = red"},
            {"heading = Euclid", "heading ="}, {"heading = Euclid", "heading Euclid"},
            {"Images\\euclid.jpg", "Images\\..\\..\\etc"}, {"Images\\euclid.jpg", "/etc/passwd"},
            {"Images\\euclid.jpg", "multiple\\euclid.jpg"}, {"Images\\euclid.jpg", "Images\\.hidden"},
            {"key euclid, 3", "key euclid, 0"}, {"key euclid, 3", "key euclid, 27"}, {"key euclid, 3", "key euclid"},
            {"key euclid, 3", "..\\x, 3"}, {"primes,", "Primes!,"}, {", Euclid\n", "\n"},
            {"activity = dice, Nets of Dice\n", ""},
            {"dice, Nets of Dice\n", "dice, Nets of Dice\nactivity = dice, Again\n"}, {"Euclid\n", "Eu\xFF\n"}};
        for (const auto& [from, to] : breaks) {
            QByteArray bad = good;
            bad.replace(from, to);
            QVERIFY2(bad != good, from);
            QVERIFY_THROWS_EXCEPTION(RuntimeError, parseTopic(bad));
        }
        QVERIFY_THROWS_EXCEPTION(RuntimeError, parseTopic(good + QByteArray(MaxTopicBytes, '#')));
    }
};

QTEST_APPLESS_MAIN(CoreTest)
#include "test_core.moc"
