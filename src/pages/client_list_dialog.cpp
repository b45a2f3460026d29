#include "pages/client_list_dialog.h"

#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/module_table.h"

ClientListDialog::ClientListDialog(const std::vector<uint32_t>& clients, QWidget* parent)
    : QDialog(parent), m_clients(clients), m_list(new QTreeWidget(this)) {
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QStringLiteral("Client IP")});
    m_list->setRootIsDecorated(false);
    for (uint32_t address : m_clients)
        m_list->addTopLevelItem(
            new QTreeWidgetItem({QString::fromStdString(ModuleTable::dotted(address))}));
    // Any button's double click picks, the right one too.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { pick(m_list->indexOfTopLevelItem(item)); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
}

void ClientListDialog::pick(int row) {
    if (row < 0 || row >= static_cast<int>(m_clients.size())) return;
    m_chosen = m_clients[static_cast<size_t>(row)];
    accept();
}
