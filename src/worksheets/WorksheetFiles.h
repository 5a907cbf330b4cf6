// The worksheet files and the catalogue index in the folder "multiple": their formats, read and
// written whole in one place, and the steps that keep a teacher's files safe.
#pragma once
#include "shell/Module1.h"

#include <QString>
#include <array>
#include <functional>

namespace Module1 {
// Reads the worksheet open as file number 1 into the question set.
void LoadWorksheet();
}

namespace worksheetfiles {

using Module1::QuestionCount;

inline const QString IndexPath = QStringLiteral("multiple\\track.txt");

// One worksheet as its file holds it; texts as the teacher typed them (commas, not "&").
struct Question {
    QString text;
    std::array<QString, 4> answers;  // A, B, C, D
    QString correct;                 // "1".."4" as written; a damaged file may hold anything
};
struct Worksheet {
    QString title;
    std::array<Question, QuestionCount> questions;  // question q at q - 1
};

// The fields of a worksheet in file order, from any source of fields (file number 1, a test's bytes).
using FieldSource = std::function<QString()>;
Worksheet ReadWorksheet(const FieldSource& field);
// The bytes of a worksheet file: Windows-1252, CRLF, commas stored as "&".
QByteArray WorksheetBytes(const Worksheet& w);

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
