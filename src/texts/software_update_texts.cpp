#include "texts/software_update_texts.h"

namespace updatetext {
// clang-format off
const TextTriple Tip{{"提示!", "提示!", "Tip!"}};
const TextTriple UpdateQuestion{{"软件有更新,是否更新!", "軟件有更新,是否更新!", "Software update,Whether to update!"}};
const TextTriple DownloadProgress{{"在线更新:%5.0f %%", "在線更新:%5.0f %%", "Onling_Update:%5.0f %%"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&Tip, &UpdateQuestion, &DownloadProgress};
    return kAll;
}
}  // namespace updatetext
