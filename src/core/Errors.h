// A failed operation, as the program's error traps see it: a number and a text.
#pragma once
#include <QString>
#include <stdexcept>
#include <string>

namespace core {

struct RuntimeError : std::runtime_error {
    int number;
    RuntimeError(int n, const QString& what) : std::runtime_error(what.toStdString()), number(n) {}
};

// A failure as a log line gives it: its words, and its number where it has one.
inline std::string reasonOf(const std::exception& e) {
    if (const auto* r = dynamic_cast<const RuntimeError*>(&e)) return std::string(e.what()) + " (error " + std::to_string(r->number) + ")";
    return e.what();
}
enum ErrNo { ErrFileNotFound = 53, ErrPastEnd = 62, ErrPathNotFound = 76, ErrTypeMismatch = 13, ErrSubscript = 9,
             ErrNoControl = 730, ErrBadPicture = 481, ErrIO = 57, ErrFileAlreadyOpen = 55, ErrPermissionDenied = 70,
             ErrPrinter = 482 };

}  // namespace core
