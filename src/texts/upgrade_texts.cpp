#include "texts/upgrade_texts.h"

namespace upgradetext {
// clang-format off
const TextTriple PackageTooShort{{"升级包文件太短!", "升級包文件太短!", "The package file is too short!"}};
const TextTriple PackageOddImage{{"升级包文件不完整!", "升級包文件不完整!", "The package file is incomplete!"}};
const TextTriple PackageAlphabetPastHeader{{"升级包文件头已损坏!", "升級包文件頭已損壞!", "The package file header is damaged!"}};
const TextTriple PackageDuplicateSymbols{{"升级包文件编码已损坏!", "升級包文件編碼已損壞!", "The package file coding is damaged!"}};
const TextTriple PackageEmpty{{"升级包文件没有数据!", "升級包文件沒有數據!", "The package file holds no data!"}};
const TextTriple PackageTooLarge{{"升级包文件太大!", "升級包文件太大!", "The package file is too large!"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &PackageTooShort,         &PackageOddImage, &PackageAlphabetPastHeader,
        &PackageDuplicateSymbols, &PackageEmpty,    &PackageTooLarge,
    };
    return kAll;
}
}  // namespace upgradetext
