#pragma once
#include "platform/screen/Form.h"
#include "results/ResultsModels.h"

// One pupil's lines from the Pupils' Results: each finished piece of work with its date and time,
// the score and the name typed for a certificate.
class PupilResultsScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *heading = nullptr, *about = nullptr, *sortLabel = nullptr, *exportFile = nullptr,
                        *print = nullptr, *exit = nullptr;
        platform::ChoiceBox* sort = nullptr;
        platform::TableBox* table = nullptr;
    };
    PupilResultsScreen();
    // The pupil's records the class table let through, and words for the filter they passed.
    void showPupil(const QString& pupil, std::vector<core::ResultRecord> records, const QString& filterWords);
    const Controls& ui() const { return m_ui; }
    const QAbstractItemModel& shown() const { return m_sorted; }

private:
    Controls m_ui;
    QString m_pupil, m_filterWords;
    results::RecordsModel m_records;
    results::SortedRows m_sorted{&m_records};
};
