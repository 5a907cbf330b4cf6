#include "platform/FileChannel.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

FileChannel& FileChannel::one() {
    static FileChannel channel;
    return channel;
}

void FileChannel::OpenForInput(const QString& path) {
    if (m_mode != Mode::Closed) throw RuntimeError(ErrFileAlreadyOpen, QStringLiteral("File already open"));
    QFile f(resolvePath(path));
    if (!QFileInfo(f.fileName()).isFile() || !f.open(QIODevice::ReadOnly))
        throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
    m_reader = std::make_unique<FieldReader>(decode1252(f.readAll()));
    m_mode = Mode::Input;
}

void FileChannel::OpenForOutput(const QString& path) {
    if (m_mode != Mode::Closed) throw RuntimeError(ErrFileAlreadyOpen, QStringLiteral("File already open"));
    QString file = path;
    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // The folder may be spelt in another case on disk; the file name is kept as given.
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    if (slash > 0) file = resolvePath(file.left(slash)) + file.mid(slash);
    // Never write through a link: a link planted in a shared folder must not turn a save into the
    // replacement of a file elsewhere. (The folder itself may be a link to the school's share.)
    if (QFileInfo(file).isSymLink())
        throw RuntimeError(ErrPathNotFound, QStringLiteral("Path/File access error: %1 is a link").arg(path));
    m_out = std::make_unique<QSaveFile>(file);
    if (!m_out->open(QIODevice::WriteOnly)) {
        m_out.reset();
        throw RuntimeError(ErrPathNotFound, QStringLiteral("Path/File access error: %1").arg(path));
    }
    m_mode = Mode::Output;
}

QString FileChannel::InputField() {
    if (m_mode != Mode::Input) throw RuntimeError(ErrIO, QStringLiteral("Bad file mode"));
    return m_reader->next();
}

void FileChannel::Write(const QByteArray& bytes) {
    if (m_mode != Mode::Output) throw RuntimeError(ErrIO, QStringLiteral("Bad file mode"));
    if (m_out->write(bytes) != bytes.size()) throw RuntimeError(ErrIO, QStringLiteral("Device I/O error"));
}

void FileChannel::Close() {
    const Mode mode = m_mode;
    m_mode = Mode::Closed;
    m_reader.reset();
    if (mode != Mode::Output) return;
    if (failWriteHook && failWriteHook(m_out->fileName())) m_out->cancelWriting();
    // Small writes wait in a buffer: a full disk shows only when they are flushed, and the save must
    // be cancelled then, or the empty new file would replace the old one.
    if (!m_out->flush() || m_out->error() != QFileDevice::NoError) m_out->cancelWriting();
    const bool ok = m_out->commit();
    m_out.reset();
    if (!ok) throw RuntimeError(ErrIO, QStringLiteral("Device I/O error"));
}

void FileChannel::Abandon() {
    if (m_out) m_out->cancelWriting();
    m_out.reset();
    m_reader.reset();
    m_mode = Mode::Closed;
}

}  // namespace platform
