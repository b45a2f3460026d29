#include "texts/remote_texts.h"

namespace remotetext {
// clang-format off
const TextTriple NotReached{
    {"无法连接 qx7d（%s）。\n请启动 qx7d（例如 systemctl --user start qx7d），程序会自动重试…",
     "無法連接 qx7d（%s）。\n請啟動 qx7d（例如 systemctl --user start qx7d），程式會自動重試…",
     "qx7d is not reachable at %s.\nStart it (for example systemctl --user start qx7d); retrying…"}};
const TextTriple NoDevice{
    {"qx7d 正在运行，但未连接设备。\n请检查设备与运行 qx7d 的电脑之间的连接。",
     "qx7d 正在執行，但未連接設備。\n請檢查設備與執行 qx7d 的電腦之間的連接。",
     "qx7d runs but has no device.\nCheck the device's connection to the computer that runs qx7d."}};
const TextTriple NotThroughDaemon{
    {"通过 qx7d 时不可用此功能。如需使用，请停止 qx7d，再让程序直接连接设备。",
     "透過 qx7d 時不可用此功能。如需使用，請停止 qx7d，再讓程式直接連接設備。",
     "This is not available through qx7d. To use it, stop qx7d and let the program connect to the device itself."}};
const TextTriple Refused{{"qx7d 拒绝了该操作：%s", "qx7d 拒絕了該操作：%s", "qx7d refused: %s"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {&NotReached, &NoDevice, &NotThroughDaemon,
                                                 &Refused};
    return kAll;
}
}  // namespace remotetext
