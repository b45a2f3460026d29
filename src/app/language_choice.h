#pragma once

class QLocale;

// The language index the program starts in: the stored "Language" setting
// when it names one of the three languages, else the one of the locale.
class LanguageChoice {
public:
    // stored: the setting as read (-1 when absent); localeLanguage: what
    // fromLocale gives. Only the stored value's low byte counts, as a signed
    // byte: 256 is 0, 255 is -1.
    static int choose(int stored, int localeLanguage);
    // Simplified Chinese for Chinese in China, traditional Chinese for
    // Chinese in Taiwan and Hong Kong, English for every other locale.
    static int fromLocale(const QLocale& locale);
    // Reads the settings file and the default locale (the system's unless a
    // test set another).
    static int fromSettingsAndSystem();
};
