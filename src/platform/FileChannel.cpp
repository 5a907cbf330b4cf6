#include "platform/FileChannel.h"
#include "platform/Vb.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

QString FieldReader::next() {
    const qsizetype begin = m_pos;
    while (m_pos < m_text.size() && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t')) ++m_pos;
    if (m_pos >= m_text.size() && m_pos > begin) return {};  // a last line of blanks with no line end
    if (m_pos >= m_text.size()) throw RuntimeError(ErrPastEnd, QStringLiteral("Input past end of file"));
    QString field;
    if (m_text[m_pos] == u'"') {
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        field = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? m_text.size() : close + 1;
        skipToFieldEnd();
        return field;
    }
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != u',' && m_text[m_pos] != u'\n' &&
           !(m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n'))
        ++m_pos;
    field = m_text.mid(start, m_pos - start);
    skipToFieldEnd();
    return field;
}

// Steps over what ends a field: a comma, CRLF or LF (anything before it on the line is dropped).
void FieldReader::skipToFieldEnd() {
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos++];
        if (c == u',' || c == u'\n') return;
        if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n') {
            ++m_pos;
            return;
        }
    }
}

QString decode1252(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray encode1252(const QString& text) {
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid()) return text.toLatin1();
    return encoder.encode(text);
}

bool canEncode1252(const QString& text) {
    // A character the code page lacks comes back as something else.
    return decode1252(encode1252(text)) == text;
}

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

void FileChannel::PrintLine(const QString& text) { Write(encode1252(text) + "\r\n"); }

void FileChannel::Write(const QByteArray& bytes) {
    if (m_mode != Mode::Output) throw RuntimeError(ErrIO, QStringLiteral("Bad file mode"));
    if (m_out->write(bytes) != bytes.size()) throw RuntimeError(ErrIO, QStringLiteral("Device I/O error"));
}

void FileChannel::PrintNumber(long long n) { PrintLine(platform::PrintNumber(n)); }

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
