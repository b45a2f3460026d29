#pragma once

#include <string>

#include "binding/parameter_index.h"

// The values of the header's controls on the device: master volumes as 500 +
// per cent, the input source codes of the selector's items and the names of
// the decoder's formats.
class HeaderValues {
public:
    static constexpr int kMusicVolume = parameterIndex::MusicVolume;
    static constexpr int kMicVolume = parameterIndex::MicVolume;
    static constexpr int kEffectVolume = parameterIndex::EffectVolume;
    static constexpr int kMicBVolume = parameterIndex::MicBVolume;
    static constexpr int kInputSource = parameterIndex::InputSource;
    static constexpr int kChannelMode = parameterIndex::ChannelMode;
    static constexpr int kDecoderFormat = parameterIndex::DecoderMode;
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
