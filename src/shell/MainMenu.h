#pragma once
#include "platform/screen/Form.h"

#include "core/TopicFile.h"

#include <array>
#include <optional>

// The main menu: twelve mathematicians, the teacher tools, the web link and Exit.
class MainMenu : public platform::Form {
    Q_OBJECT
public:
    static constexpr int Euclid = 1;  // of the twelve mathematicians, by their place in the menu
    struct Controls {
        platform::Label *heading = nullptr, *webLink = nullptr, *exit = nullptr, *wizard = nullptr,
                        *catalogue = nullptr, *acknowledgments = nullptr, *guide = nullptr,
                        *results = nullptr;  // the teacher's Pupils' Results
        std::array<platform::Label*, 12> mathematicians{};
        platform::Frame* frame = nullptr;
        platform::Image *portrait = nullptr, *logo = nullptr;
        platform::Timer* readCatalogue = nullptr;
    };

    MainMenu();
    void prepare() override;
    const Controls& ui() const { return m_ui; }

    static inline const QString WebAddress = QStringLiteral("https://www.vellacourt.example/");

private:
    Controls m_ui;
    std::array<std::optional<core::Topic>, 12> m_topics;  // by entry: the topics found in the folder "topics"
    void readTopics();
    void readCatalogue();
};

