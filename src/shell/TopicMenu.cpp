#include "shell/TopicMenu.h"
#include "shell/Forms.h"
#include "platform/FileChannel.h"
#include "shell/Module1.h"
#include "worksheets/WorksheetFiles.h"

using namespace platform;

namespace {
constexpr FontSpec EntryFont{"Tahoma", 15.75, true};
constexpr int EntryFlags = Border | Centered;
}  // namespace

euclid::euclid() {
    build({
        {Kind::Label, "Label1", -1, "Euclid", {240, 0, 6000, 900}, {"Times New Roman", 27.75, true}, Yellow,
         DefaultColour, Transparent},
        {Kind::Label, "label3", 0, "Multiple Choice", {120, 7920, 3195, 495}, EntryFont, Yellow, Black, EntryFlags},
        {Kind::Label, "label3", 1, "Products of Primes", {3600, 7920, 3195, 495}, EntryFont, Yellow, Black, EntryFlags},
        {Kind::Label, "label3", 2, "Exit", {10560, 7920, 1245, 495}, EntryFont, Yellow, Black, EntryFlags},
        {Kind::Label, "label3", 3, "Nets of Dice", {7080, 7920, 3195, 495}, EntryFont, Yellow, Black, EntryFlags},
        {Kind::Label, "label3", 4, "Key Facts", {6360, 120, 1995, 495}, EntryFont, Yellow, Black, EntryFlags},
        {Kind::Label, "label3", 5, "Teacher's Notes", {8640, 120, 3195, 495}, EntryFont, Yellow, Black, EntryFlags},
    });
    label3.onClick([this](int i) { label3_Click(i); });
    label3.onMouseMove([this](int i) { label3_MouseMove(i); });
}

void euclid::Form_Load() {
    Module1::PrepareForm(*this);
    SetBackColor(RGB(39, 63, 137));
    SetPicture(LoadPictureOrEmpty(QStringLiteral("Images\\euclid.jpg")));
}

void euclid::Form_MouseMove(int, int, float, float) {
    for (int i : label3.indices()) label3(i)->SetBackStyle(0);
}

void euclid::label3_MouseMove(int Index) { label3(Index)->SetBackStyle(1); }

// Reads Euclid's own quiz into the question set. A missing or damaged file is said plainly and
// no quiz starts, so no pupil is shown a half-replaced question set.
bool euclid::loadEuclidsWorksheet() {
    FileChannel& file1 = FileChannel::one();
    try {
        file1.OpenForInput(QStringLiteral("multiple\\Euclid.txt"));
        Module1::LoadWorksheet();
        file1.Close();
        return true;
    } catch (const std::exception&) {
        file1.Abandon();
        MsgBox(QStringLiteral("Euclid's quiz cannot be opened: the file multiple\\Euclid.txt is missing or damaged."));
        return false;
    }
}

void euclid::label3_Click(int Index) {
    switch (Index) {
    case 0:
        if (!loadEuclidsWorksheet()) return;
        forms::multiple->Picture1->SetPicture(LoadPictureOrEmpty(QStringLiteral("images\\euclidsm.jpg")));
        forms::multiple->Label5->SetCaption(QStringLiteral("Vellacourt Numerists"));
        forms::multiple->Show();
        break;
    case 2:
        forms::intro0->Show();
        forms::euclid.unload();
        break;
    default:
        break;  // the activities and the pages arrive with their screens
    }
}
