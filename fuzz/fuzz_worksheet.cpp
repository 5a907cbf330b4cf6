// The worksheet reader on any bytes: it either reads a worksheet or fails like a damaged file, and
// what it reads is written back so that it reads the same again.
#include "platform/files/FileChannel.h"
#include "platform/files/Core.h"
#include "worksheets/WorksheetFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace worksheetfiles;
    platform::FieldReader in(platform::decode1252(QByteArray(reinterpret_cast<const char*>(data), int(size))));
    Worksheet w;
    try {
        w = ReadWorksheet([&in] { return in.next(); });
    } catch (const platform::RuntimeError&) {
        return 0;  // a short or damaged file: reported by the screen that opened it
    }
    // Texts that a worksheet can keep (as the wizard allows) must come back as they were.
    auto keepable = [](const QString& t) {
        return !t.contains(QLatin1Char('&')) && !t.trimmed().startsWith(QLatin1Char('"')) && t == t.trimmed() &&
               !t.contains(QLatin1Char('\r')) && !t.contains(QLatin1Char('\n'));
    };
    bool all = keepable(w.title);
    for (const Question& q : w.questions) {
        all = all && keepable(q.text) && keepable(q.correct) && !q.correct.contains(QLatin1Char(','));
        for (const QString& a : q.answers) all = all && keepable(a);
    }
    if (!all) return 0;
    platform::FieldReader again(platform::decode1252(WorksheetBytes(w)));
    const Worksheet back = ReadWorksheet([&again] { return again.next(); });
    if (back.title != w.title) std::abort();
    for (int q = 0; q < QuestionCount; ++q) {
        if (back.questions[q].text != w.questions[q].text || back.questions[q].correct != w.questions[q].correct)
            std::abort();
        if (back.questions[q].answers != w.questions[q].answers) std::abort();
    }
    return 0;
}
