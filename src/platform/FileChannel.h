// File number 1: the program's one sequential text file, Windows-1252 with CRLF line ends.
#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QSaveFile;

namespace platform {

// The delimited-input rule: a field ends at a comma or the line end; leading blanks are skipped;
// a field that begins with a double quote runs to the next double quote. CRLF or bare LF.
class FieldReader {
public:
    explicit FieldReader(QString text) : m_text(std::move(text)) {}
    QString next();  // fails with "Input past end of file" when nothing is left
    bool atEnd() const { return m_pos >= m_text.size(); }
private:
    void skipToFieldEnd();
    QString m_text;
    qsizetype m_pos = 0;
};

// Windows-1252 both ways, through the system's converters.
QString decode1252(const QByteArray& bytes);
QByteArray encode1252(const QString& text);
bool canEncode1252(const QString& text);  // every character has a Windows-1252 byte

// Test seam: a write to a path for which this answers true fails as a full disk would.
inline std::function<bool(const QString& path)> failWriteHook;

class FileChannel {
public:
    enum class Mode { Closed, Input, Output };
    static FileChannel& one();  // file number 1

    void OpenForInput(const QString& path);
    // Output goes to a new file beside the old one and replaces it only when closed whole.
    void OpenForOutput(const QString& path);
    QString InputField();
    void PrintLine(const QString& text);  // Print #1, text
    void Write(const QByteArray& bytes);   // bytes already in the file's encoding
    void PrintNumber(long long n);        // Print #1, n
    void Close();                          // finishes the file; fails if it could not be written
    void Abandon();                        // an error trap's close: what was being written is dropped
    Mode mode() const { return m_mode; }

private:
    FileChannel() = default;
    Mode m_mode = Mode::Closed;
    std::unique_ptr<FieldReader> m_reader;
    std::unique_ptr<QSaveFile> m_out;
};

}  // namespace platform
