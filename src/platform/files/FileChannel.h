// File number 1: the program's one sequential text file, Windows-1252 with CRLF line ends.
#pragma once
#include "platform/files/Core.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace platform {

// Test seam: a write to a path for which this answers true fails as a full disk would.
inline std::function<bool(const QString& path)> failWriteHook;

class FileChannel {
public:
    enum class Mode { Closed, Input, Output };
    static FileChannel& one();  // file number 1

    // Input is read whole, up to the limit of a text file of the program's (see WorkingFiles.h).
    void openForReading(const QString& path);
    // Output goes to a new file beside the old one and replaces it only when closed whole.
    void openForWriting(const QString& path);
    QString readField();
    void write(const QByteArray& bytes);   // bytes already in the file's encoding
    void close();                          // finishes the file; fails if it could not be written
    void abandon();                        // an error trap's close: what was being written is dropped
    Mode mode() const { return m_mode; }

private:
    FileChannel() = default;
    Mode m_mode = Mode::Closed;
    std::unique_ptr<FieldReader> m_reader;
    QString m_outPath;
    QByteArray m_out;
};

// File number 1 for the length of a block: whatever the block leaves open, by a failure or an
// early return, is abandoned at its end, so a half-written file never replaces a whole one.
class FileOneGuard {
public:
    FileOneGuard() = default;
    ~FileOneGuard() {
        if (FileChannel::one().mode() != FileChannel::Mode::Closed) FileChannel::one().abandon();
    }
    FileOneGuard(const FileOneGuard&) = delete;
    FileOneGuard& operator=(const FileOneGuard&) = delete;
};

}  // namespace platform
