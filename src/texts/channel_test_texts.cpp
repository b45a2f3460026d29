#include "texts/channel_test_texts.h"

namespace channeltesttext {
// clang-format off
const TextTriple StartAll{{"全部开启", "全部開啟", "Start all"}};
const TextTriple StopAll{{"全部停止", "全部停止", "Start stop"}};
const TextTriple OrderAll{{"依次测试", "依次測試", "Order all"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&StartAll, &StopAll, &OrderAll};
    return kAll;
}
}  // namespace channeltesttext
