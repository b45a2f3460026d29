#include "app/app_style.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

#include "platform/qt/font_faces.h"

void AppStyle::install(QApplication& app) {
    FontFaces::install();
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QPalette p;
    QColor window(0x1f, 0x22, 0x28);
    QColor text(0xe6, 0xe8, 0xeb);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x16, 0x18, 0x1c));
    p.setColor(QPalette::AlternateBase, QColor(0x23, 0x26, 0x2c));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x2d, 0x31, 0x38));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(0x2b, 0xb8, 0xec));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x70, 0x75, 0x7d));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x75, 0x7d));
    app.setPalette(p);
    app.setFont(FontFaces::pointFont(QString::fromUtf8("微软雅黑"), 10));
}
