#pragma once
#include "platform/pictures/Picture.h"

namespace pages {
// Prints a page's print picture as a sheet that stands alone: a header naming the document
// ("Pythagoras — Key Facts"), the picture as large as the printable area holds it between header and
// footer (its proportions kept), and a footer with the program's name and the page's place in the
// document ("Page 2 of 3"). True if the printing system took the job; a failure is said and the partial job abandoned.
bool printPage(const platform::Picture& picture, const QString& document, const QString& place);
}  // namespace pages
