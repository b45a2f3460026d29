#pragma once

#include <atomic>
#include <cstdint>

// The process-wide language index: 0 simplified Chinese, 1 traditional
// Chinese, 2 English.
class Language {
public:
    static constexpr int SimplifiedChinese = 0;
    static constexpr int TraditionalChinese = 1;
    static constexpr int English = 2;

    static int index() { return s_index.load(std::memory_order_relaxed); }
    // Values outside 0 to 2 are refused; returns whether the index changed.
    static bool set(int i) {
        return i >= 0 && i <= 2 && s_index.exchange(static_cast<uint8_t>(i)) != i;
    }

private:
    inline static std::atomic<uint8_t> s_index{English};
};
