#include "results/ResultsModels.h"

namespace results {

namespace {
// A score's worth as a fraction, so that 9/10 sorts above 8/9.
double fraction(const core::ResultRecord& r) { return double(r.score) / r.outOf; }
QString dayAndTime(const QDateTime& t) {
    return core::ukDate(t.date()) + QStringLiteral(", ") + t.toString(QStringLiteral("HH:mm"));
}
}  // namespace

QString topicShown(const QString& topic) { return topic.isEmpty() ? QStringLiteral("Worksheet") : topic; }

void RecordsModel::setRecords(std::vector<core::ResultRecord> records) {
    beginResetModel();
    m_records = std::move(records);
    endResetModel();
}

QVariant RecordsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != SortRole)) return {};
    const core::ResultRecord& r = record(index.row());
    const bool sort = role == SortRole;
    switch (index.column()) {
    // Two lines of one second sort in the order they were written.
    case When: return sort ? QVariant(r.when.toSecsSinceEpoch() * 1000000 + index.row()) : QVariant(dayAndTime(r.when));
    case Topic: return topicShown(r.topic);
    case Work: return r.work;
    case Score: return sort ? QVariant(fraction(r)) : core::scoreText(r.score, r.outOf);
    case Name: return r.name;
    }
    return {};
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const names[] = {"Date", "Topic", "Work", "Score", "Certificate name"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns) return {};
    return QString::fromLatin1(names[section]);
}

RecordFilter::RecordFilter(RecordsModel* records, QObject* parent) : QSortFilterProxyModel(parent), m_records(records) {
    setSourceModel(records);
}

void RecordFilter::setTopic(std::optional<QString> topic) {
    m_topic = std::move(topic);
    invalidateFilter();
}

void RecordFilter::setDays(QDate from, QDate to) {
    m_from = from;
    m_to = to;
    invalidateFilter();
}

void RecordFilter::setPupil(std::optional<QString> pupil) {
    m_pupil = std::move(pupil);
    invalidateFilter();
}

const core::ResultRecord& RecordFilter::record(int row) const { return m_records->record(mapToSource(index(row, 0)).row()); }

bool RecordFilter::filterAcceptsRow(int row, const QModelIndex&) const {
    const core::ResultRecord& r = m_records->record(row);
    // The day as the pupil's computer had it: the day the pupil did the work.
    const QDate day = r.when.date();
    return (!m_topic || r.topic == *m_topic) && (!m_pupil || r.pupil == *m_pupil) && (!m_from.isValid() || day >= m_from) &&
           (!m_to.isValid() || day <= m_to);
}

SummaryModel::SummaryModel(RecordFilter* filtered, QObject* parent) : QAbstractTableModel(parent), m_filtered(filtered) {
    // Whatever changes in the records the filter lets through, the class table is summed again.
    connect(filtered, &QAbstractItemModel::modelReset, this, &SummaryModel::rebuild);
    connect(filtered, &QAbstractItemModel::layoutChanged, this, &SummaryModel::rebuild);
    connect(filtered, &QAbstractItemModel::rowsInserted, this, &SummaryModel::rebuild);
    connect(filtered, &QAbstractItemModel::rowsRemoved, this, &SummaryModel::rebuild);
    rebuild();
}

void SummaryModel::rebuild() {
    std::vector<const core::ResultRecord*> records;
    records.reserve(size_t(m_filtered->rowCount()));
    for (int i = 0; i < m_filtered->rowCount(); ++i) records.push_back(&m_filtered->record(i));
    beginResetModel();
    m_rows = core::summarise(records);
    endResetModel();
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != SortRole)) return {};
    const core::WorkSummary& s = summary(index.row());
    const bool sort = role == SortRole;
    switch (index.column()) {
    case Pupil: return s.pupil;
    case Topic: return topicShown(s.topic);
    case Work: return s.work;
    case Tries: return s.tries;
    case Latest: return sort ? QVariant(fraction(*s.latest)) : core::scoreText(s.latest->score, s.latest->outOf);
    case Best: return sort ? QVariant(fraction(*s.best)) : core::scoreText(s.best->score, s.best->outOf);
    case LastTried: return sort ? QVariant(s.latest->when) : core::ukDate(s.latest->when.date());
    }
    return {};
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const names[] = {"Pupil", "Topic", "Work", "Tries", "Latest", "Best", "Last tried"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns) return {};
    return QString::fromLatin1(names[section]);
}

SortedRows::SortedRows(QAbstractItemModel* source, QObject* parent) : QSortFilterProxyModel(parent) {
    setSourceModel(source);
    setSortRole(SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

std::vector<QStringList> cellsOf(const QAbstractItemModel& shown) {
    std::vector<QStringList> rows(size_t(shown.rowCount()) + 1);
    for (int c = 0; c < shown.columnCount(); ++c) rows[0] << shown.headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < shown.rowCount(); ++r)
        for (int c = 0; c < shown.columnCount(); ++c) rows[size_t(r) + 1] << shown.index(r, c).data().toString();
    return rows;
}

}  // namespace results
