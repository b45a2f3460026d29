#include "texts/ui_texts.h"

#include <iterator>

namespace uitext {

// clang-format off
const TextTriple ConnectionState[3] = {
    {{"连接成功", "連接成功", "Successful"}},
    {{"搜索连接", "搜索連接", "Search.."}},
    {{"暂停连接", "暫停連接", "Suspended"}},
};
const TextTriple MainRight{{"主右声道", "主右聲道", "MainR"}};
const TextTriple RearRight{{"后置右声道", "後置右聲道", "RearR"}};
const TextTriple SurroundRight{{"环绕右声道", "環繞右聲道", "SurR"}};
const TextTriple BackSurroundRight{{"后环绕右声道", "後環繞右聲道", "BackSurR"}};
const TextTriple PageMain{{"主声道", "主聲道", "Main"}};
const TextTriple PageCenter{{"中置", "中置", "Center"}};
const TextTriple PageSub{{"超低音", "超低音", "Sub"}};
const TextTriple PageRear{{"后置", "後置", "Rear"}};
const TextTriple PageSurround{{"环绕", "環繞", "SurRound"}};
const TextTriple PageBackSurround{{"后环绕", "後環繞", "BackRound"}};
const TextTriple PageMusic{{"音乐", "音樂", "Music"}};
const TextTriple PageMic{{"话筒", "話筒", "Mic"}};
const TextTriple PageEffect{{"效果", "效果", "Effect"}};
const TextTriple PageEcho{{"回声", "回聲", "Echo"}};
const TextTriple PageReverb{{"混响", "混響", "Reverb"}};
const TextTriple Channel1{{"通道 1", "通道 1", "Chanel 1"}};
const TextTriple Sound{{"声音", "聲音", "Sound"}};
const TextTriple LeftChan{{"左声道", "左聲道", "Left Chan"}};
const TextTriple RightChan{{"右声道", "右聲道", "Right Chan"}};
const TextTriple PageSystem{{"系统", "系統", "System"}};
const TextTriple WindowTitle[4] = {
    {{"空间测试", "空間測試", "Spacetest"}},
    {{"通讯设置", "通訊設置", "COM Set"}},
    {{"主界面", "主界面", "Main View"}},
    {{"主界面", "主界面", "Main View"}},
};
const TextTriple ProgramRunning{{"程序正在运行!", "程序正在運行!", "The Program is Running!"}};
const TextTriple MasterMusic{{"音乐总音量:%3.0f%%", "音樂總音量:%3.0f%%", "Music:%3.0f%%"}};
const TextTriple MicVolume{{"话筒音量:%3.0f%%", "話筒音量:%3.0f%%", "Mic:%3.0f%%"}};
const TextTriple MasterEffect{{"效果总音量:%3.0f%%", "效果總音量:%3.0f%%", "Effect:%3.0f%%"}};
const TextTriple MusicInput{{"音源输入:", "音源輸入:", "Music Input:"}};
const TextTriple Auto{{"自动", "自動", "Auto"}};
const TextTriple Manual{{"手动", "手動", "Hand"}};
const TextTriple Sing{{"唱歌", "唱歌", "Sing"}};
const TextTriple Dance{{"跳舞", "跳舞", "Dance"}};
const TextTriple EqGainLabel{{"增益:\n(db)", "增益:\n(db)", "Gain:\n(db)"}};
const TextTriple EqTypeLabel{{"类型:", "類型:", "Type:"}};
const TextTriple EqFreqLabel{{"频率:\n(Hz)", "頻率:\n(Hz)", "Freq:\n(Hz)"}};
const TextTriple EqQLabel{{"Q值:", "Q值:", "Q/HL:"}};
const TextTriple MusicVol{{"音乐音量:   %3d%%", "音樂音量:   %3d%%", "Music Vol:   %3d%%"}};
const TextTriple OutputVol{{"输出音量:   %3d%%", "輸出音量:   %3d%%", "Music Output Vol:   %3d%%"}};
const TextTriple MicDirectVol{{"话筒直达声:   %3d%%", "話筒直達聲:   %3d%%", "Mic Dir Vol:   %3d%%"}};
const TextTriple EchoVol{{"回声音量:   %3d%%", "回聲音量:   %3d%%", "Echo Vol:   %3d%%"}};
const TextTriple ReverbVol{{"混响音量:   %3d%%", "混響音量:   %3d%%", "Reverb Vol:   %3d%%"}};
const TextTriple AutoVolumeOutput{{"自动音量输出:   %3d%%", "自動音量輸出:   %3d%%", "Reverb Vol:   %3d%%"}};
const TextTriple ClippingLevel{{"限幅电平:%3.1fdBu", "限幅電平:%3.1fdBu", "Clipping Level:%3.1fdBu"}};
const TextTriple Response{{"响应时间:%3.1fms", "響應時間:%3.1fms", "Response:%3.1fms"}};
const TextTriple LimiterThreshold{{"阈值:   %3.1fdBu", "閾值:   %3.1fdBu", "Threshold:   %3.1fdBu"}};
const TextTriple LimiterAttack{{"启动时间:   %3.1fms", "啟動時間:   %3.1fms", "Attack:   %3.1fms"}};
const TextTriple LimiterRelease{{"释放时间:   Atkx%2dms", "釋放時間:   Atkx%2dms", "Release:   Atkx%2dms"}};
const TextTriple LimiterRatio{{"压缩比:   %2.1f", "壓縮比:   %2.1f", "Ratio:   %2.1f"}};
const TextTriple MicA{{"话筒A", "話筒A", "MICA"}};
const TextTriple MicB{{"话筒B", "話筒B", "MICB"}};
const TextTriple HpfFreqWhole{{"高通频率:   %4dHz", "高通頻率:   %4dHz", "HPF Freq:   %4dHz"}};
const TextTriple HpfFreqTenths{{"高通频率:   %4.1fHz", "高通頻率:   %4.1fHz", "HPF Freq:   %4.1fHz"}};
const TextTriple HpfFreqOff{{"高通频率:   关闭", "高通頻率:   關閉", "HPF Freq:   OFF"}};
const TextTriple HpfSlopeLabel{{"高通斜率:", "高通斜率:", "HPF Slope:"}};
const TextTriple HpfSlope{{"高通斜率", "高通斜率", "HPF Slope"}};
const TextTriple EffectMode{{"效果模式", "效果模式", "Effect Mode"}};
const TextTriple HpfQ{{"高通Q值:   %3.1f", "高通Q值:   %3.1f", "HPF Q:   %3.1f"}};
const TextTriple LpfFreqWhole{{"低通频率:   %3dHz", "低通頻率:   %3dHz", "LPF Freq:   %3dHz"}};
const TextTriple LpfFreqTenths{{"低通频率:   %3.1fHz", "低通頻率:   %3.1fHz", "LPF Freq:   %3.1fHz"}};
const TextTriple LpfFreqOff{{"低通频率:   关闭", "低通頻率:   關閉", "LPF Freq:   OFF"}};
const TextTriple ShiftFlat{{"移调:   %0.1fb", "移調:   %0.1fb", "Shift:   %0.1fb"}};
const TextTriple ShiftZero{{"移调:   0 ", "移調:   0 ", "Shift:   0 "}};
const TextTriple ShiftSharp{{"移调:   %0.1f#", "移調:   %0.1f#", "Shift:   %0.1f#"}};
const TextTriple LpfSlopeLabel{{"低通斜率:", "低通斜率:", "LPF Slope:"}};
const TextTriple LpfSlope{{"低通斜率", "低通斜率", "LPF Slope"}};
const TextTriple LpfQ{{"低通Q值:   %3.1f", "低通Q值:   %3.1f", "LPF Q:   %3.1f"}};
const TextTriple LeftDelayWhole{{"左延时:   %3.0fms", "左延時:   %3.0fms", "Left-Delay:   %3.0fms"}};
const TextTriple LeftDelay{{"左延时:   %3.1fms", "左延時:   %3.1fms", "Left-Delay:   %3.1fms"}};
const TextTriple DelayWhole{{"延时:   %3.0fms", "延時:   %3.0fms", "Delay:   %3.0fms"}};
const TextTriple Delay{{"延时:   %3.1fms", "延時:   %3.1fms", "Delay:   %3.1fms"}};
const TextTriple DelayDistance{{"延时距离:  %0.2fM", "延時距離:  %0.2fM", "Delay distance:  %0.2fM"}};
const TextTriple RightDelayWhole{{"右延时:  %3.0fms", "右延時:  %3.0fms", "Right-Delay:  %3.0fms"}};
const TextTriple RightDelay{{"右延时:   %3.1fms", "右延時:   %3.1fms", "Right-Delay:   %3.1fms"}};
const TextTriple LeftMute{{"左静音", "左靜音", "Left Mute"}};
const TextTriple Mute{{"静音", "靜音", "Mute"}};
const TextTriple RightMute{{"右静音", "右靜音", "Right Mute"}};
const TextTriple MuteToggle{{"静音", "靜音", "Mute"}};
const TextTriple Muted{{"已静音", "已靜音", "Muted"}};
const TextTriple InputGain{{"输入增益", "輸入增益", "Input Gain"}};
const TextTriple AlcThreshold{{"ALC阈值:%3ddb", "ALC閾值:%3ddb", "ALCThreshold:%3ddb"}};
const TextTriple AlcAttack{{"ALC启动时间:%4dms", "ALC啟動時間:%4dms", "ALC Attack:%4dms"}};
const TextTriple AlcSwitch{{"ALC开关", "ALC開關", "ALCSwitch"}};
const TextTriple EchoTitle{{"回声", "回聲", "Echo_T"}};
const TextTriple ReverbTitle{{"混响", "混響", "Reverb"}};
const TextTriple EchoEffectVol{{"回声效果音量:%6d%%", "回聲效果音量:%6d%%", "Echo Eff Vol:%6d%%"}};
const TextTriple EchoDirectVol{{"回声直达声:%4d%%", "回聲直達聲:%4d%%", "Echo Dir Vol:%4d%%"}};
const TextTriple EchoHpfOff{{"回声高通:       关闭", "回聲高通:       關閉", "Echo HPF:       OFF"}};
const TextTriple EchoHpfTenths{{"回声高通:%9.1fHz", "回聲高通:%9.1fHz", "Echo HPF:%9.1fHz"}};
const TextTriple EchoHpfWhole{{"回声高通:%9dHz", "回聲高通:%9dHz", "Echo HPF:%9dHz"}};
const TextTriple EchoLpfOff{{"回声低通:        关闭", "回聲低通:        關閉", "Echo LHF:        OFF"}};
const TextTriple EchoLpfTenths{{"回声低通:%9.1fHz", "回聲低通:%9.1fHz", "Echo LHF:%9.1fHz"}};
const TextTriple EchoLpfWhole{{"回声低通:%9dHz", "回聲低通:%9dHz", "Echo LHF:%9dHz"}};
const TextTriple EchoPreDelay{{"回声预延时", "回聲預延時", "Echo PreDelay"}};
const TextTriple EchoDelayTime{{"回声延时", "回聲延時", "Echo DelayTime"}};
const TextTriple EchoRepeatRatio{{"回声重复率", "回聲重複率", "Echo RepeatRatio"}};
const TextTriple EchoRightPreDelay{{"回声右预延时:%3d%%", "回聲右預延時:%3d%%", "Echo RPreDelay:%3d%%"}};
const TextTriple EchoRightDelay{{"回声右延时", "回聲右延時", "Echo RDelay"}};
const TextTriple ReverbEffectVol{{"混响效果音量:%3d%%", "混響效果音量:%3d%%", "Reverb Eff Vol:%3d%%"}};
const TextTriple ReverbDirectVol{{"混响直达声:%3d%%", "混響直達聲:%3d%%", "Reverb Dir Vol:%3d%%"}};
const TextTriple ReverbHpfOff{{"混响高通:     关闭", "混響高通:     關閉", "Reverb HPF:     OFF"}};
const TextTriple ReverbHpfTenths{{"混响高通:%6.1fHz", "混響高通:%6.1fHz", "Reverb HPF:%6.1fHz"}};
const TextTriple ReverbHpfWhole{{"混响高通:%6dHz", "混響高通:%6dHz", "Reverb HPF:%6dHz"}};
const TextTriple ReverbLpfOff{{"混响低通:     关闭", "混響低通:     關閉", "Reverb LPF:     OFF"}};
const TextTriple ReverbLpfTenths{{"混响低通:%6.1fHz", "混響低通:%6.1fHz", "Reverb LPF:%6.1fHz"}};
const TextTriple ReverbLpfWhole{{"混响低通:%6dHz", "混響低通:%6dHz", "Reverb LPF:%6dHz"}};
const TextTriple ReverbPreDelay{{"混响预延时", "混響預延時", "Reverb PreDelay"}};
const TextTriple ReverbTime{{"混响时间", "混響時間", "Reverb Time"}};
const TextTriple MicFeedbackEliminator{{" 话筒反馈抑制:", " 話筒反饋抑制:", " MIC_FBE:"}};
const TextTriple OperationState[4] = {
    {{"成功", "成功", "Succeed"}},
    {{"失败", "失敗", "Fail"}},
    {{"断开", "斷開", "Disconnect"}},
    {{"就绪", "就緒", "Ready"}},
};
const TextTriple SystemTitle{{"系统", "系統", "System"}};
const TextTriple VolumeController{{"音量控制", "音量控制", "Volume Controller"}};
const TextTriple SystemMic{{"话筒", "話筒", "Mic"}};
const TextTriple NoiseGate{{"噪声门:", "噪聲門:", "Noise Gate:"}};
const TextTriple NoiseGateThreshold{{"阈值:  %3.0f", "閾值:  %3.0f", "Threshold:  %3.0f"}};
const TextTriple NoiseGateTime{{"噪声门时间:  %3.0fms", "噪聲門時間:  %3.0fms", "Noise Time:  %3.0fms"}};
const TextTriple AutoLock{{"自动锁定:", "自動鎖定:", "Auto Lock:"}};
const TextTriple Surround51OnSide{{"5.1环绕SL&R输出", "5.1環繞SL&R輸出", "5.1 Round SL&R Output"}};
const TextTriple Surround51OnBack{{"5.1环绕BSL&R输出", "5.1環繞BSL&R輸出", "5.1 Round BSL&R Output"}};
const TextTriple KeyPassword{{"按键密码:", "按鍵密碼:", "Key PW:"}};
const TextTriple NewKeyPassword{{"新密码:", "新密碼:", "New PW:"}};
const TextTriple CheckKeyPassword{{"确定", "確定", "OK"}};
const TextTriple ChangeKeyPassword{{"修改", "修改", "Change"}};
const TextTriple Password{{"密码:", "密碼:", "PassWord:"}};
const TextTriple SystemPassword{{"系统密码:", "系統密碼:", "Sys PassWord:"}};
const TextTriple CheckSystemPassword{{"确定", "確定", "OK"}};
const TextTriple ModeControl{{"模式控制", "模式控制", "Mode Control"}};
const TextTriple ModeNumber{{"编号:", "編號:", "Num:"}};
const TextTriple ModeName{{"名称:", "名稱:", "Name:"}};
const TextTriple LanguageLabel{{"语言:", "語言:", "Language:"}};
const TextTriple Skin{{"皮肤:", "皮膚:", "Skin:"}};
const TextTriple ChangePassword{{"修改密码", "修改密碼", "Change PW"}};
const TextTriple ConfirmPassword{{"确认密码", "確認密碼", "Confirm PW"}};
const TextTriple OldPassword{{"旧密码:", "舊密碼:", "Old PW:"}};
const TextTriple Cancel{{"取消", "取消", "Cancel"}};
const TextTriple ConfirmPasswordLabel{{"确认密码:", "確認密碼:", "Confirm PW:"}};
const TextTriple ResetPasswords{{"重置", "重置", "Reset"}};
const TextTriple ChangeSystemPassword{{"确定", "確定", "OK"}};
const TextTriple Local{{"本地", "本地", "Local"}};
const TextTriple LocalModeName{{"本地模式名:", "本地模式名:", "Local Mode Name:"}};
const TextTriple SaveModeLocal{{"保存模式到本地", "保存模式到本地", "Save Mode Local"}};
const TextTriple DeleteInLocal{{"删除本地模式", "刪除本地模式", "Del In Local"}};
const TextTriple UpdateToEquipment{{"更新到设备", "更新到設備", "Update To Equip"}};
const TextTriple WifiSet{{"WiFi设置", "WiFi設置", "Wifi Set"}};
const TextTriple Route{{"路由", "路由", "Route"}};
const TextTriple ExternalDataImport{{"外部数据导入", "外部數據導入", "External data import"}};
const TextTriple MusicStart{{"音乐开机音量: %30.0f%%", "音樂開機音量: %30.0f%%", "Music Start: %30.0f%%"}};
const TextTriple MusicMax{{"音乐最大音量:   %30.0f%%", "音樂最大音量:   %30.0f%%", "Music Max:   %30.0f%%"}};
const TextTriple MicStart{{"话筒开机音量:   %30.0f%%", "話筒開機音量:   %30.0f%%", "Mic Start:   %30.0f%%"}};
const TextTriple MicMax{{"话筒最大音量:     %30.0f%%", "話筒最大音量:     %30.0f%%", "Mic Max:     %30.0f%%"}};
const TextTriple MicBStart{{"话筒B开机音量:   %30.0f%%", "話筒B開機音量:   %30.0f%%", "MicB Start:   %30.0f%%"}};
const TextTriple MicBMax{{"话筒B最大音量:     %30.0f%%", "話筒B最大音量:     %30.0f%%", "MicB Max:     %30.0f%%"}};
const TextTriple EffectStart{{"效果开机音量:%30.0f%%", "效果開機音量:%30.0f%%", "Effect Start:%30.0f%%"}};
const TextTriple EffectMax{{"效果最大音量:  %30.0f%%", "效果最大音量:  %30.0f%%", "Effect Max:  %30.0f%%"}};
const TextTriple LeftRightJoint{{"左右\r\n联调", "左右\r\n聯調", "LR\r\nJoint"}};
const TextTriple SourceOptical{{"光纤", "光纖", "OPT"}};
const TextTriple SourceCoaxial{{"同轴", "同軸", "COA"}};
const TextTriple SourceBluetooth{{"蓝牙", "藍牙", "BT"}};
const TextTriple SourceUsb{{"USB", "USB", "USB"}};
const TextTriple Enable{{"启用", "啟用", "Enable"}};
const TextTriple Disable{{"禁用", "禁用", "Disable"}};
const TextTriple BootMode{{"开机模式", "開機模式", "Boot mode"}};
const TextTriple UseMode{{"调用", "調用", "Use"}};
const TextTriple SaveMode{{"保存", "保存", "Save"}};
const TextTriple User{{"用户", "用戶", "User"}};
const TextTriple Admin{{"管理员", "管理員", "Admin"}};
const TextTriple NewSystemPassword{{"新密码:", "新密碼:", "New PW:"}};
const TextTriple PasswordDeleted{{"删除密码成功!", "刪除密碼成功!", "Delete the password successfully!"}};
const TextTriple NoPasswordEnterNew{{"没有密码!\n请输入新密码!", "沒有密碼!\n請輸入新密碼!", "No Password!\nThe new password, please!"}};
const TextTriple EnglishName{{"英文", "英文", "English"}};
const TextTriple Welcome{{"欢迎使用音乐控制系统!", "歡迎使用音樂控制系統!", "Welcome to use music control system!"}};
const TextTriple ReadDeviceProgress{{"读取设备数据:%5.0f %%", "讀取設備數據:%5.0f %%", "Read Device Data:%5.0f %%"}};
const TextTriple UpdateDisplayProgress{{"更新显示数据:%5.0f %%", "更新顯示數據:%5.0f %%", "Update Display Data:%5.0f %%"}};
const TextTriple UpdateDeviceProgress{{"更新设备数据:%5.0f %%", "更新設備數據:%5.0f %%", "Update Device Data:%5.0f %%"}};
const TextTriple SaveDeviceProgress{{"保存设备数据:%5.0f %%", "保存設備數據:%5.0f %%", "Save Device Data:%5.0f %%"}};
const TextTriple UpdatingWindow{{"更新窗口 ...", "更新窗口 ...", "Update Windown ..."}};
const TextTriple UpgradeProgress{{"升级设备:%0.0f %%", "升級設備:%0.0f %%", "Updown Device:%0.0f %%"}};
const TextTriple OnlineUpdateProgress{{"在线更新:%5.0f %%", "在線更新:%5.0f %%", "Onling_Update:%5.0f %%"}};
const TextTriple Warning{{"警告!", "警告!", "Warning!"}};
const TextTriple RecallFailed{{"调用模式失败!", "調用模式失敗!", "Invocation pattern of failure!"}};
const TextTriple EnterFileName{{"请输入文件名!", "請輸入文件名!", "Please enter the file name!"}};
const TextTriple FileExistsOverwrite{{"文件已存在!\n 是否覆盖!", "文件已存在!\n 是否覆蓋!", "File already exists!\n Whether or not covered!"}};
const TextTriple DeleteFailedNoFile{{"删除失败.\n 没有文件!", "刪除失敗.\n 沒有文件!", "Delete failed.\n no files!"}};
const TextTriple DeleteFileQuestion{{"是否删除文件!", "是否刪除文件!", "Whether delete files!"}};
const TextTriple NoFilesSelected{{"没有文件.", "沒有文件.", "No files."}};
const TextTriple NewPrefix{{"新", "新", "New_T("}};
const TextTriple BootModeLabel{{"开机模式:", "開機模式:", "Boot mode:"}};
const TextTriple PasswordSixDigits{{"密码只能为六位数!", "密碼只能為六位數!", "Password only for six figures!"}};
const TextTriple PasswordFourDigits{{"密码只能为四位数!", "密碼只能為四位數!", "Password only for four figures!"}};
const TextTriple WrongPassword{{"密码错误!", "密碼錯誤!", "Wrong password!"}};
const TextTriple PasswordChanged{{"密码已修改!", "密碼已修改!", "Password is changed!"}};
const TextTriple NoPermission{{"用户没有操作权限!", "用戶沒有操作權限!", "Users do not have permission to operate!"}};
const TextTriple NewPasswordsDiffer{{"新密码不一致!", "新密碼不一致!", "The new passwords don't match!"}};
const TextTriple Tip{{"提示!", "提示!", "Tip!"}};
const TextTriple CopyLeftToRightQuestion{{"是否将左声道复制到右声道!", "是否將左聲道複製到右聲道!", "Whether to copy the left channel to the right!"}};
const TextTriple ExitQuestion{{"是否退出程序!", "是否退出程序!", "Whether to exit the program!"}};
const TextTriple InstructionError{{"第%d条指令错误", "第%d條指令錯誤", "The first %d instruction error"}};
const TextTriple SaveFailedDiskFull{{"保存失败!\n硬盘无法写入数据.", "保存失敗!\n硬盤無法寫入數據.", "Save Failed!\nHard disk unable to write data."}};
const TextTriple SaveSuccessful{{"保存成功!", "保存成功!", "Save successfully!"}};
const TextTriple EnterPassword{{"请输入密码!", "請輸入密碼!", "Please enter password!"}};
const TextTriple FileFormatError{{"文件格式错误!", "文件格式錯誤!", "File format error!"}};
const TextTriple WrongEquipmentModel{{"设备型号错误!", "設備型號錯誤!", "Equipment model is wrong!"}};
const TextTriple Minimize{{"最小化", "最小化", "Minimize"}};
const TextTriple Exit{{"退出", "退出", "Exit"}};
const TextTriple AlreadyRunning{{"程序已经在运行!", "程序已經在運行!", "The program has been running!"}};
const TextTriple NoDevice{{"没有设备!", "沒有設備!", "No Device!"}};
const TextTriple SpaceTestState[2] = {
    {{"正在进行空间测试...  请保持环境安静.", "正在進行空間測試...  請保持環境安靜.", "Space in the test...  Please keep the environment quiet."}},
    {{"准备空间测试... 请保持环境安静.", "準備空間測試... 請保持環境安靜.", "Prepare space test... Please keep the environment quiet."}},
};
const TextTriple StartStop[2] = {
    {{"开始", "開始", "Start"}},
    {{"停止", "停止", "Stop"}},
};
const TextTriple ResetTest{{"重新测试", "重新測試", "Reset Test"}};
const TextTriple TestTime{{"测试时间:%0.1fS。", "測試時間:%0.1fS。", "Test time:%0.1fS。"}};
const TextTriple TestFinished{{"测试完成!", "測試完成!", "The_Test_is_Finished!"}};
const TextTriple Testing{{"正在测试!", "正在測試!", "The_Testing!"}};
const TextTriple NameNotSupported{{"输入的名称不支持.", "輸入的名稱不支持.", "Type in the name does not support."}};
const TextTriple SoftwareUpdateQuestion{{"软件有更新,是否更新!", "軟件有更新,是否更新!", "Software update,Whether to update!"}};
const TextTriple UpdateFailedRunAsAdmin{{"更新失败!\r\n请以管理员身份运行软件!", "更新失敗!\r\n請以管理員身份運行軟件!", "Update failed!\r\nPlease run the software as an administrator!"}};
const TextTriple MasterMic{{"话筒总音量:%3.0f%%", "話筒總音量:%3.0f%%", "MIC:%3.0f%%"}};
const TextTriple MicALabel{{"话筒A", "話筒A", "MICA"}};
const TextTriple MicBLabel{{"话筒B", "話筒B", "MICB"}};
const TextTriple MasterMicB{{"话筒B总音量:%3.0f%%", "話筒B總音量:%3.0f%%", "MICB:%3.0f%%"}};
const TextTriple Vol{{"音量", "音量", "VOL"}};
const TextTriple Low{{"低音", "低音", "Low"}};
const TextTriple Mid{{"中音", "中音", "Mid"}};
const TextTriple High{{"高音", "高音", "High"}};
const TextTriple Round{{"环绕", "環繞", "Round"}};
const TextTriple Cen{{"中置", "中置", "CEN"}};
const TextTriple Bass{{"重低音", "重低音", "Bass"}};
const TextTriple LeftChannel{{"左声道", "左聲道", "Left Channel"}};
const TextTriple RightChannel{{"右声道", "右聲道", "Right Channel"}};
const TextTriple Open{{"打开", "打開", "Open"}};
const TextTriple UpgradeFailed{{"升级失败!", "升級失敗!", "Upgrade failed!"}};
const TextTriple UpgradeSucceeded{{"升级成功!", "升級成功!", "Upgrade success!"}};
const TextTriple UpgradeInterrupted{{"中断升级!", "中斷升級!", "Interrupt to upgrade!"}};
const TextTriple NotDsp1Package{{"文件原不是DSP1升级包!请确认再升级", "文件原不是DSP1升級包!請確認再升級", "File not DSP1 upgrade package!Please make sure the upgrade again!"}};
const TextTriple NotPanelPackage{{"文件原不是面板升级包!请确认再升级", "文件原不是面板升級包!請確認再升級", "File not panel upgrade package!Please make sure the upgrade again!"}};
const TextTriple NotCommunicationPackage{{"文件原不是通信升级包!请确认再升级", "文件原不是通信升級包!請確認再升級", "The file was not communication updates!Please make sure the upgrade again!"}};
const TextTriple NotDsp4Package{{"文件原不是DSP4升级包!请确认再升级", "文件原不是DSP4升級包!請確認再升級", "File not DSP4 upgrade package!Please make sure the upgrade again!"}};
const TextTriple NotDsp5Package{{"文件原不是DSP5升级包!请确认再升级", "文件原不是DSP5升級包!請確認再升級", "File not DSP5 upgrade package!Please make sure the upgrade again!"}};
const TextTriple AutoModeAdjusted{{"自动模式已调整!", "自動模式已調整!", "Automatic mode is adjusted!"}};
const TextTriple UpdateSoftwareQuestion{{"是否更新软件!", "是否更新軟件!", "Whether to update the software!"}};
const TextTriple NothingCopied{{"没有复制的内容!", "沒有複製的內容!", "No duplicate content!"}};
const TextTriple AnalogPrefix{{"模拟 ", "模擬 ", "Analog "}};
const TextTriple PassThrough{{"直通", "直通", "Pass"}};
const TextTriple ChannelMode{{"声道模式:", "聲道模式:", "CH Mode:"}};
const TextTriple Audio{{"音频", "音頻", "AUDIO"}};
const TextTriple TrackTest{{"声道测试", "聲道測試", "Track Test"}};
const TextTriple SceneName[12] = {
    {{"K 歌", "K 歌", "01"}},
    {{"电影", "電影", "02"}},
    {{"会议", "會議", "03"}},
    {{"音乐", "音樂", "04"}},
    {{"大厅", "大廳", "05"}},
    {{"中厅", "中廳", "06"}},
    {{"小厅", "小廳", "07"}},
    {{"包房", "包房", "08"}},
    {{" ", " ", " "}},
    {{" ", " ", " "}},
    {{" ", " ", " "}},
    {{" ", " ", " "}},
};
// clang-format on

namespace {

struct Entry {
    const TextTriple* items;
    int count;
};

constexpr Entry one(const TextTriple& text) {
    return {&text, 1};
}

template <int N>
constexpr Entry group(const TextTriple (&items)[N]) {
    return {items, N};
}

// In entry-number order, starting at 1.
// clang-format off
constexpr Entry kEntries[] = {
    group(ConnectionState), one(MainRight), one(RearRight), one(SurroundRight),
    one(BackSurroundRight), one(PageMain), one(PageCenter), one(PageSub), one(PageRear),
    one(PageSurround), one(PageBackSurround), one(PageMusic), one(PageMic), one(PageEffect),
    one(PageEcho), one(PageReverb), one(Channel1), one(Sound), one(LeftChan), one(RightChan),
    one(PageSystem), group(WindowTitle), one(ProgramRunning), one(MasterMusic), one(MicVolume),
    one(MasterEffect), one(MusicInput), one(Auto), one(Manual), one(Sing), one(Dance),
    one(EqGainLabel), one(EqTypeLabel), one(EqFreqLabel), one(EqQLabel), one(MusicVol),
    one(OutputVol), one(MicDirectVol), one(EchoVol), one(ReverbVol), one(AutoVolumeOutput),
    one(ClippingLevel), one(Response), one(LimiterThreshold), one(LimiterAttack),
    one(LimiterRelease), one(LimiterRatio), one(MicA), one(MicB), one(HpfFreqWhole),
    one(HpfFreqTenths), one(HpfFreqOff), one(HpfSlopeLabel), one(HpfSlope), one(EffectMode),
    one(HpfQ), one(LpfFreqWhole), one(LpfFreqTenths), one(LpfFreqOff), one(ShiftFlat),
    one(ShiftZero), one(ShiftSharp), one(LpfSlopeLabel), one(LpfSlope), one(LpfQ),
    one(LeftDelayWhole), one(LeftDelay), one(DelayWhole), one(Delay), one(DelayDistance),
    one(RightDelayWhole), one(RightDelay), one(LeftMute), one(Mute), one(RightMute),
    one(MuteToggle), one(Muted), one(InputGain), one(AlcThreshold), one(AlcAttack),
    one(AlcSwitch), one(EchoTitle), one(ReverbTitle), one(EchoEffectVol), one(EchoDirectVol),
    one(EchoHpfOff), one(EchoHpfTenths), one(EchoHpfWhole), one(EchoLpfOff), one(EchoLpfTenths),
    one(EchoLpfWhole), one(EchoPreDelay), one(EchoDelayTime), one(EchoRepeatRatio),
    one(EchoRightPreDelay), one(EchoRightDelay), one(ReverbEffectVol), one(ReverbDirectVol),
    one(ReverbHpfOff), one(ReverbHpfTenths), one(ReverbHpfWhole), one(ReverbLpfOff),
    one(ReverbLpfTenths), one(ReverbLpfWhole), one(ReverbPreDelay), one(ReverbTime),
    one(MicFeedbackEliminator), group(OperationState), one(SystemTitle), one(VolumeController),
    one(SystemMic), one(NoiseGate), one(NoiseGateThreshold), one(NoiseGateTime), one(AutoLock),
    one(Surround51OnSide), one(Surround51OnBack), one(KeyPassword), one(NewKeyPassword),
    one(CheckKeyPassword), one(ChangeKeyPassword), one(Password), one(SystemPassword),
    one(CheckSystemPassword), one(ModeControl), one(ModeNumber), one(ModeName),
    one(LanguageLabel), one(Skin), one(ChangePassword), one(ConfirmPassword), one(OldPassword),
    one(Cancel), one(ConfirmPasswordLabel), one(ResetPasswords), one(ChangeSystemPassword),
    one(Local), one(LocalModeName), one(SaveModeLocal), one(DeleteInLocal),
    one(UpdateToEquipment), one(WifiSet), one(Route), one(ExternalDataImport), one(MusicStart),
    one(MusicMax), one(MicStart), one(MicMax), one(MicBStart), one(MicBMax), one(EffectStart),
    one(EffectMax), one(LeftRightJoint), one(SourceOptical), one(SourceCoaxial),
    one(SourceBluetooth), one(SourceUsb), one(Enable), one(Disable), one(BootMode),
    one(UseMode), one(SaveMode), one(User), one(Admin), one(NewSystemPassword),
    one(PasswordDeleted), one(NoPasswordEnterNew), one(EnglishName), one(Welcome),
    one(ReadDeviceProgress), one(UpdateDisplayProgress), one(UpdateDeviceProgress),
    one(SaveDeviceProgress), one(UpdatingWindow), one(UpgradeProgress),
    one(OnlineUpdateProgress), one(Warning), one(RecallFailed), one(EnterFileName),
    one(FileExistsOverwrite), one(DeleteFailedNoFile), one(DeleteFileQuestion),
    one(NoFilesSelected), one(NewPrefix), one(BootModeLabel), one(PasswordSixDigits),
    one(PasswordFourDigits), one(WrongPassword), one(PasswordChanged), one(NoPermission),
    one(NewPasswordsDiffer), one(Tip), one(CopyLeftToRightQuestion), one(ExitQuestion),
    one(InstructionError), one(SaveFailedDiskFull), one(SaveSuccessful), one(EnterPassword),
    one(FileFormatError), one(WrongEquipmentModel), one(Minimize), one(Exit),
    one(AlreadyRunning), one(NoDevice), group(SpaceTestState), group(StartStop),
    one(ResetTest), one(TestTime), one(TestFinished), one(Testing), one(NameNotSupported),
    one(SoftwareUpdateQuestion), one(UpdateFailedRunAsAdmin), one(MasterMic), one(MicALabel),
    one(MicBLabel), one(MasterMicB), one(Vol), one(Low), one(Mid), one(High), one(Round),
    one(Cen), one(Bass), one(LeftChannel), one(RightChannel), one(Open), one(UpgradeFailed),
    one(UpgradeSucceeded), one(UpgradeInterrupted), one(NotDsp1Package), one(NotPanelPackage),
    one(NotCommunicationPackage), one(NotDsp4Package), one(NotDsp5Package),
    one(AutoModeAdjusted), one(UpdateSoftwareQuestion), one(NothingCopied), one(AnalogPrefix),
    one(PassThrough), one(ChannelMode), one(Audio), one(TrackTest), group(SceneName),
};
// clang-format on
static_assert(std::size(kEntries) == kEntryCount);

const TextTriple kMissing{{"", "", ""}};

}  // namespace

const TextTriple& entry(int number, int item) {
    if (item < 0 || item >= itemCount(number)) return kMissing;
    return kEntries[number - 1].items[item];
}

int itemCount(int number) {
    if (number < 1 || number > kEntryCount) return 0;
    return kEntries[number - 1].count;
}

}  // namespace uitext
