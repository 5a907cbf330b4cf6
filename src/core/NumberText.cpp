#include "core/NumberText.h"
#include "core/Errors.h"

#include <cmath>

namespace core {

QString numberText(long long n) { return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n); }
QString PrintNumber(long long n) { return numberText(n) + QLatin1Char(' '); }

long long toNumber(const QString& text) {
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 2147483647.0)
        throw RuntimeError(ErrTypeMismatch, QStringLiteral("Type mismatch"));
    return std::llround(d);
}

}  // namespace core
