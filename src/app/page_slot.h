#pragma once

#include <QString>
#include <QWidget>

class DrawingSurface;

// The place of one page in the main window's page area, until the page
// itself exists: it shows the skin under it and the page's name.
class PageSlot : public QWidget {
public:
    PageSlot(int pageIndex, DrawingSurface* background, QWidget* parent);

    int pageIndex() const { return m_pageIndex; }
    void setTitle(const QString& title);
    QString title() const { return m_title; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_pageIndex;
    DrawingSurface* m_background;
    QString m_title;
};
