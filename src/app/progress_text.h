#pragma once

#include <QString>

// Fills the progress dialog's format with a percentage. A format is used only
// when its one placeholder takes a floating-point number ("%5.0f", "%0.0f")
// and every other per-cent sign is "%%"; a text without placeholder is shown
// as it is. Anything else is shown literally, never handed to printf.
class ProgressText {
public:
    static QString format(const QString& format, double percent);
};
