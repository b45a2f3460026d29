#pragma once

#include <string>

// The system's default locale as a Windows language identifier (LCID):
// zh_CN 2052, zh_TW 1028, zh_HK 3076, en_US 1033, ja_JP 1041 and so on.
class SystemLocale {
public:
    static int languageId();
    // The identifier of a locale name such as "zh_HK" or "de_DE.UTF-8";
    // a language without its country gives that language's main identifier,
    // an unknown name 1033.
    static int idOfName(const std::string& name);

    // Tests pretend another system locale; 0 restores the real one.
    static void overrideId(int id);
};
