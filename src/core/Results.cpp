#include "core/Results.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

namespace core {

namespace {

const char* const Header[] = {"Date", "Login", "Name", "Topic", "Work", "Score", "Out of"};
constexpr int Fields = 7;

QByteArray csvField(const QString& text) {
    QByteArray f = text.toUtf8();
    if (!f.contains(',') && !f.contains('"') && !f.contains('\n') && !f.contains('\r')) return f;
    f.replace("\"", "\"\"");
    return '"' + f + '"';
}

QByteArray csvRow(const QStringList& cells) {
    QByteArray line;
    for (qsizetype i = 0; i < cells.size(); ++i) line += (i ? "," : "") + csvField(cells[i]);
    return line + "\r\n";
}

// Local time with its offset, to the second: "2026-12-08T09:15:00+00:00".
QString isoWithOffset(const QDateTime& t) {
    const int offset = t.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (offset < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// A field as the teacher's screen shows it: control characters (a quoted line end among them) as spaces.
QString shownField(const QByteArray& bytes) {
    QString s = QString::fromUtf8(bytes);
    for (QChar& c : s)
        if (c.category() == QChar::Other_Control) c = u' ';
    // Marks that turn the direction of the text around could make one pupil's line read as another's.
    static const QRegularExpression turns(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]"));
    return s.remove(turns);
}

// The record a line's fields make, if every one of them could be true.
std::optional<ResultRecord> recordOf(const std::vector<QByteArray>& f, const QDateTime& now) {
    ResultRecord r;
    r.when = QDateTime::fromString(QString::fromLatin1(f[0]), Qt::ISODate);
    bool scoreOk = false, outOfOk = false;
    r.score = f[5].toInt(&scoreOk);
    r.outOf = f[6].toInt(&outOfOk);
    static const QDateTime earliest(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    if (!r.when.isValid() || r.when < earliest || r.when > now.addDays(1)) return std::nullopt;
    if (!scoreOk || !outOfOk || r.outOf < 1 || r.outOf > ResultsLimits::OutOfAtMost || r.score < 0 || r.score > r.outOf)
        return std::nullopt;
    r.login = shownField(f[1]);
    r.name = shownField(f[2]);
    r.topic = shownField(f[3]);
    r.work = shownField(f[4]);
    if (r.login.isEmpty() || r.work.isEmpty()) return std::nullopt;
    for (const QString* field : {&r.login, &r.name, &r.topic, &r.work})
        if (field->size() > ResultsLimits::FieldChars) return std::nullopt;
    return r;
}

}  // namespace

QByteArray resultsHeader() {
    QStringList h;
    for (const char* name : Header) h << QString::fromLatin1(name);
    return csvRow(h);
}

QByteArray resultLine(const ResultRecord& r) {
    // No longer than a reader believes: a long title from a hand-made worksheet is cut, not refused later.
    const auto fit = [](const QString& f) { return f.left(ResultsLimits::FieldChars); };
    return csvRow({isoWithOffset(r.when), fit(r.login), fit(r.name), fit(r.topic), fit(r.work), QString::number(r.score),
                   QString::number(r.outOf)});
}

ResultsRead parseResults(const QByteArray& bytes, const QDateTime& now, int maxRecords) {
    ResultsRead out;
    // Bytes of UTF-8 a field of FieldChars letters may take; a longer one marks its line as none of ours.
    constexpr qsizetype FieldBytes = ResultsLimits::FieldChars * 4;
    std::vector<QByteArray> fields(1);
    bool quoted = false, broken = false, blank = true;
    const auto endLine = [&] {
        if (!blank) {
            if (broken || fields.size() != Fields) ++out.refused;
            else if (fields[0] != Header[0]) {
                if (auto r = recordOf(fields, now)) out.records.push_back(std::move(*r));
                else ++out.refused;
            }
        }
        fields.assign(1, QByteArray());
        quoted = broken = false;
        blank = true;
    };
    const qsizetype n = bytes.size();
    qsizetype stoppedAt = n;
    for (qsizetype i = 0; i < n; ++i) {
        if (int(out.records.size()) >= maxRecords) {
            stoppedAt = i;
            break;
        }
        const char c = bytes[i];
        if (quoted) {
            if (c == '"' && i + 1 < n && bytes[i + 1] == '"') ++i;
            else if (c == '"') {
                quoted = false;
                continue;
            }
        } else if (c == '\n') {
            endLine();
            continue;
        } else if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            continue;
        } else if (c == ',') {
            blank = false;
            if (fields.size() > Fields) broken = true;
            else fields.emplace_back();
            continue;
        } else if (c == '"' && fields.back().isEmpty()) {
            quoted = true;
            blank = false;
            continue;
        }
        blank = false;
        QByteArray& f = fields.back();
        if (f.size() >= FieldBytes) broken = true;
        else if (!broken) f += c;
    }
    if (int(out.records.size()) < maxRecords) endLine();
    // Stopped at the limit with more than line ends left: some of the file went unread.
    else out.cut = std::any_of(bytes.cbegin() + std::min(stoppedAt, n), bytes.cend(), [](char c) { return c != '\r' && c != '\n'; });
    return out;
}

QString neutralisedCell(const QString& cell) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !cell.isEmpty() && formulaStarts.contains(cell.front()) ? QLatin1Char('\'') + cell : cell;
}

QByteArray csvOf(const QStringList& header, const std::vector<QStringList>& rows) {
    const auto neutralised = [](QStringList cells) {
        for (QString& c : cells) c = neutralisedCell(c);
        return cells;
    };
    QByteArray out = csvRow(neutralised(header));
    for (const QStringList& row : rows) out += csvRow(neutralised(row));
    return out;
}

std::vector<WorkSummary> summarise(const std::vector<const ResultRecord*>& records) {
    std::map<std::tuple<QString, QString, QString>, WorkSummary> byWork;
    for (const ResultRecord* r : records) {
        WorkSummary& s = byWork[{r->pupil, r->topic, r->work}];
        if (!s.tries++) {
            s.pupil = r->pupil;
            s.topic = r->topic;
            s.work = r->work;
            s.latest = s.best = r;
            continue;
        }
        if (r->when >= s.latest->when) s.latest = r;  // of two in one second, the later line
        // Compared as fractions without rounding: a score out of a different number is still ranked.
        const qint64 mine = qint64(r->score) * s.best->outOf, theirs = qint64(s.best->score) * r->outOf;
        if (mine > theirs || (mine == theirs && r->when < s.best->when)) s.best = r;
    }
    std::vector<WorkSummary> out;
    out.reserve(byWork.size());
    for (auto& [key, s] : byWork) out.push_back(std::move(s));
    return out;
}

QString scoreText(int score, int outOf) { return QStringLiteral("%1/%2").arg(score).arg(outOf); }

QString ukDate(const QDate& d) {
    return QLocale(QLocale::English, QLocale::UnitedKingdom).toString(d, QStringLiteral("d MMMM yyyy"));
}

}  // namespace core
