#include "texts/device_id_dialog_texts.h"

namespace deviceidtext {
// clang-format off
const TextTriple WhereToFindId{{
    "设备ID可以通过USB连接显示在通讯\r\n页面上, \r\n或显示在设备显示屏的菜单上!",
    "設備ID可以通過USB連接顯示在通訊\r\n頁面上, \r\n或顯示在設備顯示屏的菜單上!",
    "The device ID can be displayed on the communication \r\npage via USB connection, \r\nor displayed on the menu on the device display!"}};
const TextTriple InputDeviceId{{"输入设备ID", "輸入設備ID", "Input Device ID"}};
const TextTriple DeviceIdEmpty{{"设备ID为空!", "設備ID為空!", "The device ID is empty!"}};
const TextTriple RememberHistory{{"记录历史", "記錄歷史", "Memory history"}};
const TextTriple Connect{{"连接", "連接", "Connect"}};
const TextTriple ClearRecord{{"清除记录", "清除記錄", "Clear record"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&WhereToFindId,   &InputDeviceId, &DeviceIdEmpty,
                                                 &RememberHistory, &Connect,       &ClearRecord};
    return kAll;
}
}  // namespace deviceidtext
