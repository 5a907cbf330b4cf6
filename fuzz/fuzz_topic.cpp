// The topic reader on any bytes: it either reads a topic whose every value keeps its rules, or fails
// as a broken topic does; never anything else.
#include "core/Errors.h"
#include "core/TopicFile.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    core::Topic t;
    try {
        t = core::parseTopic(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    } catch (const core::RuntimeError&) {
        return 0;  // a broken topic: its entry stays greyed, with a log line
    }
    // A file is one folder and one name: nothing that could climb out (a name may hold dots, as "a..b.jpg").
    const auto inFolder = [](const QString& file) {
        const QStringList parts = file.split(QLatin1Char('\\'));
        return parts.size() == 2 && !parts[1].startsWith(QLatin1Char('.')) && !file.contains(QLatin1Char('/'));
    };
    // A board's kind is only looked up, so it need only be a plain word.
    const auto plainWord = [](const QString& kind) {
        return !kind.isEmpty() && std::all_of(kind.begin(), kind.end(), [](QChar c) { return c == u'-' || (c >= u'a' && c <= u'z'); });
    };
    const bool sound = t.entry >= 0 && t.entry <= 11 && !t.heading.isEmpty() && inFolder(t.picture.file) &&
                       inFolder(t.portrait.file) && !t.picture.shows.isEmpty() && !t.portrait.shows.isEmpty() &&
                       inFolder(t.quiz) && t.keyFacts.pages >= 1 && t.keyFacts.pages <= 26 && t.notes.pages >= 1 &&
                       t.notes.pages <= 26 && plainWord(t.activities[0].kind) && plainWord(t.activities[1].kind);
    if (!sound) std::abort();
    return 0;
}
