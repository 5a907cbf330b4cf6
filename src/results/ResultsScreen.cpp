#include "results/ResultsScreen.h"

#include "platform/screen/Dialogs.h"
#include "platform/screen/Navigator.h"
#include "platform/screen/PrepareForm.h"
#include "results/PupilResultsScreen.h"
#include "results/TableTools.h"

#include <algorithm>
#include <set>

using namespace platform;
using results::SummaryModel;

namespace {
using Controls = ResultsScreen::Controls;
constexpr FontDesc Small{"Tahoma", 9.75, true}, Choice{"Tahoma", 9.75}, Command = theme::ButtonFont;
constexpr int Caption = Transparent, Entry = Centered | Hover;
// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.caption = "Pupils' Results", .at = {0, 0, 12000, 780},
         .font = {"Tahoma", 24, true}, .fore = Yellow, .flags = Centered | Transparent, .to = slot<&Controls::heading>},
    {.caption = "Topic", .at = {120, 780, 3360, 300}, .font = Small, .fore = Yellow, .flags = Caption, .to = slot<&Controls::topicLabel>},
    {.caption = "From", .at = {3600, 780, 2520, 300}, .font = Small, .fore = Yellow, .flags = Caption, .to = slot<&Controls::fromLabel>},
    {.caption = "To", .at = {6240, 780, 2520, 300}, .font = Small, .fore = Yellow, .flags = Caption, .to = slot<&Controls::toLabel>},
    {.caption = "Sort by", .at = {8880, 780, 2880, 300}, .font = Small, .fore = Yellow, .flags = Caption, .to = slot<&Controls::sortLabel>},
    {.at = {120, 1080, 3360, 420}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::topic>},
    {.at = {3600, 1080, 2520, 420}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::from>},
    {.at = {6240, 1080, 2520, 420}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::to>},
    {.at = {8880, 1080, 2880, 420}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::sort>},
    {.at = {120, 1620, 11640, 5520}, .font = Choice, .fore = Black, .back = White, .to = slot<&Controls::table>},
    {.at = {120, 7200, 11640, 600}, .font = Small, .fore = Yellow, .flags = Caption, .to = slot<&Controls::status>},
    {.caption = "Pupil's Work", .at = {120, 7920, 2535, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Entry, .to = slot<&Controls::pupilsWork>},
    {.caption = "Export", .at = {2880, 7920, 1800, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Entry, .to = slot<&Controls::exportFile>},
    {.caption = "Print", .at = {4920, 7920, 1800, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Entry, .to = slot<&Controls::print>},
    {.caption = "Files Left Out", .at = {6960, 7920, 3360, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Entry | Hidden, .to = slot<&Controls::leftOut>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = Command, .fore = Yellow, .back = Black, .flags = Entry, .to = slot<&Controls::exit>},
};
// clang-format on
// Each column's width in twips (the last takes the rest), and so its share of a printed page.
const std::vector<float> Widths{1900, 1500, 3000, 700, 900, 900, 2740};
}  // namespace

ResultsScreen::ResultsScreen() {
    build<Layout>(m_ui);
    // Each list's caption is its name to a reader, not loose words beside it.
    for (auto [label, choice] : {std::pair{m_ui.topicLabel, m_ui.topic}, {m_ui.fromLabel, m_ui.from}, {m_ui.toLabel, m_ui.to},
                                 {m_ui.sortLabel, m_ui.sort}})
        label->labels = choice;
    m_ui.table->setAccessibleName(QStringLiteral("Pupils' results"));
    for (ChoiceBox* filter : {m_ui.topic, m_ui.from, m_ui.to}) filter->onChange = [this] { filterChanged(); };
    m_ui.table->onOpen = [this] { openPupil(); };
    m_ui.pupilsWork->onClick = [this] { openPupil(); };
    m_ui.exportFile->onClick = [this] {
        results::exportTable(m_sorted, QStringLiteral("Pupils' results %1.csv").arg(core::ukDate(QDate::currentDate())));
    };
    m_ui.print->onClick = [this] {
        std::vector<float> shares;
        for (float w : Widths) shares.push_back(w / 11640);
        if (results::printTable(m_ui.heading->text(), filterWords(), m_sorted, shares))
            showMessage(QStringLiteral("The results are now printing."));
    };
    m_ui.leftOut->onClick = [this] {
        constexpr qsizetype Told = 20;  // a message box a teacher can read; the log has them all
        QStringList lines = m_skipped.mid(0, Told);
        if (m_skipped.size() > Told) lines << QStringLiteral("... and %1 more.").arg(m_skipped.size() - Told);
        showMessage(QStringLiteral("Left out of the table:\n") + lines.join(u'\n'));
    };
    m_ui.exit->onClick = [this] { screens().returnFrom(this); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->text(); };
}

void ResultsScreen::prepare() {
    prepareScreen(*this);
    for (Label* l : {m_ui.topicLabel, m_ui.fromLabel, m_ui.toLabel, m_ui.sortLabel, m_ui.status}) l->setBackColor(theme::ScreenBlue);
    ResultsFolderRead read = readResultsFolder();
    m_skipped = read.skipped;
    std::set<QString> topics;
    std::set<QDate> days;
    for (const core::ResultRecord& r : read.records) {
        topics.insert(r.topic);
        days.insert(r.when.date());
    }
    m_topics.assign(topics.begin(), topics.end());
    m_days.assign(days.begin(), days.end());
    m_records.setRecords(std::move(read.records));
    QStringList topicChoices{QStringLiteral("All topics")}, dayChoices{QStringLiteral("Any date")};
    for (const QString& t : topics) topicChoices << results::topicShown(t);
    for (const QDate& d : m_days) dayChoices << core::ukDate(d);
    m_ui.topic->setChoices(topicChoices);
    m_ui.from->setChoices(dayChoices);
    m_ui.to->setChoices(dayChoices);
    m_ui.table->showRows(&m_sorted);
    m_ui.table->setColumnWidths(Widths);
    using results::Sorts;
    results::bindSorting(*m_ui.sort, *m_ui.table,
                         {Sorts::Words, Sorts::Words, Sorts::Words, Sorts::Numbers, Sorts::Numbers, Sorts::Numbers, Sorts::Dates});
    m_ui.leftOut->setShown(!m_skipped.isEmpty());
    if (!read.problem.isEmpty()) {
        m_ui.status->setText(read.problem);
        return;
    }
    showStatus();
}

void ResultsScreen::filterChanged() {
    const int topic = m_ui.topic->chosen(), from = m_ui.from->chosen(), to = m_ui.to->chosen();
    m_filter.setTopic(topic > 0 ? std::optional(m_topics[size_t(topic - 1)]) : std::nullopt);
    m_filter.setDays(from > 0 ? m_days[size_t(from - 1)] : QDate(), to > 0 ? m_days[size_t(to - 1)] : QDate());
    showStatus();
}

void ResultsScreen::showStatus() {
    std::set<QString> pupils;
    for (int i = 0; i < m_summary.rowCount(); ++i) pupils.insert(m_summary.summary(i).pupil);
    const auto count = [](qsizetype n, const char* one) { return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(one), n == 1 ? "" : "s"); };
    QString status = m_filter.rowCount() == 0
                         ? QStringLiteral("No results to show (%1).").arg(filterWords())
                         : QStringLiteral("%1 of %2 (%3).").arg(count(m_filter.rowCount(), "result"), count(qsizetype(pupils.size()), "pupil"), filterWords());
    if (!m_skipped.isEmpty())
        status += QStringLiteral(" Some files, or parts of them, were left out: see Files Left Out.");
    m_ui.status->setText(status);
}

QString ResultsScreen::filterWords() const {
    const int from = m_ui.from->chosen(), to = m_ui.to->chosen();
    const QString topic = m_ui.topic->chosen() > 0 ? m_ui.topic->chosenText() : QStringLiteral("all topics");
    if (from > 0 && to > 0) return QStringLiteral("%1, %2 to %3").arg(topic, m_ui.from->chosenText(), m_ui.to->chosenText());
    if (from > 0) return QStringLiteral("%1, from %2").arg(topic, m_ui.from->chosenText());
    if (to > 0) return QStringLiteral("%1, up to %2").arg(topic, m_ui.to->chosenText());
    return topic + QStringLiteral(", any date");
}

void ResultsScreen::openPupil() {
    const int row = m_ui.table->chosenRow();
    if (row < 0) return void(showMessage(QStringLiteral("Choose a pupil's row in the table first.")));
    const QString pupil = m_sorted.index(row, SummaryModel::Pupil).data().toString();
    std::vector<core::ResultRecord> theirs;
    for (int i = 0; i < m_filter.rowCount(); ++i)
        if (m_filter.record(i).pupil == pupil) theirs.push_back(m_filter.record(i));
    screens().show<PupilResultsScreen>().showPupil(pupil, std::move(theirs), filterWords());
}
