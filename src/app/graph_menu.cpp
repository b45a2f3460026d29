#include "app/graph_menu.h"

#include <QDir>
#include <QStringList>

#include "app/fit_dialog.h"
#include "app/page_stack.h"
#include "binding/equaliser_bands.h"
#include "binding/microphone_choice.h"
#include "binding/page_curve_reader.h"
#include "controls/response_graph.h"
#include "files/settings.h"
#include "filter/filter_text_reader.h"
#include "filter/filter_text_writer.h"
#include "pages/equaliser_page.h"
#include "pages/file_chooser.h"
#include "pages/input_page.h"
#include "pages/output_page.h"
#include "platform/qt/message_box.h"
#include "texts/filter_text_texts.h"
#include "texts/fit_texts.h"
#include "texts/language.h"
#include "texts/ui_texts.h"
#include "texts/undo_texts.h"

namespace {

// One colour per output page, apart from the curve's own magenta.
constexpr QRgb kChannelColours[pageNumber::Outputs] = {0xB400C8FF, 0xB4FFD740, 0xB4FF7043,
                                                       0xB466BB6A, 0xB4B388FF};

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

const TextTriple& itemText(GraphMenu::Item item) {
    switch (item) {
        case GraphMenu::Item::OtherChannels:
            return undotext::OtherChannels;
        case GraphMenu::Item::ImportFilters:
            return undotext::ImportFilters;
        case GraphMenu::Item::ExportFilters:
            return undotext::ExportFilters;
        case GraphMenu::Item::FitMeasurement:
            return fittext::MenuItem;
        default:
            return undotext::SaveGraph;
    }
}

QString utf8(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

GraphMenu::GraphMenu(QWidget& window, ParameterBinding& binding, const Mirror& mirror)
    : m_window(window), m_binding(binding), m_mirror(mirror) {
    m_shown = Settings().readInt(kSettingsFile, kOtherChannelsKey) == 1;
}

void GraphMenu::addOutputPage(OutputPage& page) {
    int p = page.pageIndex();
    m_pages[p] = {&page.graph(),
                  {Item::OtherChannels, Item::ImportFilters, Item::ExportFilters,
                   Item::FitMeasurement, Item::SaveGraph}};
    page.setGraphMenuHandler([this, p](int item) { chosen(p, item); });
    page.graph().setCompanionsShown(m_shown);
}

void GraphMenu::addEqualiserPage(EqualiserPage& page) {
    int p = page.pageIndex();
    m_pages[p] = {
        &page.graph(),
        {Item::ImportFilters, Item::ExportFilters, Item::FitMeasurement, Item::SaveGraph}};
    page.graph().options().contextMenu = true;
    page.setGraphMenuHandler([this, p](int item) { chosen(p, item); });
}

void GraphMenu::languageRefresh(const std::array<QString, pageNumber::Outputs>& names) {
    m_names = names;
    for (auto& [p, page] : m_pages) {
        bool output = p < pageNumber::Outputs;
        if (output) page.graph->setCompanions(companionsOf(p));
        std::vector<ResponseGraph::MenuExtra> extras;
        for (Item item : page.items)
            extras.push_back({text(itemText(item)), item == Item::OtherChannels
                                                        ? std::optional<bool>(m_shown)
                                                        : std::nullopt});
        page.graph->setMenuExtras(std::move(extras), output);
    }
}

std::vector<ResponseGraph::Companion> GraphMenu::companionsOf(int p) const {
    std::vector<ResponseGraph::Companion> others;
    for (int o = 0; o < pageNumber::Outputs; ++o) {
        auto other = m_pages.find(o);
        if (o != p && other != m_pages.end())
            others.push_back({other->second.graph, kChannelColours[o], m_names[size_t(o)]});
    }
    return others;
}

void GraphMenu::chosen(int p, int j) {
    auto page = m_pages.find(p);
    if (page == m_pages.end() || j < 0 || j >= int(page->second.items.size())) return;
    Item item = page->second.items[size_t(j)];
    if (item == Item::OtherChannels) {
        setOtherChannelsShown(!m_shown);
        Settings().writeInt(kSettingsFile, kOtherChannelsKey, m_shown ? 1 : 0);
        return;
    }
    if (item == Item::FitMeasurement) {
        fitMeasurement(p);
        m_window.activateWindow();
        return;
    }
    QString path = askPath(item, p);
    // The window takes the keys back from the dialogs, Ctrl+Z among them.
    m_window.activateWindow();
    if (path.isEmpty()) return;
    if (item == Item::ImportFilters)
        importFilters(p, path);
    else if (item == Item::ExportFilters)
        exportFilters(p, path);
    else if (!page->second.graph->savePicture(path, channelName(p)))
        tell(utf8(formatText(undotext::SaveGraphFailed, path.toUtf8().constData())));
    m_window.activateWindow();
}

void GraphMenu::setOtherChannelsShown(bool shown) {
    m_shown = shown;
    for (auto& [p, page] : m_pages)
        if (p < pageNumber::Outputs) page.graph->setCompanionsShown(shown);
    languageRefresh(m_names);  // the check box follows
}

QString GraphMenu::channelName(int page) const {
    if (page >= 0 && page < pageNumber::Outputs && !m_names[size_t(page)].isEmpty())
        return m_names[size_t(page)];
    return utf8(EqualiserBands::pageName(page));
}

QString GraphMenu::askPath(Item item, int page) {
    QString title = text(itemText(item));
    title.remove(QChar(0x2026));
    QString name = channelName(page);
    FileChooser::Request request{title, name, QStringLiteral("Filters (*.txt);;* (*)"), true};
    if (item == Item::SaveGraph) {
        request.suggested += QStringLiteral(".png");
        request.filter = QStringLiteral("PNG (*.png)");
    } else if (item == Item::ImportFilters) {
        request.suggested.clear();
        request.save = false;
    } else {
        request.suggested += QStringLiteral(".txt");
    }
    return FileChooser::choose(&m_window, request);
}

bool GraphMenu::importFilters(int page, const QString& path) {
    const int count = EqualiserBands::bandCount(page);
    FilterTextReader::Result result =
        FilterTextReader::readFile(path.toLocal8Bit().toStdString(), count);
    QStringList lines;
    for (const std::string& m : result.messages) lines << utf8(m);
    if (!result.readable || result.filters.empty()) {
        if (lines.isEmpty()) lines << text(filtertext::NoFilters);
        tell(lines.join(QLatin1Char('\n')));
        return false;
    }
    std::vector<EqBand> imported;
    for (const FilterTextReader::Filter& f : result.filters) imported.push_back(f.band);
    if (lines.isEmpty()) lines << text(undotext::NothingMoved);
    int n = static_cast<int>(imported.size());
    if (n < count) lines << utf8(formatText(filtertext::BandsCleared, n + 1, count));
    lines << QString()
          << utf8(formatText(undotext::ImportQuestion, n, EqualiserBands::pageName(page).c_str()));
    auto answer = MessageBox::show(&m_window, {lines.join(QLatin1Char('\n')), text(uitext::Tip),
                                               Language::index(), MessageBox::Buttons::OkCancel});
    if (answer != MessageBox::Answer::Yes) return false;
    std::vector<EqBand> bands =
        EqualiserBands::merged(EqualiserBands::read(page, m_mirror), imported);
    EqualiserBands::write(
        page, bands, m_binding,
        m_microphones ? m_microphones->microphones() : BindingTable::Microphones{});
    return true;
}

bool GraphMenu::fitMeasurement(int page) {
    FitDialog dialog(PageCurveReader::read(page, m_mirror), &m_window);
    m_fitDialog = &dialog;
    bool applied = dialog.exec() == QDialog::Accepted && !dialog.bands().empty();
    m_fitDialog = nullptr;
    if (!applied) return false;
    EqualiserBands::write(
        page, dialog.bands(), m_binding,
        m_microphones ? m_microphones->microphones() : BindingTable::Microphones{});
    return true;
}

bool GraphMenu::exportFilters(int page, const QString& path) {
    std::vector<EqBand> bands = EqualiserBands::read(page, m_mirror);
    std::string problem = FilterTextWriter::writeFile(path.toLocal8Bit().toStdString(), bands,
                                                      EqualiserBands::pageName(page));
    if (!problem.empty()) {
        tell(utf8(problem));
        return false;
    }
    tell(utf8(formatText(undotext::ExportDone, static_cast<int>(bands.size()),
                         path.toUtf8().constData())));
    return true;
}

void GraphMenu::tell(const QString& message) {
    MessageBox::show(&m_window,
                     {message, text(uitext::Tip), Language::index(), MessageBox::Buttons::Ok});
}

void GraphMenu::addPages(PageStack& pages) {
    for (int i = 0; i < pageNumber::Outputs; ++i) addOutputPage(pages.outputPage(i));
    for (int i = pageNumber::FirstEqualiser; i <= pageNumber::LastEqualiser; ++i)
        addEqualiserPage(pages.equaliserPage(i));
    setMicrophoneChoice(&static_cast<InputPage&>(pages.equaliserPage(pageNumber::Microphone)));
}
