#include "pages/PrintPage.h"
#include "platform/printing/Printer.h"
#include "platform/files/Core.h"

namespace pages {

void printPicture(const platform::Picture& picture) {
    platform::PrintDocument([&picture](platform::Printer& printer) {
        printer.print(QString());
        printer.paintPicture(picture, 1000, 1000);
    });
}

}  // namespace pages
