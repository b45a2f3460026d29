#pragma once

#include <QString>

// The about box: caption and text in the current language.
class AboutText {
public:
    static QString caption();
    // hardwareCode: mirror entry parameterIndex::DecodedLayout; deviceVersion: the version the device reported.
    static QString text(int hardwareCode, int deviceVersion);
    // "20H" for 3, "30H" for 7 and so on; other codes in hexadecimal followed by "X".
    static QString hardwareName(int hardwareCode);

    // Where the relay server is found; a deployment setting.
};
