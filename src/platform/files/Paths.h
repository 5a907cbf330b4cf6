// Paths as the program spells them: relative, with "\" or "/" between folders.
#pragma once
#include <QByteArray>
#include <QString>

namespace platform {

// A relative path with "\" or "/" separators, found on disk case-insensitively where it
// is not found as spelt. Missing files come back spelt as given (with "/").
QString resolvePath(const QString& path);

// The name the entry `name` of the open folder `folder` has on disk: as spelt where there is one,
// else the first entry that differs only in letter case, else as spelt. Anyone in a shared folder's
// group can fill it, so a folder is listed for letter case at most once while it stands unchanged,
// and no further than its first ListedEntries entries (a cut is logged).
QByteArray entryName(int folder, const QString& name);
constexpr int ListedEntries = 4096;

}  // namespace platform
