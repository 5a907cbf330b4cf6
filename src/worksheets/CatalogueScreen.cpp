#include "worksheets/CatalogueScreen.h"
#include "platform/Accessibility.h"
#include "platform/FileChannel.h"
#include "quiz/QuizScreen.h"
#include "worksheets/WizardScreen.h"
#include "core/Catalogue.h"
#include "core/Module1.h"
#include "platform/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCatalogue, "vellacourt.catalogue")

platform::FormRef<::CatalogueScreen> forms::CatalogueScreen;

using namespace platform;
using namespace Module1;

namespace {
// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.kind = Kind::Label, .name = "Label1", .caption = "Worksheets Catalogue", .at = {0, 0, 12000, 780},
         .font = {"Tahoma", 24, true}, .fore = Yellow, .flags = Centered | Transparent},
    {.kind = Kind::CheckBox, .name = "Check1", .caption = "Edit Worksheet", .at = {120, 120, 2535, 375},
         .font = {"Tahoma", 12, true}, .fore = Yellow},
    {.kind = Kind::CheckBox, .name = "Check2", .caption = "Delete Worksheet", .at = {9240, 120, 2535, 375},
         .font = {"Tahoma", 12, true}, .fore = Red},
    {.kind = Kind::Label, .name = "Label2", .index = 0, .caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = {"Tahoma", 18, true}, .fore = Yellow, .back = Black, .flags = Centered},
    {.kind = Kind::Label, .name = "Label3", .index = 0, .caption = "<< Previous Page", .at = {2640, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden},
    {.kind = Kind::Label, .name = "Label3", .index = 1, .caption = "Next Page >>", .at = {6000, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden},
    {.kind = Kind::Label, .name = "Label4", .caption = "Page 1", .at = {120, 7920, 1995, 495}, .font = theme::ButtonFont,
         .fore = Blue, .back = White, .flags = Centered},
};
// clang-format on
}  // namespace

CatalogueScreen::CatalogueScreen() {
    build(Layout);
    // clang-format off
    for (int i = 1; i <= TitlesPerPage; ++i) {
        const float left = i <= 12 ? 120 : 6120, top = 720 + 600.0f * float((i - 1) % 12);
        build({{.kind = Kind::Label, .name = "Label2", .index = i, .at = {left, top, 5715, 375},
                .font = {"Tahoma", 12, true}, .fore = Yellow, .back = Black, .flags = Hidden}});
    }
    // clang-format on
    Check1->onClick = [this] { Check1_Click(); };
    Check2->onClick = [this] { Check2_Click(); };
    Label2.onClick([this](int i) { Label2_Click(i); });
    Label2.onMouseMove([this](int i) { Label2_MouseMove(i); });
    Label3.onClick([this](int i) { Label3_Click(i); });
    // Tab goes down the first column of titles, then down the second, as the titles are listed.
    std::vector<Control*> order{Check1(), Check2()};
    for (int i = 1; i <= TitlesPerPage; ++i) order.push_back(Label2(i));
    SetTabOrder(order);
}

void CatalogueScreen::Form_Load() {
    skipOnFailure([&] { PrepareForm(*this); });
    skipOnFailure([] { worksheetfiles::IndexRead(); });
    Check1->SetBackColor(theme::ScreenBlue);
    Check2->SetBackColor(theme::ScreenBlue);
    CataloguePage = 0;
    for (int i = 1; i <= TitlesPerPage; ++i) Label2(i)->SetFont({"Tahoma", 12, true});
    const core::TitlePage page = core::titlePage(WorksheetCount, 0);
    if (page.next) Label3(1)->SetVisible(true);
    showTitles(page);
}

// The titles of a page in its slots, the rest of the slots empty and hidden.
void CatalogueScreen::showTitles(const core::TitlePage& page) {
    for (int i = 1; i <= TitlesPerPage; ++i) {
        const bool shown = i <= page.shown();
        Label2(i)->SetCaption(shown ? WorksheetNames[page.first + i] : QString());
        Label2(i)->SetVisible(shown);
    }
}

void CatalogueScreen::Form_MouseMove(int, int, float, float) {
    Label2.unhover();
}

