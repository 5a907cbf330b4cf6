// The teacher's tables over pupils' results, as Qt's model/view has them: every record read; those
// a teacher's filter lets through; and the class table, a row for each pupil and piece of work.
#pragma once
#include "core/Results.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QSortFilterProxyModel>
#include <optional>

namespace results {

// The value a column sorts by (a date, a fraction), where its words would sort wrongly.
constexpr int SortRole = Qt::UserRole;

// A topic as the teacher's screens name it: a teacher's own worksheet has none.
QString topicShown(const QString& topic);

// Every record read, one row each: a pupil's lines.
class RecordsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { When, Topic, Work, Score, Name, Columns };
    void setRecords(std::vector<core::ResultRecord> records);
    const core::ResultRecord& record(int row) const { return m_records[size_t(row)]; }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_records.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Columns; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<core::ResultRecord> m_records;
};

// The records a teacher asked for: of one topic (or all), between two days (either open), of one
// pupil (or all).
class RecordFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit RecordFilter(RecordsModel* records, QObject* parent = nullptr);
    void setTopic(std::optional<QString> topic);
    void setDays(QDate from, QDate to);
    void setPupil(std::optional<QString> pupil);
    const core::ResultRecord& record(int row) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    RecordsModel* m_records;
    std::optional<QString> m_topic, m_pupil;
    QDate m_from, m_to;
};

// The class table: for each pupil and piece of work among the filter's records, the tries, the latest
// and the best score, and the day of the latest.
class SummaryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Pupil, Topic, Work, Tries, Latest, Best, LastTried, Columns };
    explicit SummaryModel(RecordFilter* filtered, QObject* parent = nullptr);
    const core::WorkSummary& summary(int row) const { return m_rows[size_t(row)]; }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Columns; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rebuild();
    RecordFilter* m_filtered;
    std::vector<core::WorkSummary> m_rows;
};

// A model sorted by SortRole, for a table the teacher sorts by any column.
class SortedRows : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit SortedRows(QAbstractItemModel* source, QObject* parent = nullptr);
};

// What a table shows, its headings first, as text cells (for a file or a printout).
std::vector<QStringList> cellsOf(const QAbstractItemModel& shown);

}  // namespace results
