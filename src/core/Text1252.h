// Text files as the program keeps them: Windows-1252, fields delimited as the program writes them.
#pragma once
#include <QByteArray>
#include <QString>

namespace core {

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

}  // namespace core
