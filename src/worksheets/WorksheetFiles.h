// The worksheet files and the catalogue index in the folder "multiple", read and written whole in one
// place (their formats are in core/WorksheetFormat.h), and the steps that keep a teacher's files safe.
#pragma once
#include "core/Shared.h"
#include "core/WorksheetFormat.h"
#include "platform/files/Core.h"
#include "platform/files/LockFile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <memory>

namespace worksheetfiles {

// Reads the worksheet open as file number 1, whole.
Worksheet readOpenWorksheet();

inline const QString IndexPath = QStringLiteral("multiple\\track.txt");

// A change the catalogue cannot take now, with what the teacher is told.
struct CatalogueError : platform::RuntimeError {
    explicit CatalogueError(const QString& said) : RuntimeError(platform::ErrPermissionDenied, said), said(said) {}
    QString said;
};
inline const QString CatalogueBusy =
    QStringLiteral("The worksheet catalogue is being changed on another computer. Nothing has been changed; "
                   "please try again in a moment.");
inline const QString CatalogueFull =
    QStringLiteral("The worksheet catalogue is full: it lists 1000 worksheets. Delete a worksheet from the "
                   "catalogue before you save a new one. Nothing has been changed.");
inline const QString CatalogueLockStuck =
    QStringLiteral("The worksheet catalogue cannot be changed: its lock file, multiple/track.lock, was left behind "
                   "and cannot be removed. Ask whoever looks after the worksheet folder to delete it. "
                   "Nothing has been changed.");
inline const QString CatalogueDamaged =
    QStringLiteral("The worksheet catalogue, multiple/track.txt, is damaged: it does not say how many worksheets it "
                   "lists. Nothing has been changed.");
inline const QString CatalogueNoFolder =
    QStringLiteral("The worksheet folder, multiple, is missing or is not a folder of its own (it is a link), so the "
                   "catalogue cannot be changed there. Ask whoever looks after the worksheet folder to make it a real "
                   "folder. Nothing has been changed.");
// What to tell the teacher about a failed change: the catalogue's own reason, or `otherwise`.
QString catalogueMessage(const std::exception& e, const QString& otherwise);

// One read-change-write of the catalogue at a time, also between computers that share the folder:
// the lock file multiple/track.lock (platform::LockFile says how it is judged). Nested locks in one
// program share the outermost. A lock not taken within WaitMs fails with CatalogueBusy; one that is
// abandoned but cannot be removed (another user's, in a folder where only owners may remove files), or
// a folder at its place, with CatalogueLockStuck; a worksheet folder that is a link, with CatalogueNoFolder.
class CatalogueLock {
public:
    CatalogueLock();
    ~CatalogueLock();
    CatalogueLock(const CatalogueLock&) = delete;
    CatalogueLock& operator=(const CatalogueLock&) = delete;
    static inline int WaitMs = 1000;  // the window waits no longer than this for another computer
    static constexpr qint64 StaleMs = 30000, OtherHostStaleMs = 120000, FutureMs = 600000, UnwrittenStaleMs = 5000;
private:
    std::unique_ptr<platform::LockFile> m_lock;
};

// Fails, changing nothing, unless the index can be read and can list the title.
void IndexCheckRoom(const QString& title);

// A file as it was before a save replaced it, to put back when a later step of the save fails.
class SavedCopy {
public:
    explicit SavedCopy(const QString& path);
    void restore() const;  // the old bytes back, or no file where there was none
private:
    QString m_path;
    bool m_existed = false;  // a plain file stood there
    bool m_other = false;    // something else did (a link, a folder), which a save never replaces
    QByteArray m_bytes;
};

// Reads the index into the shared catalogue list (titles 1..count). On a failure (no index,
// too few titles, a count that is not a number or above 1000) what was read so far stays,
// file 1 is closed, and the failure goes on to the caller.
void IndexRead();

// Adds a newly saved title as the last line of the index, unless it is listed already.
void IndexAppend(const QString& title);
// Takes a title out of the index (the last of equal ones); a title not listed leaves the index as it is.
// The worksheet file itself stays in the folder.
void IndexRemove(const QString& title);

}  // namespace worksheetfiles
