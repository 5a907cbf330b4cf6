// The program's sizes, and the little the screens share.
#pragma once
#include <QString>
#include <array>

namespace core {

constexpr int QuestionCount = 10;                              // questions on every worksheet, numbered from 1
constexpr int TitlesPerPage = 24;                              // titles on one page of the catalogue
constexpr int MaxTitles = 1000;                                // titles the catalogue index can hold
using QuestionTexts = std::array<QString, QuestionCount + 1>;  // 0..10, question q at q
using TitleList = std::array<QString, MaxTitles + 1>;          // 0..1000, title i at i

// What the screens share, and nothing else does: every other value is handed from screen to screen.
// One per run, made on first use; the catalogue's files keep the list, the page viewer the logo's frame.
struct Shared {
    // The catalogue list as last read from the index: titles 1..worksheetCount.
    int worksheetCount = 0;
    TitleList worksheetNames;
    // The turning logo's frame, where its last showing stopped (the next carries on from it).
    int logoFrame = 0;
};
Shared& shared();

}  // namespace core
