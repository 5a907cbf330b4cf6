#include "worksheets/WorksheetFiles.h"
#include "platform/files/FileChannel.h"
#include "platform/files/Paths.h"
#include "platform/files/WorkingFiles.h"
#include "platform/files/Core.h"
#include "core/Shared.h"

#include <QFileInfo>

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
    // The count is a plain whole number the program wrote ("1e3" or "12.4" is no count); one outside
    // what an index can hold is a damaged index, whatever follows it.
    const QString count = file1().readField().trimmed();
    bool plain = !count.isEmpty() && count.size() <= 4;
    for (const QChar c : count) plain = plain && c >= u'0' && c <= u'9';
    const int n = plain ? count.toInt() : -1;
    if (n < 0 || n > core::MaxTitles) {
        list.worksheetCount = 0;
        throw CatalogueError(CatalogueDamaged);
    }
    list.worksheetCount = n;
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

CatalogueLock::CatalogueLock() {
    if (lockDepth++ > 0) return;
    m_lock = std::make_unique<LockFile>();
    const LockFile::Outcome outcome = m_lock->take(
        QStringLiteral("multiple"), "track.lock", {StaleMs, OtherHostStaleMs, FutureMs, UnwrittenStaleMs, WaitMs});
    if (outcome == LockFile::Outcome::Taken) return;
    --lockDepth;
    m_lock.reset();
    switch (outcome) {
    case LockFile::Outcome::Busy: throw CatalogueError(CatalogueBusy);
    case LockFile::Outcome::Stuck: throw CatalogueError(CatalogueLockStuck);
    case LockFile::Outcome::NoFolder: throw CatalogueError(CatalogueNoFolder);
    default:
        // A lock file that cannot be made at all (a full or read-only disk) is the failure of the change itself.
        throw RuntimeError(ErrIO, QStringLiteral("The catalogue's lock file cannot be written"));
    }
}

CatalogueLock::~CatalogueLock() {
    m_lock.reset();
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
