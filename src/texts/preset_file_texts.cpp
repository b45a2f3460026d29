#include "texts/preset_file_texts.h"

namespace presetfiletext {
// clang-format off
const TextTriple SendQuestion{{"将文件 %s 发送到设备?\r\n设备上的所有参数都将被替换。",
                               "將檔案 %s 發送到設備?\r\n設備上的所有參數都將被替換。",
                               "Send the file %s to the device?\r\nEvery value on the device will be replaced."}};
const TextTriple DeleteQuestion{{"删除文件 %s?", "刪除檔案 %s?", "Delete the file %s?"}};
const TextTriple FileDamaged{{"文件已损坏: %s\r\n%s", "檔案已損壞: %s\r\n%s", "File damaged: %s\r\n%s"}};
const TextTriple TooShort{{"文件太短。", "檔案太短。", "The file is too short."}};
const TextTriple ForeignBytes{{"文件含有无效的字节。", "檔案含有無效的位元組。", "The file holds bytes that do not belong there."}};
const TextTriple Truncated{{"文件不完整。", "檔案不完整。", "The file is cut short."}};
const TextTriple ChecksumMismatch{{"校验和不符。", "校驗和不符。", "The checksum does not match."}};
const TextTriple TooLarge{{"文件太大。", "檔案太大。", "The file is too large."}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&SendQuestion,     &DeleteQuestion, &FileDamaged,
                                                 &TooShort,         &ForeignBytes,   &Truncated,
                                                 &ChecksumMismatch, &TooLarge};
    return kAll;
}
}  // namespace presetfiletext
