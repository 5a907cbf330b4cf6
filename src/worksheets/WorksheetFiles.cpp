#include "worksheets/WorksheetFiles.h"
#include "platform/FileChannel.h"
#include "platform/Vb.h"
#include "shell/Module1.h"

using namespace platform;

namespace worksheets {

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

QString CommaEncode(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char(','), QLatin1Char('&'));
}

QString CommaDecode(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QLatin1Char(','));
}

}  // namespace worksheets

namespace Module1 {

void LoadWorksheet() {
    FileChannel& f = FileChannel::one();
    WorksheetTitle = worksheets::CommaDecode(f.InputField());
    f.InputField();
    for (int q = 1; q <= 10; ++q) {
        QuestionText[q] = worksheets::CommaDecode(f.InputField());
        AnswerA[q] = worksheets::CommaDecode(f.InputField());
        AnswerB[q] = worksheets::CommaDecode(f.InputField());
        AnswerC[q] = worksheets::CommaDecode(f.InputField());
        AnswerD[q] = worksheets::CommaDecode(f.InputField());
        CorrectAnswer[q] = f.InputField();
        f.InputField();
    }
}

}  // namespace Module1
