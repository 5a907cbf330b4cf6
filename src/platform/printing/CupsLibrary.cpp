#include "platform/printing/CupsLibrary.h"

#include <QFileInfo>
#include <QLibrary>

namespace platform {

const CupsLibrary* cupsLibrary() {
    static const CupsLibrary* const loaded = []() -> const CupsLibrary* {
        // By its full name in the system's library folder; by name only (a search of the system's
        // folders) where the system keeps it elsewhere.
        const QString installed = QStringLiteral(CUPS_LIBRARY_DIR "/libcups.so.2");
        QLibrary library(QFileInfo(installed).isAbsolute() && QFileInfo::exists(installed) ? installed : QStringLiteral("libcups.so.2"));
        if (!library.load()) {
            qWarning("the printing library cannot be loaded: %s", qPrintable(library.errorString()));
            return nullptr;
        }
        auto* cups = new CupsLibrary;  // kept, as the library is, for the rest of the run
        bool whole = true;
#define PLATFORM_CUPS_RESOLVE(name)                                                                      \
    cups->name = reinterpret_cast<decltype(cups->name)>(library.resolve(#name));                          \
    whole = whole && cups->name;
        PLATFORM_CUPS_FUNCTIONS(PLATFORM_CUPS_RESOLVE)
#undef PLATFORM_CUPS_RESOLVE
        if (whole) return cups;
        qWarning("the printing library lacks functions the program needs");
        delete cups;
        return nullptr;
    }();
    return loaded;
}

}  // namespace platform
