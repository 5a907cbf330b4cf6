// A pupil's results file on any bytes, as the teacher's screen reads it: no crash, every record
// believed is one that could be true, a believed record written again reads back the same, and
// the class summary of them all holds each record once.
#include "core/Results.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QDateTime now(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);
    const core::ResultsRead read = core::parseResults(bytes, now, 1000);
    std::vector<const core::ResultRecord*> all;
    for (const core::ResultRecord& r : read.records) {
        if (!r.when.isValid() || r.outOf < 1 || r.outOf > core::ResultsLimits::OutOfAtMost || r.score < 0 || r.score > r.outOf)
            std::abort();
        if (r.login.size() > core::ResultsLimits::FieldChars || r.work.size() > core::ResultsLimits::FieldChars) std::abort();
        const core::ResultsRead again = core::parseResults(core::resultsHeader() + core::resultLine(r), now, 10);
        if (again.records.size() != 1 || again.refused) std::abort();
        const core::ResultRecord& back = again.records[0];
        if (back.when != r.when || back.login != r.login || back.name != r.name || back.topic != r.topic || back.work != r.work ||
            back.score != r.score || back.outOf != r.outOf)
            std::abort();
        all.push_back(&r);
    }
    int tries = 0;
    for (const core::WorkSummary& s : core::summarise(all)) tries += s.tries;
    if (tries != int(all.size())) std::abort();
    return 0;
}
