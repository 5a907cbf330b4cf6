// A topic's boards on paper, for the teacher: each board a freshly drawn problem as a sheet to do by
// hand, followed by its answer key.
#pragma once
#include "core/TopicFile.h"

// Prints the sheets and keys of the topic's two boards as one job and says so; a failure is said and
// nothing half-made comes out.
void printBoardSheets(const core::Topic& topic);
