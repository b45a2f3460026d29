#pragma once

// The language index the program starts in: the stored "Language" setting
// when it names one of the three languages, else the system locale.
class LanguageChoice {
public:
    // stored: the setting as read (-1 when absent); localeId: a Windows
    // language identifier. Only the stored value's low byte counts, as a
    // signed byte: 256 is 0, 255 is -1.
    static int choose(int stored, int localeId);
    // 2052 simplified Chinese, 3076 and 1028 traditional Chinese, all others English.
    static int fromLocale(int localeId);
    // Reads the settings file and the system locale.
    static int fromSettingsAndSystem();
};
