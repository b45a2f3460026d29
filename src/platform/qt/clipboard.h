#pragma once

#include <QString>

// The system clipboard's text.
class Clipboard {
public:
    static void setText(const QString& text);
    static QString text();
};
