#pragma once

#include <QString>
#include <array>
#include <map>
#include <vector>

#include "binding/page_number.h"
#include "controls/response_graph.h"

class EqualiserPage;
class MicrophoneChoice;
class Mirror;
class OutputPage;
class PageStack;
class ParameterBinding;
class QWidget;

// The graphs' menu items beyond "Copy" and "Paste": on the output pages the
// other channels' curves behind the page's own (remembered in the settings);
// on every page with bands the import and export of filter files as
// room-measurement programs write them, fitting the bands to a measurement,
// and saving the graph as a PNG picture.
class GraphMenu {
public:
    enum class Item { OtherChannels, ImportFilters, ExportFilters, SaveGraph, FitMeasurement };
    static constexpr const char* kSettingsFile = "Graph";
    static constexpr const char* kOtherChannelsKey = "OtherChannels";

    GraphMenu(QWidget& window, ParameterBinding& binding, const Mirror& mirror);

    void addOutputPage(OutputPage& page);
    void addEqualiserPage(EqualiserPage& page);
    void setMicrophoneChoice(const MicrophoneChoice* choice) { m_microphones = choice; }
    // Every output and equaliser page of the stack, and its microphone choice.
    void addPages(PageStack& pages);

    // The menu texts and the output channels' names in the current language.
    void languageRefresh(const std::array<QString, pageNumber::Outputs>& names);
    void chosen(int page, int item);
    void setOtherChannelsShown(bool shown);

    // The whole file is read and its report shown before anything is
    // written; the bands are written when the user agrees. True when written.
    bool importFilters(int page, const QString& path);
    bool exportFilters(int page, const QString& path);
    // Shows the fit dialog; the fitted bands are written, as one step to
    // undo, when the user applies them. True when written.
    bool fitMeasurement(int page);
    // The fit dialog while it is open, for checks.
    class FitDialog* fitDialog() const {
        return m_fitDialog;
    }

private:
    struct Page {
        ResponseGraph* graph;
        std::vector<Item> items;
    };
    std::vector<ResponseGraph::Companion> companionsOf(int page) const;
    QString askPath(Item item, int page);
    // The page's channel name in the current language.
    QString channelName(int page) const;
    void tell(const QString& message);

    QWidget& m_window;
    ParameterBinding& m_binding;
    const Mirror& m_mirror;
    const MicrophoneChoice* m_microphones = nullptr;
    std::map<int, Page> m_pages;
    std::array<QString, pageNumber::Outputs> m_names;
    bool m_shown = false;
    class FitDialog* m_fitDialog = nullptr;
};
