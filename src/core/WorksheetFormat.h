// The worksheet and catalogue index formats: Windows-1252 text with CRLF line ends, the same bytes
// as worksheets made on Windows machines; and which titles can be kept as file names.
#pragma once
#include "core/Shared.h"
#include "core/TopicFile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace worksheetfiles {

using core::QuestionCount;

// One worksheet as its file holds it; texts as the teacher typed them (commas, not "&").
struct Question {
    QString text;
    std::array<QString, 4> answers;  // A, B, C, D
    QString correct;                 // "1".."4" as written; a damaged file may hold anything
    bool operator==(const Question&) const = default;
};
struct Worksheet {
    QString title;
    std::array<Question, QuestionCount> questions;  // question q at q - 1
    bool operator==(const Worksheet&) const = default;
};

// The fields of a worksheet in file order, from any source of fields (file number 1, a test's bytes).
using FieldSource = std::function<QString()>;
Worksheet ReadWorksheet(const FieldSource& field);
// The bytes of a worksheet file: Windows-1252, CRLF, commas stored as "&".
QByteArray WorksheetBytes(const Worksheet& w);

// The file a title is saved in: "multiple/" + title + ".txt".
QString WorksheetPath(const QString& title);
// Why a title cannot be saved (a file name it would break, or an index line that would not read back),
// or an empty text when it can. The topics present keep their quizzes' titles.
QString TitleProblem(const QString& title, const std::vector<core::Topic>& topics);

// A title as an index line that reads back as the same title (quoted where it holds a comma or begins
// with a blank), and the index bytes for a list.
QString IndexLine(const QString& title);
QByteArray IndexBytes(int count, const core::TitleList& names);

// Texts are stored with every comma as "&"; reading turns every "&" back into a comma.
QString CommaEncode(const QString& text);
QString CommaDecode(const QString& text);

}  // namespace worksheetfiles
