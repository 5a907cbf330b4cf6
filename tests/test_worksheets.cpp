// Worksheets: the file formats byte for byte, the wizard, the catalogue, and a teacher's work kept safe.
#include "TestUtil.h"
#include "shell/Forms.h"
#include "shell/Module1.h"
#include "worksheets/WorksheetFiles.h"

using namespace platform;
using testutil::Session;
using testutil::fillValid;
using testutil::indexOf;
using testutil::worksheetBytes;

namespace {

// Types a whole worksheet into the wizard the way a teacher does, ticking with the mouse.
void typeWorksheet(wizard* w, const QString& title) {
    testutil::type(w->Text1(), title);
    for (int q = 0; q < 10; ++q) {
        testutil::type(w->Text2(q), QStringLiteral("What is %1, plus %1?").arg(q + 1));
        for (int k = 0; k < 4; ++k)
            testutil::type(w->Text3(4 * q + k), QStringLiteral("%1 café").arg(2 * (q + 1) + k));
        testutil::click(w->Check1(4 * q + q % 4));
    }
}

}  // namespace

class WorksheetsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() {
        failWriteHook = nullptr;
        Session::reset();
    }

    void indexAppendAndRemoveBytes() {
        Session s;
        worksheetfiles::IndexAppend(QStringLiteral("Fractions"));
        worksheetfiles::IndexAppend(QStringLiteral("Angles é"));
        worksheetfiles::IndexAppend(QStringLiteral("Fractions"));  // listed already
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), QByteArray(" 2 \r\nFractions\r\nAngles \xE9\r\n"));
        worksheetfiles::IndexRemove(QStringLiteral("Not there"));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), QByteArray(" 2 \r\nFractions\r\nAngles \xE9\r\n"));
        worksheetfiles::IndexRemove(QStringLiteral("Fractions"));
        worksheetfiles::IndexRemove(QStringLiteral("Angles é"));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), QByteArray(" 0 \r\n"));
        QCOMPARE(Module1::WorksheetCount, 0);
    }

    void removeTakesTheLastOfEqualTitles() {
        Session s;
        s.write(QStringLiteral("multiple/track.txt"), indexOf({"A", "B", "A", "C"}));
        worksheetfiles::IndexRemove(QStringLiteral("A"));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf({"A", "B", "C"}));
    }

    void loadWorksheetDecodesCommas() {
        Session s;
        QByteArray bytes = worksheetBytes(QStringLiteral("Sums&more"));
        bytes.replace("Question number 3", "3&4 or salt & pepper");
        s.write(QStringLiteral("multiple/Sums.txt"), bytes + "ignored after line 72\r\n");
        FileChannel::one().OpenForInput(QStringLiteral("multiple\\Sums.txt"));
        Module1::LoadWorksheet();
        FileChannel::one().Close();
        QCOMPARE(Module1::WorksheetTitle, QStringLiteral("Sums,more"));
        QCOMPARE(Module1::QuestionText[3], QStringLiteral("3,4 or salt , pepper"));
        QCOMPARE(Module1::AnswerD[10], QStringLiteral("Answer D"));
        QCOMPARE(Module1::CorrectAnswer[10], QStringLiteral("3"));
    }

    void typedWorksheetRoundTripsThroughTheCatalogue() {
        Session s;
        forms::intro0->Show();
        testutil::click(forms::intro0->Label2(17));
        auto* w = forms::wizard.instance();
        QVERIFY(w && w->isVisible());
        typeWorksheet(w, QStringLiteral("Doubles"));
        testutil::screenshot(QStringLiteral("wizard-filled"));
        testutil::click(w->Label3(1));
        QCOMPARE(s.messages.size(), 1);
        QCOMPARE(s.messages[0].text, QStringLiteral("Your worksheet has been saved."));
        const QByteArray saved = s.read(QStringLiteral("multiple/Doubles.txt"));
        QVERIFY(saved.startsWith("Doubles\r\n \r\nWhat is 1& plus 1?\r\n2 caf\xE9\r\n3 caf\xE9\r\n4 caf\xE9\r\n5 caf\xE9\r\n1\r\n \r\n"));
        QCOMPARE(saved.count("\r\n"), 72);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf({"Doubles"}));
        testutil::click(w->Label3(0));  // Exit
        QVERIFY(!forms::wizard.loaded());

        testutil::click(forms::intro0->Label2(18));
        QVERIFY(!forms::intro0.loaded());
        auto* c = forms::worksheets.instance();
        QCOMPARE(c->Label2(1)->Caption(), QStringLiteral("Doubles"));
        testutil::click(c->Check1());
        testutil::click(c->Label2(1));
        w = forms::wizard.instance();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->Text1->Text(), QStringLiteral("Doubles"));
        QCOMPARE(w->Text2(6)->Text(), QStringLiteral("What is 7, plus 7?"));
        QCOMPARE(w->Text3(39)->Text(), QStringLiteral("23 café"));
        for (int i = 0; i < 40; ++i) QCOMPARE(w->Check1(i)->Value(), int(i % 4 == (i / 4) % 4));
        testutil::click(w->Label3(1));
        QCOMPARE(s.read(QStringLiteral("multiple/Doubles.txt")), saved);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf({"Doubles"}));
        testutil::click(w->Label3(0));
        testutil::click(c->Label2(0));  // Exit loads the main menu afresh
        QVERIFY(forms::intro0.loaded() && !forms::worksheets.loaded());
        QTRY_COMPARE(Module1::WorksheetCount, 1);
    }

    void editingNeverCutsLongTexts() {
        Session s;
        QByteArray bytes = worksheetBytes(QStringLiteral("Long"));
        const QString longQuestion = QString(70, QLatin1Char('q'));
        bytes.replace("Question number 1\r\n", encode1252(longQuestion) + "\r\n");
        s.write(QStringLiteral("multiple/Long.txt"), bytes);
        s.write(QStringLiteral("multiple/track.txt"), indexOf({"Long"}));
        forms::worksheets->Show();
        testutil::click(forms::worksheets->Check1());
        testutil::click(forms::worksheets->Label2(1));
        QCOMPARE(forms::wizard->Text2(0)->Text(), longQuestion);
        testutil::click(forms::wizard->Label3(1));
        QCOMPARE(s.read(QStringLiteral("multiple/Long.txt")), bytes);
    }

    void genworkChecksInOrder() {
        Session s;
        auto* w = forms::wizard.get();
        auto fill = [w] { fillValid(w, QStringLiteral("Checks")); };
        auto said = [&] { return s.messages.isEmpty() ? QString() : s.messages.takeLast().text; };
        fill();
        w->Text1->SetText(QString());
        w->Text2(2)->SetText(QString());
        w->genwork();
        QCOMPARE(said(), QStringLiteral("You have not chosen a title for your worksheet"));
        fill();
        w->Text3(14)->SetText(QString());  // question 4, answer C, with A ticked
        w->genwork();
        QCOMPARE(said(), QStringLiteral("You have not completed Question 4"));
        fill();
        w->Check1(4)->SetValue(0);  // question 2 has no tick, question 5 is empty
        w->Text2(4)->SetText(QString());
        w->genwork();
        QCOMPARE(said(), QStringLiteral("You have not ticked the correct answer for Question 2"));
        fill();
        w->Check1(38)->SetValue(1);
        w->genwork();
        QCOMPARE(said(), QStringLiteral("You have ticked more than one correct answer for Question 10"));
        fill();
        w->Text2(9)->SetText(QStringLiteral("   "));  // blanks count as filled in
        w->genwork();
        QCOMPARE(said(), QStringLiteral("Your worksheet has been saved."));
        QVERIFY(QFile::exists(s.path(QStringLiteral("multiple/Checks.txt"))));
    }

    void unsafeTitlesAreRefusedWithNothingWritten() {
        Session s;
        const QByteArray euclid = s.read(QStringLiteral("multiple/Euclid.txt"));
        const QByteArray index = indexOf({"Kept"});
        s.write(QStringLiteral("multiple/track.txt"), index);
        auto* w = forms::wizard.get();
        fillValid(w, QString());
        const QStringList bad{"../escape", "a\\b", "what?", "x:y", "star*", "quote\"", "<tag>", "pipe|",
                              "one, two", "salt & pepper", " leading", "trailing ", "dots...", "..", "tab\there",
                              "CON", "lpt1", "Com3.notes", "nul", "euclid", "łódź"};
        for (const QString& title : bad) {
            w->Text1->SetText(title);
            w->genwork();
            QVERIFY2(!s.messages.isEmpty() && !s.messages.last().text.contains(QStringLiteral("saved.")),
                     qPrintable(title));
        }
        const QStringList files = QDir(s.path(QStringLiteral("multiple"))).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{"Euclid.txt", "track.txt"}));
        QCOMPARE(s.read(QStringLiteral("multiple/Euclid.txt")), euclid);
        QVERIFY(!QFile::exists(s.path(QStringLiteral("escape.txt"))));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);

        // A text the file cannot hold is refused, naming its question.
        w->Text1->SetText(QStringLiteral("Emoji"));
        w->Text3(4 * 6 + 2)->SetText(QStringLiteral("smile 🙂"));
        w->genwork();
        QVERIFY(s.messages.last().text.startsWith(QStringLiteral("Question 7 contains a character")));
        QVERIFY(!QFile::exists(s.path(QStringLiteral("multiple/Emoji.txt"))));
    }

    void failedSavesLeaveEveryFileIntact() {
        Session s;
        const QByteArray oldSheet = worksheetBytes(QStringLiteral("Sheet"));
        const QByteArray index = indexOf({"Sheet"});
        s.write(QStringLiteral("multiple/Sheet.txt"), oldSheet);
        s.write(QStringLiteral("multiple/track.txt"), index);
        forms::worksheets->Show();
        testutil::click(forms::worksheets->Check1());
        testutil::click(forms::worksheets->Label2(1));
        auto* w = forms::wizard.instance();
        w->Text2(0)->SetText(QStringLiteral("Changed question"));

        // The disk fills while the worksheet is written: the old worksheet stays byte for byte.
        failWriteHook = [](const QString& path) { return path.endsWith(QLatin1String("Sheet.txt")); };
        testutil::click(w->Label3(1));
        QCOMPARE(s.messages.last().text, QStringLiteral("There was a problem saving your worksheet"));
        QCOMPARE(s.read(QStringLiteral("multiple/Sheet.txt")), oldSheet);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);

        // Under a new title the worksheet is written, then the index fails: neither file is left changed.
        failWriteHook = [](const QString& path) { return path.endsWith(QLatin1String("track.txt")); };
        w->Text1->SetText(QStringLiteral("Sheet two"));
        testutil::click(w->Label3(1));
        QCOMPARE(s.messages.last().text, QStringLiteral("There was a problem saving your worksheet"));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
        QVERIFY(!QFile::exists(s.path(QStringLiteral("multiple/Sheet two.txt"))));

        // No folder at all.
        failWriteHook = nullptr;
        QVERIFY(QDir(s.path(QStringLiteral("multiple"))).removeRecursively());
        testutil::click(w->Label3(1));
        QCOMPARE(s.messages.last().text, QStringLiteral("There was a problem saving your worksheet"));
        QCOMPARE(FileChannel::one().mode(), FileChannel::Mode::Closed);
    }

    void aFullCatalogueRefusesANewTitle() {
        Session s;
        QStringList titles;
        for (int i = 1; i <= 1000; ++i) titles << QStringLiteral("T%1").arg(i);
        s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, worksheetfiles::IndexAppend(QStringLiteral("One more")));
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles));
    }

    void strangeCountsNeverCrash_data() {
        QTest::addColumn<QByteArray>("index");
        QTest::newRow("not a number") << QByteArray("many\r\nA\r\n");
        QTest::newRow("negative") << QByteArray("-3\r\nA\r\n");
        QByteArray big = "2000\r\n";
        for (int i = 0; i < 1100; ++i) big += "T" + QByteArray::number(i) + "\r\n";
        QTest::newRow("above 1000") << big;
    }
    void strangeCountsNeverCrash() {
        QFETCH(QByteArray, index);
        Session s;
        s.write(QStringLiteral("multiple/track.txt"), index);
        forms::worksheets->Show();
        auto* c = forms::worksheets.instance();
        for (int p = 0; p < 41 && c->Label3(1)->Visible(); ++p) testutil::click(c->Label3(1));
        QVERIFY(Module1::CataloguePage <= 40);
        for (auto change : {worksheetfiles::IndexAppend, worksheetfiles::IndexRemove}) {
            try {
                change(QStringLiteral("T5"));
            } catch (const RuntimeError&) {
            }
        }
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), index);
    }

    void paging_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("24") << 24;
        QTest::newRow("25") << 25;
        QTest::newRow("30") << 30;
    }
    void paging() {
        QFETCH(int, count);
        Session s;
        QStringList titles;
        for (int i = 1; i <= count; ++i) titles << QStringLiteral("Worksheet %1").arg(i);
        s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
        forms::worksheets->Show();
        auto* c = forms::worksheets.instance();
        QCOMPARE(c->Label4->Caption(), QStringLiteral("Page 1"));
        QVERIFY(!c->Label3(0)->Visible());
        QCOMPARE(c->Label3(1)->Visible(), count > 24);
        for (int i = 1; i <= 24; ++i) QVERIFY(c->Label2(i)->Visible());
        if (count == 30) testutil::screenshot(QStringLiteral("catalogue-page1"));
        if (count == 24) return;
        testutil::click(c->Label3(1));
        QCOMPARE(c->Label4->Caption(), QStringLiteral("Page 2"));
        QVERIFY(c->Label3(0)->Visible());
        QVERIFY(!c->Label3(1)->Visible());
        for (int i = 1; i <= 24; ++i) QCOMPARE(c->Label2(i)->Visible(), i <= count - 24);
        QCOMPARE(c->Label2(1)->Caption(), QStringLiteral("Worksheet 25"));
        if (count == 30) testutil::screenshot(QStringLiteral("catalogue-page2"));
        testutil::click(c->Label3(0));
        QCOMPARE(c->Label4->Caption(), QStringLiteral("Page 1"));
        QVERIFY(!c->Label3(0)->Visible());
    }

    void pagingStopsAtPage41() {
        Session s;
        QStringList titles;
        for (int i = 1; i <= 1000; ++i) titles << QStringLiteral("W%1").arg(i);
        s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
        forms::worksheets->Show();
        auto* c = forms::worksheets.instance();
        while (c->Label3(1)->Visible()) testutil::click(c->Label3(1));
        QCOMPARE(c->Label4->Caption(), QStringLiteral("Page 41"));
        QCOMPARE(c->Label2(24)->Caption(), QStringLiteral("W984"));
    }

    void modesExcludeEachOther() {
        Session s;
        auto* c = forms::worksheets.get();
        testutil::click(c->Check1());
        testutil::click(c->Check2());
        QCOMPARE(c->Check1->Value(), 0);
        QCOMPARE(c->Check2->Value(), 1);
        testutil::click(c->Check1());
        QCOMPARE(c->Check2->Value(), 0);
        testutil::click(c->Check1());
        QCOMPARE(c->Check1->Value() + c->Check2->Value(), 0);
    }

    void deleteRedrawsThePage() {
        Session s;
        QStringList titles;
        for (int i = 1; i <= 30; ++i) {
            titles << QStringLiteral("Sheet %1").arg(i);
            s.write(QStringLiteral("multiple/Sheet %1.txt").arg(i), worksheetBytes(titles.last()));
        }
        s.write(QStringLiteral("multiple/track.txt"), indexOf(titles));
        forms::worksheets->Show();
        auto* c = forms::worksheets.instance();
        testutil::click(c->Check2());
        s.answer = Answer::Cancel;
        testutil::click(c->Label2(3));
        QCOMPARE(s.messages.last().text, QStringLiteral("Are you sure that you want to delete the worksheet Sheet 3?"));
        QCOMPARE(s.messages.last().caption, QString());
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles));
        s.answer = Answer::Ok;
        testutil::click(c->Label2(3));
        titles.removeAt(2);
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf(titles));
        QVERIFY(QFile::exists(s.path(QStringLiteral("multiple/Sheet 3.txt"))));  // the file stays
        QCOMPARE(c->Label2(3)->Caption(), QStringLiteral("Sheet 4"));
        QCOMPARE(c->Label2(24)->Caption(), QStringLiteral("Sheet 25"));
        for (int i = 1; i <= 24; ++i) QVERIFY(c->Label2(i)->Visible());
        QVERIFY(c->Label3(1)->Visible());

        // Page 2 now holds five; delete down to none and the page stays, buttons as they were.
        testutil::click(c->Label3(1));
        for (int n = 0; n < 5; ++n) testutil::click(c->Label2(1));
        for (int i = 1; i <= 24; ++i) QVERIFY(!c->Label2(i)->Visible());
        QCOMPARE(c->Label4->Caption(), QStringLiteral("Page 2"));
        QVERIFY(c->Label3(0)->Visible());
        QCOMPARE(Module1::WorksheetCount, 24);
    }

    void corruptedWorksheets() {
        Session s;
        QByteArray nonNumeric = worksheetBytes(QStringLiteral("Bad answer"));
        nonNumeric.replace("\r\n3\r\n \r\n", "\r\nC\r\n \r\n");
        s.write(QStringLiteral("multiple/Short.txt"), worksheetBytes(QStringLiteral("Short"), 9));
        s.write(QStringLiteral("multiple/Bad answer.txt"), nonNumeric);
        s.write(QStringLiteral("multiple/track.txt"), indexOf({"Missing", "Short", "Bad answer"}));
        forms::worksheets->Show();
        auto* c = forms::worksheets.instance();
        for (int mode : {0, 1, 2}) {  // run, edit, delete
            if (mode == 1) testutil::click(c->Check1());
            if (mode == 2) testutil::click(c->Check2());
            for (int slot : {1, 2}) {
                s.messages.clear();
                testutil::click(c->Label2(slot));
                QCOMPARE(s.messages.size(), 1);
                QCOMPARE(s.messages[0].text, QStringLiteral("This worksheet seems to be corrupted."));
            }
        }
        testutil::click(c->Check1());
        s.messages.clear();
        testutil::click(c->Label2(3));
        QCOMPARE(s.messages.size(), 1);
        QCOMPARE(s.messages[0].text, QStringLiteral("This worksheet seems to be corrupted."));
        QVERIFY(!forms::wizard.loaded());  // no half-filled wizard left behind
        QCOMPARE(s.read(QStringLiteral("multiple/track.txt")), indexOf({"Missing", "Short", "Bad answer"}));
    }

    void enterMovesTheFocus() {
        Session s;
        forms::wizard->Show();
        auto* w = forms::wizard.instance();
        QApplication::setActiveWindow(Stage::instance());
        w->Text1->SetFocus();
        QTest::keyClick(w->Text1->widget(), Qt::Key_Return);
        QVERIFY(w->Text2(0)->widget()->hasFocus());
        QTest::keyClick(w->Text2(0)->widget(), Qt::Key_Return);
        QVERIFY(w->Text3(0)->widget()->hasFocus());
        w->Text3(3)->SetFocus();
        QTest::keyClick(w->Text3(3)->widget(), Qt::Key_Return);
        QVERIFY(w->Text2(1)->widget()->hasFocus());
        w->Text3(39)->SetFocus();
        QTest::keyClick(w->Text3(39)->widget(), Qt::Key_Return);
        QVERIFY(w->Text3(39)->widget()->hasFocus());
        testutil::screenshot(QStringLiteral("wizard-empty"));
    }
};

QTEST_MAIN(WorksheetsTest)
#include "test_worksheets.moc"
