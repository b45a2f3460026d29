#include "app/progress_text.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "texts/printf_format.h"

namespace {

enum class Kind { NoPlaceholder, OneFloat, Unsafe };

Kind classify(const std::string& f) {
    std::vector<PrintfFormat::Conversion> conversions = PrintfFormat::conversions(f);
    if (conversions.empty()) return Kind::NoPlaceholder;
    const PrintfFormat::Conversion& c = conversions.front();
    bool oneFloat = conversions.size() == 1 && c.type != 0 && std::strchr("fFeEgG", c.type) && c.digits <= 4;
    return oneFloat ? Kind::OneFloat : Kind::Unsafe;
}

}  // namespace

QString ProgressText::format(const QString& format, double percent) {
    std::string f = format.toStdString();
    switch (classify(f)) {
        case Kind::NoPlaceholder: {
            QString text = format;
            return text.replace(QStringLiteral("%%"), QStringLiteral("%"));
        }
        case Kind::OneFloat: {
            int size = std::snprintf(nullptr, 0, f.c_str(), percent);
            if (size < 0) return format;
            std::string out(static_cast<size_t>(size) + 1, '\0');
            std::snprintf(out.data(), out.size(), f.c_str(), percent);
            out.resize(static_cast<size_t>(size));
            return QString::fromStdString(out);
        }
        case Kind::Unsafe:
            break;
    }
    return format;
}
