#include "core/StageScale.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>

namespace core {

double stageScale(double screenWidth, double screenHeight) {
    const double fit = std::min(screenWidth / DesignWidth, screenHeight / DesignHeight);
    return std::clamp(std::floor(fit * 100 + 1e-9) / 100, 0.5, 8.0);
}

double scaleSetting(const char* text) {
    bool ok = false;
    const double scale = QByteArray(text).trimmed().toDouble(&ok);
    return ok && scale >= 0.5 && scale <= 8 ? scale : 0;
}

}  // namespace core
