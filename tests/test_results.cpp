// The teacher's Pupils' Results: finished work recorded as a pupil leaves the score screen, and the
// class table over it, filtered, sorted, a pupil's own lines, exported.
#include "TestUtil.h"

#include "platform/files/ResultsFiles.h"
#include "results/PupilResultsScreen.h"
#include "results/ResultsScreen.h"

#include <unistd.h>

using namespace platform;
using testutil::Session;

namespace {

// A line of another pupil's file, as their program would have written it.
QByteArray line(const QString& when, const QString& login, const QString& name, const QString& topic, const QString& work,
                int score, int outOf = 10) {
    return core::resultLine({QDateTime::fromString(when, Qt::ISODate), login, name, topic, work, score, outOf, {}});
}

// The table as shown, row by row, its cells joined by "|".
QStringList rowsOf(const QAbstractItemModel& m) {
    QStringList rows;
    for (const QStringList& r : results::cellsOf(m)) rows << r.join(u'|');
    return rows.mid(1);
}

}  // namespace

class ResultsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }

    // A quiz and a board finished here, and a classmate's file beside: the class table shows both
    // pupils' work with latest and best, sorted and filtered as the teacher asks.
    void classTable() {
        Session s;
        QVERIFY(QDir().mkdir(s.path(QStringLiteral("results"))));
        const QString me = currentLogin();
        // Two tries of one quiz (the better first), and full marks on a board with a name typed.
        ScoreScreen::afterQuiz({7, 10, QStringLiteral("Euclid Quiz"), {}, QStringLiteral("Euclid")});
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        ScoreScreen::afterQuiz({5, 10, QStringLiteral("Euclid Quiz"), {}, QStringLiteral("Euclid")});
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        ScoreScreen::afterActivity({12, 12, QStringLiteral("Products of Primes"), {}, QStringLiteral("Euclid")});
        screens().get<ScoreScreen>().ui().name->setContents(QStringLiteral("=HYPERLINK(\"x\")"));
        testutil::click(screens().get<ScoreScreen>().ui().exit);
        // A classmate's file: another account's (daemon's, on every Debian system), as the school's folder has it.
        s.write(QStringLiteral("results/daemon.csv"),
                core::resultsHeader() + line(QStringLiteral("2026-12-01T09:00:00+00:00"), QStringLiteral("daemon"), {},
                                             QStringLiteral("Pythagoras"), QStringLiteral("Pythagoras Quiz"), 9));
        if (::geteuid() != 0) QSKIP("the classmate's file must belong to another account: run as root");
        QVERIFY(::chown(qPrintable(s.path(QStringLiteral("results/daemon.csv"))), 1, 1) == 0);
        QVERIFY(s.messages.isEmpty());

        screens().show<MainMenu>();
        testutil::click(screens().get<MainMenu>().ui().results);
        auto& r = screens().get<ResultsScreen>();
        testutil::screenshot(QStringLiteral("results"));
        const QStringList rows = rowsOf(r.shown());
        QCOMPARE(rows.size(), 3);
        QVERIFY2(rows.contains(QStringLiteral("%1|Euclid|Euclid Quiz|2|5/10|7/10|%2").arg(me, core::ukDate(QDate::currentDate()))),
                 qPrintable(rows.join(u'\n')));
        QVERIFY(rows.contains(QStringLiteral("daemon|Pythagoras|Pythagoras Quiz|1|9/10|9/10|1 December 2026")));
        QVERIFY(r.ui().status->text().startsWith(QStringLiteral("4 results of 2 pupils")));

        // Sorted by best score, highest first, by the list as by a click on the heading.
        r.ui().sort->widget()->setFocus();
        QTest::keyClick(r.ui().sort->widget(), Qt::Key_Down);
        QCOMPARE(r.ui().sort->chosenText(), QStringLiteral("Pupil, Z to A"));
        QVERIFY(rowsOf(r.shown()).first().startsWith(QStringLiteral("root|")));
        auto* header = static_cast<QTableView*>(r.ui().table->widget())->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(5) + 5, 5));
        QCOMPARE(r.ui().sort->chosenText().left(4), QStringLiteral("Best"));
        const QStringList byBest = rowsOf(r.shown());
        QVERIFY2(byBest.first().contains(QStringLiteral("|12/12|")) == (r.ui().table->sortOrder() == Qt::DescendingOrder),
                 qPrintable(byBest.join(u'\n')));

        // Filtered to one topic and to the days of the classmate's work alone.
        r.ui().topic->widget()->setFocus();
        QTest::keyClick(r.ui().topic->widget(), Qt::Key_Down);
        QCOMPARE(r.ui().topic->chosenText(), QStringLiteral("Euclid"));
        QCOMPARE(rowsOf(r.shown()).size(), 2);
        r.ui().topic->widget()->setFocus();
        QTest::keyClick(r.ui().topic->widget(), Qt::Key_Up);
        r.ui().to->widget()->setFocus();
        QTest::keyClick(r.ui().to->widget(), Qt::Key_Down);
        QCOMPARE(r.ui().to->chosenText(), QStringLiteral("1 December 2026"));
        QCOMPARE(rowsOf(r.shown()), QStringList{QStringLiteral("daemon|Pythagoras|Pythagoras Quiz|1|9/10|9/10|1 December 2026")});
        r.ui().to->widget()->setFocus();
        QTest::keyClick(r.ui().to->widget(), Qt::Key_Up);

        // A pupil's own lines: the row tapped, then "Pupil's Work"; and by the keyboard, Enter on the row.
        auto* table = static_cast<QTableView*>(r.ui().table->widget());
        r.ui().sort->widget()->setFocus();
        QTest::keyClick(r.ui().sort->widget(), Qt::Key_Home);
        static QPointingDevice* finger = QTest::createTouchDevice();
        const QPoint first = table->visualRect(table->model()->index(0, 0)).center();
        QTest::touchEvent(table->viewport(), finger).press(0, first, table->viewport());
        QTest::touchEvent(table->viewport(), finger).release(0, first, table->viewport());
        testutil::click(r.ui().pupilsWork);
        QCOMPARE(screens().get<PupilResultsScreen>().ui().heading->text(), QStringLiteral("Results of daemon"));
        testutil::click(screens().get<PupilResultsScreen>().ui().exit);
        table->setFocus();
        table->selectRow(2);
        QTest::keyClick(table, Qt::Key_Up);
        QTest::keyClick(table, Qt::Key_Return);
        auto& p = screens().get<PupilResultsScreen>();
        testutil::screenshot(QStringLiteral("results-pupil"));
        QCOMPARE(p.ui().heading->text(), QStringLiteral("Results of ") + me);
        const QStringList lines = rowsOf(p.shown());
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.first().startsWith(core::ukDate(QDate::currentDate())) && lines.first().endsWith(QStringLiteral("|12/12|=HYPERLINK(\"x\")")),
                 qPrintable(lines.join(u'\n')));

        // Exported as shown: the typed name a spreadsheet would run is text.
        saveFileHook = [&s](const QString& suggested) {
            return s.path(QStringLiteral("export ") + suggested.section(u' ', 0, 1));
        };
        testutil::click(p.ui().exportFile);
        saveFileHook = nullptr;
        const QByteArray csv = s.read(QStringLiteral("export Results of.csv"));
        QVERIFY2(csv.startsWith("Date,Topic,Work,Score,Certificate name\r\n") && csv.contains(",12/12,\"'=HYPERLINK(\"\"x\"\")\"\r\n"),
                 csv.constData());
        QVERIFY(s.messages.last().text.startsWith(QStringLiteral("The results are saved in")));
    }
};

QTEST_MAIN(ResultsTest)
#include "test_results.moc"
