// vellacourt-refresh DATA WORK: the launcher's step before the program starts (see FolderRefresh.h).
// Says on stderr which files could not be refreshed; on stdout, for the launcher to hand to the
// program, the one line a teacher is told. Exit status: 0 all done, 1 done in part, 2 stop.
#include "platform/files/FolderRefresh.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vellacourt-refresh DATA WORK\n");
        return 2;
    }
    const platform::RefreshReport r = platform::refreshWorkingFolder(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (!r.problem.isEmpty()) {
        std::printf("%s\n", qPrintable(r.problem));
        return 2;
    }
    for (const QString& f : r.failed) std::fprintf(stderr, "vellacourt-numerists: could not refresh %s\n", qPrintable(f));
    QStringList said = r.notes;
    if (!r.failed.isEmpty())
        said.prepend(QStringLiteral("%1 of the program's files in %2 could not be brought up to date, so some pictures or "
                                    "pages may be old or missing. Ask whoever looks after the folder to check that it "
                                    "can be written to.")
                         .arg(r.failed.size())
                         .arg(QString::fromLocal8Bit(argv[2])));
    if (!said.isEmpty()) std::printf("%s\n", qPrintable(said.join(QLatin1Char(' '))));
    return said.isEmpty() ? 0 : 1;
}
