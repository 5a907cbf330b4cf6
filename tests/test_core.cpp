// The program's rules, tried directly: no window, no widgets, only Qt Core.
#include "core/Activities.h"
#include "core/Contrast.h"
#include "core/Errors.h"
#include "core/Catalogue.h"
#include "core/Marking.h"
#include "core/NumberText.h"
#include "core/StageScale.h"
#include "core/Text1252.h"
#include "core/WorksheetFormat.h"

#include <QtTest>

using namespace core;

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    void paging_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("empty") << 0 << 0 << 0 << 0 << false << false;
        QTest::newRow("one page, full") << 24 << 0 << 0 << 24 << false << false;
        QTest::newRow("one title more") << 25 << 0 << 0 << 24 << false << true;
        QTest::newRow("second page of 25") << 25 << 1 << 24 << 25 << true << false;
        QTest::newRow("middle page") << 100 << 2 << 48 << 72 << true << true;
        QTest::newRow("emptied by a delete") << 48 << 2 << 48 << 48 << true << false;
        QTest::newRow("a full catalogue's page 41 offers its last") << 1000 << 40 << 960 << 984 << true << true;
        QTest::newRow("the last page offers no other") << 1000 << LastCataloguePage << 984 << 1000 << true << false;
    }
    void paging() {
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        const TitlePage p = titlePage(count, page);
        QCOMPARE(p.first, first);
        QCOMPARE(p.last, last);
        QCOMPARE(p.previous, previous);
        QCOMPARE(p.next, next);
    }

    void marking_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("ticked");
        QTest::addColumn<int>("mark");
        QTest::newRow("right") << "3" << 3 << 1;
        QTest::newRow("wrong") << "3" << 2 << 0;
        QTest::newRow("none ticked") << "1" << 0 << 0;
        QTest::newRow("blanks and a decimal point") << " 2.0 " << 2 << 1;
        QTest::newRow("not a number") << "B" << 2 << 0;
        QTest::newRow("out of range") << "5" << 0 << 0;
    }
    void marking() {
        QFETCH(QString, field);
        QFETCH(int, ticked);
        QFETCH(int, mark);
        QCOMPARE(markOf(field, ticked), mark);
    }

    // Box 2 of Nets of Dice: 450 twips square at 975, 2670.
    void snapBoundsAreStrict_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<bool>("snaps");
        QTest::newRow("half a box before") << 750.0f << 2670.0f << false;
        QTest::newRow("just inside the low bound") << 750.5f << 2670.0f << true;
        QTest::newRow("just inside the high bound") << 1424.9f << 2670.0f << true;
        QTest::newRow("a whole box after") << 1425.0f << 2670.0f << false;
        QTest::newRow("half a box above") << 975.0f << 2445.0f << false;
        QTest::newRow("nearly a box below") << 975.0f << 3119.0f << true;
    }
    void snapBoundsAreStrict() {
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(bool, snaps);
        QCOMPARE(hits({left, top, 450, 450}, {975, 2670, 450, 450}), snaps);
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
        for (const char* bad : {"../escape", "a\\b", "what?", "x:y", "star*", "quote\"", "<tag>", "pipe|", "one, two",
                                "salt & pepper", " leading", "trailing ", "dots...", "..", "tab\there", "CON", "lpt1",
                                "Com3.notes", "nul", "COM0", "LPT0", "COM\u00B9", "lpt\u00B3", "CONIN$", "conout$",
                                "euclid", "TRACK", "track", "łódź"})
            QVERIFY2(!worksheetfiles::TitleProblem(QString::fromUtf8(bad)).isEmpty(), bad);
        QVERIFY(worksheetfiles::TitleProblem(QStringLiteral("Fractions €")).isEmpty());
        QCOMPARE(worksheetfiles::IndexLine(QStringLiteral(" lead")), QStringLiteral("\" lead\""));
    }

    // The focus frame stands out 3:1 from what is on each side of it: a white text box on the
    // screens' blue, the black tiles on every colour of a net's squares, a yellow label on black.
    void focusFrameRingsStandOut() {
        const quint32 white = 0x00FFFFFF, black = 0, yellow = 0x0000FFFF, screenBlue = 0x00893F27;
        const std::pair<quint32, quint32> sides[] = {
            {white, screenBlue}, {black, 0x00C0C000}, {black, 0x0000C000}, {black, 0x000080FF}, {black, 0x00FF00FF},
            {black, 0x000000FF}, {black, 0x00FF0000}, {yellow, black}, {white, white}};
        for (const auto& [inside, outside] : sides) {
            const FrameRings r = focusFrameRings(inside, outside);
            QVERIFY(contrastRatio(r.outer, outside) >= 3);
            QVERIFY(contrastRatio(r.inner, inside) >= 3);
        }
    }

    void stageScale_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("scale");
        QTest::newRow("800 x 600: as designed") << 800.0 << 600.0 << 1.0;
        QTest::newRow("1024 x 768") << 1024.0 << 768.0 << 1.28;
        QTest::newRow("1280 x 800, height fills") << 1280.0 << 800.0 << 1.33;
        QTest::newRow("1920 x 1080") << 1920.0 << 1080.0 << 1.8;
        QTest::newRow("3840 x 2160") << 3840.0 << 2160.0 << 3.6;
        QTest::newRow("a portrait screen, width fills") << 1080.0 << 1920.0 << 1.35;
        QTest::newRow("smaller than the design") << 640.0 << 480.0 << 0.8;
        QTest::newRow("tiny") << 100.0 << 100.0 << 0.5;
    }
    void stageScale() {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, scale);
        QCOMPARE(core::stageScale(width, height), scale);
        QVERIFY(800 * scale <= width + 1e-9 || scale == 0.5);
        QCOMPARE(scaleSetting(" 1.5 "), 1.5);
        QCOMPARE(scaleSetting("big"), 0.0);
        QCOMPARE(scaleSetting("20"), 0.0);
    }

    void numberText() {
        QCOMPARE(Str(3), QStringLiteral(" 3"));
        QCOMPARE(Str(-3), QStringLiteral("-3"));
        QCOMPARE(PrintNumber(12), QStringLiteral(" 12 "));
        QCOMPARE(Val(QStringLiteral(" 2.5 ")), 3LL);  // halves round away from zero
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Val(QStringLiteral("x")));
    }
};

QTEST_APPLESS_MAIN(CoreTest)
#include "test_core.moc"
