#pragma once

#include <cstdio>
#include <string>

#include "texts/language.h"

// One user-visible text in the three languages: simplified Chinese,
// traditional Chinese, English (UTF-8).
struct TextTriple {
    const char* text[3];

    const char* operator[](int language) const { return text[language < 0 || language > 2 ? 2 : language]; }
    // The text in the current language.
    const char* get() const { return (*this)[Language::index()]; }
};

// printf-style formatting of a text in the current language; the caller
// passes the argument types the text's placeholders name.
template <typename... Args>
std::string formatText(const char* format, Args... args) {
    int size = std::snprintf(nullptr, 0, format, args...);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, args...);
    out.resize(static_cast<size_t>(size));
    return out;
}

template <typename... Args>
std::string formatText(const TextTriple& triple, Args... args) {
    return formatText(triple.get(), args...);
}
