#pragma once
#include "platform/files/ResultsFiles.h"
#include "platform/screen/Form.h"
#include "results/ResultsModels.h"

// The teacher's Pupils' Results: a row for each pupil and piece of work in the results folder, with
// the tries, the latest and the best score and the day of the latest; filtered by topic and between
// two days, sorted by any column; a pupil's own lines, the table as a file and on paper.
class ResultsScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *heading = nullptr, *topicLabel = nullptr, *fromLabel = nullptr, *toLabel = nullptr,
                        *sortLabel = nullptr, *status = nullptr, *pupilsWork = nullptr, *exportFile = nullptr,
                        *print = nullptr, *leftOut = nullptr, *exit = nullptr;
        platform::ChoiceBox *topic = nullptr, *from = nullptr, *to = nullptr, *sort = nullptr;
        platform::TableBox* table = nullptr;
    };
    ResultsScreen();
    void prepare() override;
    const Controls& ui() const { return m_ui; }
    // The table as shown (filtered and sorted).
    const QAbstractItemModel& shown() const { return m_sorted; }

private:
    Controls m_ui;
    results::RecordsModel m_records;
    results::RecordFilter m_filter{&m_records};
    results::SummaryModel m_summary{&m_filter};
    results::SortedRows m_sorted{&m_summary};
    QStringList m_skipped;
    std::vector<QString> m_topics;  // the topics with results, as the topic list offers them
    std::vector<QDate> m_days;      // the days with results, in order
    void filterChanged();
    void showStatus();
    void openPupil();
    QString filterWords() const;
};
