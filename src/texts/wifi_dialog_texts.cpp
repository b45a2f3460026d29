#include "texts/wifi_dialog_texts.h"

namespace wifitext {
// clang-format off
const TextTriple SsidEmpty{{"SSID不能为空!", "SSID不能為空!", "SSID can't be empty!"}};
const TextTriple RouterModeQuestion{{"重新设置为连接路由,\r\n 请检查路由SSID和密码是否正确.", "重新設置為連接路由,\r\n 請檢查路由SSID和密碼是否正確.", "Reset to connect the routing,\r\n Please check routing SSID and password are correct."}};
const TextTriple RestartToApply{{"修改成功,重启软件后生效!", "修改成功,重啟軟件後生效!", "Modify success, restart the software to work!"}};
const TextTriple PasswordTooShort{{"密码不能少于八位!", "密碼不能少於八位!", "Password cannot be less than eight!"}};
const TextTriple ModeHotspot{{"热点", "熱點", "Hot"}};
const TextTriple ModeRouter{{"路由", "路由", "Route"}};
const TextTriple IpLabel{{"IP:", "IP:", "IP:"}};
const TextTriple HotspotSsidLabel{{"热点SSID:", "熱點SSID:", "HotSSID:"}};
const TextTriple HotspotPasswordLabel{{"热点密码:", "熱點密碼:", "HotPW:"}};
const TextTriple RouterSsidLabel{{"路由SSID:", "路由SSID:", "RouteSSID:"}};
const TextTriple RouterPasswordLabel{{"路由密码:", "路由密碼:", "RoutePW:"}};
const TextTriple ReadAgain{{"获取\n\t数据", "獲取\n\t數據", "Get\n\tData"}};
const TextTriple SetHotspot{{"设置\n\t热点", "設置\n\t熱點", "Set\n\tHot"}};
const TextTriple SetRouter{{"设置\n\t路由", "設置\n\t路由", "Set\n\tRoute"}};
const TextTriple Internet{{"互联网", "互聯網", "Internet"}};
const TextTriple Lan{{"局域网", "局域網", "LAN"}};
const TextTriple DeviceIdTitle{{"互联网设备ID", "互聯網設備ID", "ID of device by Internet"}};
const TextTriple DeviceIdFailed{{"获取设备ID失败", "獲取設備ID失敗", "Get device ID Failed"}};
const TextTriple PcConnection{{"电脑连接", "電腦連接", "PC COM"}};
const TextTriple WifiSetup{{"WIFI设置", "WIFI設置", "WIFI Setup"}};
// clang-format on

std::span<const TextTriple* const> all() {
    // clang-format off
    static constexpr const TextTriple* kAll[] = {
        &SsidEmpty, &RouterModeQuestion, &RestartToApply, &PasswordTooShort, &ModeHotspot,
        &ModeRouter, &IpLabel, &HotspotSsidLabel, &HotspotPasswordLabel, &RouterSsidLabel,
        &RouterPasswordLabel, &ReadAgain, &SetHotspot, &SetRouter, &Internet, &Lan, &DeviceIdTitle,
        &DeviceIdFailed, &PcConnection, &WifiSetup,
    };
    // clang-format on
    return kAll;
}
}  // namespace wifitext
