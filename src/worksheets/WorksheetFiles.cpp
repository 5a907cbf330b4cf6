#include "worksheets/WorksheetFiles.h"
#include "platform/files/FileChannel.h"
#include "platform/files/Paths.h"
#include "platform/files/WorkingFiles.h"
#include "platform/files/Core.h"
#include "core/Shared.h"

#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <csignal>

using namespace platform;

namespace worksheetfiles {

static FileChannel& file1() { return FileChannel::one(); }

Worksheet readOpenWorksheet() {
    return ReadWorksheet([] { return file1().readField(); });
}

void IndexRead() {
    core::Shared& list = core::shared();
    const FileOneGuard guard;
    file1().openForReading(IndexPath);
    const QString count = file1().readField();
    try {
        const long long n = toNumber(count);
        // A count outside what an index can hold is a damaged index, whatever follows it.
        if (n < 0 || n > core::MaxTitles) throw CatalogueError(CatalogueDamaged);
        list.worksheetCount = int(n);
    } catch (const RuntimeError&) {
        list.worksheetCount = 0;
        throw;
    }
    for (int i = 1; i <= list.worksheetCount; ++i) {
        if (i >= int(list.worksheetNames.size()))
            throw RuntimeError(ErrSubscript, QStringLiteral("Subscript out of range"));
        list.worksheetNames[i] = file1().readField();
    }
    file1().close();
}

// Writes the whole index anew; the old one stays until the new one is complete.
static void IndexWrite(int count, const core::TitleList& names) {
    const FileOneGuard guard;
    file1().openForWriting(IndexPath);
    file1().write(IndexBytes(count, names));
    file1().close();
}

// ---- The catalogue lock

static int lockDepth = 0;

// Whether the lock file at `path` was left by a program that is no longer changing the catalogue.
static bool lockIsStale(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return false;
    // Only a plain file is a lock; anything else stands in the way for good.
    if (info.isSymLink() || !info.isFile()) throw CatalogueError(CatalogueLockStuck);
    const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
    qint64 pid = 0;
    QString host, app;
    const bool known = QLockFile(path).getLockInfo(&pid, &host, &app);
    if (known && host == QSysInfo::machineHostName()) {
        const bool running = pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        return !running || age > CatalogueLock::StaleMs;
    }
    // A program writes its lock the moment it makes it: one still empty or unreadable after a few
    // seconds was left by a program stopped in between, and nobody holds it.
    if (!known) return age > CatalogueLock::UnwrittenStaleMs || age < -CatalogueLock::FutureMs;
    // Another computer's clock may run ahead of ours: its fresh lock is not taken over for that.
    return age > CatalogueLock::OtherHostStaleMs || age < -CatalogueLock::FutureMs;
}

CatalogueLock::CatalogueLock() {
    if (lockDepth++ > 0) return;
    const QString path = resolvePath(QStringLiteral("multiple")) + QStringLiteral("/track.lock");
    try {
        if (lockIsStale(path) && !QFile::remove(path) && QFileInfo::exists(path)) throw CatalogueError(CatalogueLockStuck);
    } catch (...) {
        --lockDepth;
        throw;
    }
    m_lock = std::make_unique<QLockFile>(path);
    // Staleness is judged above, by our rules; Qt's own would take a lock from the future as stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(WaitMs)) {
        // Held elsewhere is "busy"; a lock file that cannot be made at all (a full or read-only disk)
        // is the failure of the save itself.
        const bool busy = m_lock->error() == QLockFile::LockFailedError;
        --lockDepth;
        m_lock.reset();
        if (busy) throw CatalogueError(CatalogueBusy);
        throw RuntimeError(ErrIO, QStringLiteral("The catalogue's lock file cannot be written"));
    }
}

CatalogueLock::~CatalogueLock() {
    if (m_lock) m_lock->unlock();
    if (lockDepth > 0) --lockDepth;
}

QString catalogueMessage(const std::exception& e, const QString& otherwise) {
    const auto* c = dynamic_cast<const CatalogueError*>(&e);
    return c ? c->said : otherwise;
}

void IndexCheckRoom(const QString& title) {
    core::Shared& list = core::shared();
    IndexRead();
    for (int i = 1; i <= list.worksheetCount; ++i)
        if (list.worksheetNames[i] == title) return;
    if (list.worksheetCount + 1 > core::MaxTitles) throw CatalogueError(CatalogueFull);
}

// ---- Putting a file back

SavedCopy::SavedCopy(const QString& path) : m_path(path) {
    try {
        m_bytes = readWorkingFile(path, FileLimits::Text);
        m_existed = true;
    } catch (const RuntimeError& e) {
        // Nothing to keep where there is no plain file; a file too large to read is not saved over.
        if (e.number != ErrFileNotFound) throw;
        const QFileInfo info(resolvePath(path));
        m_other = info.exists() || info.isSymLink();
    }
}

void SavedCopy::restore() const {
    FileChannel& f = file1();
    f.abandon();
    if (m_other) return;  // a link or folder was never written through: nothing to put back
    if (!m_existed) {
        removeWorkingFile(m_path);
        return;
    }
    f.openForWriting(m_path);
    f.write(m_bytes);
    f.close();
}

// ---- Index changes

void IndexAppend(const QString& title) {
    core::Shared& list = core::shared();
    CatalogueLock lock;
    IndexRead();
    for (int i = 1; i <= list.worksheetCount; ++i)
        if (list.worksheetNames[i] == title) return;
    const int count = list.worksheetCount + 1;
    if (count < 1 || count > core::MaxTitles) throw CatalogueError(CatalogueFull);
    core::TitleList names = list.worksheetNames;
    names[count] = title;
    IndexWrite(count, names);
    list.worksheetNames[count] = title;
}

void IndexRemove(const QString& title) {
    core::Shared& list = core::shared();
    CatalogueLock lock;
    IndexRead();
    int p = 0;
    for (int i = 1; i <= list.worksheetCount; ++i)
        if (list.worksheetNames[i] == title) p = i;
    if (p == 0) return;
    // The list in memory changes only once the index on disk has.
    core::TitleList names = list.worksheetNames;
    for (int i = p; i < list.worksheetCount; ++i) names[i] = names[i + 1];
    IndexWrite(list.worksheetCount - 1, names);
    list.worksheetNames = names;
    list.worksheetCount = list.worksheetCount - 1;
}

}  // namespace worksheetfiles
