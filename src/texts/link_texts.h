#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the link supervisor and its jobs.
namespace linktext {
extern const TextTriple UnableToReadEncrypted;
extern const TextTriple UpgradeProgress;
extern const TextTriple EnterFileName;
extern const TextTriple UpdateSceneProgress;
extern const TextTriple UpdateDisplayProgress;
extern const TextTriple SaveSuccessful;
extern const TextTriple WriteDataFailed;
extern const TextTriple ReadDataFailed;
extern const TextTriple SaveFailed;
extern const TextTriple RecallFailed;
extern const TextTriple NoFiles;
extern const TextTriple DataHasPassword;
extern const TextTriple WrongFileVersion;
extern const TextTriple ReadDeviceProgress;
extern const TextTriple Call;
extern const TextTriple EquipmentOccupied;
extern const TextTriple EquipmentBusy;
extern const TextTriple DeviceIdCorrect;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();

// Shown when the supervisor thread cannot be created; the same in every language.
inline constexpr const char* kThreadFailed = "创建串口发送线程失败！";
}  // namespace linktext
