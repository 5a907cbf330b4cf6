// The program's state, shared by its screens: the question set, the quiz and the activities, the
// catalogue list and the page viewers.
#pragma once
#include <QString>
#include <array>

namespace Module1 {

constexpr int QuestionCount = 10;   // questions on every worksheet, numbered from 1
constexpr int TitlesPerPage = 24;   // titles on one page of the catalogue
constexpr int MaxTitles = 1000;     // titles the catalogue index can hold
using QuestionTexts = std::array<QString, QuestionCount + 1>;  // 0..10, question q at q
using TitleList = std::array<QString, MaxTitles + 1>;          // 0..1000, title i at i

// The question set: the worksheet last loaded. Only LoadWorksheet writes it.
inline QString WorksheetTitle;
inline QuestionTexts QuestionText, AnswerA, AnswerB, AnswerC, AnswerD, CorrectAnswer;

// The quiz and the activities.
inline int CurrentQuestion = 0;
inline std::array<int, QuestionCount + 1> Marks{};
inline int Score = 0, OutOf = 0;
inline QString QuizHeading;

// The catalogue list as last read from the index.
inline int WorksheetCount = 0;
inline TitleList WorksheetNames;
inline int CataloguePage = 0;

// The turning logo's frame, where its last showing stopped (the next carries on from it).
inline int LogoFrame = 0;

}  // namespace Module1
