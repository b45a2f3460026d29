#include "texts/graph_texts.h"

namespace graphtext {
// clang-format off
const TextTriple Copy{{"复制", "複製", "Copy"}};
const TextTriple Paste{{"粘贴", "貼上", "Paste"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&Copy, &Paste};
    return kAll;
}
}  // namespace graphtext
