#include "texts/measurement_texts.h"

namespace measurementtext {
// clang-format off
const TextTriple TooLarge{{"文件大于 %d MB，不是测量数据文件。", "檔案大於 %d MB，不是量測資料檔。",
                           "The file is larger than %d MB; it is not a measurement."}};
const TextTriple CannotOpen{{"无法打开文件 %s。", "無法開啟檔案 %s。", "Cannot open the file %s."}};
const TextTriple NotUnderstood{{"第 %d 行：无法识别。", "第 %d 行：無法識別。", "Line %d: not understood."}};
const TextTriple TooFewColumns{{"第 %d 行：需要频率和电平两列。", "第 %d 行：需要頻率和電平兩欄。",
                                "Line %d: a frequency and a level are needed."}};
const TextTriple NotANumber{{"第 %d 行：“%s”不是数字。", "第 %d 行：「%s」不是數字。",
                             "Line %d: \"%s\" is not a number."}};
const TextTriple NotPositive{{"第 %d 行：频率 %s 不大于 0 Hz。", "第 %d 行：頻率 %s 不大於 0 Hz。",
                              "Line %d: the frequency %s is not above 0 Hz."}};
const TextTriple NotRising{{"第 %d 行：频率 %s Hz 没有高于上一行。", "第 %d 行：頻率 %s Hz 沒有高於上一行。",
                            "Line %d: the frequency %s Hz does not rise above the line before."}};
const TextTriple TooFewPoints{{"20 Hz 至 20 kHz 之间只有 %d 个点，至少需要 %d 个。",
                               "20 Hz 至 20 kHz 之間只有 %d 個點，至少需要 %d 個。",
                               "Only %d points lie between 20 Hz and 20 kHz; at least %d are needed."}};
const TextTriple RangeUncovered{{"测量数据未覆盖 %s 至 %s Hz。", "量測資料未涵蓋 %s 至 %s Hz。",
                                 "The measurement does not cover %s to %s Hz."}};
const TextTriple CrossoversLeaveNothing{
    {"本页分频器在 %s 至 %s Hz 内衰减超过 6 dB 的部分太多，剩余不足一个倍频程可供拟合。",
     "本頁分頻器在 %s 至 %s Hz 內衰減超過 6 dB 的部分太多，剩餘不足一個八度可供擬合。",
     "The page's crossovers cut more than 6 dB over so much of %s to %s Hz that less than an octave is left to fit."}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &TooLarge,    &CannotOpen, &NotUnderstood, &TooFewColumns,  &NotANumber,
        &NotPositive, &NotRising,  &TooFewPoints,  &RangeUncovered, &CrossoversLeaveNothing};
    return kAll;
}
}  // namespace measurementtext
