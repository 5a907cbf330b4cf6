#include "platform/screen/PageText.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace platform {

PageText::PageText(const Metafile& page) {
    std::vector<Metafile::Text> runs = page.textBoxes();
    std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.box.top() < b.box.top(); });
    // Lines: runs whose middles lie within the first run's height, then left to right.
    std::vector<std::vector<const Metafile::Text*>> rows;
    for (const Metafile::Text& r : runs) {
        if (rows.empty() || r.box.center().y() > rows.back().front()->box.bottom()) rows.emplace_back();
        rows.back().push_back(&r);
    }
    QHash<int, qsizetype> letters;  // characters written at each size: the commonest is the body's
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->box.left() < b->box.left(); });
        if (!lines.empty()) add(QLatin1Char('\n'), QRectF(boxes.back().topRight(), QSizeF(0, boxes.back().height())));
        Line line{text.size()};
        for (const Metafile::Text* r : row) {
            if (text.size() > line.start) add(QLatin1Char(' '), QRectF(QPointF(boxes.back().right(), r->box.top()), QPointF(r->box.left(), r->box.bottom())));
            for (qsizetype i = 0; i < r->text.size(); ++i)
                add(r->text.at(i), QRectF(QPointF(r->edges[size_t(i)], r->box.top()), QPointF(r->edges[size_t(i) + 1], r->box.bottom())));
            line.pixelSize = std::max(line.pixelSize, r->pixelSize);
            line.weight = std::max(line.weight, r->weight);
            letters[int(std::lround(r->pixelSize))] += r->text.size();
        }
        line.end = text.size();
        lines.push_back(line);
    }
    const auto body = std::max_element(letters.cbegin(), letters.cend());
    for (Line& l : lines)
        l.heading = l.weight >= 600 || (body != letters.cend() && std::lround(l.pixelSize) > body.key() * 11 / 10);
}

}  // namespace platform
