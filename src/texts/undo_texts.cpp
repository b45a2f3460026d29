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
const TextTriple ImportFilters{{"导入滤波器文件…", "匯入濾波器檔案…", "Import filter file…"}};
const TextTriple ExportFilters{{"导出滤波器文件…", "匯出濾波器檔案…", "Export filter file…"}};
const TextTriple ImportQuestion{{"将 %d 个滤波器写入%s?", "將 %d 個濾波器寫入%s?",
                                 "Write %d filters to %s?"}};
const TextTriple NothingMoved{{"所有数值均无需调整。", "所有數值均無需調整。",
                               "Every value fits as it is."}};
const TextTriple ExportDone{{"已将 %d 个频段写入 %s", "已將 %d 個頻段寫入 %s",
                             "%d bands written to %s"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &Undo,          &Redo,           &ClearedByDevice, &ClearedByLink,
        &OtherChannels, &SaveGraph,      &SaveGraphFailed, &ImportFilters,
        &ExportFilters, &ImportQuestion, &NothingMoved,    &ExportDone};
    return kAll;
}
}  // namespace undotext
