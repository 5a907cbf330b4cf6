#include "core/TopicFile.h"
#include "core/Errors.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <map>

namespace core {

QString Topic::quizTitle() const {
    QString name = quiz.section(QLatin1Char('\\'), 1);
    if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) name.chop(4);
    return name;
}

namespace {
constexpr int ErrBadTopic = 1001;  // ours: a topic file that breaks its rules

[[noreturn]] void refuse(int line, const QString& why) {
    throw RuntimeError(ErrBadTopic, line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(why) : why);
}

// A file of the working folder: "Folder\name.ext", nothing that could climb out of it; the folder
// spelt as the program spells it, so that it is found as spelt.
QString fileName(const QString& value, const QStringList& folders, int line) {
    static const QRegularExpression shape(QStringLiteral("^([A-Za-z]+)\\\\([A-Za-z0-9 _.-]+)$"));
    const QRegularExpressionMatch m = shape.match(value);
    const auto folder = std::find_if(folders.begin(), folders.end(), [&](const QString& f) {
        return m.hasMatch() && f.compare(m.captured(1), Qt::CaseInsensitive) == 0;
    });
    if (folder == folders.end() || m.captured(2).startsWith(QLatin1Char('.')))
        refuse(line, QStringLiteral("\"%1\" is not a file of %2").arg(value, folders.join(QStringLiteral(" or "))));
    return *folder + QLatin1Char('\\') + m.captured(2);
}

// "stem, count" for a document, "kind, caption" for an activity: the text before the first comma and after it.
std::pair<QString, QString> pairOf(const QString& value, int line) {
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0) refuse(line, QStringLiteral("two values separated by a comma are needed"));
    const QString first = value.left(comma).trimmed(), second = value.mid(comma + 1).trimmed();
    if (first.isEmpty() || second.isEmpty()) refuse(line, QStringLiteral("a value is empty"));
    return {first, second};
}

// "file, what it shows": the description may hold commas of its own.
PictureFile picture(const QString& value, int line) {
    const auto [file, shows] = pairOf(value, line);
    if (shows.size() > 200) refuse(line, QStringLiteral("a picture is described in at most 200 characters"));
    return {fileName(file, {QStringLiteral("Images")}, line), shows};
}

TopicDocument document(const QString& value, int line) {
    const auto [stem, count] = pairOf(value, line);
    static const QRegularExpression stemShape(QStringLiteral("^[A-Za-z0-9 _-]+$"));
    if (!stemShape.match(stem).hasMatch()) refuse(line, QStringLiteral("\"%1\" is not a page stem").arg(stem));
    bool ok = false;
    const int pages = count.toInt(&ok);
    if (!ok || pages < 1 || pages > 26) refuse(line, QStringLiteral("a document has 1 to 26 pages"));
    return {stem, pages};
}
}  // namespace

Topic parseTopic(const QByteArray& bytes) {
    if (bytes.size() > MaxTopicBytes) refuse(0, QStringLiteral("the file is too large to be a topic"));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError()) refuse(0, QStringLiteral("the file is not UTF-8 text"));
    Topic topic;
    std::map<QString, int> given;  // each name, and the line it was given on
    int activities = 0, lineNumber = 0;
    for (QString line : text.split(QLatin1Char('\n'))) {
        ++lineNumber;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) refuse(lineNumber, QStringLiteral("\"name = value\" is needed"));
        const QString name = line.left(equals).trimmed().toLower(), value = line.mid(equals + 1).trimmed();
        if (value.isEmpty()) refuse(lineNumber, QStringLiteral("%1 has no value").arg(name));
        if (name != QLatin1String("activity") && given.count(name))
            refuse(lineNumber, QStringLiteral("%1 is given twice").arg(name));
        given[name] = lineNumber;
        if (name == QLatin1String("entry")) {
            bool ok = false;
            topic.entry = value.toInt(&ok);
            if (!ok || topic.entry < 0 || topic.entry > 11) refuse(lineNumber, QStringLiteral("entry is 0 to 11"));
        } else if (name == QLatin1String("heading")) {
            if (value.size() > 40) refuse(lineNumber, QStringLiteral("a heading has at most 40 characters"));
            topic.heading = value;
        } else if (name == QLatin1String("picture") || name == QLatin1String("portrait")) {
            (name == QLatin1String("picture") ? topic.picture : topic.portrait) = picture(value, lineNumber);
        } else if (name == QLatin1String("quiz")) {
            topic.quiz = fileName(value, {QStringLiteral("multiple")}, lineNumber);
        } else if (name == QLatin1String("key facts") || name == QLatin1String("notes")) {
            (name == QLatin1String("notes") ? topic.notes : topic.keyFacts) = document(value, lineNumber);
        } else if (name == QLatin1String("activity")) {
            if (activities == 2) refuse(lineNumber, QStringLiteral("a topic has two activities"));
            const auto [kind, caption] = pairOf(value, lineNumber);
            static const QRegularExpression kindShape(QStringLiteral("^[a-z]+(-[a-z]+)*$"));
            if (!kindShape.match(kind).hasMatch())
                refuse(lineNumber, QStringLiteral("\"%1\" is not a board's kind").arg(kind));
            if (caption.size() > 40) refuse(lineNumber, QStringLiteral("a caption has at most 40 characters"));
            topic.activities[size_t(activities++)] = {kind, caption};
        } else {
            refuse(lineNumber, QStringLiteral("no topic setting is called \"%1\"").arg(name));
        }
    }
    for (const char* needed : {"entry", "heading", "picture", "portrait", "quiz", "key facts", "notes", "activity"})
        if (!given.count(QLatin1String(needed))) refuse(0, QStringLiteral("%1 is missing").arg(QLatin1String(needed)));
    if (activities != 2) refuse(0, QStringLiteral("a topic has two activities"));
    return topic;
}

}  // namespace core
