#include "platform/files/Paths.h"

#include "platform/files/Descriptors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QStringList>

#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcFiles, "vellacourt.files")

namespace platform {

namespace {

// A folder's names by their case-folded letters, as listed while the folder had this change time.
struct Listing {
    timespec changed{};
    QHash<QString, QByteArray> names;
};

// The folder's first ListedEntries names (the first of each folding kept), or none if it cannot be listed.
Listing listed(int folder, const struct stat& st) {
    Listing out;
    out.changed = st.st_ctim;
    // A description of its own, so the listing shares no read position with the caller's.
    const int own = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = own >= 0 ? ::fdopendir(own) : nullptr;
    if (!d) {
        if (own >= 0) ::close(own);
        return out;
    }
    int seen = 0;
    for (const dirent* e; (e = ::readdir(d));) {
        if (++seen > ListedEntries) {
            qCWarning(lcFiles,
                      "%s holds more than %d entries: a name spelt in other letters is looked for among "
                      "the first %d only",
                      qPrintable(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(folder))), ListedEntries,
                      ListedEntries);
            break;
        }
        out.names.insert(QFile::decodeName(e->d_name).toCaseFolded(), QByteArray(e->d_name));
    }
    ::closedir(d);
    return out;
}

}  // namespace

QByteArray entryName(int folder, const QString& name) {
    const QByteArray spelt = QFile::encodeName(name);
    struct stat st {};
    if (::fstatat(folder, spelt.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return spelt;
    if (::fstat(folder, &st) != 0) return spelt;
    // Listings are kept by folder while its change time stands (an entry added or removed moves it);
    // pictures are read on workers too, hence the lock.
    static std::mutex lock;
    static std::map<std::pair<dev_t, ino_t>, Listing> listings;
    const std::lock_guard<std::mutex> held(lock);
    if (listings.size() > 64) listings.clear();  // the program's own folders are a handful
    Listing& known = listings[{st.st_dev, st.st_ino}];
    if (known.changed.tv_sec != st.st_ctim.tv_sec || known.changed.tv_nsec != st.st_ctim.tv_nsec ||
        known.names.isEmpty())
        known = listed(folder, st);
    return known.names.value(name.toCaseFolded(), spelt);
}

QString resolvePath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty() || QFileInfo::exists(p)) return p;
    // Walk the parts through their open folders, each as spelt or else in other letters.
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString found = p.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    Fd folder(::open(found.isEmpty() ? "." : "/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (folder.get() < 0) return p;
        const QByteArray name = entryName(folder.get(), parts[i]);
        struct stat st {};
        if (::fstatat(folder.get(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return p;
        found += (found.isEmpty() || found.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) +
                 QFile::decodeName(name);
        if (i + 1 < parts.size())
            folder = Fd(::openat(folder.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    return found;
}

}  // namespace platform
