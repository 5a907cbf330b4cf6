// The catalogue's paging: which titles of the list a page shows, and which other pages it offers.
#pragma once
#include "core/Shared.h"

namespace core {

// The last (0-based) page of a full catalogue, which never offers another: 42 pages, so that every
// one of the 1000 titles the index may hold can be reached.
constexpr int LastCataloguePage = (core::MaxTitles - 1) / core::TitlesPerPage;

// Page `page` (from 0) of a list of `count` titles: titles first + 1 to last, and whether the
// previous and the next page can be reached from it.
struct TitlePage {
    int first = 0, last = 0;
    bool previous = false, next = false;
    int shown() const { return last - first; }
};
TitlePage titlePage(int count, int page);

}  // namespace core
