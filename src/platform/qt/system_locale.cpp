#include "platform/qt/system_locale.h"

#include <QLocale>
#include <atomic>
#include <cctype>

namespace {

struct LocaleId {
    const char* name;
    int id;
};

// Country-specific names first; the bare language names give the identifier
// Windows uses for that language's main country.
constexpr LocaleId kIds[] = {
    {"zh_CN", 2052}, {"zh_SG", 4100}, {"zh_TW", 1028},  {"zh_HK", 3076},  {"zh_MO", 5124},
    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081},  {"en_CA", 4105},  {"en_NZ", 5129},
    {"en_IE", 6153}, {"en_ZA", 7177}, {"en_IN", 16393}, {"en_SG", 18441}, {"de_DE", 1031},
    {"de_CH", 2055}, {"de_AT", 3079}, {"fr_FR", 1036},  {"fr_BE", 2060},  {"fr_CA", 3084},
    {"fr_CH", 4108}, {"es_ES", 3082}, {"es_MX", 2058},  {"it_IT", 1040},  {"it_CH", 2064},
    {"pt_BR", 1046}, {"pt_PT", 2070}, {"nl_NL", 1043},  {"nl_BE", 2067},  {"ja_JP", 1041},
    {"ko_KR", 1042}, {"ru_RU", 1049}, {"pl_PL", 1045},  {"cs_CZ", 1029},  {"sv_SE", 1053},
    {"da_DK", 1030}, {"nb_NO", 1044}, {"fi_FI", 1035},  {"el_GR", 1032},  {"hu_HU", 1038},
    {"tr_TR", 1055}, {"uk_UA", 1058}, {"ar_SA", 1025},  {"he_IL", 1037},  {"th_TH", 1054},
    {"vi_VN", 1066}, {"id_ID", 1057}, {"ms_MY", 1086},  {"hi_IN", 1081},  {"ro_RO", 1048},
    {"bg_BG", 1026}, {"hr_HR", 1050}, {"sk_SK", 1051},  {"sl_SI", 1060},  {"zh", 2052},
    {"en", 1033},    {"de", 1031},    {"fr", 1036},     {"es", 3082},     {"it", 1040},
    {"pt", 1046},    {"nl", 1043},    {"ja", 1041},     {"ko", 1042},     {"ru", 1049},
    {"pl", 1045},    {"cs", 1029},    {"sv", 1053},     {"da", 1030},     {"nb", 1044},
    {"fi", 1035},    {"el", 1032},    {"hu", 1038},     {"tr", 1055},     {"uk", 1058},
    {"ar", 1025},    {"he", 1037},    {"th", 1054},     {"vi", 1066},     {"id", 1057},
    {"ms", 1086},    {"hi", 1081},    {"ro", 1048},     {"bg", 1026},     {"hr", 1050},
    {"sk", 1051},    {"sl", 1060},
};

std::atomic<int> g_override{0};

int find(const std::string& name) {
    for (const LocaleId& entry : kIds)
        if (name == entry.name) return entry.id;
    return 0;
}

// "zh-Hant-HK", "zh_HK.UTF-8" and "zh_HK@x" all become "zh_HK".
std::string normalise(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '.' || c == '@') break;
        out += c == '-' ? '_' : c;
    }
    // Drop a script part: "zh_Hant_HK" -> "zh_HK".
    size_t first = out.find('_');
    if (first != std::string::npos) {
        size_t second = out.find('_', first + 1);
        if (second != std::string::npos) out.erase(first, second - first);
    }
    if (!out.empty()) out[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[0])));
    return out;
}

}  // namespace

int SystemLocale::idOfName(const std::string& name) {
    std::string n = normalise(name);
    if (int id = find(n)) return id;
    if (int id = find(n.substr(0, n.find('_')))) return id;
    return 1033;
}

int SystemLocale::languageId() {
    if (int id = g_override.load()) return id;
    return idOfName(QLocale::system().name().toStdString());
}

void SystemLocale::overrideId(int id) {
    g_override = id;
}
