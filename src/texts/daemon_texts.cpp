#include "texts/daemon_texts.h"

#include "texts/ui_texts.h"

namespace daemontext {
// clang-format off
const TextTriple Title{{"QX7 遥控", "QX7 遙控", "QX7 Remote"}};
const TextTriple Connected{{"已连接", "已連接", "Connected"}};
const TextTriple Searching{{"正在查找设备…", "正在尋找裝置…", "Looking for the device…"}};
const TextTriple Reading{{"正在读取设备…", "正在讀取裝置…", "Reading the device…"}};
const TextTriple Stopped{{"未连接", "未連接", "Not connected"}};
const TextTriple Offline{{"与 qx7d 的连接已断开，正在重试…", "與 qx7d 的連線已中斷，正在重試…",
                          "Lost the connection to qx7d; trying again…"}};
const TextTriple NoToken{{"缺少访问令牌：请重新扫描配对二维码。", "缺少存取權杖：請重新掃描配對二維碼。",
                          "No access token: scan the pairing code again."}};
const TextTriple Refused{{"设备拒绝了该值", "裝置拒絕了該值", "The value was refused"}};
const TextTriple Music{{"音乐", "音樂", "Music"}};
const TextTriple Mic{{"话筒", "話筒", "Mic"}};
const TextTriple Effect{{"效果", "效果", "Effect"}};
const TextTriple MicB{{"话筒B", "話筒B", "Mic B"}};
const TextTriple Input{{"输入", "輸入", "Input"}};
const TextTriple Mode{{"模式", "模式", "Mode"}};
const TextTriple Recall{{"调用", "調用", "Recall"}};
const TextTriple Mute{{"静音", "靜音", "Mute"}};
const TextTriple Unmute{{"取消静音", "取消靜音", "Unmute"}};
const TextTriple Language{{"语言", "語言", "Language"}};
const TextTriple Unnamed{{"模式 %d", "模式 %d", "Mode %d"}};
// clang-format on

std::span<const Entry> entries() {
    static const Entry kEntries[] = {
        {"title", &Title},
        {"connected", &Connected},
        {"searching", &Searching},
        {"reading", &Reading},
        {"stopped", &Stopped},
        {"offline", &Offline},
        {"no_token", &NoToken},
        {"refused", &Refused},
        {"music", &Music},
        {"mic", &Mic},
        {"effect", &Effect},
        {"micb", &MicB},
        {"input", &Input},
        {"mode", &Mode},
        {"recall", &Recall},
        {"mute", &Mute},
        {"unmute", &Unmute},
        {"language", &Language},
        {"unnamed", &Unnamed},
        {"source_OPT", &uitext::SourceOptical},
        {"source_COA", &uitext::SourceCoaxial},
        {"source_BT", &uitext::SourceBluetooth},
    };
    return kEntries;
}

std::span<const TextTriple* const> all() {
    static const TextTriple* const kAll[] = {&Title,   &Connected, &Searching, &Reading, &Stopped,
                                             &Offline, &NoToken,   &Refused,   &Music,   &Mic,
                                             &Effect,  &MicB,      &Input,     &Mode,    &Recall,
                                             &Mute,    &Unmute,    &Language,  &Unnamed};
    return kAll;
}
}  // namespace daemontext
