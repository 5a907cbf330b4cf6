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

}  // namespace core
