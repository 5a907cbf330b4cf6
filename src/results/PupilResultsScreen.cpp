#include "results/PupilResultsScreen.h"

#include "platform/screen/Dialogs.h"
#include "platform/screen/Navigator.h"
#include "platform/screen/PrepareForm.h"
#include "results/TableTools.h"

using namespace platform;

namespace {
using Controls = PupilResultsScreen::Controls;
constexpr FontDesc Small{"Tahoma", 9.75, true}, Choice{"Tahoma", 9.75}, Command = theme::ButtonFont;
// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {0, 0, 12000, 780}, .font = {"Tahoma", 24, true}, .fore = Yellow, .flags = Centered | Transparent,
         .to = slot<&Controls::heading>},
    {.at = {120, 1080, 8520, 420}, .font = Small, .fore = Yellow, .flags = Transparent, .to = slot<&Controls::about>},
    {.caption = "Sort by", .at = {8880, 780, 2880, 300}, .font = Small, .fore = Yellow, .flags = Transparent,
         .to = slot<&Controls::sortLabel>},
    {.at = {8880, 1080, 2880, 420}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::sort>},
    {.at = {120, 1620, 11640, 6120}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::table>},
    {.caption = "Export", .at = {120, 7920, 1800, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exportFile>},
    {.caption = "Print", .at = {2160, 7920, 1800, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::print>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exit>},
};
// clang-format on
const std::vector<float> Widths{2700, 1600, 3300, 900, 3140};
}  // namespace

PupilResultsScreen::PupilResultsScreen() {
    build<Layout>(m_ui);
    m_ui.sortLabel->labels = m_ui.sort;  // the list's name to a reader
    m_ui.exportFile->onClick = [this] {
        results::exportTable(m_sorted, QStringLiteral("Results of %1 %2.csv").arg(m_pupil, core::ukDate(QDate::currentDate())));
    };
    m_ui.print->onClick = [this] {
        std::vector<float> shares;
        for (float w : Widths) shares.push_back(w / 11640);
        if (results::printTable(m_ui.heading->text(), m_filterWords, m_sorted, shares))
            showMessage(QStringLiteral("The results are now printing."));
    };
    m_ui.exit->onClick = [this] { screens().returnFrom(this); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->text(); };
}

void PupilResultsScreen::showPupil(const QString& pupil, std::vector<core::ResultRecord> records, const QString& filterWords) {
    prepareScreen(*this);
    m_ui.sortLabel->setBackColor(theme::ScreenBlue);
    m_pupil = pupil;
    m_filterWords = filterWords;
    m_ui.heading->setText(QStringLiteral("Results of %1").arg(pupil));
    const int count = int(records.size());
    m_records.setRecords(std::move(records));
    m_ui.about->setText(QStringLiteral("%1 %2 (%3).").arg(count).arg(count == 1 ? "result" : "results", filterWords));
    m_ui.table->showRows(&m_sorted);
    m_ui.table->setColumnWidths(Widths);
    using results::Sorts;
    results::bindSorting(*m_ui.sort, *m_ui.table, {Sorts::Dates, Sorts::Words, Sorts::Words, Sorts::Numbers, Sorts::Words});
}
