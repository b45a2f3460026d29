#include "app/language_choice.h"

#include <QLocale>
#include <cstdint>

#include "files/settings.h"
#include "texts/language.h"

int LanguageChoice::fromLocale(const QLocale& locale) {
    if (locale.language() != QLocale::Chinese) return Language::English;
    switch (locale.territory()) {
        case QLocale::China:
            return Language::SimplifiedChinese;
        case QLocale::Taiwan:
        case QLocale::HongKong:
            return Language::TraditionalChinese;
        default:
            return Language::English;
    }
}

int LanguageChoice::choose(int stored, int localeLanguage) {
    auto low = static_cast<int8_t>(static_cast<uint8_t>(stored & 0xFF));
    // Only the three languages exist; any other stored byte is as good as none.
    if (low >= 0 && low <= 2) return low;
    return localeLanguage;
}

int LanguageChoice::fromSettingsAndSystem() {
    Settings settings;
    return choose(settings.readInt("Language", "Language"), fromLocale(QLocale()));
}
