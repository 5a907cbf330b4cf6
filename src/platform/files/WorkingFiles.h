// The working folder's files, reached so that nobody else with write access to a shared folder can
// redirect them: every folder below the working one is opened without following a link, every file
// without following one and without waiting on it (a FIFO never blocks), checked to be a plain file
// within a size limit, and read no further than that limit. A write goes to a new file made in the
// same open folder and is renamed over the old one only when whole, so a link or file swapped in
// after any check is replaced, never written through, and the old file stays if the write fails.
#pragma once
#include "platform/files/Core.h"
#include "platform/files/Descriptors.h"

#include "core/TopicFile.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace platform {

// What one file of each kind may hold, far beyond what the program writes (a worksheet is about
// 3 KB, the index of 1000 titles about 30 KB): a larger file is damaged or planted, and never read.
struct FileLimits {
    static constexpr qint64 Text = 1 << 20;           // the index, a worksheet
    static constexpr qint64 Picture = 32 << 20;       // a JPEG, GIF or BMP
};

// A relative path with "\" or "/" between its parts, each found as spelt or else in any letter case.
// A part that is empty, "." or ".." is refused: nothing is reached outside the working folder.
// Fails (RuntimeError) when the file is missing, is not a plain file, or is larger than `limit`.
QByteArray readWorkingFile(const QString& path, qint64 limit);
// Replaces the file whole, or fails leaving it as it was. A link standing at its place is refused.
void replaceWorkingFile(const QString& path, const QByteArray& bytes);
// The folder itself, opened through each folder in turn, none a link (RuntimeError if it cannot be).
Fd openWorkingFolder(const QString& path);
// Removes the file (a link is removed, not followed); true if there is none there afterwards.
bool removeWorkingFile(const QString& path);

// The topic files of the folder "topics" by the names the program knows (core::TopicFiles, in entry
// order), each that is there with its topic, or with the reason it cannot be read.
struct TopicFileRead {
    QString file;
    std::optional<core::Topic> topic;
    QString problem;
};
std::vector<TopicFileRead> readTopicFiles();
// The topics among them that read soundly.
std::vector<core::Topic> topicsPresent();

}  // namespace platform
