#include "worksheets/Catalogue.h"
#include "platform/FileChannel.h"
#include "shell/Forms.h"
#include "shell/Module1.h"
#include "worksheets/WorksheetFiles.h"

using namespace platform;
using namespace Module1;

namespace {
constexpr FontSpec PageButtonFont{"Tahoma", 15.75, true};
constexpr quint32 Red = 0x000000FF, Blue = 0x00FF0000;

// Every step of the load goes ahead even when one before it failed.
template <class F> void skipOnFailure(F&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}
}  // namespace

worksheets::worksheets() {
    build({
        {Kind::Label, "Label1", -1, "Worksheets Catalogue", {0, 0, 12000, 780}, {"Tahoma", 24, true}, Yellow,
         DefaultColour, Centered | Transparent},
        {Kind::CheckBox, "Check1", -1, "Edit Worksheet", {120, 120, 2535, 375}, {"Tahoma", 12, true}, Yellow},
        {Kind::CheckBox, "Check2", -1, "Delete Worksheet", {9240, 120, 2535, 375}, {"Tahoma", 12, true}, Red},
        {Kind::Label, "Label2", 0, "Exit", {10560, 7920, 1245, 495}, {"Tahoma", 18, true}, Yellow, Black, Centered},
        {Kind::Label, "Label3", 0, "<< Previous Page", {2640, 7920, 3195, 495}, PageButtonFont, Yellow, Black,
         Centered | Hidden},
        {Kind::Label, "Label3", 1, "Next Page >>", {6000, 7920, 3195, 495}, PageButtonFont, Yellow, Black,
         Centered | Hidden},
        {Kind::Label, "Label4", -1, "Page 1", {120, 7920, 1995, 495}, PageButtonFont, Blue, White, Centered},
    });
    for (int i = 1; i <= 24; ++i) {
        const float left = i <= 12 ? 120 : 6120, top = 720 + 600.0f * float((i - 1) % 12);
        build({{Kind::Label, "Label2", i, "", {left, top, 5715, 375}, {"Tahoma", 12, true}, Yellow, Black, Hidden}});
    }
    Check1->onClick = [this] { Check1_Click(); };
    Check2->onClick = [this] { Check2_Click(); };
    Label2.onClick([this](int i) { Label2_Click(i); });
    Label2.onMouseMove([this](int i) { Label2_MouseMove(i); });
    Label3.onClick([this](int i) { Label3_Click(i); });
}

void worksheets::Form_Load() {
    skipOnFailure([&] { PrepareForm(*this); });
    skipOnFailure([] { worksheetfiles::IndexRead(); });
    Check1->SetBackColor(RGB(39, 63, 137));
    Check2->SetBackColor(RGB(39, 63, 137));
    CataloguePage = 0;
    for (int i = 1; i <= 24; ++i) {
        Label2(i)->SetVisible(false);
        Label2(i)->SetFont({"Tahoma", 12, true});
    }
    int last = WorksheetCount;
    if (WorksheetCount >= 25) {
        last = 24;
        Label3(1)->SetVisible(true);
    }
    for (int i = 1; i <= last; ++i) {
        Label2(i)->SetCaption(WorksheetNames[i]);
        Label2(i)->SetVisible(true);
    }
}

void worksheets::Form_MouseMove(int, int, float, float) {
    for (int i : Label2.indices()) Label2(i)->SetBackStyle(0);
}

void worksheets::Label2_MouseMove(int Index) { Label2(Index)->SetBackStyle(1); }

void worksheets::Check1_Click() {
    if (Check1->Value() == 1) Check2->SetValue(0);
}

void worksheets::Check2_Click() {
    if (Check2->Value() == 1) Check1->SetValue(0);
}

void worksheets::Label3_Click(int Index) {
    CataloguePage += Index == 0 ? -1 : 1;
    workpage();
}

