#pragma once

class QApplication;

// The look of everything the skin does not draw (message boxes, drop-down
// lists): a dark palette matching the skin, and the skin's fonts.
class AppStyle {
public:
    static void install(QApplication& app);
};
