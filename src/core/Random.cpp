#include "core/Random.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <chrono>

namespace core {

static QRandomGenerator& generator() {
    static QRandomGenerator g(1);
    return g;
}

// Seeded from the time of day to the nanosecond, and never twice alike in one run, so two
// reseeds in quick succession still give two different sequences.
void reseedRandom() {
    static quint64 count = 0;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const quint64 nanos = quint64(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() % 86400000000000LL);
    generator().seed(quint32(nanos ^ (nanos >> 32)) ^ quint32(++count * 0x9E3779B9u) ^
                     quint32(QCoreApplication::applicationPid()));
}
double randomFraction() { return generator().generateDouble(); }

}  // namespace core
