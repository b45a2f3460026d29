#include "texts/undo_texts.h"

namespace undotext {
// clang-format off
const TextTriple Undo{{"撤销", "復原", "Undo"}};
const TextTriple Redo{{"重做", "重做", "Redo"}};
const TextTriple ClearedByDevice{{"设备的数据已被替换，撤销记录已清除。",
                                  "設備的數據已被替換，復原記錄已清除。",
                                  "The device's values were replaced: the undo history was cleared."}};
const TextTriple ClearedByLink{{"重新连接后设备的数据已改变，撤销记录已清除。",
                                "重新連接後設備的數據已改變，復原記錄已清除。",
                                "The device's values changed while the link was lost: the undo history was cleared."}};
const TextTriple OtherChannels{{"其他声道", "其他聲道", "Other channels"}};
const TextTriple SaveGraph{{"图形另存为PNG…", "圖形另存為PNG…", "Save graph as PNG…"}};
const TextTriple SaveGraphFailed{{"无法写入文件 %s", "無法寫入檔案 %s", "Cannot write the file %s"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&Undo,           &Redo,          &ClearedByDevice,
                                                 &ClearedByLink,  &OtherChannels, &SaveGraph,
                                                 &SaveGraphFailed};
    return kAll;
}
}  // namespace undotext
