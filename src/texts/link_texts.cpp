#include "texts/link_texts.h"

namespace linktext {
// clang-format off
const TextTriple UnableToReadEncrypted{{"无法读取加密模式!", "無法讀取加密模式!", "Unable to read encrypted mode!"}};
const TextTriple UpgradeProgress{{"升级设备:%0.0f %%", "升級設備:%0.0f %%", "Updown Device:%0.0f %%"}};
const TextTriple EnterFileName{{"请输入文件名!", "請輸入文件名!", "Please enter the file name!"}};
const TextTriple UpdateSceneProgress{{"更新场景数据:%5.0f %%", "更新場景數據:%5.0f %%", "Update Scene Data:%5.0f %%"}};
const TextTriple UpdateDisplayProgress{{"更新显示数据:%5.0f %%", "更新顯示數據:%5.0f %%", "Update Display Data:%5.0f %%"}};
const TextTriple SaveSuccessful{{"保存成功!", "保存成功!", "Save successfully!"}};
const TextTriple WriteDataFailed{{"写入数据失败!", "寫入數據失敗!", "Write Data Failed!"}};
const TextTriple ReadDataFailed{{"读取数据失败!", "讀取數據失敗!", "Read Data Failed!"}};
const TextTriple SaveFailed{{"保存失败!", "保存失敗!", "Save Failed!"}};
const TextTriple RecallFailed{{"调用模式失败!", "調用模式失敗!", "Invocation pattern of failure!"}};
const TextTriple NoFiles{{"没有文件。", "沒有文件。", "No files。"}};
const TextTriple DataHasPassword{{"数据有密码保护。", "數據有密碼保護。", "The data has a password ."}};
const TextTriple WrongFileVersion{{"文件版本错误。", "文件版本錯誤。", "Wrong file version。"}};
const TextTriple ReadDeviceProgress{{"读取设备数据:%5.0f %%", "讀取設備數據:%5.0f %%", "Read Device Data:%5.0f %%"}};
const TextTriple Call{{"调用", "調用", "Call"}};
const TextTriple EquipmentOccupied{{"设备被占用!", "設備被佔用!", "Equipment occupied!"}};
const TextTriple EquipmentBusy{{"设备忙!请稍候...", "設備忙!請稍候...", "Equipment is busy! Please wait..."}};
const TextTriple DeviceIdCorrect{{"设备ID正确!", "設備ID正確!", "Device ID is correct!"}};
// clang-format on

std::span<const TextTriple* const> all() {
    // clang-format off
    static constexpr const TextTriple* kAll[] = {
        &UnableToReadEncrypted, &UpgradeProgress, &EnterFileName, &UpdateSceneProgress,
        &UpdateDisplayProgress, &SaveSuccessful, &WriteDataFailed, &ReadDataFailed, &SaveFailed,
        &RecallFailed, &NoFiles, &DataHasPassword, &WrongFileVersion, &ReadDeviceProgress, &Call,
        &EquipmentOccupied, &EquipmentBusy, &DeviceIdCorrect,
    };
    // clang-format on
    return kAll;
}
}  // namespace linktext
