#pragma once

#include "link/link_parameter_index.h"

// The device's named parameter indices above the link: the header's and the
// system page's single values. Bands and per-channel values are rules in the
// field catalogue instead.
namespace parameterIndex {

constexpr int MusicVolume = 1602;  // the header's volumes: 500 + per cent
constexpr int MicVolume = 1603;
constexpr int EffectVolume = 1604;
constexpr int MicBVolume = 1605;
constexpr int MicMax = 1611;  // the system page's volume limits, per cent
constexpr int MicStart = 1612;
constexpr int MicBMax = 1613;
constexpr int MicBStart = 1614;
constexpr int MusicMax = 1615;
constexpr int MusicStart = 1616;
constexpr int EffectMax = 1617;
constexpr int EffectStart = 1618;
constexpr int InputSource = 1620;
constexpr int ChannelMode = 1621;  // also the output layout of the channel test and routing
constexpr int KeyLockPassword = 1623;
constexpr int KeyLock = 1624;
constexpr int SystemItem16 = 1627;  // shown by no control
constexpr int MusicGateThreshold = 1631;
constexpr int MusicGate = 1632;
constexpr int MicGateThreshold = 1633;
constexpr int MicGate = 1634;
constexpr int BootMode = 1635;
constexpr int Surround = 1644;

}  // namespace parameterIndex
