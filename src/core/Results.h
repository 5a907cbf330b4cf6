// Pupils' results: one line of a pupil's results file for each finished quiz or board, read back
// for the teacher. A results file is written by its pupil's program, but a pupil may write anything
// into their own file: reading it is bounded and believes only what makes sense.
#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace core {

// One finished piece of work.
struct ResultRecord {
    QDateTime when;      // local time with its offset, as the pupil's computer had it
    QString login;       // the account that did the work
    QString name;        // the name typed for a certificate, if any
    QString topic;       // the mathematician; empty for a teacher's worksheet
    QString work;        // the quiz's title or the board's name
    int score = 0, outOf = 0;
    // Whom the teacher's screen shows it under: the login where the file's owner is that login,
    // otherwise words that say whose file it was (never written to a file).
    QString pupil;
};

// The file's first line, and one line for a record (RFC 4180, CRLF, quoted where a field needs it).
QByteArray resultsHeader();
QByteArray resultLine(const ResultRecord& r);

// What a results file may hold, far beyond years of a pupil's work (a line is about 100 bytes).
struct ResultsLimits {
    static constexpr qint64 FileBytes = 1 << 20;
    static constexpr int FieldChars = 200;     // a longer field is not one of ours
    static constexpr int OutOfAtMost = 1000;
};

// A results file read: the records that make sense, and how many lines did not.
struct ResultsRead {
    std::vector<ResultRecord> records;
    int refused = 0;           // lines that are not a record, or whose date or score cannot be true
    bool cut = false;          // stopped at `maxRecords`
};
// Reads at most `maxRecords` records from `bytes` (broken UTF-8 is read with replacement characters).
// A record dated before 2000 or more than a day after `now` is refused, as is a score above its out-of.
ResultsRead parseResults(const QByteArray& bytes, const QDateTime& now, int maxRecords);

// A cell written so that a spreadsheet shows it as text and never runs it as a formula.
QString neutralisedCell(const QString& cell);
// Rows of cells as a CSV file (RFC 4180, CRLF), every cell neutralised.
QByteArray csvOf(const QStringList& header, const std::vector<QStringList>& rows);

// A pupil's results for one piece of work: tries, the latest and the best (the earliest of equals).
struct WorkSummary {
    QString pupil, topic, work;
    int tries = 0;
    const ResultRecord* latest = nullptr;
    const ResultRecord* best = nullptr;
};
// By pupil, topic and work; the records must outlive the summaries.
std::vector<WorkSummary> summarise(const std::vector<const ResultRecord*>& records);

// "7/10", and the date as a UK school writes it ("8 December 2026").
QString scoreText(int score, int outOf);
QString ukDate(const QDate& d);

}  // namespace core
