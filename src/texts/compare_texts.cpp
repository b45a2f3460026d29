#include "texts/compare_texts.h"

namespace comparetext {
// clang-format off
const TextTriple BandType{{"频段 %d 类型", "頻段 %d 類型", "band %d type"}};
const TextTriple BandFrequency{{"频段 %d 频率", "頻段 %d 頻率", "band %d frequency"}};
const TextTriple BandQ{{"频段 %d Q 值", "頻段 %d Q 值", "band %d Q"}};
const TextTriple BandGain{{"频段 %d 增益", "頻段 %d 增益", "band %d gain"}};
const TextTriple Field{{"字段 %d", "欄位 %d", "field %d"}};
const TextTriple Parameter{{"参数 %d", "參數 %d", "parameter %d"}};
const TextTriple Header{{"主界面", "主介面", "Header"}};
const TextTriple Equal{{"两者的参数相同。", "兩者的參數相同。", "The two hold the same values."}};
const TextTriple Differ{{"%d 个参数不同。", "%d 個參數不同。", "%d values differ."}};
const TextTriple TypeNames[3] = {
    {{"高架", "高架", "high shelf"}},
    {{"低架", "低架", "low shelf"}},
    {{"峰值", "峰值", "peaking"}},
};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &BandType, &BandFrequency, &BandQ,  &BandGain,     &Field,        &Parameter,
        &Header,   &Equal,         &Differ, &TypeNames[0], &TypeNames[1], &TypeNames[2]};
    return kAll;
}
}  // namespace comparetext
