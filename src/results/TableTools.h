// What the teacher's results tables share: a "Sort by" list kept as one with the table's headings,
// and the table as a CSV file or on paper.
#pragma once
#include "platform/screen/Controls.h"

#include <QAbstractItemModel>
#include <vector>

namespace results {

// How a column sorts, so that its choices read as a teacher would say them.
enum class Sorts { Words, Numbers, Dates };
// Fills `choice` with each column in both orders ("Pupil, A to Z", "Best, highest first") and keeps
// it and the table's headings as one: a choice sorts the table, a click on a heading moves the choice.
void bindSorting(platform::ChoiceBox& choice, platform::TableBox& table, const std::vector<Sorts>& columns);

// Writes what the table shows to a CSV file the teacher chooses, no cell of it a formula a
// spreadsheet would run; says what came of it.
void exportTable(const QAbstractItemModel& shown, const QString& suggestedName);

// Prints the table on the default queue's paper: `title` and `about` above, the headings on every
// page, each column its share of the width (a cell too long for it ends in "..."), and the date
// with "Page X of Y" at the foot of each page. True if the printing system took it.
bool printTable(const QString& title, const QString& about, const QAbstractItemModel& shown, const std::vector<float>& shares);

}  // namespace results
