#pragma once

#include <string>
#include <vector>

#include "texts/text_triple.h"

// The printf conversions of a format in the order they appear, each as
// written ("%5.0f", "%%"); a '%' that starts no valid conversion gives "<bad>".
std::vector<std::string> printfConversions(const std::string& format);

bool isValidUtf8(const std::string& text);

// Records a test failure for every column of `text` that is empty or not
// UTF-8, and when the Chinese columns' conversions differ from the English.
void expectWellFormed(const TextTriple& text, const std::string& where);

// Sets the process-wide language for one scope and restores it afterwards.
class LanguageScope {
public:
    explicit LanguageScope(int language) : m_saved(Language::index()) { Language::set(language); }
    ~LanguageScope() { Language::set(m_saved); }

private:
    int m_saved;
};
