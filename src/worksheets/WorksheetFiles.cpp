#include "worksheets/WorksheetFiles.h"
#include "platform/FileChannel.h"
#include "platform/Vb.h"
#include "shell/Module1.h"

using namespace platform;

namespace worksheetfiles {

static FileChannel& file1() { return FileChannel::one(); }

void IndexRead() {
    using namespace Module1;
    file1().OpenForInput(IndexPath);
    try {
        const QString count = file1().InputField();
        try {
            WorksheetCount = int(Val(count));
        } catch (const RuntimeError&) {
            WorksheetCount = 0;
            throw;
        }
        for (int i = 1; i <= WorksheetCount; ++i) {
            if (i >= int(WorksheetNames.size())) throw RuntimeError(ErrSubscript, QStringLiteral("Subscript out of range"));
            WorksheetNames[i] = file1().InputField();
        }
    } catch (...) {
        file1().Abandon();
        throw;
    }
    file1().Close();
}

// Writes the whole index anew; the old one stays until the new one is complete.
static void IndexWrite(int count, const std::array<QString, 1001>& names) {
    file1().OpenForOutput(IndexPath);
    try {
        file1().PrintNumber(count);
        for (int i = 1; i <= count; ++i) file1().PrintLine(names[i]);
        file1().Close();
    } catch (...) {
        file1().Abandon();
        throw;
    }
}

void IndexAppend(const QString& title) {
    using namespace Module1;
    IndexRead();
    for (int i = 1; i <= WorksheetCount; ++i)
        if (WorksheetNames[i] == title) return;
    const int count = WorksheetCount + 1;
    if (count < 1 || count >= int(WorksheetNames.size()))
        throw RuntimeError(ErrSubscript, QStringLiteral("The catalogue is full"));
    std::array<QString, 1001> names = WorksheetNames;
    names[count] = title;
    IndexWrite(count, names);
    WorksheetNames[count] = title;
}

void IndexRemove(const QString& title) {
    using namespace Module1;
    IndexRead();
    int p = 0;
    for (int i = 1; i <= WorksheetCount; ++i)
        if (WorksheetNames[i] == title) p = i;
    if (p == 0) return;
    // The list in memory changes only once the index on disk has.
    std::array<QString, 1001> names = WorksheetNames;
    for (int i = p; i < WorksheetCount; ++i) names[i] = names[i + 1];
    IndexWrite(WorksheetCount - 1, names);
    WorksheetNames = names;
    WorksheetCount = WorksheetCount - 1;
}

QString WorksheetPath(const QString& title) { return QStringLiteral("multiple/") + title + QStringLiteral(".txt"); }

QString TitleProblem(const QString& title) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|,&");
    for (const QChar c : title) {
        if (forbidden.contains(c))
            return QStringLiteral("A worksheet title cannot contain any of these characters:  \\  /  :  *  ?  \"  <  >  |  ,  &\n"
                                  "Please choose another title.");
        if (c.unicode() < 32 || c.unicode() == 127)
            return QStringLiteral("A worksheet title cannot contain control characters. Please choose another title.");
    }
    if (title.startsWith(QLatin1Char(' ')))
        return QStringLiteral("A worksheet title cannot begin with a blank. Please choose another title.");
    if (title.endsWith(QLatin1Char(' ')) || title.endsWith(QLatin1Char('.')))
        return QStringLiteral("A worksheet title cannot end with a blank or a full stop. Please choose another title.");
    const QString stem = title.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList reserved = [] {
        QStringList r{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (int i = 1; i <= 9; ++i) r << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        return r;
    }();
    if (reserved.contains(stem))
        return QStringLiteral("\"%1\" is a name the computer keeps for itself. Please choose another title.").arg(title);
    if (title.compare(QStringLiteral("Euclid"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("The title Euclid belongs to Euclid's own quiz. Please choose another title.");
    if (!canEncode1252(title))
        return QStringLiteral("The worksheet title contains a character that cannot be saved in a worksheet. "
                              "Please choose another title.");
    return {};
}

QString CommaEncode(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char(','), QLatin1Char('&'));
}

QString CommaDecode(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QLatin1Char(','));
}

}  // namespace worksheetfiles

namespace Module1 {

void LoadWorksheet() {
    FileChannel& f = FileChannel::one();
    WorksheetTitle = worksheetfiles::CommaDecode(f.InputField());
    f.InputField();
    for (int q = 1; q <= 10; ++q) {
        QuestionText[q] = worksheetfiles::CommaDecode(f.InputField());
        AnswerA[q] = worksheetfiles::CommaDecode(f.InputField());
        AnswerB[q] = worksheetfiles::CommaDecode(f.InputField());
        AnswerC[q] = worksheetfiles::CommaDecode(f.InputField());
        AnswerD[q] = worksheetfiles::CommaDecode(f.InputField());
        CorrectAnswer[q] = f.InputField();
        f.InputField();
    }
}

}  // namespace Module1
