#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

class QTreeWidget;

// The Wi-Fi modules found on the network, one address a row; a double click
// picks one.
class ClientListDialog : public QDialog {
public:
    ClientListDialog(const std::vector<uint32_t>& clients, QWidget* parent);

    // The address picked (first octet most significant); 0 until one is.
    uint32_t chosen() const { return m_chosen; }
    QTreeWidget& list() { return *m_list; }
    void pick(int row);

private:
    std::vector<uint32_t> m_clients;
    QTreeWidget* m_list;
    uint32_t m_chosen = 0;
};
