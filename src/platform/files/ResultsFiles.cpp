#include "platform/files/ResultsFiles.h"

#include "platform/files/Descriptors.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLoggingCategory>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcResults, "vellacourt.results")

namespace platform {

namespace {

// The login of an account, or its number where the system names none.
QString loginOf(uid_t uid) {
    static QHash<uid_t, QString> known;
    if (const auto it = known.constFind(uid); it != known.cend()) return *it;
    passwd pw{}, *found = nullptr;
    char buffer[4096];
    const QString login = ::getpwuid_r(uid, &pw, buffer, sizeof buffer, &found) == 0 && found
                              ? QFile::decodeName(found->pw_name)
                              : QStringLiteral("user %1").arg(uid);
    known.insert(uid, login);
    return login;
}

QString notRecorded(const QString& why) {
    return QStringLiteral("Your result could not be recorded: %1. Please tell your teacher.").arg(why);
}

// Why the user's own results file cannot be appended to; empty once the line is written.
QString append(const core::ResultRecord& record) {
    const Fd folder(::open(ResultsFolder, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.get() < 0)
        return errno == ENOENT ? QString() : QStringLiteral("the results folder is a link or cannot be reached");
    const QString login = record.login;
    if (login.isEmpty() || login.startsWith(u'.') || login.contains(u'/'))
        return QStringLiteral("your login name cannot be a file name");
    const QByteArray name = QFile::encodeName(login + QStringLiteral(".csv"));
    // Read and write, so that a line cut short by a full disk can be ended before the next one.
    Fd file(::openat(folder.get(), name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                     0640));
    if (file.get() < 0) {
        const int error = errno;
        struct stat there {};
        if (::fstatat(folder.get(), name.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0 && there.st_uid != ::geteuid())
            return QStringLiteral("a file that is not yours stands in the place of your results file");
        if (error == ELOOP) return QStringLiteral("a link stands in the place of your results file");
        if (error == EACCES) {
            // A teacher in a school's folder may read it but not write there: a teacher's own tries
            // are not a pupil's results, and nothing needs saying.
            if (Fd(::open(ResultsFolder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)).get() >= 0) return {};
            return QStringLiteral("you may not write in the results folder");
        }
        return QStringLiteral("your results file cannot be opened");
    }
    struct stat st {};
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) return QStringLiteral("your results file is not a plain file");
    if (st.st_uid != ::geteuid()) return QStringLiteral("a file that is not yours stands in the place of your results file");
    QByteArray bytes = st.st_size == 0 ? core::resultsHeader() : QByteArray();
    char last = '\n';
    if (st.st_size > 0 && ::pread(file.get(), &last, 1, st.st_size - 1) == 1 && last != '\n') bytes += "\r\n";
    bytes += core::resultLine(record);
    if (st.st_size + bytes.size() > core::ResultsLimits::FileBytes) return QStringLiteral("your results file is full");
    // Only its owner writes it and teachers read it, whatever the umask or a later chmod.
    if ((st.st_mode & 07777) != 0640) ::fchmod(file.get(), 0640);
    if (!writeAll(file.get(), bytes)) return QStringLiteral("the disk is full or cannot be written");
    return {};
}

}  // namespace

QString currentLogin() { return loginOf(::geteuid()); }

QString resultsFolderWarning() {
    struct stat st {};
    if (::fstatat(AT_FDCWD, ResultsFolder, &st, AT_SYMLINK_NOFOLLOW) != 0) return {};
    const QString fix = QStringLiteral(": make the results folder as the README shows.");
    if (S_ISLNK(st.st_mode)) return QStringLiteral("No results are recorded, as the results folder is a link") + fix;
    if (!S_ISDIR(st.st_mode)) return {};
    const mode_t m = st.st_mode;
    const bool othersMake = (m & S_IWOTH) && (m & S_IXOTH);
    // A folder that is the user's own is a home install: its group is the user's alone.
    const bool groupMakes = (m & S_IWGRP) && (m & S_IXGRP) && st.st_uid != ::geteuid();
    QString why;
    if (othersMake && (m & S_IROTH)) why = QStringLiteral("anyone may list the folder");
    else if ((othersMake || groupMakes) && !(m & S_ISVTX)) why = QStringLiteral("the folder is not sticky");
    else if (othersMake && !(m & S_ISGID)) why = QStringLiteral("the folder is not setgid");
    else if (groupMakes) why = QStringLiteral("everyone in the folder's group may write there");
    if (why.isEmpty()) return {};
    return QStringLiteral("Pupils may be able to read one another's results (%1)").arg(why) + fix;
}

QString recordResult(core::ResultRecord record) {
    static bool told = false;
    record.login = currentLogin();
    const QString why = append(record);
    if (why.isEmpty() || told) return {};
    told = true;
    qCWarning(lcResults, "result not recorded: %s", qPrintable(why));
    return notRecorded(why);
}

ResultsFolderRead readResultsFolder(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    ResultsFolderRead out;
    const Fd folder(::open(ResultsFolder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.get() < 0) {
        out.problem = errno == ENOENT ? QStringLiteral("No results are recorded here: a folder named \"results\" in the "
                                                       "working folder turns recording on (see the README).")
                      : errno == EACCES ? QStringLiteral("You may not read the results folder: only teachers may.")
                                        : QStringLiteral("The results folder is a link or not a folder, so it is not read.");
        return out;
    }
    // The names first, a bounded number of them, in order, so that the files are read alike every time.
    std::vector<QByteArray> names;
    {
        const int own = ::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* d = own >= 0 ? ::fdopendir(own) : nullptr;
        if (!d) {
            if (own >= 0) ::close(own);
            out.problem = QStringLiteral("The results folder cannot be listed.");
            return out;
        }
        for (const dirent* e; (e = ::readdir(d));) {
            const QByteArray name(e->d_name);
            if (name.startsWith('.') || !name.endsWith(".csv")) continue;
            if (int(names.size()) == ResultsFolderLimits::Files) {
                out.skipped << QStringLiteral("Only the first %1 files are read.").arg(ResultsFolderLimits::Files);
                break;
            }
            names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    const QDateTime now = QDateTime::currentDateTime();
    for (size_t i = 0; i < names.size(); ++i) {
        const QString file = QFile::decodeName(names[i]);
        if (clock.elapsed() > budgetMs || int(out.records.size()) >= ResultsFolderLimits::Records) {
            out.skipped << QStringLiteral("%1 and %2 more: not read, there being too much to read at once")
                               .arg(file)
                               .arg(names.size() - i - 1);
            break;
        }
        const auto skip = [&](const QString& why) { out.skipped << QStringLiteral("%1: %2").arg(file, why); };
        const Fd fd(::openat(folder.get(), names[i].constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        if (fd.get() < 0) {
            skip(errno == ELOOP ? QStringLiteral("a link, not a file") : QStringLiteral("cannot be read"));
            continue;
        }
        if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            skip(QStringLiteral("not a plain file"));
            continue;
        }
        if (st.st_size > core::ResultsLimits::FileBytes) {
            skip(QStringLiteral("too large to be a results file (%1 MB)").arg(double(st.st_size) / 1e6, 0, 'f', 1));
            continue;
        }
        const std::optional<QByteArray> bytes = readAtMost(fd.get(), core::ResultsLimits::FileBytes, st.st_size);
        if (!bytes || bytes->size() > core::ResultsLimits::FileBytes) {
            skip(bytes ? QStringLiteral("too large to be a results file") : QStringLiteral("cannot be read"));
            continue;
        }
        const int room = std::min(ResultsFolderLimits::RecordsPerFile, ResultsFolderLimits::Records - int(out.records.size()));
        core::ResultsRead read = core::parseResults(*bytes, now, room);
        // Trusted only where the file is its owner's and the line says so: anything else is shown as
        // what it is, apart from the results of the pupil it names.
        const QString owner = loginOf(st.st_uid), claimed = file.chopped(4);
        int otherLogins = 0;
        for (core::ResultRecord& r : read.records) {
            if (owner != claimed) r.pupil = QStringLiteral("%1 (in %2)").arg(owner, file);
            else if (r.login == owner) r.pupil = owner;
            else {
                r.pupil = QStringLiteral("%1 (as %2)").arg(owner, r.login);
                ++otherLogins;
            }
            out.records.push_back(std::move(r));
        }
        if (owner != claimed) skip(QStringLiteral("belongs to %1, so it is shown as \"%1 (in %2)\"").arg(owner, file));
        const auto lines = [](int n) { return n == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(n); };
        if (otherLogins) skip(QStringLiteral("%1 with another login, shown under \"%2 (as ...)\"").arg(lines(otherLogins), owner));
        if (read.refused) skip(QStringLiteral("%1 not results (or with a date or score that cannot be true)").arg(lines(read.refused)));
        if (read.cut) skip(QStringLiteral("only its first %1 results are read").arg(room));
    }
    if (!out.skipped.isEmpty()) qCInfo(lcResults, "results folder: %s", qPrintable(out.skipped.join(QStringLiteral("; "))));
    return out;
}

}  // namespace platform
