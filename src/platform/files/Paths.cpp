#include "platform/files/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString resolvePath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty() || QFileInfo::exists(p)) return p;
    // Walk the components, taking the first case-insensitive match of each.
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString dir = p.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        const QString base = dir.isEmpty() ? QStringLiteral(".") : dir;
        QString found;
        if (QFileInfo::exists(base + QLatin1Char('/') + part)) found = part;
        else
            for (const QString& entry : QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
                if (entry.compare(part, Qt::CaseInsensitive) == 0) { found = entry; break; }
        if (found.isEmpty()) return p;
        dir = dir.isEmpty() ? found : (dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/')) + found;
    }
    return dir;
}

}  // namespace platform
