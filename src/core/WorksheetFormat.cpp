#include "core/WorksheetFormat.h"
#include "core/Errors.h"
#include "core/NumberText.h"
#include "core/Text1252.h"

#include <QStringList>

namespace worksheetfiles {

using namespace core;

QString IndexLine(const QString& title) {
    const bool quote = title.contains(QLatin1Char(',')) || title.startsWith(QLatin1Char(' ')) ||
                       title.startsWith(QLatin1Char('\t')) || title.startsWith(QLatin1Char('"'));
    // A title that itself holds a double quote cannot be quoted; it is written as it is.
    if (!quote || title.mid(1).contains(QLatin1Char('"'))) return title;
    return QLatin1Char('"') + title + QLatin1Char('"');
}

QByteArray IndexBytes(int count, const core::TitleList& names) {
    QByteArray out = encode1252(PrintNumber(count)) + "\r\n";
    for (int i = 1; i <= count; ++i) out += encode1252(IndexLine(names[i])) + "\r\n";
    return out;
}

QString WorksheetPath(const QString& title) {
    // A title from the index names a file in the worksheet folder, never one elsewhere.
    if (title.contains(QLatin1Char('/')) || title.contains(QLatin1Char('\\')) || title.isEmpty())
        throw RuntimeError(ErrPathNotFound, QStringLiteral("Path/File access error: %1 is not a worksheet's name").arg(title));
    return QStringLiteral("multiple/") + title + QStringLiteral(".txt");
}

QString TitleProblem(const QString& title, const std::vector<core::Topic>& topics) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|,&");
    for (const QChar c : title) {
        if (forbidden.contains(c))
            return QStringLiteral(
                "A worksheet title cannot contain any of these characters:  \\  /  :  *  ?  \"  <  >  |  ,  &\n"
                "Please choose another title.");
        if (c.unicode() < 32 || c.unicode() == 127)
            return QStringLiteral("A worksheet title cannot contain control characters. Please choose another title.");
    }
    if (title.startsWith(QLatin1Char(' ')))
        return QStringLiteral("A worksheet title cannot begin with a blank. Please choose another title.");
    if (title.endsWith(QLatin1Char(' ')) || title.endsWith(QLatin1Char('.')))
        return QStringLiteral("A worksheet title cannot end with a blank or a full stop. Please choose another title.");
    const QString stem = title.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList reserved = [] {
        QStringList r{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        r << QStringLiteral("CONIN$") << QStringLiteral("CONOUT$");
        for (const QChar digit : QStringLiteral("0123456789\u00B9\u00B2\u00B3"))
            r << QStringLiteral("COM") + digit << QStringLiteral("LPT") + digit;
        return r;
    }();
    if (reserved.contains(stem))
        return QStringLiteral("\"%1\" is a name the computer keeps for itself. Please choose another title.")
            .arg(title);
    // Letter case does not tell files apart on every disk (a FAT memory stick, a Windows share).
    // The topics' own quizzes are files of the worksheet folder too.
    for (const Topic& topic : topics)
        if (title.compare(topic.quizTitle(), Qt::CaseInsensitive) == 0)
            return QStringLiteral("The title %1 belongs to %2's own quiz. Please choose another title.")
                .arg(topic.quizTitle(), topic.heading);
    if (title.compare(QStringLiteral("track"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("The title track is the name of the catalogue's own list of worksheets. "
                              "Please choose another title.");
    if (!canEncode1252(title))
        return QStringLiteral(
            "The worksheet title contains a character that cannot be saved in a worksheet. "
            "Please choose another title.");
    return {};
}

Worksheet ReadWorksheet(const FieldSource& field) {
    Worksheet w;
    w.title = CommaDecode(field());
    field();  // the blank line under the title
    for (Question& q : w.questions) {
        q.text = CommaDecode(field());
        for (QString& a : q.answers) a = CommaDecode(field());
        q.correct = field();
        field();  // the blank line after each question
    }
    return w;
}

QByteArray WorksheetBytes(const Worksheet& w) {
    QByteArray out;
    const auto line = [&out](const QString& text) { out += encode1252(text) + "\r\n"; };
    line(CommaEncode(w.title));
    line(QStringLiteral(" "));
    for (const Question& q : w.questions) {
        line(CommaEncode(q.text));
        for (const QString& a : q.answers) line(CommaEncode(a));
        line(q.correct);
        line(QStringLiteral(" "));
    }
    return out;
}

QString CommaEncode(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char(','), QLatin1Char('&'));
}

QString CommaDecode(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QLatin1Char(','));
}

}  // namespace worksheetfiles
