// Every pupil: by keyboard alone, by tap and tap, and as a screen reader finds it (Qt's accessibility tree).
#include "TestUtil.h"
#include "core/GalleryActivities.h"
#include "core/Contrast.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/PageText.h"

#include <QAccessible>
#include <QApplication>
#include <QTimer>

using namespace platform;
using namespace core;
using testutil::Session;
using testutil::box;
using testutil::openEuclidBoard;
using testutil::tile;

namespace {

QString focusedName() {
    Control* c = Control::of(QApplication::focusWidget());
    return c ? c->accessibleName() : QString();
}

void key(int k) {
    QWidget* w = QApplication::focusWidget();
    QVERIFY2(w, "nothing has the keyboard");
    QTest::keyClick(w, Qt::Key(k));
}

// Tabs until the control named `name` has the focus; fails if a whole round never reaches it.
bool tabTo(const QString& name) {
    for (int i = 0; i < 120; ++i) {
        if (focusedName() == name) return true;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return false;
}

// The names Tab reaches, once round the screen in front.
QStringList tabRound() {
    QStringList names;
    const QString first = focusedName();
    do {
        names << focusedName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (focusedName() != first && names.size() < 100);
    return names;
}

QAccessibleInterface* accessible(Control* c) { return QAccessible::queryAccessibleInterface(c->widget()); }


// What a screen reader walking a screen meets: every object under it that is not invisible.
QList<QAccessibleInterface*> readerSees(QWidget* form) {
    QList<QAccessibleInterface*> out{QAccessible::queryAccessibleInterface(form)};
    for (qsizetype n = 0; n < out.size(); ++n)
        for (int k = 0; k < out[n]->childCount(); ++k)
            if (QAccessibleInterface* child = out[n]->child(k); child && !child->state().invisible) out << child;
    out.removeFirst();
    return out;
}

// A tap at a whiteboard: a touch that does not move.
void tap(Control* c) {
    static QPointingDevice* finger = QTest::createTouchDevice();
    QWindow* window = Stage::instance()->windowHandle();
    const QPoint p = c->widget()->mapTo(Stage::instance(), c->widget()->rect().center());
    QTest::touchEvent(window, finger).press(0, p, window);
    QTest::touchEvent(window, finger).release(0, p, window);
}


// What is wrong, if anything, with the focus frame of the control with the keyboard as a pupil sees it
// on the stage: on each side of the part of the control that shows (a button may reach past its
// screen's edge), the frame's outer two pixels are whole and stand out 3:1 from what lies beyond, and
// its innermost pixel from the control's face just within.
QString frameFault(Control* c) {
    QWidget* w = c->widget();
    Stage* stage = Stage::instance();
    QRect r(w->mapTo(stage, QPoint()), w->size());
    for (QWidget* a = w->parentWidget(); a && a != stage; a = a->parentWidget())
        r &= QRect(a->mapTo(stage, QPoint()), a->size());
    const QPixmap shot = testutil::shown();
    const QImage image = shot.toImage();
    const qreal dpr = shot.devicePixelRatio();
    const QString name = c->accessibleName().section(QLatin1Char(' '), 0, 1);
    if (!qEnvironmentVariableIsEmpty("SCREENSHOTS"))
        image.copy(QRectF(QRectF(r.adjusted(-12, -12, 12, 12)).topLeft() * dpr, QSizeF(r.adjusted(-12, -12, 12, 12).size()) * dpr).toRect())
            .save(qEnvironmentVariable("SCREENSHOTS") + QStringLiteral("/frame-%1-%2.png").arg(name, QString::number(dpr)));
    // Side by side: from the pixel beyond the edge (step -1) inward, near a corner, clear of a centred caption.
    const QPointF near = QRectF(r).topLeft() + QPointF(8.5, 8.5);
    const struct { QPointF edge, in; } sides[] = {{{r.left() + 0.5, near.y()}, {1, 0}},
                                                  {{r.right() + 0.5, near.y()}, {-1, 0}},
                                                  {{near.x(), r.top() + 0.5}, {0, 1}},
                                                  {{near.x(), r.bottom() + 0.5}, {0, -1}}};
    const char* const sideNames[] = {"left", "right", "top", "bottom"};
    const auto bgr = [](QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); };
    for (int k = 0; k < 4; ++k) {
        const auto at = [&](int step) {
            const QPointF p = (sides[k].edge + sides[k].in * step) * dpr;
            return bgr(image.pixel(int(p.x()), int(p.y())));
        };
        const quint32 beyond = at(-1), outer = at(0), inside = at(6);
        int inner = 1;
        while (inner < 5 && at(inner + 1) != inside) ++inner;
        if (at(1) != outer || core::contrastRatio(outer, beyond) < 3 || core::contrastRatio(at(inner), inside) < 3)
            return QStringLiteral("%1 of %2: %3 beyond, frame %4 .. %5, %6 within (%7:1 outside)")
                .arg(QLatin1String(sideNames[k]), c->accessibleName())
                .arg(beyond, 6, 16, QLatin1Char('0')).arg(outer, 6, 16, QLatin1Char('0'))
                .arg(at(inner), 6, 16, QLatin1Char('0')).arg(inside, 6, 16, QLatin1Char('0'))
                .arg(core::contrastRatio(outer, beyond), 0, 'f', 2);
    }
    return {};
}

// Every button of the screen in front, given the keyboard in turn: the faults of their focus frames.
QString lastFaults;
bool noFrameFaults() {
    QStringList faults;
    for (Control* c : qobject_cast<Form*>(Stage::instance()->front())->tabOrder()) {
        if (!dynamic_cast<CommandButton*>(c) && !(dynamic_cast<Label*>(c) && c->onClick)) continue;
        c->setFocus();
        QCoreApplication::processEvents();
        if (const QString fault = frameFault(c); !fault.isEmpty()) faults << fault;
    }
    lastFaults = faults.join(QStringLiteral("; "));
    return faults.isEmpty();
}

}  // namespace

class AccessTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testutil::initApp();
        Stage::instance()->showBackdrop();
        QApplication::setActiveWindow(Stage::instance());
        QVERIFY(QTest::qWaitForWindowActive(Stage::instance()));
    }
    void cleanup() { Session::reset(); }

    // Menus by keys: stops in reading order (greyed ones skipped), Escape for "Exit", and as Cancel when asked.
    void menusByKeyboard() {
        Session s;
        screens().show<TitleScreen>();
        QCOMPARE(focusedName(), QStringLiteral("OK"));
        key(Qt::Key_Return);
        QCOMPARE(Stage::instance()->front(), screens().find<MainMenu>());
        QCOMPARE(tabRound(),
                 (QStringList{"Teachers' Guide", "Pupils' Results", "Pythagoras", "Fibonacci", "Euclid", "Eratosthenes", "Archimedes", "Al-Khwarizmi",
                              "Multiple Choice Wizard", "Worksheet Catalogue", "www.vellacourt.example", "Acknowledgments", "Exit"}));
        QVERIFY(tabTo(QStringLiteral("Euclid")));
        testutil::screenshot(QStringLiteral("keyboard-mainmenu"));
        key(Qt::Key_Space);
        QCOMPARE(Stage::instance()->front(), screens().find<TopicScreen>());
        QCOMPARE(focusedName(), QStringLiteral("Key Facts"));  // the first stop, top left
        key(Qt::Key_Escape);
        QCOMPARE(Stage::instance()->front(), screens().find<MainMenu>());
        key(Qt::Key_Escape);
        QCOMPARE(Stage::instance()->front(), screens().find<TitleScreen>());
        QCOMPARE(focusedName(), QStringLiteral("Cancel"));
        QVERIFY(lastAnnouncement().startsWith(QStringLiteral("Leave Vellacourt Numerists?")));  // the question, heard
        key(Qt::Key_Escape);
        QCOMPARE(Stage::instance()->front(), screens().find<MainMenu>());
        QCOMPARE(s.ended, 0);
    }

    // The quiz by keys from its entry's focus frame (whole and 3:1: everyControlHasANameAndAWholeFrame), gone on
    // Tab; the arrows tick round answers, 10/10.
    void quizByKeyboard() {
        Session s;
        screens().show<MainMenu>();
        testutil::showEuclid();
        QVERIFY(tabTo(QStringLiteral("Multiple Choice")));
        Label* l = screens().get<TopicScreen>().ui().quiz;
        const auto edge = [l] { const QImage i = l->widget()->grab().toImage(); return i.pixel(0, i.height() / 2); };
        const QRgb frame = edge();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(edge() != frame);
        QVERIFY(tabTo(QStringLiteral("Multiple Choice")));
        key(Qt::Key_Return);
        QuizScreen* m = screens().find<QuizScreen>();
        QVERIFY(m && Stage::instance()->front() == m);
        const auto option = [m](int k) -> OptionButton* {
            return k == 5 ? m->ui().noAnswer : m->ui().answers[size_t(k - 1)];
        };
        QVERIFY(option(1)->widget()->hasFocus());  // on the first answer: a first Enter prints nothing
        QVERIFY(!tabRound().contains(QString()));  // "no answer" has no caption: Tab never lands on it
        for (int q = 1; q <= QuestionCount; ++q) {
            QVERIFY(tabTo(testutil::euclidQuestion(q).answers[0]));
            QVERIFY(!option(1)->isChosen());  // landing on an answer does not tick it
            key(Qt::Key_Up);              // round to the last
            QVERIFY(option(4)->isChosen() && option(4)->widget()->hasFocus());
            const int right = testutil::euclidQuestion(q).correct.trimmed().toInt();
            for (int k = 1; k <= right; ++k) key(Qt::Key_Right);
            QVERIFY(option(right)->isChosen() && !option(5)->isChosen());
            QVERIFY(tabTo(q < QuestionCount ? QStringLiteral("Next Question >>") : QStringLiteral("Check Score >>")));
            key(Qt::Key_Return);
        }
        QCOMPARE(testutil::score(), 10);  // the certificate by keys: test_printing
    }

    // Escape and Tab put a tile carried by keys back where it was, on the board. (Put down: gallery_walk_test.)
    void aTileByKeyboard() {
        Session s;
        TileBoard* b = openEuclidBoard(3);  // Nets of Dice
        // A box's name holds the words its printed sheet gives it (the sheet's rule has its own copy of the nets).
        for (int i = 0; i < 12; ++i)
            QVERIFY2(box(b, i)->Control::accessibleName().contains(core::DiceRule.describe(core::DiceRule.draw(), i)),
                     qPrintable(box(b, i)->Control::accessibleName()));
        Label* first = tile(b, 0);
        first->setFocus();
        const float home = first->leftTwips();
        for (int put : {Qt::Key_Escape, Qt::Key_Tab}) {
            key(Qt::Key_Space);
            key(Qt::Key_Right);
            QVERIFY(b->carried() == 0 && first->leftTwips() != home);
            key(put);
            QVERIFY(b->carried() == -1 && first->leftTwips() == home && Stage::instance()->front() == b);
            first->setFocus();
        }
    }

    // Tap and tap: a tap picks a tile up (yellow), a tap on it again or on its place in the tray puts it
    // back. A tile put onto a box: both are told to the reader as a change of name.
    void aTileByTapAndTap() {
        Session s;
        QList<QObject*> renamed;
        nameChangeHook = [&renamed](QWidget* w) { renamed << w; };
        const auto done = qScopeGuard([] { nameChangeHook = nullptr; });
        TileBoard* b = openEuclidBoard(1);  // Products of Primes
        Label* t = tile(b, 3);
        const float home = t->leftTwips();
        tap(t);
        QVERIFY(b->carried() == 3 && t->backColor() == Yellow);
        tap(t);
        QVERIFY(b->carried() == -1 && t->backColor() == Black);
        platform::reportNameChanges();  // the names as the pupil first meets them
        renamed.clear();
        tap(t);
        tap(box(b, 7));
        QTRY_VERIFY(renamed.contains(t->widget()));
        QVERIFY(renamed.contains(box(b, 7)->widget()));
        tap(t);
        tap(b->board().homes[3]);
        QCOMPARE(t->leftTwips(), home);
    }

    // A teacher by keys alone: a worksheet typed box after box and saved; the catalogue's last page reached.
    void teacherByKeyboard() {
        Session s;
        QStringList titles;
        for (int i = 1; i <= 24; ++i) titles << QStringLiteral("Worksheet %1").arg(i);
        s.write(QStringLiteral("multiple/track.txt"), testutil::indexOf(titles));
        screens().show<TitleScreen>();
        key(Qt::Key_Return);
        QVERIFY(tabTo(QStringLiteral("Multiple Choice Wizard")));
        key(Qt::Key_Return);
        QCOMPARE(focusedName(), QStringLiteral("Worksheet Title"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Keys"));
        for (int q = 1; q <= QuestionCount; ++q) {
            key(Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("What is %1 + %1?").arg(q));
            for (int k = 0; k < 4; ++k) {
                key(Qt::Key_Tab);
                QTest::keyClicks(QApplication::focusWidget(), QString::number(2 * q + k));
            }
        }
        for (int q = 1; q <= QuestionCount; ++q) {
            key(Qt::Key_Tab);
            QCOMPARE(focusedName(), QStringLiteral("Question %1: answer A is right").arg(q));
            key(Qt::Key_Space);
            for (int k = 1; k < 4; ++k) key(Qt::Key_Tab);
        }
        QVERIFY(tabTo(QStringLiteral("Save Worksheet")));
        key(Qt::Key_Return);
        QVERIFY(s.read(QStringLiteral("multiple/Keys.txt")).startsWith("Keys\r\n \r\nWhat is 1 + 1?\r\n2\r\n3\r\n4\r\n5\r\n1\r\n"));
        key(Qt::Key_Escape);
        QVERIFY(tabTo(QStringLiteral("Worksheet Catalogue")));
        key(Qt::Key_Return);
        QVERIFY(tabTo(QStringLiteral("Next Page >>")));
        key(Qt::Key_Return);
        // "Next Page >>" is gone: the keyboard goes to the button beside it.
        QCOMPARE(focusedName(), QStringLiteral("<< Previous Page"));
    }

    // On each screen every object a reader meets has a name, but client areas and frames; and every
    // button's focus frame is whole on every side, the bottom row's too: those reach past the screen's edge.
    void everyControlHasANameAndAWholeFrame() {
        Session s;
        const std::function<void()> openers[] = {[] {}, [] { testutil::showEuclid(); }, [] { PageViewer::show(PageViewer::Guide); },
                                                 [] { QVERIFY(testutil::startEuclidQuiz()); }, [] { openEuclidBoard(3); },
                                                 [] { screens().show<WizardScreen>(); }, [] { screens().show<CatalogueScreen>(); }};
        for (const auto& open : openers) {
            screens().show<MainMenu>();
            open();
            QWidget* front = Stage::instance()->front();
            for (QAccessibleInterface* i : readerSees(front))
                if (i->role() != QAccessible::Client && i->role() != QAccessible::Grouping)
                    QVERIFY2(!i->text(QAccessible::Name).isEmpty(), front->metaObject()->className());
            QVERIFY2(noFrameFaults(), qPrintable(lastFaults));
            Session::reset();
        }
    }

    // Pages read in the order they are written: two worked examples set side by side a column at a
    // time, the quiz's answers 1 to 5 before 6 to 10, and a table of solids a row at a time.
    void pagesReadInTheirOwnOrder() {
        Session s;
        const auto lines = [](const char* file) {
            const Picture page = LoadPictureOrEmpty(QString::fromLatin1(file));
            QStringList out;
            if (page.metafile())
                for (const QString& l : PageText(*page.metafile()).text.split(QLatin1Char('\n'))) out << l.trimmed();
            return out;
        };
        const QStringList hcf = lines("wmf\\key euclidb.wmf");
        const qsizetype first = hcf.indexOf(QStringLiteral("HCF of 24 and 36:"));
        QVERIFY2(first > 0, qPrintable(hcf.join(QLatin1Char('|'))));
        QCOMPARE(hcf.mid(first, 6), (QStringList{"HCF of 24 and 36:", "36 = 1 × 24 + 12", "24 = 2 × 12 + 0",
                                                 "so the HCF is 12.", "HCF of 252 and 198:", "252 = 1 × 198 + 54"}));
        const QStringList notes = lines("wmf\\euclida.wmf");
        const qsizetype fifth = notes.indexOf(QStringLiteral("5. C, 12: 36 = 1 × 24 + 12, 24 = 2 × 12"));
        QVERIFY(fifth > 0);
        QCOMPARE(notes.at(fifth + 1), QStringLiteral("6. A, any two points"));
        QVERIFY(lines("wmf\\key euclidc.wmf").contains(QStringLiteral("Cube 6 squares 8 12")));
    }

    // A page by keys alone: opened, it is text to a reader, its title a heading, each letter where it is
    // drawn; the arrows, Home and End move its caret by line and by letter, each move told to a reader;
    // the caret shows only while the page has the keyboard, and the page tells a reader no more of itself
    // than shows. (That it has the keyboard, opened and turned, and is heard line by line: orca_keys_test.)
    void aPageIsReadByArrows() {
        Session s;
        screens().show<TitleScreen>();
        key(Qt::Key_Return);
        QVERIFY(tabTo(QStringLiteral("Euclid")));
        key(Qt::Key_Return);
        QVERIFY(tabTo(QStringLiteral("Key Facts")));
        key(Qt::Key_Return);
        const PageViewer& v = screens().get<PageViewer>();
        QWidget* page = v.ui().page->widget();
        QAccessibleInterface* i = accessible(v.ui().page);
        QAccessibleTextInterface* t = i->textInterface();
        QVERIFY(t);
        const QString first = t->text(0, t->characterCount());
        int start = 0, end = 0;
        QCOMPARE(t->textAtOffset(0, QAccessible::LineBoundary, &start, &end).trimmed(), i->text(QAccessible::Name));
        const int body = first.indexOf(QStringLiteral("Euclid lived"));
        QVERIFY(t->attributes(0, &start, &end).contains(QStringLiteral("heading:true")));
        QVERIFY(!t->attributes(body + 2, &start, &end).contains(QStringLiteral("heading")));
        for (int k : {0, body + 2, int(first.size()) - 2}) {
            const QRect r = t->characterRect(k);
            QVERIFY2(i->rect().contains(r) && r.width() > 0, qPrintable(QString::number(k)));
            QCOMPARE(t->offsetAtPoint(r.center()), k);
        }
        QVERIFY(tabTo(QStringLiteral("Next Page")));
        key(Qt::Key_Return);
        QCOMPARE(v.page(), 2);

        const PageText& text = *PageCaret::of(page)->text();
        QVERIFY(text.lines.size() > 4);
        QCOMPARE(t->cursorPosition(), 0);
        const auto line = [&](int n) { return std::pair(int(text.lines[size_t(n)].start), int(text.lines[size_t(n)].end)); };
        const auto press = [&](int k, Qt::KeyboardModifiers m = {}) {
            QTest::keyClick(page, Qt::Key(k), m);
            return t->cursorPosition();
        };
        QCOMPARE(press(Qt::Key_Down), line(1).first);
        QCOMPARE(press(Qt::Key_Down), line(2).first);
        QCOMPARE(press(Qt::Key_End), line(2).second);
        QCOMPARE(press(Qt::Key_Right), line(3).first);  // past the line's end to the next line's start
        QCOMPARE(press(Qt::Key_Right), line(3).first + 1);
        QCOMPARE(press(Qt::Key_Up), line(2).first + 1);  // the same place along the line above
        QCOMPARE(press(Qt::Key_Left), line(2).first);
        QCOMPARE(press(Qt::Key_End), line(2).second);
        QCOMPARE(press(Qt::Key_Home), line(2).first);
        QCOMPARE(press(Qt::Key_End, Qt::ControlModifier), int(text.text.size()));
        QCOMPARE(press(Qt::Key_Down), int(text.text.size()));
        QCOMPARE(press(Qt::Key_Home, Qt::ControlModifier), 0);
        press(Qt::Key_Down);
        QCOMPARE(t->textAtOffset(t->cursorPosition(), QAccessible::LineBoundary, &start, &end).trimmed(),
                 text.text.mid(line(1).first, line(1).second - line(1).first));

        // The caret's bar where the caret is, while the page has the keyboard.
        const auto bars = page->findChildren<QWidget*>();
        QCOMPARE(bars.size(), 1);
        QVERIFY(bars[0]->isVisible());
        const QPointF at = text.caretBox(line(1).first).center();
        QVERIFY((QPointF(bars[0]->geometry().center()) - at).manhattanLength() <= 2);
        testutil::screenshot(QStringLiteral("page-by-arrows"));
        QVERIFY(tabTo(QStringLiteral("Exit")));
        QVERIFY(!bars[0]->isVisible());

        // The page, not the box that holds it: the page's own height (within the screen: orca_keys_test).
        QVERIFY(std::abs(i->rect().height() - v.ui().page->picture().size().height() * page->devicePixelRatioF()) <= 1);
    }

    // A reader's Press on a control behind an open message box does nothing, as a click there would.
    void pressWaitsForAMessageBox() {
        Session s;
        screens().show<MainMenu>();
        QVERIFY(tabTo(QStringLiteral("Worksheet Catalogue")));
        QAccessibleActionInterface* press = accessible(Control::of(QApplication::focusWidget()))->actionInterface();
        platform::msgBoxHook = nullptr;  // a real box, answered below
        QTimer::singleShot(0, [press] {
            press->doAction(QAccessibleActionInterface::pressAction());
            QTest::qWait(50);
            QApplication::activeModalWidget()->close();
        });
        showMessage(QStringLiteral("A box in the way."));
        QTest::qWait(50);
        QVERIFY(!screens().isOpen<CatalogueScreen>());
        press->doAction(QAccessibleActionInterface::pressAction());  // with the box gone, it opens
        QTRY_VERIFY(screens().isOpen<CatalogueScreen>());
    }
};

QTEST_MAIN(AccessTest)
#include "test_access.moc"
