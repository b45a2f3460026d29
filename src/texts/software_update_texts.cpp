#include "texts/software_update_texts.h"

namespace updatetext {
// clang-format off
const TextTriple Tip{{"提示!", "提示!", "Tip!"}};
const TextTriple UpdateQuestion{{"软件有更新,是否更新!", "軟件有更新,是否更新!", "Software update,Whether to update!"}};
const TextTriple DownloadProgress{{"在线更新:%5.0f %%", "在線更新:%5.0f %%", "Onling_Update:%5.0f %%"}};
const TextTriple NotVerified{{"有新版本,但无法验证,未安装!", "有新版本,但無法驗證,未安裝!", "A newer version exists, but it could not be verified; nothing was installed!"}};
const TextTriple UsePackageManager{{"有新版本,请通过系统的软件包管理器更新!", "有新版本,請通過系統的軟件包管理器更新!", "A newer version exists; please update through the system's package manager!"}};
const TextTriple CannotInstall{{"新版本无法安装!", "新版本無法安裝!", "The newer version could not be installed!"}};
const TextTriple UpdatesOff{{"本程序未内置验证密钥,软件更新已关闭。", "本程式未內置驗證密鑰,軟件更新已關閉。", "Software updates are off: this build has no key to verify them with."}};
const TextTriple OtherPlatform{{"新版本不适用于本系统,未安装!", "新版本不適用於本系統,未安裝!", "The update is for another product or platform; nothing was installed!"}};
const TextTriple NotNewer{{"更新的版本不比当前版本新,未安装!", "更新的版本不比當前版本新,未安裝!", "The update is not newer than this version; nothing was installed!"}};
const TextTriple NotStarted{{"新版本无法启动,已恢复原程序!", "新版本無法啟動,已恢復原程式!", "The newer version did not start; the old program was put back!"}};
// clang-format on

std::span<const TextTriple* const> all() {
    static constexpr const TextTriple* kAll[] = {
        &Tip,           &UpdateQuestion, &DownloadProgress, &NotVerified, &UsePackageManager,
        &CannotInstall, &UpdatesOff,     &OtherPlatform,    &NotNewer,    &NotStarted};
    return kAll;
}
}  // namespace updatetext
