#pragma once
#include "platform/Form.h"

#include <array>
#include <functional>

namespace core { struct TitlePage; }
namespace worksheetfiles { struct Worksheet; }

// The Worksheets Catalogue: the teacher's worksheets, 24 a page, to run, edit or delete.
class CatalogueScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *heading = nullptr, *exit = nullptr, *previous = nullptr, *next = nullptr,
                        *pageNumber = nullptr;
        std::array<platform::Label*, 24> titles{};  // down the first column, then the second
        platform::CheckBox *edit = nullptr, *remove = nullptr;
    };
    CatalogueScreen();
    // The main menu the catalogue returns to, and the portrait (a picture file) and heading a worksheet
    // runs under: given by the shell, which the catalogue does not reach itself.
    struct Menu {
        std::function<void()> show;
        std::function<QString()> portrait;
        std::function<QString()> heading;
    };
    static inline Menu menu;

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    void showCataloguePage();
    void editWorksheet(const worksheetfiles::Worksheet& w);
    void deleteTitle(const QString& title);

private:
    Controls m_ui;
    int m_page = 0;  // the page of titles shown, from 0
    void titleClicked(const QString& title);
    void turnPage(int step);
    void showTitles(const core::TitlePage& page);
};