void CatalogueScreen::Label2_MouseMove(int Index) { Label2(Index)->SetBackStyle(1); }

void CatalogueScreen::Check1_Click() {
    if (Check1->Value() == 1) Check2->SetValue(0);
}

void CatalogueScreen::Check2_Click() {
    if (Check2->Value() == 1) Check1->SetValue(0);
}

void CatalogueScreen::Label3_Click(int Index) {
    CataloguePage += Index == 0 ? -1 : 1;
    showCataloguePage();
    // The page turned, said with its titles: a reader hears where it is and what it holds.
    QStringList titles;
    for (int i = 1; i <= TitlesPerPage; ++i)
        if (!Label2(i)->Caption().isEmpty()) titles << Label2(i)->Caption();
    announce(Label4->Caption() + QStringLiteral(": ") + titles.join(QStringLiteral(", ")));
}

void CatalogueScreen::showCataloguePage() {
    const core::TitlePage page = core::titlePage(WorksheetCount, CataloguePage);
    // The keyboard stays with the page buttons: the one hidden with the keyboard on it hands it over.
    if (page.previous) Label3(0)->SetVisible(true);
    if (page.next) Label3(1)->SetVisible(true);
    if (!page.next && page.previous && Label3(1)->widget()->hasFocus()) Label3(0)->SetFocus();
    if (!page.previous && page.next && Label3(0)->widget()->hasFocus()) Label3(1)->SetFocus();
    Label3(0)->SetVisible(page.previous);
    Label3(1)->SetVisible(page.next);
    Label4->SetCaption(QStringLiteral("Page") + numberText(CataloguePage + 1));
    showTitles(page);
}

void CatalogueScreen::Label2_Click(int Index) {
    if (Index == 0) {
        if (menu.show) menu.show();
        forms::CatalogueScreen.unload();
        return;
    }
    const QString title = Label2(Index)->Caption();
    // A title is taken out of the catalogue without reading its file, so a worksheet that is
    // missing or damaged can still be removed; the file itself stays in the folder.
    if (Check2->Value() == 1) {
        deleteTitle(title);
        return;
    }
    FileChannel& file1 = FileChannel::one();
    const FileOneGuard guard;
    try {
        file1.openForReading(worksheetfiles::WorksheetPath(title));
        const worksheetfiles::Worksheet w = LoadWorksheet();
        file1.Close();
        if (Check1->Value() == 1) {
            editworksheet(w);
            return;
        }
        // Run it, under the main menu's picture and title (asking for them loads the menu, unseen).
        QuizScreen::start(menu.picture ? menu.picture() : Picture(), menu.heading ? menu.heading() : QString());
    } catch (const std::exception& e) {
        file1.Abandon();  // before the message, so nothing is left open while it waits
        qCWarning(lcCatalogue, "%s: %s", qPrintable(title), core::reasonOf(e).c_str());
        showMessage(QStringLiteral("This worksheet seems to be corrupted."));
    }
}

void CatalogueScreen::deleteTitle(const QString& title) {
    if (showMessage(QStringLiteral("Are you sure that you want to delete the worksheet ") + title + QStringLiteral("?"),
                    Buttons::OkCancel, QString()) != Answer::Ok)
        return;
    try {
        worksheetfiles::IndexRemove(title);
    } catch (const std::exception& e) {
        qCWarning(lcCatalogue, "%s: %s", qPrintable(title), core::reasonOf(e).c_str());
        showMessage(
            worksheetfiles::catalogueMessage(e, QStringLiteral("There was a problem removing the worksheet from the "
                                                               "catalogue. The catalogue has not been changed.")));
        return;
    }
    // The same page again, one title shorter, its buttons as the shorter list needs: a page left
    // empty gives way to the one before it.
    if (CataloguePage > 0 && WorksheetCount <= TitlesPerPage * CataloguePage) --CataloguePage;
    showCataloguePage();
}

void CatalogueScreen::editworksheet(const worksheetfiles::Worksheet& w) {
    // Every answer is checked before the wizard is touched, so a bad file leaves no half-filled wizard.
    for (const worksheetfiles::Question& q : w.questions) toNumber(q.correct);
    WizardScreen::edit(w);
}
