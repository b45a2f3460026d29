#pragma once

#include <string>

// The values of the header's controls on the device: master volumes as 500 +
// per cent, the input source codes of the selector's items and the names of
// the decoder's formats.
class HeaderValues {
public:
    static constexpr int kMusicVolume = 1602;
    static constexpr int kMicVolume = 1603;
    static constexpr int kEffectVolume = 1604;
    static constexpr int kMicBVolume = 1605;
    static constexpr int kInputSource = 1620;
    static constexpr int kChannelMode = 1621;
    static constexpr int kDecoderFormat = 1637;
    static constexpr int kSources = 9;
    static constexpr int kChannelModes = 7;

    static int volumeCode(double percent);
    static int volumePercent(int code);
    // -1 for an item outside the list.
    static int sourceCode(int item);
    // -1 for a code without an item.
    static int sourceItem(int code);
    // "----" for a format without a name.
    static std::string decoderName(int code);
};
