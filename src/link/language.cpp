#include "language.h"

std::atomic<uint8_t> Language::s_index{Language::English};

bool Language::set(int index) {
    if (index < 0 || index > 2) return false;
    return s_index.exchange(static_cast<uint8_t>(index)) != index;
}

int Language::windowsIdOf(int index) {
    static constexpr int kIds[3] = {2052, 1028, 1033};
    return kIds[index < 0 || index > 2 ? 2 : index];
}
