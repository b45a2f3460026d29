#include "texts/routing_texts.h"

namespace routingtext {
// clang-format off
const TextTriple ExportButton{{"输出数据", "輸出數據", "Output data"}};
const TextTriple ExportDone{{"生产文件%s成功!", "生產檔案%s成功!", "File %s written."}};
const TextTriple OutputSelection{{"声道选择:", "聲道選擇:", "Output: "}};
const TextTriple DecoderMode{{"解码模式:", "解碼模式:", "  Decoder: "}};
const TextTriple DecodedLayout{{"解码通道:", "解碼通道:", "  Decoded: "}};
const TextTriple ExportTitle{{"保存路由数据", "保存路由數據", "Save the routing data"}};
const TextTriple ExportFailed{{"无法写入文件 %s\r\n数据已复制到剪贴板。",
                               "無法寫入檔案 %s\r\n數據已複製到剪貼簿。",
                               "Cannot write the file %s\r\nThe data is on the clipboard."}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&ExportButton,    &ExportDone,  &ExportFailed,
                                                 &OutputSelection, &DecoderMode, &DecodedLayout,
                                                 &ExportTitle};
    return kAll;
}
}  // namespace routingtext