void worksheets::workpage() {
    const int p = CataloguePage;
    for (int i = 1; i <= 24; ++i) {
        Label2(i)->SetCaption(QString());
        Label2(i)->SetVisible(false);
    }
    Label3(0)->SetVisible(true);
    Label3(1)->SetVisible(true);
    if (p == 0) Label3(0)->SetVisible(false);
    if (p == 40) Label3(1)->SetVisible(false);  // the 41st page never offers another
    Label4->SetCaption(QStringLiteral("Page") + Str(p + 1));
    int last = 24 * p + 24;
    if (WorksheetCount < 24 * p + 25) {
        last = WorksheetCount;
        Label3(1)->SetVisible(false);
    }
    for (int i = 24 * p + 1; i <= last; ++i) {
        Label2(i - 24 * p)->SetCaption(WorksheetNames[i]);
        Label2(i - 24 * p)->SetVisible(true);
    }
}

void worksheets::Label2_Click(int Index) {
    if (Index == 0) {
        forms::intro0->Show();
        forms::worksheets.unload();
        return;
    }
    FileChannel& file1 = FileChannel::one();
    const QString title = Label2(Index)->Caption();
    try {
        file1.OpenForInput(worksheetfiles::WorksheetPath(title));
        LoadWorksheet();
        file1.Close();
        if (Check1->Value() == 1) {
            editworksheet();
            return;
        }
        if (Check2->Value() == 0) {
            // Run it, under the main menu's picture and title (touching the menu loads it, unseen).
            forms::multiple->Picture1->SetPicture(forms::intro0->Image1->picture());
            forms::multiple->Label5->SetCaption(forms::intro0->Label1->Caption());
            forms::multiple->Show();
            return;
        }
    } catch (const std::exception&) {
        file1.Abandon();
        MsgBox(QStringLiteral("This worksheet seems to be corrupted."));
        return;
    }
    if (MsgBox(QStringLiteral("Are you sure that you want to delete the worksheet ") + title + QStringLiteral("?"),
               Buttons::OkCancel, QString()) != Answer::Ok)
        return;
    DeleteTitle = title;
    try {
        delworksheet();
    } catch (const std::exception&) {
        file1.Abandon();
        MsgBox(QStringLiteral("There was a problem removing the worksheet from the catalogue. "
                              "The catalogue has not been changed."));
        return;
    }
    const int p = CataloguePage;
    for (int i = 1; i <= 24; ++i) {
        Label2(i)->SetVisible(false);
        Label2(i)->SetCaption(WorksheetNames[i + 24 * p]);
    }
    const int m = std::min(24, WorksheetCount - 24 * p);
    for (int i = 1; i <= m; ++i) Label2(i)->SetVisible(true);
}

void worksheets::editworksheet() {
    // Every answer is checked before the wizard is touched, so a bad file leaves no half-filled wizard.
    std::array<int, 10> correct{};
    for (int q = 0; q < 10; ++q) correct[q] = int(Val(CorrectAnswer[q + 1]));
    forms::wizard->Text1->SetText(WorksheetTitle);
    for (int q = 0; q < 10; ++q) {
        forms::wizard->Text2(q)->SetText(QuestionText[q + 1]);
        forms::wizard->Text3(4 * q)->SetText(AnswerA[q + 1]);
        forms::wizard->Text3(4 * q + 1)->SetText(AnswerB[q + 1]);
        forms::wizard->Text3(4 * q + 2)->SetText(AnswerC[q + 1]);
        forms::wizard->Text3(4 * q + 3)->SetText(AnswerD[q + 1]);
        // An answer number outside 1 to 4 ticks nothing; the wizard then asks for a tick before saving.
        if (correct[q] >= 1 && correct[q] <= 4) forms::wizard->Check1(4 * q + correct[q] - 1)->SetValue(1);
    }
    forms::wizard->Show();
}

void worksheets::delworksheet() { worksheetfiles::IndexRemove(DeleteTitle); }
