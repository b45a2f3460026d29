#include "texts/upgrade_texts.h"

namespace upgradetext {
// clang-format off
const TextTriple PackageTooShort{{"升级包文件太短!", "升級包文件太短!", "The package file is too short!"}};
const TextTriple PackageOddImage{{"升级包文件不完整!", "升級包文件不完整!", "The package file is incomplete!"}};
const TextTriple PackageAlphabetPastHeader{{"升级包文件头已损坏!", "升級包文件頭已損壞!", "The package file header is damaged!"}};
const TextTriple PackageDuplicateSymbols{{"升级包文件编码已损坏!", "升級包文件編碼已損壞!", "The package file coding is damaged!"}};
const TextTriple PackageEmpty{{"升级包文件没有数据!", "升級包文件沒有數據!", "The package file holds no data!"}};
const TextTriple PackageTooLarge{{"升级包文件太大!", "升級包文件太大!", "The package file is too large!"}};
const TextTriple PackageForeignSymbol{{"升级包文件含有编码以外的字符,已损坏!", "升級包文件含有編碼以外的字符,已損壞!", "The package file holds symbols outside its coding: it is damaged!"}};
const TextTriple PackageUnknownType{{"升级包文件类型未知!", "升級包文件類型未知!", "The package file is of no known type!"}};
const TextTriple PackageSummary{{"映像 %lu 字节。升级包格式没有校验和:请将文件的 SHA-256 与厂商公布的核对:\n%s", "映像 %lu 位元組。升級包格式沒有校驗和:請將檔案的 SHA-256 與廠商公佈的核對:\n%s", "Image: %lu bytes. The package format has no checksum: compare the file's SHA-256 with the maker's:\n%s"}};
const TextTriple DialogTitle{{"固件升级", "固件升級", "Firmware upgrade"}};
const TextTriple Target{{"目标:", "目標:", "Target:"}};
const TextTriple PackageFile{{"升级包:", "升級包:", "Package:"}};
const TextTriple Browse{{"浏览...", "瀏覽...", "Browse..."}};
const TextTriple Start{{"开始", "開始", "Start"}};
const TextTriple Interrupt{{"中断", "中斷", "Interrupt"}};
const TextTriple TargetNames[6] = {
    {{"", "", ""}},
    {{"DSP1", "DSP1", "DSP1"}},
    {{"面板", "面板", "Front panel"}},
    {{"通信模块", "通信模塊", "Communication module"}},
    {{"DSP4", "DSP4", "DSP4"}},
    {{"DSP5", "DSP5", "DSP5"}},
};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &PackageTooShort,
        &PackageOddImage,
        &PackageAlphabetPastHeader,
        &PackageDuplicateSymbols,
        &PackageEmpty,
        &PackageTooLarge,
        &PackageForeignSymbol,
        &PackageUnknownType,
        &PackageSummary,
        &DialogTitle,
        &Target,
        &PackageFile,
        &Browse,
        &Start,
        &Interrupt,
        &TargetNames[1],
        &TargetNames[2],
        &TargetNames[3],
        &TargetNames[4],
        &TargetNames[5],
    };
    return kAll;
}
}  // namespace upgradetext
