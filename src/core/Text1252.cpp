#include "core/Text1252.h"
#include "core/Errors.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace core {

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

}  // namespace core
