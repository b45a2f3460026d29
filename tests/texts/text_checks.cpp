#include "text_checks.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

size_t skipWhile(const std::string& s, size_t i, const char* set) {
    while (i < s.size() && std::strchr(set, s[i]) != nullptr) ++i;
    return i;
}

size_t skipNumberOrStar(const std::string& s, size_t i) {
    if (i < s.size() && s[i] == '*') return i + 1;
    return skipWhile(s, i, "0123456789");
}

// Index after the length modifier at i, if any.
size_t skipLength(const std::string& s, size_t i) {
    for (const char* modifier : {"hh", "ll", "h", "l", "L", "z", "j", "t"}) {
        size_t n = std::strlen(modifier);
        if (s.compare(i, n, modifier) == 0) return i + n;
    }
    return i;
}

}  // namespace

std::vector<std::string> printfConversions(const std::string& format) {
    std::vector<std::string> out;
    size_t i = 0;
    while ((i = format.find('%', i)) != std::string::npos) {
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out.push_back("%%");
            i += 2;
            continue;
        }
        size_t j = skipWhile(format, i + 1, "-+ #0");
        j = skipNumberOrStar(format, j);
        if (j < format.size() && format[j] == '.') j = skipNumberOrStar(format, j + 1);
        j = skipLength(format, j);
        if (j >= format.size() || std::strchr("diouxXeEfFgGaAcsp", format[j]) == nullptr) {
            out.push_back("<bad>");
            i += 1;
            continue;
        }
        out.push_back(format.substr(i, j + 1 - i));
        i = j + 1;
    }
    return out;
}

bool isValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        int follow = byte < 0x80             ? 0
                     : (byte & 0xE0) == 0xC0 ? 1
                     : (byte & 0xF0) == 0xE0 ? 2
                     : (byte & 0xF8) == 0xF0 ? 3
                                             : -1;
        if (follow < 0) return false;
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= text.size()) return false;
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += follow + 1;
    }
    return true;
}

void expectWellFormed(const TextTriple& text, const std::string& where) {
    SCOPED_TRACE(where);
    for (int language = 0; language < 3; ++language) {
        ASSERT_NE(text[language], nullptr) << "column " << language;
        std::string column = text[language];
        EXPECT_FALSE(column.empty()) << "column " << language;
        EXPECT_TRUE(isValidUtf8(column)) << "column " << language;
    }
    std::vector<std::string> english = printfConversions(text[Language::English]);
    for (const std::string& conversion : english) EXPECT_NE(conversion, "<bad>") << text[2];
    EXPECT_EQ(printfConversions(text[Language::SimplifiedChinese]), english) << text[0];
    EXPECT_EQ(printfConversions(text[Language::TraditionalChinese]), english) << text[1];
}
