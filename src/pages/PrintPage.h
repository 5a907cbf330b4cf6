#pragma once
#include "platform/pictures/Picture.h"

namespace pages {
// Prints a page's print picture, as both page viewers do: an empty line starts the job, the picture
// follows at 1000, 1000 twips at its own size. A failure is said and the partial job abandoned.
void printPicture(const platform::Picture& picture);
}  // namespace pages
