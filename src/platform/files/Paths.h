// Paths as the program spells them: relative, with "\" or "/" between folders.
#pragma once
#include <QString>

namespace platform {

// A relative path with "\" or "/" separators, found on disk case-insensitively where it
// is not found as spelt. Missing files come back spelt as given (with "/").
QString resolvePath(const QString& path);

}  // namespace platform
