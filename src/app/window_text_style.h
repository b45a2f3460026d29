#pragma once

#include <QColor>
#include <QString>

// The look of the texts on the main window's own buttons.
namespace windowTextStyle {
inline const QString kFace = QString::fromUtf8("微软雅黑");
inline constexpr QRgb kColour = 0xC8000000;
inline constexpr QRgb kOnColour = 0xC8FAFAFA;
inline constexpr unsigned kCentred = 0x25;
inline constexpr double kSize = 12;
}  // namespace windowTextStyle
