#include "texts/filter_text_texts.h"

namespace filtertext {
// clang-format off
const TextTriple TooLarge{{"文件大于 %d KB，不是滤波器设置文件。",
                           "檔案大於 %d KB，不是濾波器設定檔。",
                           "The file is larger than %d KB; it is not a filter settings file."}};
const TextTriple CannotOpen{{"无法打开文件 %s。", "無法開啟檔案 %s。", "Cannot open the file %s."}};
const TextTriple NotUnderstood{{"第 %d 行：无法识别，已忽略。", "第 %d 行：無法識別，已忽略。",
                                "Line %d: not understood, ignored."}};
const TextTriple MoreNotUnderstood{{"另有 %d 行无法识别，已忽略。", "另有 %d 行無法識別，已忽略。",
                                    "%d more lines not understood, ignored."}};
const TextTriple AndMore{{"…以及另外 %d 条同类消息。", "…以及另外 %d 條同類訊息。",
                          "… and %d more of the same kind."}};
const TextTriple FilterOff{{"第 %d 行：滤波器 %d 为关闭，未导入。", "第 %d 行：濾波器 %d 為關閉，未匯入。",
                            "Line %d: filter %d is OFF; left out."}};
const TextTriple FilterUnused{{"第 %d 行：滤波器 %d 未使用，未导入。", "第 %d 行：濾波器 %d 未使用，未匯入。",
                               "Line %d: filter %d is None; left out."}};
const TextTriple TypeNotTaken{{"第 %d 行：滤波器 %d 的类型 %s 频段无法使用，未导入。",
                               "第 %d 行：濾波器 %d 的類型 %s 頻段無法使用，未匯入。",
                               "Line %d: filter %d: a band cannot take the type %s; left out."}};
const TextTriple BeyondBands{{"第 %d 行：滤波器 %d 未导入：本页只有 %d 个频段。",
                              "第 %d 行：濾波器 %d 未匯入：本頁只有 %d 個頻段。",
                              "Line %d: filter %d left out: the page has %d bands."}};
const TextTriple ValueMissing{{"第 %d 行：滤波器 %d 缺少 %s 的值，未导入。",
                               "第 %d 行：濾波器 %d 缺少 %s 的值，未匯入。",
                               "Line %d: filter %d has no %s value; left out."}};
const TextTriple NotANumber{{"第 %d 行：滤波器 %d：\"%s\" 不是数字，未导入。",
                             "第 %d 行：濾波器 %d：\"%s\" 不是數字，未匯入。",
                             "Line %d: filter %d: \"%s\" is not a number; left out."}};
const TextTriple UnknownWord{{"第 %d 行：滤波器 %d：无法识别 \"%s\"，未导入。",
                              "第 %d 行：濾波器 %d：無法識別 \"%s\"，未匯入。",
                              "Line %d: filter %d: \"%s\" not understood; left out."}};
const TextTriple DecimalComma{{"第 %d 行：滤波器 %d：小数逗号按小数点读取。",
                               "第 %d 行：濾波器 %d：小數逗號按小數點讀取。",
                               "Line %d: filter %d: decimal comma read as a point."}};
const TextTriple UnitMissing{{"第 %d 行：滤波器 %d：%s 缺少单位，按 %s 读取。",
                              "第 %d 行：濾波器 %d：%s 缺少單位，按 %s 讀取。",
                              "Line %d: filter %d: %s has no unit, read as %s."}};
const TextTriple FrequencyOutside{{"第 %d 行：滤波器 %d：频率 %s Hz 超出 19.7 Hz 至 20.6 kHz，未导入。",
                                   "第 %d 行：濾波器 %d：頻率 %s Hz 超出 19.7 Hz 至 20.6 kHz，未匯入。",
                                   "Line %d: filter %d: frequency %s Hz is outside 19.7 Hz to 20.6 kHz; left out."}};
const TextTriple QNotPositive{{"第 %d 行：滤波器 %d：Q 值 %s 不大于 0，未导入。",
                               "第 %d 行：濾波器 %d：Q 值 %s 不大於 0，未匯入。",
                               "Line %d: filter %d: Q %s is not above 0; left out."}};
const TextTriple FrequencyMoved{{"第 %d 行：滤波器 %d：频率 %s Hz 移至 %s Hz（%s Hz）。",
                                 "第 %d 行：濾波器 %d：頻率 %s Hz 移至 %s Hz（%s Hz）。",
                                 "Line %d: filter %d: frequency %s Hz moved to %s Hz (%s Hz)."}};
const TextTriple QMoved{{"第 %d 行：滤波器 %d：Q 值 %s 移至 %s（%s）。",
                         "第 %d 行：濾波器 %d：Q 值 %s 移至 %s（%s）。",
                         "Line %d: filter %d: Q %s moved to %s (%s)."}};
const TextTriple GainMoved{{"第 %d 行：滤波器 %d：增益 %s dB 移至 %s dB（%s dB）。",
                            "第 %d 行：濾波器 %d：增益 %s dB 移至 %s dB（%s dB）。",
                            "Line %d: filter %d: gain %s dB moved to %s dB (%s dB)."}};
const TextTriple NoFilters{{"文件中没有频段可用的滤波器，未导入任何内容。",
                            "檔案中沒有頻段可用的濾波器，未匯入任何內容。",
                            "The file holds no filter a band can take; nothing imported."}};
const TextTriple BandsCleared{{"频段 %d 至 %d 不在文件中，增益设为 0 dB。",
                               "頻段 %d 至 %d 不在檔案中，增益設為 0 dB。",
                               "Bands %d to %d are not in the file: set to 0 dB."}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &TooLarge,       &CannotOpen,   &NotUnderstood, &MoreNotUnderstood, &FilterOff,
        &FilterUnused,   &TypeNotTaken, &BeyondBands,   &ValueMissing,      &NotANumber,
        &UnknownWord,    &DecimalComma, &UnitMissing,   &FrequencyOutside,  &QNotPositive,
        &FrequencyMoved, &QMoved,       &GainMoved,     &NoFilters,         &BandsCleared,
        &AndMore};
    return kAll;
}
}  // namespace filtertext
