// The drag-and-drop activities, driven as a pupil drives them: real presses, moves and releases
// through the window, so Qt's own delivery of a drag to the pressed tile is part of what is tried.
#include "TestUtil.h"
#include "platform/screen/Accessibility.h"

using namespace platform;
using namespace core;
using testutil::Session;
using testutil::box;
using testutil::tile;

namespace {

QWindow* window() { return Stage::instance()->windowHandle(); }

Label* home(const TileBoard* b, int i) { return b->board().homes[i]; }
// Exit, Start Again, Check Score, New Problem.
Label* button(const TileBoard* b, int i) {
    const TileBoard::Board& board = b->board();
    return std::array{board.exit, board.startAgain, board.checkScore, board.newProblem}[size_t(i)];
}

// A point of a control's container, in twips, as a point of the window.
QPoint at(const Control* c, float x, float y) {
    return c->widget()->parentWidget()->mapTo(Stage::instance(), QPoint(toPixels(x), toPixels(y)));
}

// Presses the held buttons on a tile, moves the pointer so that the tile's corner comes to
// (left, top), and releases the buttons at that point, right before left.
void drag(Label* tile, float left, float top, Qt::MouseButtons held = Qt::LeftButton) {
    const QPoint start = tile->widget()->mapTo(Stage::instance(), tile->widget()->rect().center());
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
        if (held & b) QTest::mousePress(window(), b, {}, start);
    const QPoint to = at(tile, left + tile->widthTwips() / 2, top + tile->heightTwips() / 2);
    QTest::mouseMove(window(), to);
    for (Qt::MouseButton b : {Qt::RightButton, Qt::LeftButton})
        if (held & b) QTest::mouseRelease(window(), b, {}, to);
}

// Every tile onto a box: tile i onto box place(i).
void placeAll(TileBoard* b, const std::function<int(int)>& place) {
    for (int i = 0; i < 12; ++i) drag(tile(b, i), box(b, place(i))->leftTwips(), box(b, place(i))->topTwips());
}

}  // namespace

class ActivitiesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    // Box 2 stands at Left 975 and is 450 wide: a corner past 750 and short of 1425 snaps, else stays.
    // A whiteboard sends touch: a finger dragging a tile moves it and snaps it as the mouse does (ctest
    // runs this at scales 1, 1.8 and 2.7 too).
    void snappingBoundsAreStrict() {
        Session s;
        TileBoard* b = testutil::openEuclidBoard(3);
        Label* t = tile(b, 9);
        for (const auto& [left, expected] : {std::pair{750.0f, 750.0f}, {765.0f, 975.0f}, {1410.0f, 975.0f}, {1425.0f, 1425.0f}}) {
            drag(t, left, 2670);
            QVERIFY2(t->leftTwips() == expected && t->topTwips() == 2670.0f, qPrintable(QString::number(left)));
        }
        static QPointingDevice* finger = QTest::createTouchDevice();
        const QPoint start = t->widget()->mapTo(Stage::instance(), t->widget()->rect().center());
        const QPoint near = at(t, 990 + 225, 2700 + 225);  // just off box 2's corner
        QTest::touchEvent(window(), finger).press(0, start, window());
        QTest::touchEvent(window(), finger).move(0, near, window());
        QCOMPARE(t->leftTwips(), 990.0f);
        QTest::touchEvent(window(), finger).release(0, near, window());
        QVERIFY(t->leftTwips() == 975.0f && t->topTwips() == 2670.0f);
    }

    void dropsOverGapsSlotsAndTwoToABox() {
        Session s;
        TileBoard* b = testutil::openEuclidBoard(3);
        // Over a gap the tile stays where it was let go, not at home.
        drag(tile(b, 9), 300, 6600);
        QCOMPARE(tile(b, 9)->leftTwips(), 300.0f);
        QCOMPARE(tile(b, 9)->topTwips(), 6600.0f);
        // Another tile's home slot takes it.
        drag(tile(b, 9), home(b, 2)->leftTwips() + 100, home(b, 2)->topTwips() + 60);
        QCOMPARE(tile(b, 9)->leftTwips(), home(b, 2)->leftTwips());
        QCOMPARE(tile(b, 9)->topTwips(), home(b, 2)->topTwips());
        // Two tiles on box 1 and box 0 empty: all twelve count as placed, so "Check Score" shows.
        testutil::click(button(b, 1));
        placeAll(b, [](int i) { return i == 0 ? 1 : i; });
        QVERIFY(button(b, 2)->isShown());
        QVERIFY(b->onBox(0, 1) && b->onBox(1, 1));
        testutil::screenshot(QStringLiteral("dice-two-on-a-box"));
        // Dragging a tile off again leaves it visible; "Start Again" sends all home and hides it.
        drag(tile(b, 0), 300, 6600);
        QVERIFY(button(b, 2)->isShown());
        testutil::click(button(b, 1));
        QVERIFY(!button(b, 2)->isShown());
        for (int i = 0; i < 12; ++i) QCOMPARE(tile(b, i)->leftTwips(), home(b, i)->leftTwips());
    }

    // A fast move still reaches the tile, which stays on top; only the left button alone drags, but
    // every release snaps.
    void dragsByTheLeftButtonFastOrSlow() {
        Session s;
        TileBoard* b = testutil::openEuclidBoard(3);
        Label* t = tile(b, 4);
        // One move from the tray to the far corner, across boxes, digits and squares.
        QTest::mousePress(window(), Qt::LeftButton, {}, t->widget()->mapTo(Stage::instance(), t->widget()->rect().center()));
        QTest::mouseMove(window(), at(t, 10500 + 225, 1500 + 225));
        QVERIFY(t->leftTwips() == 10500.0f && t->topTwips() == 1500.0f);
        QTest::mouseRelease(window(), Qt::LeftButton, {}, at(t, 10500 + 225, 1500 + 225));
        // A tile let go over a printed digit's square stays above the digit and the square.
        drag(tile(b, 5), 2400, 2700);
        QCOMPARE(b->clientArea()->childAt(tile(b, 5)->widget()->geometry().center()), tile(b, 5)->widget());

        t = tile(b, 9);
        const float homeLeft = t->leftTwips(), homeTop = t->topTwips();
        drag(t, 975, 2670, Qt::RightButton);
        QVERIFY(t->leftTwips() == homeLeft && t->topTwips() == homeTop);
        // Left near box 2, then right as well: the move with both held does not move the tile,
        // and letting go of the right button snaps it onto the box it is near.
        QTest::mousePress(window(), Qt::LeftButton, {}, t->widget()->mapTo(Stage::instance(), t->widget()->rect().center()));
        QTest::mouseMove(window(), at(t, 990 + 225, 2700 + 225));
        QCOMPARE(t->leftTwips(), 990.0f);
        QTest::mousePress(window(), Qt::RightButton, {}, at(t, 990 + 225, 2700 + 225));
        QTest::mouseMove(window(), at(t, 5000, 5000));
        QCOMPARE(t->leftTwips(), 990.0f);
        QTest::mouseRelease(window(), Qt::RightButton, {}, at(t, 5000, 5000));
        QVERIFY(t->leftTwips() == 975.0f && t->topTwips() == 2670.0f);
        QTest::mouseRelease(window(), Qt::LeftButton, {}, at(t, 5000, 5000));
        QCOMPARE(t->leftTwips(), 975.0f);
    }

    // Nets of Dice scored: a box scores by the digit it shows, whichever of the two like tiles shows
    // it. Every tile on its own box; the two 1s (tiles 9 and 2) swapped, every box still
    // showing its digit; tile 7 (a 6) over tile 0 on box 0: the 6 on top scores, box 7 is empty; tile 4
    // (a 4) over tile 1 on box 1, which needs a 5: nothing scores there, box 4 is empty.
    void netsOfDiceOpensAndScores() {
        Session s;
        auto* d = static_cast<DiceActivity*>(testutil::openEuclidBoard(3));
        QCOMPARE(d->text(), QStringLiteral("Nets of Dice"));
        testutil::screenshot(QStringLiteral("dice-start"));
        const std::pair<QList<int>, const char*> rows[] = {
            {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, "Excellent work. You have scored 12 out of 12."},
            {{0, 1, 9, 3, 4, 5, 6, 7, 8, 2, 10, 11}, "Excellent work. You have scored 12 out of 12."},
            {{0, 1, 2, 3, 4, 5, 6, 0, 8, 9, 10, 11}, "Good work. You have scored 11 out of 12."},
            {{0, 1, 2, 3, 1, 5, 6, 7, 8, 9, 10, 11}, "Good work. You have scored 10 out of 12."}};
        for (const auto& [boxOfTile, sentence] : rows) {
            testutil::click(button(d, 1));  // Start Again
            placeAll(d, [&](int i) { return boxOfTile[i]; });
            if (&boxOfTile == &rows[0].first) testutil::screenshot(QStringLiteral("dice-complete"));
            testutil::click(button(d, 2));
            QCOMPARE(screens().get<ScoreScreen>().ui().score->text(), QString::fromLatin1(sentence));
            QCOMPARE(testutil::score(), QString::fromLatin1(sentence).section(u' ', -4, -4).toInt());
            QCOMPARE(screens().get<ScoreScreen>().result().heading, QStringLiteral("Nets of Dice"));
            testutil::click(screens().get<ScoreScreen>().ui().exit);
            QCOMPARE(Stage::instance()->front(), d);
        }
        testutil::click(button(d, 0));
        QVERIFY(!screens().isOpen<DiceActivity>());
        QCOMPARE(Stage::instance()->front(), screens().find<TopicScreen>());
    }

    // Products of Primes drawn, scored and drawn again; a box left empty scores nothing, whatever an
    // earlier check found on it: after a perfect check and "Start Again", and after "New Problem".
    void productsOfPrimesDrawsScoresAndDrawsAgain() {
        Session s;
        auto* p = static_cast<PrimesActivity*>(testutil::openEuclidBoard(1));
        QCOMPARE(Stage::instance()->front(), p);
        // The tiles are the four rows' prime factors, and the printed numbers their products.
        const auto problemShown = [p] {
            for (int i = 0; i < 12; ++i) {
                QCOMPARE(tile(p, i)->text().toInt(), int(p->Factors[i]));
                QCOMPARE(tile(p, i)->leftTwips(), home(p, i)->leftTwips());  // at home
            }
            for (int a = 0; a < 4; ++a)
                QCOMPARE(p->ui().products[a]->text(),
                         QString::number(p->Factors[3 * a] * p->Factors[3 * a + 1] * p->Factors[3 * a + 2]) + "  =");
            QVERIFY(!button(p, 2)->isShown());
        };
        problemShown();
        testutil::screenshot(QStringLiteral("primes-start"));
        // Row 0 reversed, the others in place: every row scores.
        const auto place = [](int i) { return i < 3 ? 2 - i : i; };
        for (int i = 0; i < 6; ++i) drag(tile(p, i), box(p, place(i))->leftTwips(), box(p, place(i))->topTwips());
        testutil::screenshot(QStringLiteral("primes-half"));
        placeAll(p, place);
        testutil::screenshot(QStringLiteral("primes-complete"));
        testutil::click(button(p, 2));
        QCOMPARE(testutil::score(), 12);
        QCOMPARE(screens().get<ScoreScreen>().result().heading, QStringLiteral("Products of Primes"));
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        // Tile 0 goes onto box 1 with tile 1: box 0 is empty, so row 0 scores nothing.
        const auto boxZeroEmpty = [](int i) { return i == 0 ? 1 : i; };
        testutil::click(button(p, 1));
        placeAll(p, boxZeroEmpty);
        QVERIFY(button(p, 2)->isShown());
        testutil::click(button(p, 2));
        QCOMPARE(screens().get<ScoreScreen>().ui().score->text(), QStringLiteral("You have scored 9 out of 12."));
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        // Two new problems within the same second are still two new draws.
        testutil::click(button(p, 3));
        const auto first = p->Factors;
        testutil::click(button(p, 3));
        QVERIFY(p->Factors != first);
        QCOMPARE(testutil::score(), 0);
        problemShown();
        QCOMPARE(p->text(), QStringLiteral("Products of Primes"));  // a new problem keeps the screen's name
        placeAll(p, boxZeroEmpty);
        testutil::click(button(p, 2));
        QCOMPARE(testutil::score(), 9);
        QCOMPARE(p->Placed[0], qint16(0));
    }

    // Each gallery board opened from its topic: the tray lists the tiles by value; every tile placed
    // (half dragged, half tapped and tapped) on a box needing what it shows scores 12 under the board's
    // name and the topic's portrait; Check Score stays hidden until the last tile is down; "New
    // Problem" draws again.
    void galleryBoardsDrawAndScore_data() {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<bool>("second");
        QTest::addColumn<QString>("shot");
        QTest::newRow("triples") << "pythagoras" << false << "triples";
        QTest::newRow("right angles") << "pythagoras" << true << "right-angles";
        QTest::newRow("sequences") << "fibonacci" << false << "sequences";
        QTest::newRow("roman") << "fibonacci" << true << "roman";
        QTest::newRow("sieve") << "eratosthenes" << false << "sieve";
        QTest::newRow("earth") << "eratosthenes" << true << "earth";
        QTest::newRow("lever") << "archimedes" << false << "lever";
        QTest::newRow("circles") << "archimedes" << true << "circles";
        QTest::newRow("equations") << "al-khwarizmi" << false << "equations";
        QTest::newRow("place value") << "al-khwarizmi" << true << "place-value";
    }
    void galleryBoardsDrawAndScore() {
        QFETCH(QString, topic);
        QFETCH(bool, second);
        QFETCH(QString, shot);
        Session s;
        testutil::showTopic(topic);
        if (!second) {  // the topic screen and its first page, for the pictures in docs/
            testutil::screenshot("topic-" + topic);
            testutil::click(screens().get<TopicScreen>().ui().keyFacts);
            testutil::screenshot("keyfacts-" + topic + "-1");
            testutil::click(screens().get<PageViewer>().ui().exit);
        }
        const QString caption =
            (second ? screens().get<TopicScreen>().ui().secondActivity : screens().get<TopicScreen>().ui().firstActivity)->text();
        testutil::click(testutil::topicEntry(second ? 3 : 1));
        GalleryActivity* g = screens().find<GalleryActivity>();
        QCOMPARE(Stage::instance()->front(), g);
        QCOMPARE(g->text(), caption);
        const auto rank = [](const QString& a) { return a == "Yes" ? -1 : a.toInt(); };  // "No" ranks 0
        std::vector<std::pair<float, int>> tray;
        for (int i = 0; i < 12; ++i) tray.emplace_back(tile(g, i)->leftTwips(), rank(tile(g, i)->text()));
        std::sort(tray.begin(), tray.end());
        for (int k = 1; k < 12; ++k) QVERIFY(tray[k - 1].second <= tray[k].second);
        // Yes and No lie on a pile each: the tray does not count the answers.
        QSet<float> places;
        for (const auto& [left, face] : tray) places.insert(left);
        if (caption == QLatin1String("Right-Angled?")) QCOMPARE(places.size(), 2);
        testutil::screenshot(shot + "-start");
        QVERIFY(testutil::solveBoard(g, [g](int t, int b) {
            if (t % 2) {
                drag(tile(g, t), box(g, b)->leftTwips(), box(g, b)->topTwips());
            } else {
                testutil::click(tile(g, t));
                testutil::click(box(g, b));
            }
        }));
        testutil::screenshot(shot + "-complete");
        testutil::click(button(g, 2));
        QCOMPARE(testutil::score(), 12);
        QCOMPARE(screens().get<ScoreScreen>().result().heading, caption);
        QCOMPARE(screens().get<ScoreScreen>().result().portrait.file, screens().get<TopicScreen>().topic().portrait.file);
        QTest::qWait(50);  // the portrait comes up just after the score
        testutil::screenshot(shot + "-score");
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        // New Problem draws again; the same four triples may come by chance (1 in 330), so up to three draws.
        const std::array<QString, 12> drawn = g->answers();
        for (int tries = 0; tries < 3 && g->answers() == drawn; ++tries) testutil::click(button(g, 3));
        QVERIFY(g->answers() != drawn && !button(g, 2)->isShown());
        testutil::click(button(g, 0));
        QCOMPARE(Stage::instance()->front(), screens().find<TopicScreen>());
    }

    // Triples score by what works, not by the rows drawn: rows 0 and 1 swapped, and row 1's first two.
    void triplesScoreAnyArrangementThatWorks() {
        Session s;
        testutil::showTopic("pythagoras");
        testutil::click(testutil::topicEntry(1));
        auto* g = screens().find<GalleryActivity>();
        const auto answers = g->answers();
        std::array<bool, 12> used{};
        const int order[12] = {4, 3, 5, 0, 1, 2, 6, 7, 8, 9, 10, 11};
        for (int b = 0; b < 12; ++b) {
            int t = 0;
            while (used[t] || tile(g, t)->text() != answers[order[b]]) ++t;
            used[t] = true;
            drag(tile(g, t), box(g, b)->leftTwips(), box(g, b)->topTwips());
        }
        testutil::click(button(g, 2));
        QCOMPARE(testutil::score(), 12);
    }
    // By ear alone (Nets of Dice): a tile carried by keys names each box as the box's own name does, net
    // by net; onto a taken box it says so, and once put down there the box names both tiles and the one
    // beneath says what hides it. (The opening read net by net, through Orca: atspi_test.)
    void netsOfDiceByEar() {
        Session s;
        TileBoard* b = testutil::openEuclidBoard(3);
        const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
        const auto words = [b](int i) { return box(b, i)->Control::accessibleName().mid(QStringLiteral("box: ").size()); };

        // Carried from the tray round every box and back: each box once, as its name says it.
        tile(b, 9)->setFocus();  // a 1
        key(Qt::Key_Space);
        QStringList heard, nets;
        for (int k = 0; k < 13; ++k) {
            key(Qt::Key_Right);
            heard << platform::lastAnnouncement();
        }
        QCOMPARE(heard.takeLast(), QStringLiteral("the tray"));
        for (int i = 0; i < 12; ++i) QCOMPARE(heard.count(words(i)), 1);
        for (const QString& said : heard) nets << said.section(QStringLiteral(", "), 0, 0);
        QCOMPARE(nets, QStringList({"top left net", "top left net", "top left net", "top middle net", "top middle net",
                                    "top middle net", "right net", "right net", "right net", "bottom middle net",
                                    "bottom middle net", "bottom middle net"}));
        QVERIFY(heard.front().endsWith(QStringLiteral(", empty")) && heard.front().contains(QStringLiteral(", opposite the ")));

        // The 1 put down on box 2 by taps; the 6 (tile 0) carried over it hears the 1, and is put down on it.
        key(Qt::Key_Escape);
        testutil::click(tile(b, 9));
        testutil::click(box(b, 2));
        QVERIFY(words(2).endsWith(QStringLiteral(", showing 1")));
        tile(b, 0)->setFocus();
        key(Qt::Key_Space);
        for (int k = 0; k < 13 && platform::lastAnnouncement() != words(2); ++k) key(Qt::Key_Right);
        QCOMPARE(platform::lastAnnouncement(), words(2));
        key(Qt::Key_Space);
        const QString place = words(2).section(QStringLiteral(", opposite"), 0, 0);
        QCOMPARE(platform::lastAnnouncement(), QStringLiteral("6 placed on ") + place + QStringLiteral(", 1 beneath"));
        QVERIFY(words(2).endsWith(QStringLiteral(", showing 6, 1 beneath")));
        QVERIFY(tile(b, 9)->Control::accessibleName().endsWith(QStringLiteral(", beneath 6")));
        QCOMPARE(b->shownOn(2), QStringLiteral("6"));  // both stay, the last on top, as a drag leaves them
    }
};

QTEST_MAIN(ActivitiesTest)
#include "test_activities.moc"
