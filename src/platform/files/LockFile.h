// A lock file in a working folder that others in the school's group may write to: one program at a
// time changes what the lock guards, also between computers that share the folder.
//
// The lock is a plain file made with O_EXCL in the folder held open by its descriptor (never a path
// through links), which NFS (v3 and later) and SMB make atomically; a file lock (flock/fcntl) is not
// honoured alike on every school file server and would not see a copy of the program that locks by
// file. It holds three lines, as the toolkit's own lock file does (process id, program, computer),
// so a copy of an earlier version on another computer and this one respect each other's locks.
//
// What stands at the lock's place is judged through its own descriptor, opened without following a
// link or waiting on a FIFO, and read no further than a few hundred bytes: a planted link, FIFO or
// file of any size is recognised at once. Only the file we judged is ever removed (it is renamed
// aside and checked to be that file first), and a lock is let go only while it is still ours.
#pragma once
#include "platform/files/Descriptors.h"

#include <QByteArray>
#include <QString>
#include <sys/types.h>

namespace platform {

class LockFile {
public:
    // When a lock left at the place is taken to be abandoned by a program that stopped: on this
    // computer once its program is gone or after `staleMs`; from another computer, whose clock may be a
    // little off, after `otherHostStaleMs`, never while its time lies ahead of ours (up to `futureMs`, a
    // clock too far ahead to be believed); unreadable or not yet written, after `unwrittenStaleMs`.
    struct Rules {
        qint64 staleMs, otherHostStaleMs, futureMs, unwrittenStaleMs;
        int waitMs;  // how long a lock held by another is waited for
    };
    enum class Outcome {
        Taken,
        Busy,        // held by another program, still after waitMs
        Stuck,       // abandoned or not a lock at all, and it cannot be removed
        NoFolder,    // the folder is missing or not a folder of its own (a link)
        CannotWrite  // the lock cannot be made (a full or read-only disk)
    };

    LockFile() = default;
    ~LockFile() { release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // `folder`: a working-folder path as the program spells it ("multiple"); `name`: the lock's file name.
    Outcome take(const QString& folder, const QByteArray& name, const Rules& rules);
    void release();

private:
    Fd m_folder, m_file;
    QByteArray m_name;
};

}  // namespace platform
