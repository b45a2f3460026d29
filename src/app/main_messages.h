#pragma once

// Numbers of the messages the main window takes. The custom ones are also the
// control identifiers of the controls that send them.
namespace MainMessage {
inline constexpr unsigned LinkEvent = 0x0401;
inline constexpr unsigned ControlChanged = 0x57FC;
inline constexpr unsigned LanguageRefresh = 0x5860;
inline constexpr unsigned PageSelect = 0x13AA;
inline constexpr unsigned VolumeLimit = 0x5928;
inline constexpr unsigned MasterSlider = 0x1792;  // to 0x1795
inline constexpr unsigned TitleButton = 0x0BD0;   // 3024 to 3028
inline constexpr unsigned InputSource = 0x33A8;
inline constexpr unsigned ChannelMode = 0x33AA;
}  // namespace MainMessage
