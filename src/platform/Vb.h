// The small runtime our screens are written against: errors, number text,
// colours, fonts, message boxes, paths, random numbers, the web link, ending.
#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <stdexcept>

namespace platform {

// A failed operation; a screen's error trap catches it.
struct RuntimeError : std::runtime_error {
    int number;
    RuntimeError(int n, const QString& what) : std::runtime_error(what.toStdString()), number(n) {}
};
enum ErrNo { ErrFileNotFound = 53, ErrPastEnd = 62, ErrPathNotFound = 76, ErrBadFileName = 52,
             ErrTypeMismatch = 13, ErrSubscript = 9, ErrNoControl = 730, ErrBadPicture = 481,
             ErrIO = 57, ErrFileAlreadyOpen = 55, ErrPermissionDenied = 70, ErrPrinter = 482 };

// Runs an event procedure; a failure nobody trapped becomes a message, never a crash.
void run(const std::function<void()>& procedure);

// A step of a longer procedure that may fail without stopping the steps after it.
template <class F> void skipOnFailure(F&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

// Number to text: a leading blank for non-negative numbers ("Question" + Str(3) reads "Question 3").
QString Str(long long n);
// A number as Print # writes it to a file: " 3 " (sign place, digits, one blank).
QString PrintNumber(long long n);
// Whole number from text the way a worksheet's fields are converted; throws 13 when not a number.
long long Val(const QString& text);

// Colours as the program writes them: &H00BBGGRR.
constexpr quint32 RGB(int r, int g, int b) { return quint32(r) | quint32(g) << 8 | quint32(b) << 16; }
inline QColor toQColor(quint32 bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }
constexpr quint32 Yellow = 0x0000FFFF, Black = 0x00000000, Navy = 0x00800000, White = 0x00FFFFFF;

// Fonts by name and points, laid out at 96 dpi so screens look the same on every display.
struct FontDesc {
    const char* family = "Tahoma";
    double points = 8.25;
    bool bold = false;
};
QFont makeFont(const FontDesc& f);
void initFonts();  // registers Tahoma from the system's Wine fonts when there is none

// Message boxes: OK, or OK and Cancel. The caption is the program's title unless given.
inline const QString ProgramTitle = QStringLiteral("Vellacourt Numerists");
enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };
Answer MsgBox(const QString& text, Buttons buttons = Buttons::Ok, const QString& caption = ProgramTitle);
// Test seam: when set, receives every message box instead of the screen.
inline std::function<Answer(const QString& text, const QString& caption)> msgBoxHook;

// A relative path with "\" or "/" separators, found on disk case-insensitively where it
// is not found as spelt. Missing files come back spelt as given (with "/").
QString resolvePath(const QString& path);

// The program-wide random generator.
void Randomize();
double Rnd();

// The publisher's web site in the desktop's browser.
void openUrl(const QString& url);
inline std::function<void(const QString&)> openUrlHook;

// Ends the run at once: every screen goes, no further events.
void End();
inline std::function<void()> endHook;

}  // namespace platform
