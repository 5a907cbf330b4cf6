// Libraries are never loaded from the working folder, which others in the school's group may write to.
#pragma once

namespace platform {

// An empty or relative entry in LD_LIBRARY_PATH names the current folder (the working folder), and
// the dynamic loader reads that variable once, as the program starts: so when it has such entries,
// the program starts itself again at once without them, before any library is loaded on demand (the
// picture readers, the printing library). Returns only when there is nothing to take out; a program
// that cannot be started again stops, with a line on standard error.
void startWithoutRelativeLibraryPaths(char** argv);

}  // namespace platform
