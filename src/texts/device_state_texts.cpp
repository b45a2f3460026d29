#include "texts/device_state_texts.h"

namespace devicetext {
// clang-format off
const TextTriple Reading{{"正在读取设备…", "正在讀取設備…", "Reading device…"}};
const TextTriple ReadingStatus{{"读取中", "讀取中", "Reading.."}};
const TextTriple Searching{{"正在搜索设备…", "正在搜索設備…", "Searching for the device…"}};
const TextTriple NoDeviceUsb{
    {"未找到设备（USB）。\n请检查：USB 线、设备电源，以及 USB 设备的 udev 规则。",
     "未找到設備（USB）。\n請檢查：USB 線、設備電源，以及 USB 設備的 udev 規則。",
     "No device found on USB.\nCheck the cable, the device's power and the udev rule for USB devices."}};
const TextTriple NoDeviceSerial{
    {"未找到设备（串口）。\n请检查：连接线、设备电源，以及当前用户是否属于 dialout 组。",
     "未找到設備（串口）。\n請檢查：連接線、設備電源，以及當前用戶是否屬於 dialout 組。",
     "No device found on the serial port.\nCheck the cable, the device's power and that your user is in the dialout group."}};
const TextTriple NoDeviceBluetooth{
    {"未找到设备（蓝牙串口）。\n请检查：蓝牙配对、设备电源，以及当前用户是否属于 dialout 组。",
     "未找到設備（藍牙串口）。\n請檢查：藍牙配對、設備電源，以及當前用戶是否屬於 dialout 組。",
     "No device found on the Bluetooth serial port.\nCheck the pairing, the device's power and that your user is in the dialout group."}};
const TextTriple NoDeviceNetwork{
    {"未找到设备（局域网）。\n请检查：设备电源、设备的 Wi-Fi 设置，以及电脑是否在同一网络。",
     "未找到設備（區域網路）。\n請檢查：設備電源、設備的 Wi-Fi 設定，以及電腦是否在同一網路。",
     "No device found on the local network (LAN).\nCheck the device's power, its Wi-Fi settings and that this PC is on the same network."}};
const TextTriple NoDeviceRelay{
    {"未找到设备（中转服务器）。\n请检查：设备电源、设备的 Wi-Fi 设置，以及服务器地址。",
     "未找到設備（中轉伺服器）。\n請檢查：設備電源、設備的 Wi-Fi 設定，以及伺服器位址。",
     "No device found through the relay server.\nCheck the device's power, its Wi-Fi settings and the server address."}};
const TextTriple UseUsb{{"改用 USB 连接", "改用 USB 連接", "Connect by USB"}};
const TextTriple SuspendedHint{{"连接已暂停。点击状态按钮继续。", "連接已暫停。點擊狀態按鈕繼續。",
                                "The link is suspended. Click the status button to resume."}};
const TextTriple PendingDropped{
    {"%d 个未发送的数值已放弃：找到的是另一台设备，或设备离线超过 10 秒。窗口显示的是设备上的数值。",
     "%d 個未發送的數值已放棄：找到的是另一台設備，或設備離線超過 10 秒。窗口顯示的是設備上的數值。",
     "%d unsent values were dropped: another device was found, or the device was away for more than 10 s. The window shows the device's values."}};
const TextTriple PcConnectionQuestion{
    {"将电脑连接方式改为 %s？重新启动程序后生效。", "將電腦連接方式改為 %s？重新啟動程式後生效。",
     "Change the PC connection to %s? It takes effect when the program is started again."}};
const TextTriple ShowPasswords{{"显示密码", "顯示密碼", "Show passwords"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &Reading,           &ReadingStatus,        &Searching,     &NoDeviceUsb, &NoDeviceSerial,
        &NoDeviceBluetooth, &NoDeviceNetwork,      &NoDeviceRelay, &UseUsb,      &SuspendedHint,
        &PendingDropped,    &PcConnectionQuestion, &ShowPasswords};
    return kAll;
}
}  // namespace devicetext
