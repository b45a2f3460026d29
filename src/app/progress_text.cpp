#include "progress_text.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum class Kind { NoPlaceholder, OneFloat, Unsafe };

// Checks the printf conversions of a format.
Kind classify(const std::string& f) {
    int floats = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') continue;
        if (i + 1 < f.size() && f[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < f.size() && std::strchr("-+ #0", f[j])) ++j;
        size_t digits = 0;
        while (j < f.size() && std::isdigit(static_cast<unsigned char>(f[j]))) ++j, ++digits;
        if (j < f.size() && f[j] == '.') {
            ++j;
            while (j < f.size() && std::isdigit(static_cast<unsigned char>(f[j]))) ++j, ++digits;
        }
        if (digits > 4 || j >= f.size() || !std::strchr("fFeEgG", f[j])) return Kind::Unsafe;
        ++floats;
        i = j;
    }
    if (floats == 0) return Kind::NoPlaceholder;
    return floats == 1 ? Kind::OneFloat : Kind::Unsafe;
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
