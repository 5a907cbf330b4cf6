#include "platform/Vb.h"
#include "platform/Stage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTime>
#include <QUrl>
#include <chrono>
#include <cmath>

namespace platform {

void run(const std::function<void()>& procedure) {
    try {
        procedure();
    } catch (const std::exception& e) {
        MsgBox(QStringLiteral("Something went wrong: %1").arg(QString::fromStdString(e.what())));
    }
}

QString Str(long long n) { return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n); }
QString PrintNumber(long long n) { return Str(n) + QLatin1Char(' '); }

long long Val(const QString& text) {
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 2147483647.0)
        throw RuntimeError(ErrTypeMismatch, QStringLiteral("Type mismatch"));
    return std::llround(d);
}

QFont makeFont(const FontDesc& f) {
    QFont font(QString::fromLatin1(f.family));
    font.setPixelSize(int(std::lround(f.points * 4.0 / 3.0)));
    font.setBold(f.bold);
    return font;
}

void initFonts() {
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) return;
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

Answer MsgBox(const QString& text, Buttons buttons, const QString& caption) {
    if (msgBoxHook) return msgBoxHook(text, caption);
    QMessageBox box(Stage::instance());
    box.setWindowTitle(caption);
    box.setText(text);
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setIcon(QMessageBox::Question);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

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

static QRandomGenerator& generator() {
    static QRandomGenerator g(1);
    return g;
}
// Seeded from the time of day to the nanosecond, and never twice alike in one run, so two
// reseeds in quick succession still give two different sequences.
void Randomize() {
    static quint64 count = 0;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const quint64 nanos = quint64(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() % 86400000000000LL);
    generator().seed(quint32(nanos ^ (nanos >> 32)) ^ quint32(++count * 0x9E3779B9u) ^
                     quint32(QCoreApplication::applicationPid()));
}
double Rnd() { return generator().generateDouble(); }

void openUrl(const QString& url) {
    if (openUrlHook) return openUrlHook(url);
    QDesktopServices::openUrl(QUrl(url));
}

void End() {
    if (endHook) return endHook();
    Stage::instance()->hide();
    QCoreApplication::exit(0);
}

}  // namespace platform
