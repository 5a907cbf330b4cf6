// Marking: a quiz answer, the wrong answers to review, and what a score says.
#pragma once
#include "core/Shared.h"

#include <QStringList>

namespace core {

// The mark for a question: 1 when the answer ticked (1 to 4; 0 for none) is the one its answer
// field names. A field that is not a number from 1 to 4 cannot be answered right.
int markOf(const QString& correctField, int ticked);

// The lines of the review, one for each question marked 0, in order: " 3. The question".
QStringList wrongAnswerLines(const std::array<int, core::QuestionCount + 1>& marks,
                             const core::QuestionTexts& questions);

// A score's tier: every mark, all but one or two, or fewer.
enum class Tier { Perfect, Good, Fewer };
Tier tierOf(int score, int outOf);
// "You have scored 9 out of 10." as the score screen and the certificate word it.
QString scoredSentence(int score, int outOf);
// The score screen's first line: the sentence, praised as its tier deserves.
QString scoreLine(int score, int outOf);

}  // namespace core
