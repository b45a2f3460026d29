#pragma once

#include <QWidget>

class DrawingSurface;

// One page of the main window's page area, which shows one at a time.
class Page : public QWidget {
public:
    explicit Page(QWidget* parent) : QWidget(parent) {}

    // The main window's skin; the first layout after it creates the controls.
    virtual void setBackgroundSource(DrawingSurface* source) = 0;
    // Every text in the current language.
    virtual void refreshTexts() = 0;
};
