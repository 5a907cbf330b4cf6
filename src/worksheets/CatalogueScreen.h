#pragma once
#include "platform/screen/Form.h"
#include "core/TopicFile.h"

#include <array>

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
    // The portrait and heading a worksheet runs under: its opener's.
    void runUnder(const core::PictureFile& portrait, const QString& heading) {
        m_portrait = portrait;
        m_heading = heading;
    }

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    void showCataloguePage();
    void editWorksheet(const worksheetfiles::Worksheet& w);
    void deleteTitle(const QString& title);

private:
    Controls m_ui;
    int m_page = 0;  // the page of titles shown, from 0
    core::PictureFile m_portrait;
    QString m_heading;
    void titleClicked(const QString& title);
    void turnPage(int step);
    void showTitles(const core::TitlePage& page);
};

