#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the Wi-Fi module settings dialog.
namespace wifitext {
extern const TextTriple SsidEmpty;
extern const TextTriple RouterModeQuestion;
extern const TextTriple RestartToApply;
extern const TextTriple PasswordTooShort;
extern const TextTriple ModeHotspot;
extern const TextTriple ModeRouter;
extern const TextTriple IpLabel;
extern const TextTriple HotspotSsidLabel;
extern const TextTriple HotspotPasswordLabel;
extern const TextTriple RouterSsidLabel;
extern const TextTriple RouterPasswordLabel;
extern const TextTriple ReadAgain;
extern const TextTriple SetHotspot;
extern const TextTriple SetRouter;
extern const TextTriple Internet;
extern const TextTriple Lan;
extern const TextTriple DeviceIdTitle;  // followed by ":%0X" and the device ID
extern const TextTriple DeviceIdFailed;
extern const TextTriple PcConnection;
extern const TextTriple WifiSetup;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace wifitext
