#pragma once

#include <QString>
#include <array>

class OutputPage;
class QWidget;

// The output pages' graph menu beyond "Copy" and "Paste": the other channels'
// curves behind each page's own (remembered in the settings) and saving the
// graph as a PNG picture.
class GraphMenu {
public:
    static constexpr int kPages = 5;
    static constexpr int kOtherChannelsItem = 0;
    static constexpr int kSaveItem = 1;
    static constexpr const char* kSettingsFile = "Graph";
    static constexpr const char* kOtherChannelsKey = "OtherChannels";

    GraphMenu(QWidget& window, const std::array<OutputPage*, kPages>& pages);

    // The menu texts and the channels' names in the current language.
    void languageRefresh(const std::array<QString, kPages>& names);
    void chosen(int page, int item);
    void setOtherChannelsShown(bool shown);
    bool otherChannelsShown() const { return m_shown; }

private:
    void saveGraph(int page);

    QWidget& m_window;
    std::array<OutputPage*, kPages> m_pages;
    bool m_shown = false;
};
