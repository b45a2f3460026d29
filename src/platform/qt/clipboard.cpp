#include "platform/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void Clipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString Clipboard::text() {
    return QGuiApplication::clipboard()->text();
}
