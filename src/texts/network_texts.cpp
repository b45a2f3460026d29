#include "texts/network_texts.h"

namespace networktext {
// clang-format off
const TextTriple ClientListFull{{"客户端列表已满(32个)，其余模块未列出!",
                                 "客戶端列表已滿(32個)，其餘模組未列出!",
                                 "The client list is full (32); further modules are not listed!"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static const TextTriple* const kAll[] = {&ClientListFull};
    return kAll;
}
}  // namespace networktext
