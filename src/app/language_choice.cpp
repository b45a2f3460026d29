#include "app/language_choice.h"

#include <cstdint>

#include "files/settings.h"
#include "platform/qt/system_locale.h"

int LanguageChoice::fromLocale(int localeId) {
    if (localeId == 2052) return 0;
    if (localeId == 3076 || localeId == 1028) return 1;
    return 2;
}

int LanguageChoice::choose(int stored, int localeId) {
    auto low = static_cast<int8_t>(static_cast<uint8_t>(stored & 0xFF));
    // Only the three languages exist; any other stored byte is as good as none.
    if (low >= 0 && low <= 2) return low;
    return fromLocale(localeId);
}

int LanguageChoice::fromSettingsAndSystem() {
    Settings settings;
    return choose(settings.readInt("Language", "Language"), SystemLocale::languageId());
}
