#include "worksheets/CatalogueScreen.h"
#include "platform/screen/Accessibility.h"
#include "platform/files/FileChannel.h"
#include "platform/screen/Navigator.h"
#include "quiz/QuizScreen.h"
#include "worksheets/WizardScreen.h"
#include "core/Catalogue.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"
#include "worksheets/WorksheetFiles.h"

#include <QLoggingCategory>
#include <algorithm>

Q_LOGGING_CATEGORY(lcCatalogue, "vellacourt.catalogue")

using namespace platform;
using core::TitlesPerPage;

namespace {
using Controls = CatalogueScreen::Controls;
// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.caption = "Worksheets Catalogue", .at = {0, 0, 12000, 780},
         .font = {"Tahoma", 24, true}, .fore = Yellow, .flags = Centered | Transparent, .to = slot<&Controls::heading>},
    {.caption = "Edit Worksheet", .at = {120, 120, 2535, 375},
         .font = {"Tahoma", 12, true}, .fore = Yellow, .to = slot<&Controls::edit>},
    {.caption = "Delete Worksheet", .at = {9240, 120, 2535, 375},
         .font = {"Tahoma", 12, true}, .fore = Red, .to = slot<&Controls::remove>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = {"Tahoma", 18, true}, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exit>},
    {.caption = "<< Previous Page", .at = {2640, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden, .to = slot<&Controls::previous>},
    {.caption = "Next Page >>", .at = {6000, 7920, 3195, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hidden, .to = slot<&Controls::next>},
    {.caption = "Page 1", .at = {120, 7920, 1995, 495}, .font = theme::ButtonFont,
         .fore = Blue, .back = White, .flags = Centered, .to = slot<&Controls::pageNumber>},
};
// clang-format on
}  // namespace

CatalogueScreen::CatalogueScreen() {
    build<Layout>(m_ui);
    // clang-format off
    for (int i = 0; i < TitlesPerPage; ++i) {
        const float left = i < 12 ? 120 : 6120, top = 720 + 600.0f * float(i % 12);
        build({{.index = i, .at = {left, top, 5715, 375},
                .font = {"Tahoma", 12, true}, .fore = Yellow, .back = Black, .flags = Hidden | Hover,
                .to = slot<&Controls::titles>}}, m_ui);
    }
    // clang-format on
    // Edit and Delete exclude each other.
    m_ui.edit->onClick = [this] {
        if (m_ui.edit->isTicked()) m_ui.remove->setTicked(false);
    };
    m_ui.remove->onClick = [this] {
        if (m_ui.remove->isTicked()) m_ui.edit->setTicked(false);
    };
    for (Label* title : m_ui.titles) title->onClick = [this, title] { titleClicked(title->text()); };
    m_ui.exit->onClick = [this] { screens().returnFrom(this); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->text(); };
    m_ui.previous->onClick = [this] { turnPage(-1); };
    m_ui.next->onClick = [this] { turnPage(1); };
    // Tab goes down the first column of titles, then down the second, as the titles are listed.
    std::vector<Control*> order{m_ui.edit, m_ui.remove};
    order.insert(order.end(), m_ui.titles.begin(), m_ui.titles.end());
    setKeyboardOrder(order);
}

void CatalogueScreen::prepare() {
    skipOnFailure([&] { prepareScreen(*this); });
    skipOnFailure([] { worksheetfiles::IndexRead(); });
    m_ui.edit->setBackColor(theme::ScreenBlue);
    m_ui.remove->setBackColor(theme::ScreenBlue);
    m_page = 0;
    for (Label* title : m_ui.titles) title->setFont({"Tahoma", 12, true});
    const core::TitlePage page = core::titlePage(core::shared().worksheetCount, 0);
    if (page.next) m_ui.next->setShown(true);
    showTitles(page);
}

// The titles of a page in its slots, the rest of the slots empty and hidden.
void CatalogueScreen::showTitles(const core::TitlePage& page) {
    for (int i = 1; i <= TitlesPerPage; ++i) {
        const bool shown = i <= page.shown();
        m_ui.titles[size_t(i - 1)]->setText(shown ? core::shared().worksheetNames[page.first + i] : QString());
        m_ui.titles[size_t(i - 1)]->setShown(shown);
    }
}

void CatalogueScreen::turnPage(int step) {
    m_page += step;
    showCataloguePage();
    // The page turned, said with its titles: a reader hears where it is and what it holds.
    QStringList titles;
    for (const Label* title : m_ui.titles)
        if (!title->text().isEmpty()) titles << title->text();
    announce(m_ui.pageNumber->text() + QStringLiteral(": ") + titles.join(QStringLiteral(", ")));
}

void CatalogueScreen::showCataloguePage() {
    const core::TitlePage page = core::titlePage(core::shared().worksheetCount, m_page);
    // The keyboard stays with the page buttons: the one hidden with the keyboard on it hands it over.
    if (page.previous) m_ui.previous->setShown(true);
    if (page.next) m_ui.next->setShown(true);
    if (!page.next && page.previous && m_ui.next->widget()->hasFocus()) m_ui.previous->setFocus();
    if (!page.previous && page.next && m_ui.previous->widget()->hasFocus()) m_ui.next->setFocus();
    m_ui.previous->setShown(page.previous);
    m_ui.next->setShown(page.next);
    m_ui.pageNumber->setText(QStringLiteral("Page") + numberText(m_page + 1));
    showTitles(page);
}

void CatalogueScreen::titleClicked(const QString& title) {
    // A title is taken out of the catalogue without reading its file, so a worksheet that is
    // missing or damaged can still be removed; the file itself stays in the folder.
    if (m_ui.remove->isTicked()) {
        deleteTitle(title);
        return;
    }
    FileChannel& file1 = FileChannel::one();
    const FileOneGuard guard;
    try {
        file1.openForReading(worksheetfiles::WorksheetPath(title));
        const worksheetfiles::Worksheet w = worksheetfiles::readOpenWorksheet();
        file1.close();
        if (m_ui.edit->isTicked()) {
            editWorksheet(w);
            return;
        }
        // Run it, under the opener's portrait and title.
        QuizScreen::start(w, m_portrait, m_heading);
    } catch (const std::exception& e) {
        file1.abandon();  // before the message, so nothing is left open while it waits
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
    // empty gives way to the last one with titles (the list is read afresh as the title is taken
    // out, so other computers' deletes may have shortened it by more than one page meanwhile).
    m_page = std::min(m_page, std::max(0, core::shared().worksheetCount - 1) / TitlesPerPage);
    showCataloguePage();
}

void CatalogueScreen::editWorksheet(const worksheetfiles::Worksheet& w) {
    // Every answer is checked before the wizard is touched, so a bad file leaves no half-filled wizard.
    for (const worksheetfiles::Question& q : w.questions) toNumber(q.correct);
    WizardScreen::edit(w);
}
