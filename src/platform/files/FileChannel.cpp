#include "platform/files/FileChannel.h"
#include "platform/files/WorkingFiles.h"

namespace platform {

FileChannel& FileChannel::one() {
    static FileChannel channel;
    return channel;
}

void FileChannel::openForReading(const QString& path) {
    if (m_mode != Mode::Closed) throw RuntimeError(ErrFileAlreadyOpen, QStringLiteral("File already open"));
    m_reader = std::make_unique<FieldReader>(decode1252(readWorkingFile(path, FileLimits::Text)));
    m_mode = Mode::Input;
}

void FileChannel::openForWriting(const QString& path) {
    if (m_mode != Mode::Closed) throw RuntimeError(ErrFileAlreadyOpen, QStringLiteral("File already open"));
    m_outPath = path;
    m_out.clear();
    m_mode = Mode::Output;
}

QString FileChannel::readField() {
    if (m_mode != Mode::Input) throw RuntimeError(ErrIO, QStringLiteral("Bad file mode"));
    return m_reader->next();
}

void FileChannel::write(const QByteArray& bytes) {
    if (m_mode != Mode::Output) throw RuntimeError(ErrIO, QStringLiteral("Bad file mode"));
    m_out += bytes;
}

void FileChannel::close() {
    const Mode mode = m_mode;
    m_mode = Mode::Closed;
    m_reader.reset();
    if (mode != Mode::Output) return;
    const QByteArray bytes = std::exchange(m_out, QByteArray());
    if (failWriteHook && failWriteHook(m_outPath)) throw RuntimeError(ErrIO, QStringLiteral("Device I/O error"));
    replaceWorkingFile(m_outPath, bytes);
}

void FileChannel::abandon() {
    m_out.clear();
    m_reader.reset();
    m_mode = Mode::Closed;
}

}  // namespace platform
