#include "platform/files/LockFile.h"

#include "platform/files/WorkingFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Far more than three lines of a lock ever take: a larger file is read no further.
constexpr qsizetype LockBytes = 512;

enum class Seen { Gone, Held, Abandoned, Folder };

struct Judged {
    Seen seen = Seen::Gone;
    dev_t dev = 0;
    ino_t ino = 0;
};

qint64 ageMs(const struct stat& st) {
    const qint64 modified = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return QDateTime::currentMSecsSinceEpoch() - modified;
}

// What stands at the lock's place, judged through its own descriptor.
Judged judge(int folder, const QByteArray& name, const LockFile::Rules& rules) {
    Judged out;
    const Fd file(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0) {
        if (errno == ENOENT) return out;
        // A link (ELOOP) or something we may not open: judged by what it is, without following it.
        if (::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return out;
    } else if (::fstat(file.get(), &st) != 0) {
        return out;
    }
    out.dev = st.st_dev;
    out.ino = st.st_ino;
    if (S_ISDIR(st.st_mode)) {
        out.seen = Seen::Folder;
        return out;
    }
    // A link, FIFO or device, or a file larger than any lock, is no lock any program of ours made: it
    // stands in the way, nothing more.
    if (file.get() < 0 || !S_ISREG(st.st_mode) || st.st_size > LockBytes) {
        out.seen = Seen::Abandoned;
        return out;
    }
    QByteArray bytes(LockBytes, Qt::Uninitialized);
    ssize_t got;
    do got = ::read(file.get(), bytes.data(), size_t(bytes.size()));
    while (got < 0 && errno == EINTR);
    bytes.truncate(std::max<ssize_t>(got, 0));
    const QList<QByteArray> lines = bytes.split('\n');
    bool numeric = false;
    const qint64 pid = lines.value(0).toLongLong(&numeric);
    const bool known = numeric && lines.size() >= 3 && !lines[2].isEmpty();
    const qint64 age = ageMs(st);
    bool abandoned;
    if (known && QString::fromUtf8(lines[2]) == QSysInfo::machineHostName()) {
        const bool running = pid > 0 && pid <= INT_MAX && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        abandoned = !running || age > rules.staleMs;
    } else if (!known) {
        // A program writes its lock the moment it makes it: one still empty or unreadable after a few
        // seconds was left by a program stopped in between.
        abandoned = age > rules.unwrittenStaleMs || age < -rules.futureMs;
    } else {
        // Another computer's clock may run ahead of ours: its fresh lock is not taken over for that.
        abandoned = age > rules.otherHostStaleMs || age < -rules.futureMs;
    }
    out.seen = abandoned ? Seen::Abandoned : Seen::Held;
    return out;
}

// Removes the entry `name` only if it is still the one judged (another program may have taken the
// lock over since): it is first renamed aside, and put back if it turns out to be another.
bool removeIfSame(int folder, const QByteArray& name, dev_t dev, ino_t ino) {
    const QByteArray aside = "." + name + "." + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".old";
    if (::renameat(folder, name.constData(), folder, aside.constData()) != 0) return errno == ENOENT;
    struct stat st {};
    if (::fstatat(folder, aside.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && (st.st_dev != dev || st.st_ino != ino)) {
        ::renameat2(folder, aside.constData(), folder, name.constData(), RENAME_NOREPLACE);
        errno = EAGAIN;
        return false;
    }
    return ::unlinkat(folder, aside.constData(), 0) == 0;
}

}  // namespace

LockFile::Outcome LockFile::take(const QString& folder, const QByteArray& name, const Rules& rules) {
    release();
    try {
        m_folder = openWorkingFolder(folder);
    } catch (const RuntimeError&) {
        return Outcome::NoFolder;
    }
    const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                               QCoreApplication::applicationName().toUtf8() + '\n' +
                               QSysInfo::machineHostName().toUtf8() + '\n';
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + rules.waitMs;
    for (int sleepMs = 10;; sleepMs = std::min(sleepMs * 2, 100)) {
        // Held, or changing under us faster than we can judge it: waited for, within the time given.
        if (QDateTime::currentMSecsSinceEpoch() > deadline) {
            m_folder = Fd();
            return Outcome::Busy;
        }
        Fd made(::openat(m_folder.get(), name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (made.get() >= 0) {
            // Readable by everyone who shares the folder, whatever the umask: others judge it by its contents.
            if (::fchmod(made.get(), 0644) != 0 || !writeAll(made.get(), content)) {
                ::unlinkat(m_folder.get(), name.constData(), 0);
                m_folder = Fd();
                return Outcome::CannotWrite;
            }
            m_file = std::move(made);
            m_name = name;
            return Outcome::Taken;
        }
        if (errno != EEXIST) {
            m_folder = Fd();
            return Outcome::CannotWrite;
        }
        const Judged j = judge(m_folder.get(), name, rules);
        bool stuck = j.seen == Seen::Folder;
        if (j.seen == Seen::Abandoned) {
            if (removeIfSame(m_folder.get(), name, j.dev, j.ino)) continue;  // made afresh at once
            // Not ours to remove (another user's, in a folder where only owners may remove files).
            stuck = errno == EPERM || errno == EACCES || errno == EROFS;
        }
        if (stuck) {
            m_folder = Fd();
            return Outcome::Stuck;
        }
        if (j.seen == Seen::Held) QThread::msleep(ulong(sleepMs));
    }
}

void LockFile::release() {
    if (m_file.get() >= 0) {
        struct stat mine {};
        if (::fstat(m_file.get(), &mine) == 0) removeIfSame(m_folder.get(), m_name, mine.st_dev, mine.st_ino);
    }
    m_file = Fd();
    m_folder = Fd();
}

}  // namespace platform
