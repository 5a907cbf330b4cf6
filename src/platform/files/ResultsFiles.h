// The results folder of the working folder: each user's own file, `results/<login>.csv`, appended as
// work is finished, and the whole folder read for the teacher's screen.
//
// Recording is on when a folder `results` stands in the working folder. In a school that folder is
// sticky and setgid, its group the teachers', and pupils may make files in it but not list it:
// a pupil's program reaches it by an O_PATH descriptor, never by listing, and writes only a plain
// file that the pupil owns, never through a link. Every file there is a pupil's own writing, so the
// teacher's program reads each one bounded in size, lines and time, and believes a line's login only
// where the file's owner has that login.
#pragma once
#include "core/Results.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

constexpr char ResultsFolder[] = "results";

// The account the program runs under (not the environment's idea of it).
QString currentLogin();

// One line at start when the results folder's modes would let a pupil read (or remove) another's
// results; empty when they do not, or when there is no such folder.
QString resultsFolderWarning();

// Appends the record to this user's results file, filling in the login. Empty when it was written or
// recording is off; otherwise why it could not be, said only the first time in a run (then empty).
QString recordResult(core::ResultRecord record);

// Every results file of the folder, as far as it can be read within `budgetMs`: the records (each
// with the pupil the teacher sees it under), and the files, or parts, left out and why.
struct ResultsFolderRead {
    std::vector<core::ResultRecord> records;
    QStringList skipped;   // "anna.csv: a link, not a file", one line a file
    QString problem;       // the folder itself could not be read
};
ResultsFolderRead readResultsFolder(int budgetMs = 1500);

// Bounds on the whole folder: files looked at, records kept in all.
struct ResultsFolderLimits {
    static constexpr int Files = 5000;
    static constexpr int Records = 200000;
    static constexpr int RecordsPerFile = 20000;
};

}  // namespace platform
