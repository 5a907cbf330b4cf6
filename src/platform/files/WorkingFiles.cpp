#include "platform/files/WorkingFiles.h"

#include "platform/files/Descriptors.h"
#include "platform/files/Paths.h"
#include "core/Errors.h"
#include <QFileInfo>

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

RuntimeError notFound(const QString& path) {
    return RuntimeError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
}

QStringList partsOf(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'));
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            throw RuntimeError(ErrPathNotFound, QStringLiteral("Path/File access error: %1").arg(path));
    return parts;
}

// The entry's name as it stands in the folder: as spelt if there is one, else the first entry that
// differs only in letter case (from a bounded listing made once while the folder is unchanged), else as spelt.
QByteArray onDisk(int folder, const QString& part) { return entryName(folder, part); }

// The folder that holds the path's last part, opened through each folder in turn, none a link.
Fd openFolderOf(const QStringList& parts, const QString& path) {
    Fd folder(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) throw notFound(path);
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        Fd next(::openat(folder.get(), onDisk(folder.get(), parts[i]).constData(),
                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.get() < 0) throw RuntimeError(ErrPathNotFound, QStringLiteral("Path/File access error: %1").arg(path));
        folder = std::move(next);
    }
    return folder;
}

}  // namespace

Fd openWorkingFolder(const QString& path) {
    QStringList parts = partsOf(path);
    parts << QString();  // every part is a folder to go through
    return openFolderOf(parts, path);
}

QByteArray readWorkingFile(const QString& path, qint64 limit) {
    const QStringList parts = partsOf(path);
    const Fd folder = openFolderOf(parts, path);
    const Fd file(::openat(folder.get(), onDisk(folder.get(), parts.last()).constData(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) throw notFound(path);
    const RuntimeError tooLarge(ErrIO, QStringLiteral("%1 is too large to be one of the program's files").arg(path));
    if (st.st_size > limit) throw tooLarge;
    const std::optional<QByteArray> bytes = readAtMost(file.get(), limit, st.st_size);
    if (!bytes) throw RuntimeError(ErrIO, QStringLiteral("Device I/O error"));
    if (bytes->size() > limit) throw tooLarge;
    return *bytes;
}

void replaceWorkingFile(const QString& path, const QByteArray& bytes) {
    const QStringList parts = partsOf(path);
    const Fd folder = openFolderOf(parts, path);
    const QByteArray name = onDisk(folder.get(), parts.last());
    const RuntimeError failed(ErrIO, QStringLiteral("Device I/O error"));
    struct stat old {};
    const bool existed = ::fstatat(folder.get(), name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    // A link planted where the file goes is refused with a message; one swapped in after this check
    // is replaced by the rename below, never followed.
    if (existed && !S_ISREG(old.st_mode))
        throw RuntimeError(ErrPathNotFound, QStringLiteral("Path/File access error: %1 is not a plain file").arg(path));
    QByteArray temp;
    Fd file;
    for (int attempt = 0; attempt < 16 && file.get() < 0; ++attempt) {
        temp = "." + name + "." + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".new";
        file = Fd(::openat(folder.get(), temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (file.get() < 0 && errno != EEXIST) break;
    }
    if (file.get() < 0) throw failed;
    // The new file keeps the old one's permissions, as a save in place would, and whatever the umask of
    // whoever saved last, everyone in the folder's group can read it (and a new one, in a folder the
    // group shares, change it too), so a colleague's save never hides a worksheet from the others.
    struct stat in {};
    const mode_t shared = ::fstat(folder.get(), &in) == 0 && (in.st_mode & S_IWGRP) ? 0664 : 0644;
    if (::fchmod(file.get(), existed ? (old.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IRGRP : shared) != 0) {
        ::unlinkat(folder.get(), temp.constData(), 0);
        throw failed;
    }
    const bool whole = writeAll(file.get(), bytes) && ::fdatasync(file.get()) == 0 && ::close(file.release()) == 0;
    if (!whole || ::renameat(folder.get(), temp.constData(), folder.get(), name.constData()) != 0) {
        ::unlinkat(folder.get(), temp.constData(), 0);
        throw failed;
    }
}

bool removeWorkingFile(const QString& path) {
    try {
        const QStringList parts = partsOf(path);
        const Fd folder = openFolderOf(parts, path);
        const QByteArray name = onDisk(folder.get(), parts.last());
        return ::unlinkat(folder.get(), name.constData(), 0) == 0 || errno == ENOENT;
    } catch (const RuntimeError&) {
        return false;
    }
}

std::vector<TopicFileRead> readTopicFiles() {
    std::vector<TopicFileRead> out;
    // Only the files the program names are read, however many others stand in the folder.
    for (const char* file : core::TopicFiles) {
        TopicFileRead read{QString::fromLatin1(file), std::nullopt, {}};
        try {
            read.topic = core::parseTopic(readWorkingFile(read.file, core::MaxTopicBytes));
        } catch (const std::exception& e) {
            // Nothing there is no topic; anything else standing there (a link, a FIFO, a folder) is a broken one.
            const QFileInfo there(resolvePath(read.file));
            if (!there.exists() && !there.isSymLink()) continue;
            read.problem = QString::fromStdString(core::reasonOf(e));
        }
        out.push_back(std::move(read));
    }
    return out;
}

std::vector<core::Topic> topicsPresent() {
    std::vector<core::Topic> topics;
    for (const TopicFileRead& read : readTopicFiles())
        if (read.topic) topics.push_back(*read.topic);
    return topics;
}

}  // namespace platform
