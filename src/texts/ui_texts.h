#pragma once

#include "texts/text_triple.h"

// The shared table of user-visible texts. Every entry has a number (1 to
// 244, the order in which the texts are kept) and a name; a group is an array
// indexed by item. The numbers are for code that selects a text by position
// and for checks that walk the whole table.
namespace uitext {

inline constexpr int kEntryCount = 244;

// Entry `number`, item `item` of a group (0 for a single text). Numbers or
// items that do not exist give a triple of empty strings.
const TextTriple& entry(int number, int item = 0);
// The number of items of an entry: 1 for a single text, the group size for a
// group, 0 for a number outside 1 to 244.
int itemCount(int number);

// clang-format off
extern const TextTriple ConnectionState[3];          // 1: connected, searching, suspended
extern const TextTriple MainRight;                   // 2
extern const TextTriple RearRight;                   // 3
extern const TextTriple SurroundRight;               // 4
extern const TextTriple BackSurroundRight;           // 5
extern const TextTriple PageMain;                    // 6
extern const TextTriple PageCenter;                  // 7
extern const TextTriple PageSub;                     // 8
extern const TextTriple PageRear;                    // 9
extern const TextTriple PageSurround;                // 10
extern const TextTriple PageBackSurround;            // 11
extern const TextTriple PageMusic;                   // 12
extern const TextTriple PageMic;                     // 13
extern const TextTriple PageEffect;                  // 14
extern const TextTriple PageEcho;                    // 15
extern const TextTriple PageReverb;                  // 16
extern const TextTriple Channel1;                    // 17
extern const TextTriple Sound;                       // 18
extern const TextTriple LeftChan;                    // 19
extern const TextTriple RightChan;                   // 20
extern const TextTriple PageSystem;                  // 21
extern const TextTriple WindowTitle[4];              // 22: space test, COM set, main view (twice)
extern const TextTriple ProgramRunning;              // 23
extern const TextTriple MasterMusic;                 // 24
extern const TextTriple MicVolume;                   // 25
extern const TextTriple MasterEffect;                // 26
extern const TextTriple MusicInput;                  // 27
extern const TextTriple Auto;                        // 28
extern const TextTriple Manual;                      // 29
extern const TextTriple Sing;                        // 30
extern const TextTriple Dance;                       // 31
extern const TextTriple EqGainLabel;                 // 32
extern const TextTriple EqTypeLabel;                 // 33
extern const TextTriple EqFreqLabel;                 // 34
extern const TextTriple EqQLabel;                    // 35
extern const TextTriple MusicVol;                    // 36
extern const TextTriple OutputVol;                   // 37
extern const TextTriple MicDirectVol;                // 38
extern const TextTriple EchoVol;                     // 39
extern const TextTriple ReverbVol;                   // 40
extern const TextTriple AutoVolumeOutput;            // 41: English repeats "Reverb Vol"
extern const TextTriple ClippingLevel;               // 42
extern const TextTriple Response;                    // 43
extern const TextTriple LimiterThreshold;            // 44
extern const TextTriple LimiterAttack;               // 45
extern const TextTriple LimiterRelease;              // 46
extern const TextTriple LimiterRatio;                // 47
extern const TextTriple MicA;                        // 48
extern const TextTriple MicB;                        // 49
extern const TextTriple HpfFreqWhole;                // 50
extern const TextTriple HpfFreqTenths;               // 51
extern const TextTriple HpfFreqOff;                  // 52
extern const TextTriple HpfSlopeLabel;               // 53
extern const TextTriple HpfSlope;                    // 54
extern const TextTriple EffectMode;                  // 55
extern const TextTriple HpfQ;                        // 56
extern const TextTriple LpfFreqWhole;                // 57
extern const TextTriple LpfFreqTenths;               // 58
extern const TextTriple LpfFreqOff;                  // 59
extern const TextTriple ShiftFlat;                   // 60
extern const TextTriple ShiftZero;                   // 61
extern const TextTriple ShiftSharp;                  // 62
extern const TextTriple LpfSlopeLabel;               // 63
extern const TextTriple LpfSlope;                    // 64
extern const TextTriple LpfQ;                        // 65
extern const TextTriple LeftDelayWhole;              // 66
extern const TextTriple LeftDelay;                   // 67
extern const TextTriple DelayWhole;                  // 68
extern const TextTriple Delay;                       // 69
extern const TextTriple DelayDistance;               // 70
extern const TextTriple RightDelayWhole;             // 71
extern const TextTriple RightDelay;                  // 72
extern const TextTriple LeftMute;                    // 73
extern const TextTriple Mute;                        // 74
extern const TextTriple RightMute;                   // 75
extern const TextTriple MuteToggle;                  // 76
extern const TextTriple Muted;                       // 77
extern const TextTriple InputGain;                   // 78
extern const TextTriple AlcThreshold;                // 79
extern const TextTriple AlcAttack;                   // 80
extern const TextTriple AlcSwitch;                   // 81
extern const TextTriple EchoTitle;                   // 82
extern const TextTriple ReverbTitle;                 // 83
extern const TextTriple EchoEffectVol;               // 84
extern const TextTriple EchoDirectVol;               // 85
extern const TextTriple EchoHpfOff;                  // 86
extern const TextTriple EchoHpfTenths;               // 87
extern const TextTriple EchoHpfWhole;                // 88
extern const TextTriple EchoLpfOff;                  // 89
extern const TextTriple EchoLpfTenths;               // 90
extern const TextTriple EchoLpfWhole;                // 91
extern const TextTriple EchoPreDelay;                // 92
extern const TextTriple EchoDelayTime;               // 93
extern const TextTriple EchoRepeatRatio;             // 94
extern const TextTriple EchoRightPreDelay;           // 95
extern const TextTriple EchoRightDelay;              // 96
extern const TextTriple ReverbEffectVol;             // 97
extern const TextTriple ReverbDirectVol;             // 98
extern const TextTriple ReverbHpfOff;                // 99
extern const TextTriple ReverbHpfTenths;             // 100
extern const TextTriple ReverbHpfWhole;              // 101
extern const TextTriple ReverbLpfOff;                // 102
extern const TextTriple ReverbLpfTenths;             // 103
extern const TextTriple ReverbLpfWhole;              // 104
extern const TextTriple ReverbPreDelay;              // 105
extern const TextTriple ReverbTime;                  // 106
extern const TextTriple MicFeedbackEliminator;       // 107
extern const TextTriple OperationState[4];           // 108: succeeded, failed, disconnected, ready
extern const TextTriple SystemTitle;                 // 109
extern const TextTriple VolumeController;            // 110
extern const TextTriple SystemMic;                   // 111
extern const TextTriple NoiseGate;                   // 112
extern const TextTriple NoiseGateThreshold;          // 113
extern const TextTriple NoiseGateTime;               // 114
extern const TextTriple AutoLock;                    // 115
extern const TextTriple Surround51OnSide;            // 116
extern const TextTriple Surround51OnBack;            // 117
extern const TextTriple KeyPassword;                 // 118
extern const TextTriple NewKeyPassword;              // 119
extern const TextTriple CheckKeyPassword;            // 120
extern const TextTriple ChangeKeyPassword;           // 121
extern const TextTriple Password;                    // 122
extern const TextTriple SystemPassword;              // 123
extern const TextTriple CheckSystemPassword;         // 124
extern const TextTriple ModeControl;                 // 125
extern const TextTriple ModeNumber;                  // 126
extern const TextTriple ModeName;                    // 127
extern const TextTriple LanguageLabel;               // 128
extern const TextTriple Skin;                        // 129
extern const TextTriple ChangePassword;              // 130
extern const TextTriple ConfirmPassword;             // 131
extern const TextTriple OldPassword;                 // 132
extern const TextTriple Cancel;                      // 133
extern const TextTriple ConfirmPasswordLabel;        // 134
extern const TextTriple ResetPasswords;              // 135
extern const TextTriple ChangeSystemPassword;        // 136
extern const TextTriple Local;                       // 137
extern const TextTriple LocalModeName;               // 138
extern const TextTriple SaveModeLocal;               // 139
extern const TextTriple DeleteInLocal;               // 140
extern const TextTriple UpdateToEquipment;           // 141
extern const TextTriple WifiSet;                     // 142
extern const TextTriple Route;                       // 143
extern const TextTriple ExternalDataImport;          // 144
extern const TextTriple MusicStart;                  // 145
extern const TextTriple MusicMax;                    // 146
extern const TextTriple MicStart;                    // 147
extern const TextTriple MicMax;                      // 148
extern const TextTriple MicBStart;                   // 149
extern const TextTriple MicBMax;                     // 150
extern const TextTriple EffectStart;                 // 151
extern const TextTriple EffectMax;                   // 152
extern const TextTriple LeftRightJoint;              // 153
extern const TextTriple SourceOptical;               // 154
extern const TextTriple SourceCoaxial;               // 155
extern const TextTriple SourceBluetooth;             // 156
extern const TextTriple SourceUsb;                   // 157
extern const TextTriple Enable;                      // 158
extern const TextTriple Disable;                     // 159
extern const TextTriple BootMode;                    // 160
extern const TextTriple UseMode;                     // 161
extern const TextTriple SaveMode;                    // 162
extern const TextTriple User;                        // 163
extern const TextTriple Admin;                       // 164
extern const TextTriple NewSystemPassword;           // 165
extern const TextTriple PasswordDeleted;             // 166
extern const TextTriple NoPasswordEnterNew;          // 167
extern const TextTriple EnglishName;                 // 168
extern const TextTriple Welcome;                     // 169
extern const TextTriple ReadDeviceProgress;          // 170
extern const TextTriple UpdateDisplayProgress;       // 171
extern const TextTriple UpdateDeviceProgress;        // 172
extern const TextTriple SaveDeviceProgress;          // 173
extern const TextTriple UpdatingWindow;              // 174
extern const TextTriple UpgradeProgress;             // 175
extern const TextTriple OnlineUpdateProgress;        // 176
extern const TextTriple Warning;                     // 177
extern const TextTriple RecallFailed;                // 178
extern const TextTriple EnterFileName;               // 179
extern const TextTriple FileExistsOverwrite;         // 180
extern const TextTriple DeleteFailedNoFile;          // 181
extern const TextTriple DeleteFileQuestion;          // 182
extern const TextTriple NoFilesSelected;             // 183
extern const TextTriple NewPrefix;                   // 184: joined before a password rule
extern const TextTriple BootModeLabel;               // 185
extern const TextTriple PasswordSixDigits;           // 186
extern const TextTriple PasswordFourDigits;          // 187
extern const TextTriple WrongPassword;               // 188
extern const TextTriple PasswordChanged;             // 189
extern const TextTriple NoPermission;                // 190
extern const TextTriple NewPasswordsDiffer;          // 191
extern const TextTriple Tip;                         // 192
extern const TextTriple CopyLeftToRightQuestion;     // 193
extern const TextTriple ExitQuestion;                // 194
extern const TextTriple InstructionError;            // 195
extern const TextTriple SaveFailedDiskFull;          // 196
extern const TextTriple SaveSuccessful;              // 197
extern const TextTriple EnterPassword;               // 198
extern const TextTriple FileFormatError;             // 199
extern const TextTriple WrongEquipmentModel;         // 200
extern const TextTriple Minimize;                    // 201
extern const TextTriple Exit;                        // 202
extern const TextTriple AlreadyRunning;              // 203
extern const TextTriple NoDevice;                    // 204
extern const TextTriple SpaceTestState[2];           // 205: testing, preparing
extern const TextTriple StartStop[2];                // 206
extern const TextTriple ResetTest;                   // 207
extern const TextTriple TestTime;                    // 208
extern const TextTriple TestFinished;                // 209
extern const TextTriple Testing;                     // 210
extern const TextTriple NameNotSupported;            // 211
extern const TextTriple SoftwareUpdateQuestion;      // 212
extern const TextTriple UpdateFailedRunAsAdmin;      // 213
extern const TextTriple MasterMic;                   // 214
extern const TextTriple MicALabel;                   // 215
extern const TextTriple MicBLabel;                   // 216
extern const TextTriple MasterMicB;                  // 217
extern const TextTriple Vol;                         // 218
extern const TextTriple Low;                         // 219
extern const TextTriple Mid;                         // 220
extern const TextTriple High;                        // 221
extern const TextTriple Round;                       // 222
extern const TextTriple Cen;                         // 223
extern const TextTriple Bass;                        // 224
extern const TextTriple LeftChannel;                 // 225
extern const TextTriple RightChannel;                // 226
extern const TextTriple Open;                        // 227
extern const TextTriple UpgradeFailed;               // 228
extern const TextTriple UpgradeSucceeded;            // 229
extern const TextTriple UpgradeInterrupted;          // 230
extern const TextTriple NotDsp1Package;              // 231
extern const TextTriple NotPanelPackage;             // 232
extern const TextTriple NotCommunicationPackage;     // 233
extern const TextTriple NotDsp4Package;              // 234
extern const TextTriple NotDsp5Package;              // 235
extern const TextTriple AutoModeAdjusted;            // 236
extern const TextTriple UpdateSoftwareQuestion;      // 237
extern const TextTriple NothingCopied;               // 238
extern const TextTriple AnalogPrefix;                // 239: "Analog " + channel count
extern const TextTriple PassThrough;                 // 240
extern const TextTriple ChannelMode;                 // 241
extern const TextTriple Audio;                       // 242
extern const TextTriple TrackTest;                   // 243
extern const TextTriple SceneName[12];               // 244: numbers in English, names in Chinese
// clang-format on

}  // namespace uitext
