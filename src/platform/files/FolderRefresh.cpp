#include "platform/files/FolderRefresh.h"

#include <QDir>
#include "platform/files/Descriptors.h"
#include "core/Errors.h"
#include "core/TopicFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const char* const Folders[] = {"Images", "logo", "wmf", "wmf2", "multiple", "topics"};

// Whether the plain file `name` in the folder holds exactly `bytes` with at least `mode`'s permissions;
// a link, FIFO or other is not.
bool holds(int folder, const QByteArray& name, const QByteArray& bytes, mode_t mode) {
    const Fd f(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (f.get() < 0 || ::fstat(f.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != bytes.size() ||
        (st.st_mode & mode) != mode)
        return false;
    QByteArray got(bytes.size() + 1, Qt::Uninitialized);
    qsizetype n = 0;
    for (ssize_t r; n < got.size() && (r = ::read(f.get(), got.data() + n, size_t(got.size() - n))) != 0;) {
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return false;
        n += r;
    }
    return n == bytes.size() && QByteArrayView(got.constData(), n) == bytes;
}

// A new file with `bytes` and `mode` (whatever the umask) in the folder under a name nobody else has;
// empty on failure.
QByteArray newFile(int folder, const QByteArray& name, const QByteArray& bytes, mode_t mode) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray temp = "." + name + "." + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".new";
        Fd f(::openat(folder, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (f.get() < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        const bool whole = ::fchmod(f.get(), mode) == 0 && writeAll(f.get(), bytes) && ::fdatasync(f.get()) == 0 &&
                           ::close(f.release()) == 0;
        if (whole) return temp;
        ::unlinkat(folder, temp.constData(), 0);
        return {};
    }
    return {};
}

// The file names of the shipped topics' own quizzes ("Euclid.txt"): the program's, refreshed like its
// pictures, where every other worksheet is a teacher's and only added. A shipped topic that does not
// read is the program's own fault; its quiz is then only added, as a teacher's would be.
QList<QByteArray> shippedQuizzes(const QString& data) {
    QList<QByteArray> quizzes;
    const QDir topics(data + QStringLiteral("/topics"));
    for (const QString& name : topics.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile file(topics.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        try {
            quizzes << QFile::encodeName(core::parseTopic(file.read(core::MaxTopicBytes + 1)).quiz.section(QLatin1Char('\\'), 1));
        } catch (const core::RuntimeError&) {
        }
    }
    return quizzes;
}

}  // namespace

RefreshReport refreshWorkingFolder(const QString& data, const QString& work) {
    RefreshReport report;
    const Fd root(::open(QFile::encodeName(work).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat rootStat {};
    if (root.get() < 0 || ::fstat(root.get(), &rootStat) != 0) {
        report.problem = QStringLiteral("The working folder %1 cannot be opened.").arg(work);
        return report;
    }
    // A folder shared by a group (group write and setgid): what is made here is the group's too.
    const bool shared = (rootStat.st_mode & S_ISGID) && (rootStat.st_mode & S_IWGRP);
    const mode_t fileMode = shared ? 0664 : 0644;
    const auto failed = [&](const QByteArray& folder, const QByteArray& name) {
        report.failed << work + QLatin1Char('/') + QFile::decodeName(folder) + QLatin1Char('/') + QFile::decodeName(name);
    };
    const QList<QByteArray> quizzes = shippedQuizzes(data);
    // Each folder as the program spells it, the only spelling it reads: others are left as they stand.
    for (const char* folderName : Folders) {
        const QByteArray folder(folderName);
        if (::mkdirat(root.get(), folder.constData(), 0755) == 0) {
            const Fd made(::openat(root.get(), folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (made.get() >= 0) ::fchmod(made.get(), shared ? rootStat.st_mode & 07777 : 0755);
        } else if (errno != EEXIST) {
            report.problem = QStringLiteral("The folder %1/%2 cannot be made.").arg(work, QFile::decodeName(folder));
            return report;
        }
        const QString shown = work + QLatin1Char('/') + QFile::decodeName(folder);
        const Fd dir(::openat(root.get(), folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (dir.get() < 0) {
            report.problem = QStringLiteral(
                                 "%1 is not a folder of its own (it is a link or a file), so the program will not "
                                 "write there. Ask whoever looks after the shared folder to replace it with a real folder.")
                                 .arg(shown);
            return report;
        }
        struct stat st {};
        if (shared && ::fstat(dir.get(), &st) == 0 && (!(st.st_mode & S_IWGRP) || !(st.st_mode & S_ISGID)))
            report.notes << QStringLiteral("The folder %1 cannot be changed by everyone in the shared folder's group, so "
                                           "other teachers' saves there will fail. Ask whoever looks after the shared "
                                           "folder to run: chmod -R g+ws \"%1\"")
                                .arg(shown);
        const QDir from(data + QLatin1Char('/') + QFile::decodeName(folder));
        for (const QString& file : from.entryList(QDir::Files)) {
            QFile src(from.filePath(file));
            if (!src.open(QIODevice::ReadOnly)) continue;
            const QByteArray bytes = src.readAll();
            const QByteArray target = QFile::encodeName(file);
            // The worksheet folder only gains what it lacks, so a teacher's work is kept; the topics'
            // quizzes belong to the program (no worksheet may take their names) and are refreshed.
            const bool addOnly = folder == "multiple" && !quizzes.contains(target);
            struct stat there {};
            if (addOnly && ::fstatat(dir.get(), target.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0) continue;
            if (!addOnly && holds(dir.get(), target, bytes, fileMode)) continue;
            const QByteArray temp = newFile(dir.get(), target, bytes, fileMode);
            if (temp.isEmpty()) {
                failed(folder, target);
                continue;
            }
            // Adding links the new file in, which fails if anything came to stand there meanwhile;
            // refreshing renames it over what stands there (a link is replaced, never followed).
            const bool placed = addOnly ? (::linkat(dir.get(), temp.constData(), dir.get(), target.constData(), 0) == 0 || errno == EEXIST)
                                        : ::renameat(dir.get(), temp.constData(), dir.get(), target.constData()) == 0;
            if (addOnly || !placed) ::unlinkat(dir.get(), temp.constData(), 0);
            if (!placed) failed(folder, target);
        }
    }
    return report;
}

}  // namespace platform
