// Contrast between colours as readers with low vision need it: text needs 4.5:1 against what lies
// behind it, a mark that is not text 3:1. Colours are stored as the program stores them: &H00BBGGRR.
#pragma once
#include <QtGlobal>

namespace core {

// The ratio of the lighter colour's relative luminance to the darker's (each plus 0.05): 1 to 21.
double contrastRatio(quint32 bgrA, quint32 bgrB);
// The colour of a focus frame drawn between `inside` (the control's back) and `outside` (what is
// around it): white, black or yellow, at least 3:1 from both where one is, else the one that stands out most
// from the inside.
quint32 focusFrameColour(quint32 inside, quint32 outside);
// The focus frame's two rings, outer then inner: one colour twice where it stands out 3:1 from both
// sides; otherwise an outer ring that stands out from what is around and an inner one that stands
// out from the control (a white text box on the screen's blue: a white ring round a black one).
struct FrameRings {
    quint32 outer, inner;
};
FrameRings focusFrameRings(quint32 inside, quint32 outside);

}  // namespace core
