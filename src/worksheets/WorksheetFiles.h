// The worksheet files and the catalogue index in the folder "multiple".
#pragma once
#include <QString>

namespace Module1 {
// Reads the worksheet open as file number 1 into the question set.
void LoadWorksheet();
}

namespace worksheets {

inline const QString IndexPath = QStringLiteral("multiple\\track.txt");

// Reads the index into WorksheetCount and WorksheetNames(1..count). On a failure (no index,
// too few titles, a count that is not a number or above 1000) what was read so far stays,
// file 1 is closed, and the failure goes on to the caller.
void IndexRead();

// Texts are stored with every comma as "&"; reading turns every "&" back into a comma.
QString CommaEncode(const QString& text);
QString CommaDecode(const QString& text);

}  // namespace worksheets
