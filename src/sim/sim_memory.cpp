#include "sim/sim_memory.h"

#include <cmath>
#include <span>

#include "filter/frequency_table.h"

namespace {

using Memory = SimMemory::Memory;

// ---------------------------------------------------------------------------
// How the device stores values.

enum BandType : uint16_t { kHighShelf = 5, kLowShelf = 6, kPeak = 7 };

// Crossover and slope codes: even high-pass, odd low-pass.
enum FilterCode : uint16_t {
    kButterworth24Hp = 20,
    kButterworth24Lp = 21,
    kBessel24Hp = 22,
    kBessel24Lp = 23,
    kLinkRiley24Hp = 24,
    kLinkRiley24Lp = 25,
};

enum Source : uint16_t {
    kAux1 = 1,
    kAux2 = 2,
    kOptical = 3,
    kCoaxial = 4,
    kBluetooth = 6,
    kEarc = 7,
    kHdmi1 = 8,
    kHdmi2 = 9,
    kHdmi3 = 10,
};

// Channel mode item (header) = output channel selection (routing page, channel test).
enum ChannelMode : uint16_t { k20 = 0, k21 = 1, k30 = 2, k31 = 3, k51 = 4, k71 = 5 };

enum DecoderFormat : uint16_t {
    kAc3 = 1,
    kAnalogPcm = 8,
    kDigitalPcm = 9,
    kDtsX = 17,
    kEac3 = 21,
    kTrueHd = 22
};

// Decoded channel layout as a channel mask (bit 0 FL, 1 FR, 2 CEN, 3 SW, 4 BL, 5 BR, 9 SL, 10 SR).
enum Layout : uint16_t { kLayout20 = 3, kLayout51 = 1551, kLayout71 = 1599 };

constexpr double kLowPassOff = 20600;    // top of the grid
constexpr uint16_t kTestSignal = 30001;  // what the channel test selects

uint16_t gainCode(double db) {
    return static_cast<uint16_t>(500 + std::lround(db * 10));
}
uint16_t hundredths(double x) {
    return static_cast<uint16_t>(std::lround(x * 100));
}
uint16_t tenths(double x) {
    return static_cast<uint16_t>(std::lround(x * 10));
}
// Delays travel as samples at 48 kHz.
uint16_t samples(double ms) {
    return static_cast<uint16_t>(std::lround(ms * 48));
}
// Output, effect and direct levels: percent, plus 500 while muted.
uint16_t level(int percent, bool muted = false) {
    return static_cast<uint16_t>(percent + (muted ? 500 : 0));
}
// Master volumes: always 500 + percent.
uint16_t masterVolume(int percent) {
    return static_cast<uint16_t>(500 + percent);
}
// Mic, echo and reverb mixed into an output: 0, or percent in the high byte and 1.
uint16_t mixLevel(int percent) {
    return percent == 0 ? 0 : static_cast<uint16_t>(percent * 256 + 1);
}
uint16_t routeCell(int percent, bool on) {
    return static_cast<uint16_t>(percent * 256 + (on ? 1 : 0));
}

struct Band {
    BandType type;
    double hz;
    double gainDb;
    double q;
};

struct Filter {
    FilterCode code;
    double hz;
};

// Limiter of an output, compressor of a microphone.
struct Dynamics {
    double thresholdDbu;  // -30 ... +18
    double attackMs;      // an entry of the attack table
    int releaseTimes;     // release = this many attack times
    double ratio;         // an entry of the ratio table
};

// Band, dynamics and filter layouts shared by every block.
void writeBand(Memory& m, int at, const Band& b) {
    m[at + 0] = b.type;
    m[at + 1] = FrequencyTable::frequencyCode(b.hz);
    m[at + 2] = gainCode(b.gainDb);
    m[at + 3] = hundredths(b.q);
}

void writeBands(Memory& m, int at, std::span<const Band> bands) {
    for (size_t b = 0; b < bands.size(); ++b) writeBand(m, at + 4 * static_cast<int>(b), bands[b]);
}

void writeDynamics(Memory& m, int at, const Dynamics& d) {
    m[at + 0] = tenths(d.ratio);
    m[at + 1] = tenths(d.attackMs);
    m[at + 2] = static_cast<uint16_t>(d.releaseTimes);
    m[at + 3] = static_cast<uint16_t>(tenths(d.thresholdDbu + 30) + 200);
}

// ---------------------------------------------------------------------------
// Output channels, in the device's order FL FR SL SR CEN SW BL BR.

constexpr int kOutputs = 8;
enum Kind { kFront, kCentre, kSub, kSurround, kBack };
constexpr Kind kChannelKind[kOutputs] = {kFront,  kFront, kSurround, kSurround,
                                         kCentre, kSub,   kBack,     kBack};

struct Output {
    int levelPct;
    double delayMs;
    Filter highPass;
    Filter lowPass;
    double userQ;  // of the "USER" crossovers
    Dynamics limiter;
    int micPct, echoPct, reverbPct;
    Band bands[8];
};

constexpr Dynamics kSpeakerLimiter{10.0, 5.0, 16, 20.0};
constexpr Dynamics kSubLimiter{6.0, 20.0, 8, 20.0};

// Indexed by Kind. Levels, front shelves and the subwoofer's boost are the
// style's; the values here are the factory ones.
constexpr Output kOutputSetups[] = {
    // front: small speakers crossed to the subwoofer at 80 Hz
    {100,
     0.0,
     {kLinkRiley24Hp, 80.3},
     {kLinkRiley24Lp, kLowPassOff},
     0.7,
     kSpeakerLimiter,
     100,
     100,
     100,
     {{kLowShelf, 101, 1.5, 0.71},
      {kPeak, 250, -2.0, 1.4},
      {kPeak, 1000, 0.0, 1.0},
      {kPeak, 2000, 0.0, 1.0},
      {kPeak, 2520, -1.5, 2.0},
      {kPeak, 4000, 0.0, 1.0},
      {kPeak, 10100, 0.0, 1.0},
      {kHighShelf, 12000, 1.0, 0.71}}},
    // centre: dialogue presence
    {95,
     0.5,
     {kLinkRiley24Hp, 101},
     {kLinkRiley24Lp, kLowPassOff},
     0.7,
     kSpeakerLimiter,
     100,
     80,
     80,
     {{kLowShelf, 101, 0.0, 0.71},
      {kPeak, 250, -3.0, 1.4},
      {kPeak, 1000, 0.0, 1.0},
      {kPeak, 2000, 2.0, 1.4},
      {kPeak, 2520, 0.0, 1.0},
      {kPeak, 4000, 1.0, 2.0},
      {kPeak, 10100, 0.0, 1.0},
      {kHighShelf, 12000, 0.0, 0.71}}},
    // subwoofer: subsonic filter, low-pass at 80 Hz, a room mode tamed at 45 Hz
    {90,
     2.0,
     {kButterworth24Hp, 20.1},
     {kLinkRiley24Lp, 80.3},
     0.7,
     kSubLimiter,
     0,
     0,
     0,
     {{kPeak, 31.3, 2.0, 1.4},
      {kPeak, 45.1, -4.0, 4.0},
      {kPeak, 80.3, 0.0, 1.0},
      {kPeak, 101, 0.0, 1.0},
      {kPeak, 125, 0.0, 1.0},
      {kPeak, 161, 0.0, 1.0},
      {kPeak, 202, 0.0, 1.0},
      {kPeak, 303, 0.0, 1.0}}},
    // surround
    {85,
     5.0,
     {kLinkRiley24Hp, 101},
     {kLinkRiley24Lp, kLowPassOff},
     0.7,
     kSpeakerLimiter,
     0,
     60,
     80,
     {{kPeak, 101, 0.0, 1.0},
      {kPeak, 250, 0.0, 1.0},
      {kPeak, 1000, 0.0, 1.0},
      {kPeak, 2000, 0.0, 1.0},
      {kPeak, 2520, 0.0, 1.0},
      {kPeak, 4000, 0.0, 1.0},
      {kPeak, 10100, 0.0, 1.0},
      {kHighShelf, 12000, -1.0, 0.71}}},
    // back
    {85,
     7.5,
     {kLinkRiley24Hp, 101},
     {kLinkRiley24Lp, kLowPassOff},
     0.7,
     kSpeakerLimiter,
     0,
     40,
     60,
     {{kPeak, 101, 0.0, 1.0},
      {kPeak, 250, 0.0, 1.0},
      {kPeak, 1000, 0.0, 1.0},
      {kPeak, 2000, 0.0, 1.0},
      {kPeak, 2520, 0.0, 1.0},
      {kPeak, 4000, 0.0, 1.0},
      {kPeak, 10100, 0.0, 1.0},
      {kHighShelf, 12000, -1.5, 0.71}}},
};

// Bands 8 to 14 of an output block: present on the device, not shown by the
// pages, left flat.
constexpr Band kSpareBands[] = {{kPeak, 40.1, 0.0, 1.0}, {kPeak, 63.7, 0.0, 1.0},
                                {kPeak, 161, 0.0, 1.0},  {kPeak, 405, 0.0, 1.0},
                                {kPeak, 630, 0.0, 1.0},  {kPeak, 6350, 0.0, 1.0},
                                {kPeak, 16000, 0.0, 1.0}};

// Per-channel families.
constexpr int kMute = 1;           // + n
constexpr int kOutputLevel = 9;    // + n
constexpr int kEqEnabled = 17;     // + n
constexpr int kDelay = 25;         // + n
constexpr int kLimiter = 33;       // + 4n
constexpr int kChannelBlock = 65;  // + 68n: crossovers, then 15 bands
constexpr int kMix = 1513;         // + 12n: mic, echo (left), echo (right), reverb

void writeOutput(Memory& m, int n, const Output& o) {
    m[kMute + n] = 0;
    m[kOutputLevel + n] = level(o.levelPct);
    m[kEqEnabled + n] = 1;
    m[kDelay + n] = samples(o.delayMs);
    writeDynamics(m, kLimiter + 4 * n, o.limiter);

    int block = kChannelBlock + 68 * n;
    m[block + 0] = o.highPass.code;
    m[block + 1] = FrequencyTable::frequencyCode(o.highPass.hz);
    m[block + 3] = hundredths(o.userQ);
    m[block + 4] = o.lowPass.code;
    m[block + 5] = FrequencyTable::frequencyCode(o.lowPass.hz);
    m[block + 7] = hundredths(o.userQ);
    writeBands(m, block + 8, o.bands);
    writeBands(m, block + 8 + 4 * 8, kSpareBands);

    // Left channels read their echo at +1, right ones at +2: both carry it.
    int mix = kMix + 12 * n;
    m[mix + 0] = mixLevel(o.micPct);
    m[mix + 1] = mixLevel(o.echoPct);
    m[mix + 2] = mixLevel(o.echoPct);
    m[mix + 3] = mixLevel(o.reverbPct);
}

// ---------------------------------------------------------------------------
// Music input, microphones, echo and reverb: a filter block each.

struct FilterBlock {
    int bypass;  // 0 active, 1 bypassed
    int highPassCode, highPassFrequency;
    int lowPassCode, lowPassFrequency;
    int bands;  // type, frequency, gain, Q per band
};

constexpr FilterBlock kMusicBlock{609, 617, 618, 621, 622, 625};
constexpr FilterBlock kMicABlock{1257, 1267, 1268, 1271, 1272, 1275};
constexpr FilterBlock kMicBBlock{1258, 1347, 1348, 1351, 1352, 1355};
constexpr FilterBlock kEchoBlock{1438, 1440, 1441, 1444, 1445, 1448};
constexpr FilterBlock kReverbBlock{1439, 1472, 1473, 1476, 1477, 1480};
constexpr int kMicACompressor = 1259;  // ratio, attack, release, threshold
constexpr int kMicBCompressor = 1263;

void writeFilterBlock(Memory& m, const FilterBlock& at, const Filter& highPass,
                      const Filter& lowPass, std::span<const Band> bands) {
    m[at.bypass] = 0;
    m[at.highPassCode] = highPass.code;
    m[at.highPassFrequency] = FrequencyTable::frequencyCode(highPass.hz);
    m[at.lowPassCode] = lowPass.code;
    m[at.lowPassFrequency] = FrequencyTable::frequencyCode(lowPass.hz);
    writeBands(m, at.bands, bands);
}

// A light loudness contour on the 15-band grid.
constexpr Band kMusicBands[] = {
    {kPeak, 40.1, 1.5, 2.1},  {kPeak, 63.7, 1.0, 2.1},  {kPeak, 101, 0.0, 2.1},
    {kPeak, 161, 0.0, 2.1},   {kPeak, 250, 0.0, 2.1},   {kPeak, 405, 0.0, 2.1},
    {kPeak, 630, 0.0, 2.1},   {kPeak, 1000, 0.0, 2.1},  {kPeak, 1620, 0.0, 2.1},
    {kPeak, 2520, 0.0, 2.1},  {kPeak, 4000, 0.0, 2.1},  {kPeak, 6350, 0.0, 2.1},
    {kPeak, 10100, 0.0, 2.1}, {kPeak, 14000, 1.0, 2.1}, {kPeak, 16000, 1.0, 2.1}};

// Vocal voicing: less proximity boom and mud, more presence and air.
constexpr Band kMicBands[] = {
    {kPeak, 40.1, 0.0, 2.1},  {kPeak, 63.7, 0.0, 2.1},  {kPeak, 101, -3.0, 2.1},
    {kPeak, 161, -1.0, 2.1},  {kPeak, 250, -2.0, 2.1},  {kPeak, 405, -1.5, 2.1},
    {kPeak, 630, 0.0, 2.1},   {kPeak, 1000, 0.0, 2.1},  {kPeak, 1620, 0.0, 2.1},
    {kPeak, 2520, 1.5, 2.1},  {kPeak, 4000, 2.5, 2.1},  {kPeak, 6350, 1.5, 2.1},
    {kPeak, 10100, 1.0, 2.1}, {kPeak, 14000, 0.0, 2.1}, {kHighShelf, 16000, -1.0, 0.71}};

constexpr Band kEchoBands[] = {{kPeak, 125, -3.0, 1.0},
                               {kPeak, 250, -1.5, 1.0},
                               {kPeak, 1000, 0.0, 1.0},
                               {kPeak, 2520, 1.0, 1.4},
                               {kHighShelf, 8000, -2.0, 0.71}};

constexpr Band kReverbBands[] = {{kPeak, 125, -4.0, 1.0},
                                 {kPeak, 250, -2.0, 1.0},
                                 {kPeak, 1000, 0.0, 1.0},
                                 {kPeak, 2520, 0.0, 1.0},
                                 {kHighShelf, 8000, -3.0, 0.71}};

constexpr Dynamics kMicCompressor{-10.0, 10.0, 8, 4.0};

// Echo and reverb time fields.
constexpr int kEchoPreDelay = 1427, kEchoRightDelay = 1428, kEchoDirect = 1429, kEchoLevel = 1430,
              kEchoRepeat = 1431, kEchoTime = 1432;
constexpr int kReverbPreDelay = 1433, kReverbLevel = 1434, kReverbDirect = 1435, kReverbTime = 1436;
constexpr int kFeedbackEliminator = 1437;  // 0 off, 1 to 3

// ---------------------------------------------------------------------------
// Header, system page, routing matrix, channel test.

constexpr int kMusicVolume = 1602, kMicVolume = 1603, kEffectVolume = 1604, kMicBVolume = 1605;
constexpr int kMicMax = 1611, kMicStart = 1612, kMicBMax = 1613, kMicBStart = 1614,
              kMusicMax = 1615, kMusicStart = 1616, kEffectMax = 1617, kEffectStart = 1618;
constexpr int kInputSource = 1620, kChannelMode = 1621;
constexpr int kKeyLockPassword = 1623, kKeyLock = 1624;
constexpr int kSystemPasswordHigh = 1625, kSystemPasswordLow = 1626;
constexpr int kCurrentMode = 1628, kModeOperation = 1629, kPresence = 1630;
constexpr int kMusicGateThreshold = 1631, kMusicGate = 1632, kMicGateThreshold = 1633,
              kMicGate = 1634, kBootMode = 1635;
constexpr int kDecoderFormat = 1637, kDecodedLayout = 1640, kSurroundOutput = 1644;
constexpr int kRoute = 1505;            // + 12 row + column
constexpr int kTestSignalIndex = 1661;  // + 2k, level at + 2k + 1

constexpr uint16_t kMagic = 22356;

// What the decoder reports for the stream each source typically carries.
struct Decoding {
    Source source;
    DecoderFormat format;
    Layout layout;
};
constexpr Decoding kDecodings[] = {{kAux1, kAnalogPcm, kLayout20},
                                   {kAux2, kAnalogPcm, kLayout20},
                                   {kOptical, kDigitalPcm, kLayout20},
                                   {kCoaxial, kDigitalPcm, kLayout20},
                                   {kBluetooth, kDigitalPcm, kLayout20},
                                   {kEarc, kEac3, kLayout51},
                                   {kHdmi1, kTrueHd, kLayout71},
                                   {kHdmi2, kDtsX, kLayout71},
                                   {kHdmi3, kAc3, kLayout51}};

// Routing columns (decoded inputs): FL FR SW CEN SL SR BL BR.
enum Input { kInFL, kInFR, kInSW, kInCEN, kInSL, kInSR, kInBL, kInBR };
// Rows in output order; each output takes its own input at full level.
constexpr Input kOwnInput[kOutputs] = {kInFL, kInFR, kInSL, kInSR, kInCEN, kInSW, kInBL, kInBR};
struct Route {
    int row;
    Input column;
    int percent;
    bool on;
};
// Prepared for 5.1 material on the back speakers, switched off.
constexpr Route kPreparedRoutes[] = {{6, kInSL, 70, false}, {7, kInSR, 70, false}};

// Noise gate thresholds are entries of the gate table (3 and 8 are positions 1 and 6).
constexpr uint16_t kMusicGateLevel = 3;
constexpr uint16_t kMicGateLevel = 8;

// ---------------------------------------------------------------------------
// Styles: the factory setup and the sixteen stored modes.

struct Style {
    const char* name;
    int musicPct, micPct, effectPct;  // master volumes
    int musicMaxPct;                  // volume controller limit of the music volume
    Source source;
    ChannelMode mode;
    int echoPct, echoDelayMs, echoRepeatPct;
    int reverbPct, reverbTimeMs;
    int subPct;
    double subBoostDb;        // subwoofer's low-end band
    double bassDb, trebleDb;  // front shelves
    int centrePct, surroundPct;
    uint16_t feedbackEliminator;
};

// clang-format off
constexpr Style kFactory =
    {"Factory",     60, 70, 60, 100, kHdmi1,    k71, 70, 180, 45, 50, 1800,  90,  2.0,  1.5, 1.0, 95, 85, 1};

constexpr Style kModeStyles[SimMemory::kModes] = {
//   name          mus mic eff max source     mode echo  ms rep rev  time  sub  boost bass treb cen sur fbe
    {"K Song",      55, 75, 75, 100, kHdmi1,    k71, 85, 220, 55, 60, 2200,  85,  1.0,  1.0, 1.5, 100, 80, 2},
    {"Movie",       70, 40, 30, 100, kHdmi1,    k71, 40, 120, 25, 30, 1200, 100,  4.0,  2.0, 1.0, 100, 90, 1},
    {"Meeting",     45, 80, 20, 100, kAux1,     k30, 20,  80, 10, 15,  600,  60, -2.0, -2.0, 0.0, 100, 50, 3},
    {"Music",       65, 40, 40, 100, kBluetooth, k21, 40, 150, 30, 35, 1500,  90,  2.0,  1.5, 1.5, 90, 70, 1},
    {"Hall",        60, 65, 65, 100, kHdmi1,    k71, 60, 250, 45, 75, 3500,  90,  1.0,  0.0, 0.5, 95, 90, 2},
    {"Lounge",      50, 60, 55, 100, kEarc,     k51, 50, 160, 35, 45, 1600,  80,  1.0,  1.0, 0.0, 90, 75, 1},
    {"Studio",      60, 55, 40, 100, kOptical,  k21, 30, 100, 20, 25,  900,  85,  0.0,  0.0, 0.0, 100, 60, 1},
    {"Private Room",55, 70, 70, 100, kHdmi2,    k31, 75, 200, 50, 55, 2000,  85,  1.5,  1.0, 1.0, 100, 70, 2},
    {"Party",       80, 70, 70, 100, kHdmi1,    k71, 70, 200, 50, 50, 1800, 100,  4.5,  3.0, 2.0, 95, 95, 2},
    {"Night",       35, 45, 40,  60, kHdmi1,    k71, 40, 150, 30, 35, 1400,  60, -3.0, -1.0, 0.0, 100, 70, 1},
    {"Speech",      40, 85, 15, 100, kAux2,     k30, 15,  60, 10, 10,  500,  50, -4.0, -3.0, 1.0, 100, 40, 3},
    {"Jazz",        55, 50, 45, 100, kCoaxial,  k51, 35, 140, 25, 45, 2200,  80,  1.0,  1.0, 1.0, 90, 70, 1},
    {"Rock",        75, 60, 55, 100, kHdmi3,    k71, 50, 180, 35, 40, 1600,  95,  3.0,  3.0, 2.5, 95, 85, 2},
    {"Classic",     55, 45, 50, 100, kOptical,  k51, 30, 120, 20, 65, 3000,  75,  0.0,  0.0, 0.5, 90, 80, 1},
    {"Cinema 2",    75, 35, 30, 100, kHdmi2,    k71, 35, 120, 20, 30, 1200, 100,  5.0,  2.5, 1.0, 100, 95, 1},
    {"User",        50, 70, 60, 100, kHdmi1,    k71, 65, 180, 40, 50, 1800,  90,  2.0,  1.0, 1.0, 95, 85, 1},
};
// clang-format on

Output outputFor(Kind kind, const Style& s) {
    Output o = kOutputSetups[kind];
    switch (kind) {
        case kFront:
            o.bands[0].gainDb = s.bassDb;
            o.bands[7].gainDb = s.trebleDb;
            break;
        case kCentre:
            o.levelPct = s.centrePct;
            break;
        case kSub:
            o.levelPct = s.subPct;
            o.bands[0].gainDb = s.subBoostDb;
            break;
        case kSurround:
        case kBack:
            o.levelPct = s.surroundPct;
            break;
    }
    return o;
}

void writeInputs(Memory& m, const Style& s) {
    writeFilterBlock(m, kMusicBlock, {kLinkRiley24Hp, 19.7}, {kLinkRiley24Lp, kLowPassOff},
                     kMusicBands);
    writeFilterBlock(m, kMicABlock, {kButterworth24Hp, 101}, {kButterworth24Lp, 15100}, kMicBands);
    writeFilterBlock(m, kMicBBlock, {kButterworth24Hp, 125}, {kButterworth24Lp, 15100}, kMicBands);
    writeDynamics(m, kMicACompressor, kMicCompressor);
    writeDynamics(m, kMicBCompressor, kMicCompressor);
    m[kFeedbackEliminator] = s.feedbackEliminator;
}

void writeEffects(Memory& m, const Style& s) {
    writeFilterBlock(m, kEchoBlock, {kLinkRiley24Hp, 202}, {kLinkRiley24Lp, 8000}, kEchoBands);
    m[kEchoPreDelay] = samples(10);
    m[kEchoRightDelay] = samples(20);
    m[kEchoDirect] = level(100);
    m[kEchoLevel] = level(s.echoPct);
    m[kEchoRepeat] = static_cast<uint16_t>(s.echoRepeatPct);
    m[kEchoTime] = samples(s.echoDelayMs);

    writeFilterBlock(m, kReverbBlock, {kLinkRiley24Hp, 149}, {kLinkRiley24Lp, 10100}, kReverbBands);
    m[kReverbPreDelay] = samples(20);
    m[kReverbLevel] = level(s.reverbPct);
    m[kReverbDirect] = level(100);
    m[kReverbTime] = static_cast<uint16_t>(s.reverbTimeMs);
}

void writeSystem(Memory& m, const Style& s) {
    m[kMusicVolume] = masterVolume(s.musicPct);
    m[kMicVolume] = masterVolume(s.micPct);
    m[kMicBVolume] = masterVolume(s.micPct);  // the MIC slider drives both microphones
    m[kEffectVolume] = masterVolume(s.effectPct);

    struct Limit {
        int start, max, startPct, maxPct;
    };
    const Limit limits[] = {{kMusicStart, kMusicMax, 40, s.musicMaxPct},
                            {kMicStart, kMicMax, 50, 100},
                            {kMicBStart, kMicBMax, 50, 100},
                            {kEffectStart, kEffectMax, 50, 100}};
    for (const Limit& l : limits) {
        m[l.max] = static_cast<uint16_t>(l.maxPct);
        m[l.start] = static_cast<uint16_t>(l.startPct < l.maxPct ? l.startPct : l.maxPct);
    }

    m[kInputSource] = s.source;
    m[kChannelMode] = s.mode;
    for (const Decoding& d : kDecodings) {
        if (d.source != s.source) continue;
        m[kDecoderFormat] = d.format;
        m[kDecodedLayout] = d.layout;
    }

    // Key lock and system password off, both passwords all zeros.
    m[kKeyLockPassword] = 0x0000;
    m[kKeyLock] = 0;
    m[kSystemPasswordHigh] = 0x00;
    m[kSystemPasswordLow] = 0x0000;

    m[kMusicGate] = 0;
    m[kMusicGateThreshold] = kMusicGateLevel;
    m[kMicGate] = 1;
    m[kMicGateThreshold] = kMicGateLevel;
    m[kBootMode] = 0;        // "Auto"
    m[kSurroundOutput] = 0;  // 5.1 surround on SL/SR
}

void writeRouting(Memory& m) {
    for (int row = 0; row < kOutputs; ++row)
        m[kRoute + 12 * row + kOwnInput[row]] = routeCell(100, true);
    for (const Route& r : kPreparedRoutes)
        m[kRoute + 12 * r.row + r.column] = routeCell(r.percent, r.on);
}

void writeChannelTest(Memory& m) {
    for (int k = 0; k < kOutputs; ++k) {
        m[kTestSignalIndex + 2 * k] = kTestSignal;
        m[kTestSignalIndex + 2 * k + 1] = 0;  // silent
    }
}

Memory build(const Style& s, int currentMode) {
    Memory m{};
    m[0] = kMagic;
    for (int n = 0; n < kOutputs; ++n) writeOutput(m, n, outputFor(kChannelKind[n], s));
    writeInputs(m, s);
    writeEffects(m, s);
    writeRouting(m);
    writeSystem(m, s);
    writeChannelTest(m);
    m[kCurrentMode] = static_cast<uint16_t>(currentMode);
    m[kModeOperation] = 0;
    m[kPresence] = 0;
    return m;
}

}  // namespace

SimMemory::Memory SimMemory::defaults() {
    return build(kFactory, 1);
}

SimMemory::Memory SimMemory::mode(int n) {
    if (n < 1 || n > kModes) return defaults();
    return build(kModeStyles[n - 1], n);
}

const char* SimMemory::modeName(int n) {
    return n >= 1 && n <= kModes ? kModeStyles[n - 1].name : "";
}
