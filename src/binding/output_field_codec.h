#pragma once

// The device values of an output page's fields and back, and of the input
// and effect pages' fields, which share most of these encodings. Decoding
// keeps every value inside what its control can show: a code from the device
// that no control could have sent shows as the nearest legal value.
class OutputFieldCodec {
public:
    static constexpr int kAttackPositions = 108;
    static constexpr int kReleasePositions = 8;
    static constexpr int kRatioPositions = 41;
    static constexpr int kCrossoverItems = 8;
    static constexpr int kBands = 8;
    static constexpr int kSlopeItems = 6;

    // Equaliser bands: type 5 high shelf, 6 low shelf, 7 peaking.
    static int bandType(int code);
    static int gainCode(double dB);  // g x 10 + 500
    static double gain(int code);    // -24 ... +12 dB
    static int qCode(double q);      // q x 100
    static double q(int code);
    static double bandFrequency(int code);

    // A level 0 ... 100 with the mute toggle's 500, as its slider holds it.
    static int mutedLevel(int code);
    // Output level with the mute toggle's 500; mix levels as level x 256 + 1.
    static int mixCode(int level);
    static int mixLevel(int code);

    // Delay in 0.1 ms steps <-> samples at 48 kHz, and the sound's way in metres.
    static int delayCode(double tenthsOfMs);
    static double delay(int code);
    static double delayDistance(double tenthsOfMs);
    // The effects' times in ms <-> samples at 48 kHz.
    static int sampleCode(double ms);
    static double sampleMs(int code);

    // Limiter: threshold in tenths above -30 dBu; attack, release and ratio
    // as positions in their tables.
    static int thresholdCode(double position);
    static double threshold(int code);
    static double attackMs(int position);
    static int attackCode(int position);
    static int attackPosition(int code);
    static int releaseMultiple(int position);
    static int releasePosition(int code);  // 8 when the code is above every entry
    static int ratioTenths(int position);
    static int ratioPosition(int code);

    // Crossovers: selector position <-> type code, slider position <-> frequency code.
    static int crossoverCode(int position, bool lowPass);
    static int crossoverPosition(int code);  // 0 for a code not in the table
    // The input and effect pages' slope items: the first six crossovers. A
    // code not in the table is its own position, when there is one.
    static int slopePosition(int code);
    static int crossoverFrequencyCode(int position);
    static double crossoverFrequency(int code);  // 10 Hz for off
    static int crossoverSliderPosition(double frequency);
    // User Q of the crossovers: slider 0 ... 11 <-> Q x 100.
    static int userQCode(int position);
    static int userQPosition(int code);

    // What "REST" puts the bands at.
    static double restFrequency(bool subwoofer, int band);
};
