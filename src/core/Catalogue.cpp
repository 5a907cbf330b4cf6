#include "core/Catalogue.h"

#include <algorithm>

namespace core {

TitlePage titlePage(int count, int page) {
    TitlePage p;
    p.first = core::TitlesPerPage * page;
    p.last = std::max(p.first, std::min(count, p.first + core::TitlesPerPage));
    p.previous = page > 0;
    p.next = page != LastCataloguePage && count > p.first + core::TitlesPerPage;
    return p;
}

}  // namespace core
