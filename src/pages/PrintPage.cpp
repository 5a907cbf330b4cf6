#include "pages/PrintPage.h"
#include "platform/Printer.h"
#include "platform/Vb.h"

namespace pages {

void printPicture(const platform::Picture& picture) {
    platform::Printer& printer = platform::Printer::one();
    try {
        printer.Print(QString());
        printer.PaintPicture(picture, 1000, 1000);
        printer.EndDoc();
    } catch (const std::exception&) {
        printer.KillDoc();  // whatever failed, the partial document never reaches the printer
        platform::MsgBox(QStringLiteral("There was a problem printing to your printer."));
    }
}

}  // namespace pages
