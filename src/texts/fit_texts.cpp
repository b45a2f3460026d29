#include "texts/fit_texts.h"

namespace fittext {
// clang-format off
const TextTriple MenuItem{{"拟合测量…", "擬合量測…", "Fit to measurement…"}};
const TextTriple Title{{"拟合测量", "擬合量測", "Fit to measurement"}};
const TextTriple Measurement{{"测量：", "量測：", "Measurement:"}};
const TextTriple Browse{{"浏览…", "瀏覽…", "Browse…"}};
const TextTriple Target{{"目标：", "目標：", "Target:"}};
const TextTriple Flat{{"平直", "平直", "Flat"}};
const TextTriple House{{"房间曲线", "房間曲線", "House curve"}};
const TextTriple TargetFile{{"目标文件…", "目標檔案…", "Target file…"}};
const TextTriple Range{{"范围：", "範圍：", "Range:"}};
const TextTriple FullRange{{"20 Hz – 10 kHz", "20 Hz – 10 kHz", "20 Hz – 10 kHz"}};
const TextTriple BassRange{{"20 – 500 Hz", "20 – 500 Hz", "20 – 500 Hz"}};
const TextTriple Smoothing{{"平滑：", "平滑：", "Smoothing:"}};
const TextTriple NoSmoothing{{"无", "無", "None"}};
const TextTriple OctaveFraction{{"1/%d 倍频程", "1/%d 倍頻程", "1/%d octave"}};
const TextTriple MaxBoost{{"最大提升：", "最大提升：", "Largest boost:"}};
const TextTriple Fit{{"拟合", "擬合", "Fit"}};
const TextTriple Apply{{"应用", "套用", "Apply"}};
const TextTriple Cancel{{"取消", "取消", "Cancel"}};
const TextTriple MeasuredCurve{{"测量", "量測", "Measurement"}};
const TextTriple TargetCurve{{"目标", "目標", "Target"}};
const TextTriple Predicted{{"预测结果", "預測結果", "Predicted"}};
const TextTriple Report{{"均方根偏差：拟合前 %.2f dB，拟合后 %.2f dB；最大偏差：拟合前 %.2f dB，拟合后 %.2f dB",
                         "均方根偏差：擬合前 %.2f dB，擬合後 %.2f dB；最大偏差：擬合前 %.2f dB，擬合後 %.2f dB",
                         "RMS %.2f dB before, %.2f dB after; largest deviation %.2f dB before, %.2f dB after"}};
const TextTriple FittedRange{{"仅拟合了 %s 至 %s Hz：范围之外测量数据已结束，或本页分频器衰减超过 6 dB。",
                              "僅擬合了 %s 至 %s Hz：範圍之外量測資料已結束，或本頁分頻器衰減超過 6 dB。",
                              "Fitted %s to %s Hz only: outside it the measurement ends or the page's crossovers cut more than 6 dB."}};
const TextTriple ChooseFile{{"请选择测量文件，然后按“拟合”。", "請選擇量測檔案，然後按「擬合」。",
                             "Choose a measurement file, then press Fit."}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &MenuItem,      &Title,          &Measurement, &Browse,    &Target,     &Flat,
        &House,         &TargetFile,     &Range,       &FullRange, &BassRange,  &Smoothing,
        &NoSmoothing,   &OctaveFraction, &MaxBoost,    &Fit,       &Apply,      &Cancel,
        &MeasuredCurve, &TargetCurve,    &Predicted,   &Report,    &ChooseFile, &FittedRange};
    return kAll;
}
}  // namespace fittext
