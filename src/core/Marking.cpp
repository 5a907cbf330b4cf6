#include "core/Marking.h"
#include "core/Errors.h"
#include "core/NumberText.h"

namespace core {

int markOf(const QString& correctField, int ticked) {
    long long k = 0;
    try {
        k = toNumber(correctField);
    } catch (const RuntimeError&) {
        return 0;
    }
    return k >= 1 && k <= 4 && k == ticked ? 1 : 0;
}

QStringList wrongAnswerLines(const std::array<int, core::QuestionCount + 1>& marks,
                             const core::QuestionTexts& questions) {
    QStringList lines;
    for (int i = 1; i <= core::QuestionCount; ++i)
        if (marks[i] == 0) lines << numberText(i) + QStringLiteral(". ") + questions[i];
    return lines;
}

Tier tierOf(int score, int outOf) {
    if (score == outOf) return Tier::Perfect;
    if (score == outOf - 1 || score == outOf - 2) return Tier::Good;
    return Tier::Fewer;
}

QString scoredSentence(int score, int outOf) {
    return QStringLiteral("You have scored") + numberText(score) + QStringLiteral(" out of") + numberText(outOf) +
           QStringLiteral(".");
}

QString scoreLine(int score, int outOf) {
    switch (tierOf(score, outOf)) {
    case Tier::Perfect: return QStringLiteral("Excellent work. ") + scoredSentence(score, outOf);
    case Tier::Good: return QStringLiteral("Good work. ") + scoredSentence(score, outOf);
    default: return scoredSentence(score, outOf);
    }
}

}  // namespace core
