// The working folder brought up to date from the program's own files before the window opens. A
// school's folder is shared, and anyone in its group may act in it while this runs, so every step
// goes through folder descriptors: no link is followed, each file is written as a new file in its
// open folder and renamed over its place (a reader sees the old file or the new one), worksheets are
// only added where nothing stands, and new folders take the shared folder's group write and setgid
// bits whatever the teacher's umask.
#pragma once
#include <QString>
#include <QStringList>

namespace platform {

struct RefreshReport {
    QString problem;     // what stops the start (a subfolder that is a link or a file); empty if none
    QStringList failed;  // files that could not be brought up to date
    QStringList notes;   // what a teacher should know but need not stop for
};

// `data`: the program's shipped folder (Images, logo, wmf, wmf2, multiple, topics); `work`: the working folder.
RefreshReport refreshWorkingFolder(const QString& data, const QString& work);

}  // namespace platform
