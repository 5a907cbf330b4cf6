#include "results/TableTools.h"

#include "platform/printing/Printer.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Dialogs.h"
#include "results/ResultsModels.h"

#include <QDate>
#include <QSaveFile>

using namespace platform;

namespace results {

void bindSorting(ChoiceBox& choice, TableBox& table, const std::vector<Sorts>& columns) {
    // Each column twice: first in the order a teacher most often wants (names from A, scores and
    // dates from the top), then the other way.
    struct Way {
        int column;
        Qt::SortOrder order;
    };
    auto ways = std::make_shared<std::vector<Way>>();
    QStringList names;
    for (size_t c = 0; c < columns.size(); ++c) {
        const QString heading = table.rows()->headerData(int(c), Qt::Horizontal).toString();
        const auto [first, second] = columns[c] == Sorts::Words     ? std::pair("A to Z", "Z to A")
                                     : columns[c] == Sorts::Numbers ? std::pair("highest first", "lowest first")
                                                                    : std::pair("newest first", "oldest first");
        const Qt::SortOrder firstOrder = columns[c] == Sorts::Words ? Qt::AscendingOrder : Qt::DescendingOrder;
        ways->push_back({int(c), firstOrder});
        ways->push_back({int(c), firstOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder});
        names << heading + QStringLiteral(", ") + QLatin1String(first) << heading + QStringLiteral(", ") + QLatin1String(second);
    }
    choice.setChoices(names);
    const auto follow = [&choice, &table, ways] {
        for (size_t i = 0; i < ways->size(); ++i)
            if ((*ways)[i].column == table.sortColumn() && (*ways)[i].order == table.sortOrder()) choice.choose(int(i));
    };
    choice.onChange = [&table, &choice, ways] {
        if (choice.chosen() >= 0) table.sortBy((*ways)[size_t(choice.chosen())].column, (*ways)[size_t(choice.chosen())].order);
    };
    table.onSortChange = follow;
    table.sortBy(ways->front().column, ways->front().order);
    follow();
    // From now on a click on a heading is said, as the list's own change would be.
    table.onSortChange = [follow, &choice] {
        follow();
        announce(QStringLiteral("Sorted by ") + choice.chosenText());
    };
}

void exportTable(const QAbstractItemModel& shown, const QString& suggestedName) {
    QString path = chooseFileToSave(QStringLiteral("Export Results"), suggestedName, QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
    std::vector<QStringList> cells = cellsOf(shown);
    const QStringList header = cells.front();
    cells.erase(cells.begin());
    const QByteArray bytes = core::csvOf(header, cells);
    // A new file renamed over the old only when whole: a full disk leaves the old one as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return void(showMessage(QStringLiteral("The results could not be saved in %1: %2").arg(path, file.errorString())));
    showMessage(QStringLiteral("The results are saved in %1.").arg(path));
}

bool printTable(const QString& title, const QString& about, const QAbstractItemModel& shown, const std::vector<float>& shares) {
    const std::vector<QStringList> cells = cellsOf(shown);
    const QString today = core::ukDate(QDate::currentDate());
    return PrintDocument([&](Printer& printer) {
        printer.setFontName(QStringLiteral("Arial"));
        printer.setForeColor(Black);
        const float W = printer.printableWidth(), H = printer.printableHeight();
        printer.setFontSize(10);
        const float row = printer.lineHeight(), foot = H - row - 1;  // the foot line just inside the page
        // Where each column starts; a cell is cut to its column, less a small gap.
        std::vector<float> left{0};
        for (float share : shares) left.push_back(left.back() + share * W);
        const auto fit = [&printer](QString text, float room) {
            if (printer.textWidth(text) <= room) return text;
            while (!text.isEmpty() && printer.textWidth(text + QStringLiteral("...")) > room) text.chop(1);
            return text + QStringLiteral("...");
        };
        const auto printRow = [&](const QStringList& r, bool bold) {
            printer.setFontBold(bold);
            const float y = printer.currentY();
            for (qsizetype c = 0; c < r.size() && size_t(c) + 1 < left.size(); ++c) {
                printer.setCurrentX(left[size_t(c)]);
                printer.setCurrentY(y);
                printer.print(fit(r[c], left[size_t(c) + 1] - left[size_t(c)] - 120), false);
            }
            printer.setCurrentY(y + row);
        };
        const auto headings = [&] {
            printRow(cells.front(), true);
            printer.line(0, printer.currentY(), W, printer.currentY(), Black);
            printer.setCurrentY(printer.currentY() + 60);
        };
        // The title block, then how many rows each page holds, so that every foot can say "of Y".
        printer.setFontBold(true);
        printer.setFontSize(16);
        printer.print(title);
        printer.setFontSize(10);
        printer.setFontBold(false);
        printer.print(about.left(1).toUpper() + about.mid(1));
        printer.print(QStringLiteral(" "));
        const float firstTop = printer.currentY(), otherTop = 0, headingRoom = row + 60;
        const int firstRows = std::max(1, int((foot - row - firstTop - headingRoom) / row));
        const int otherRows = std::max(1, int((foot - row - otherTop - headingRoom) / row));
        const int rows = int(cells.size()) - 1;
        const int pages = 1 + (rows > firstRows ? (rows - firstRows + otherRows - 1) / otherRows : 0);
        int next = 1;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) printer.newPage();
            headings();
            for (int n = page == 1 ? firstRows : otherRows; n > 0 && next <= rows; --n) printRow(cells[size_t(next++)], false);
            printer.setFontBold(false);
            printer.setCurrentY(foot);
            printer.setCurrentX(0);
            printer.print(QStringLiteral("Printed %1").arg(today), false);
            const QString pageOf = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
            printer.setCurrentX(W - printer.textWidth(pageOf));
            printer.setCurrentY(foot);
            printer.print(pageOf, false);
        }
    });
}

}  // namespace results
