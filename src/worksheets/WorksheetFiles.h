// The worksheet files and the catalogue index in the folder "multiple".
#pragma once
#include <QString>

namespace Module1 {
// Reads the worksheet open as file number 1 into the question set.
void LoadWorksheet();
}

namespace worksheetfiles {

inline const QString IndexPath = QStringLiteral("multiple\\track.txt");

// Reads the index into WorksheetCount and WorksheetNames(1..count). On a failure (no index,
// too few titles, a count that is not a number or above 1000) what was read so far stays,
// file 1 is closed, and the failure goes on to the caller.
void IndexRead();

// Adds a newly saved title as the last line of the index, unless it is listed already.
void IndexAppend(const QString& title);
// Takes a title out of the index (the last of equal ones); a title not listed leaves the index as it is.
// The worksheet file itself stays in the folder.
void IndexRemove(const QString& title);

// The file a title is saved in: "multiple/" + title + ".txt".
QString WorksheetPath(const QString& title);
// Why a title cannot be saved (a file name it would break, or an index line that would not read back),
// or an empty text when it can.
QString TitleProblem(const QString& title);

// Texts are stored with every comma as "&"; reading turns every "&" back into a comma.
QString CommaEncode(const QString& text);
QString CommaDecode(const QString& text);

}  // namespace worksheetfiles
