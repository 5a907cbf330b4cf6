#include "pages/PrintPage.h"
#include "platform/printing/Printer.h"
#include "platform/files/Core.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Theme.h"

#include <algorithm>

namespace pages {

bool printPage(const platform::Picture& picture, const QString& document, const QString& place) {
    return platform::PrintDocument([&](platform::Printer& printer) {
        const float W = printer.printableWidth(), H = printer.printableHeight();
        // Header and footer each take a band of the page, a rule between band and picture; a line of
        // 11 points is about 250 twips high.
        constexpr float Band = 480, Rule = 360, Line = 300, Points = 11;
        printer.setFontName(QStringLiteral("Times New Roman"));
        printer.setFontSize(Points);
        printer.setForeColor(platform::Black);
        printer.setCurrentX(0);
        printer.setCurrentY(0);
        printer.print(document);
        printer.line(0, Rule, W, Rule, platform::Black);
        printer.line(0, H - Rule, W, H - Rule, platform::Black);
        printer.setCurrentY(H - Line);
        printer.setCurrentX(0);
        printer.print(platform::ProgramTitle, false);
        printer.setCurrentX(W - printer.textWidth(place));
        printer.print(place);
        // The picture as wide as the page allows, or as tall where it is the height that runs out.
        const QSizeF own = picture.sizeTwips();
        if (own.isEmpty()) return;
        const float top = Band, room = H - 2 * Band;
        const float scale = std::min(W / float(own.width()), room / float(own.height()));
        const float w = float(own.width()) * scale, h = float(own.height()) * scale;
        printer.paintPicture(picture, (W - w) / 2, top, w, h);
    });
}

}  // namespace pages
