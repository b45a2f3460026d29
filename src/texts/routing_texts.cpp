#include "texts/routing_texts.h"

namespace routingtext {
// clang-format off
// The button and the success message read the same in every language.
const TextTriple ExportButton{{"输出数据", "输出数据", "输出数据"}};
const TextTriple ExportDone{{"生产文件%s成功!", "生产文件%s成功!", "生产文件%s成功!"}};
const TextTriple ExportFailed{{"无法写入文件 %s\r\n数据已复制到剪贴板。",
                               "無法寫入檔案 %s\r\n數據已複製到剪貼簿。",
                               "Cannot write the file %s\r\nThe data is on the clipboard."}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&ExportButton, &ExportDone, &ExportFailed};
    return kAll;
}
}  // namespace routingtext
