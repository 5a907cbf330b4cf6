// What a screen reader finds on our screens: each control with its role and name, the text of a page,
// and what changes as a pupil works, said without moving the keyboard.
#pragma once
#include <QString>

namespace platform {

// Hands Qt's accessibility our own descriptions of our controls and screens; once, as the stage is made.
void installAccessibility();
// Says `text` to a screen reader: a new question, a score, a tile placed.
void announce(const QString& text);
// What was said last (for the screens' own checks and the tests).
QString lastAnnouncement();

}  // namespace platform
