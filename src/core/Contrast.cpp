#include "core/Contrast.h"

#include <algorithm>
#include <cmath>

namespace core {

static double luminance(quint32 bgr) {
    const auto channel = [](quint32 v) {
        const double c = double(v & 0xff) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(bgr) + 0.7152 * channel(bgr >> 8) + 0.0722 * channel(bgr >> 16);
}

double contrastRatio(quint32 a, quint32 b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

quint32 focusFrameColour(quint32 inside, quint32 outside) {
    constexpr quint32 candidates[] = {0x00FFFFFF, 0x00000000, 0x0000FFFF};
    // Where no colour stands out from both (a white box on a mid blue), the frame must at least stand
    // out from the control's own edge, whose pixels it replaces.
    const auto score = [&](quint32 c) {
        const double in = contrastRatio(c, inside), both = std::min(in, contrastRatio(c, outside));
        return both >= 3 ? 100 + both : in;
    };
    return *std::max_element(std::begin(candidates), std::end(candidates),
                             [&](quint32 a, quint32 b) { return score(a) < score(b); });
}

FrameRings focusFrameRings(quint32 inside, quint32 outside) {
    const quint32 one = focusFrameColour(inside, outside);
    if (contrastRatio(one, inside) >= 3 && contrastRatio(one, outside) >= 3) return {one, one};
    return {focusFrameColour(outside, outside), focusFrameColour(inside, inside)};
}

}  // namespace core
