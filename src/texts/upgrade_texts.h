#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the firmware upgrade. The job's own messages read the same in
// every language; the package checks added on this platform are translated.
namespace upgradetext {
inline constexpr const char* kNotDsp1Package = "文件原不是DSP1升级包!请确认再升级";
inline constexpr const char* kNotPanelPackage = "文件原不是面板升级包!请确认再升级";
inline constexpr const char* kNotCommPackage = "文件原不是通信升级包!请确认再升级";
inline constexpr const char* kNotDsp4Package = "文件原不是DSP4升级包!请确认再升级";
inline constexpr const char* kNotDsp5Package = "文件原不是DSP5升级包!请确认再升级";
inline constexpr const char* kOpenPrefix = "打开";
inline constexpr const char* kOpenSuffix = "文件失败";
inline constexpr const char* kFailed = "升级失败!";
inline constexpr const char* kInterrupted = "中断升级!";
inline constexpr const char* kSucceeded = "升级成功!";

extern const TextTriple PackageTooShort;
extern const TextTriple PackageOddImage;
extern const TextTriple PackageAlphabetPastHeader;
extern const TextTriple PackageDuplicateSymbols;
extern const TextTriple PackageEmpty;
extern const TextTriple PackageTooLarge;
extern const TextTriple PackageForeignSymbol;
extern const TextTriple PackageUnknownType;
extern const TextTriple PackageSummary;  // %lu image bytes, %s SHA-256 of the file

// The upgrade dialog.
extern const TextTriple DialogTitle;
extern const TextTriple Target;
extern const TextTriple PackageFile;
extern const TextTriple Browse;
extern const TextTriple Start;
extern const TextTriple Interrupt;
// Targets by package type 1 to 5 (index 0 unused).
extern const TextTriple TargetNames[6];

// Every translated text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace upgradetext
