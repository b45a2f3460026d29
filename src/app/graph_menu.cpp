#include "app/graph_menu.h"

#include <QDir>
#include <QFileDialog>

#include "controls/response_graph.h"
#include "files/settings.h"
#include "pages/output_page.h"
#include "platform/qt/message_box.h"
#include "texts/language.h"
#include "texts/ui_texts.h"
#include "texts/undo_texts.h"

namespace {

// One colour per output page, apart from the curve's own magenta.
constexpr QRgb kChannelColours[GraphMenu::kPages] = {0xB400C8FF, 0xB4FFD740, 0xB4FF7043, 0xB466BB6A,
                                                     0xB4B388FF};

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

}  // namespace

GraphMenu::GraphMenu(QWidget& window, const std::array<OutputPage*, kPages>& pages)
    : m_window(window), m_pages(pages) {
    for (int p = 0; p < kPages; ++p)
        m_pages[size_t(p)]->setGraphMenuHandler([this, p](int item) { chosen(p, item); });
    setOtherChannelsShown(Settings().readInt(kSettingsFile, kOtherChannelsKey) == 1);
}

void GraphMenu::languageRefresh(const std::array<QString, kPages>& names) {
    for (int p = 0; p < kPages; ++p) {
        std::vector<ResponseGraph::Companion> others;
        for (int o = 0; o < kPages; ++o) {
            if (o != p)
                others.push_back(
                    {&m_pages[size_t(o)]->graph(), kChannelColours[o], names[size_t(o)]});
        }
        ResponseGraph& graph = m_pages[size_t(p)]->graph();
        graph.setCompanions(std::move(others));
        graph.setMenuExtras(
            {{text(undotext::OtherChannels), m_shown ? 1 : 0}, {text(undotext::SaveGraph), -1}});
    }
}

void GraphMenu::chosen(int page, int item) {
    if (item == kOtherChannelsItem) {
        setOtherChannelsShown(!m_shown);
        Settings().writeInt(kSettingsFile, kOtherChannelsKey, m_shown ? 1 : 0);
    } else if (item == kSaveItem) {
        saveGraph(page);
    }
}

void GraphMenu::setOtherChannelsShown(bool shown) {
    m_shown = shown;
    for (OutputPage* page : m_pages) page->graph().setCompanionsShown(shown);
}

void GraphMenu::saveGraph(int page) {
    QString title = text(undotext::SaveGraph);
    title.remove(QChar(0x2026));
    QString path = QFileDialog::getSaveFileName(&m_window, title, QDir::homePath(),
                                                QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
    if (m_pages[size_t(page)]->graph().savePicture(path)) return;
    QByteArray utf8 = path.toUtf8();
    QString message =
        QString::fromStdString(formatText(undotext::SaveGraphFailed, utf8.constData()));
    MessageBox::show(&m_window,
                     {message, text(uitext::Tip), Language::windowsId(), MessageBox::Buttons::Ok});
}
