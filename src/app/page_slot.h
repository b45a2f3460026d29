#pragma once

#include <QString>
#include <QWidget>

class CMemDcClass;

// The place of one page in the main window's page area, until the page
// itself exists: it shows the skin under it and the page's name.
class PageSlot : public QWidget {
public:
    PageSlot(int pageIndex, CMemDcClass* background, QWidget* parent);

    int pageIndex() const { return m_pageIndex; }
    void setTitle(const QString& title);
    QString title() const { return m_title; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_pageIndex;
    CMemDcClass* m_background;
    QString m_title;
};
