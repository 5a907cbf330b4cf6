// The program's shared globals and its two shared procedures.
#pragma once
#include <QString>
#include <array>

namespace platform { class Form; }

namespace Module1 {

// The question set: the worksheet last loaded. Only LoadWorksheet writes it.
inline QString WorksheetTitle;
inline std::array<QString, 11> QuestionText, AnswerA, AnswerB, AnswerC, AnswerD, CorrectAnswer;

// The quiz and the activities.
inline int CurrentQuestion = 0;
inline std::array<int, 11> Marks{};
inline int Score = 0, OutOf = 0;
inline QString QuizHeading;

// The catalogue list as last read from the index.
inline int WorksheetCount = 0;
inline std::array<QString, 1001> WorksheetNames;
inline int CataloguePage = 0;
inline QString DeleteTitle;

// The page viewers.
inline int PageNumber = 0, PageCount = 0;
inline QString PageStem;
inline int LogoFrame = 0;

// Gives a screen the standard frame: size, colours, caption, centred on the screen.
void PrepareForm(platform::Form& form);

}  // namespace Module1
