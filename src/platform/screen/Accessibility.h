// What a screen reader finds on our screens: each control with its role and name, the text of a page,
// and what changes as a pupil works, said without moving the keyboard.
#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace platform {

// Hands Qt's accessibility our own descriptions of our controls and screens; once, as the stage is made.
void installAccessibility();
// Says `text` to a screen reader: a new question, a score, a tile placed.
void announce(const QString& text);
// What was said last (for the screens' own checks and the tests).
QString lastAnnouncement();
// Tells a reader that `screen` went behind another (or came back in front): the screen and each object
// on it stop (or start) showing. A reader keeps what it was last told of each object, and would
// otherwise go on reading a covered screen in its review of the window.
void reportShowing(QWidget* screen, bool showing);
// Tells a reader of every name on the screen in front that changed since it was last told: captions,
// pictures and pages, tiles that moved.
void reportNameChanges();
// The same once the event being handled is done (after each of the program's handlers and each
// click, key or touch); nothing when no reader is listening.
void reportNameChangesSoon();
class Picture;
// A page's title, as a reader names it: its first text ("Page" for a page without any).
QString pageTitle(const Picture& page);
// Test seam: told of each name change reported, whether or not a reader listens.
extern std::function<void(QWidget*)> nameChangeHook;

}  // namespace platform
