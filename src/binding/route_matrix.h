#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "binding/parameter_index.h"

class Mirror;

// The decoder's routing matrix as the device keeps it: 8 outputs by 8 decoded
// inputs, each cell a level 0 to 100 in the high byte and an on/off switch in
// the low byte, and the names the routing page and its export give things.
class RouteMatrix {
public:
    static constexpr int kSize = 8;
    static constexpr int kCells = kSize * kSize;
    static constexpr int kFirstCell = 1505;
    static constexpr int kRowPitch = 12;
    static constexpr int kOutputSelection = parameterIndex::ChannelMode;
    static constexpr int kDecoderMode = parameterIndex::DecoderMode;
    static constexpr int kDecodedLayout = parameterIndex::DecodedLayout;
    static constexpr int kLayouts = 6;
    static constexpr int kMaxLevel = 100;

    static int cellIndex(int row, int column) { return kFirstCell + kRowPitch * row + column; }
    static int cellIndex(int cell) { return cellIndex(cell / kSize, cell % kSize); }
    // The cell number (row * 8 + column) of a mirror index; -1 when it is none.
    static int cellOf(int index);

    // A device value as the page shows it: the level clamped to 100, on for
    // any low byte but 0.
    static int level(uint16_t value);
    static bool on(uint16_t value) { return (value & 0xFF) != 0; }
    // What the page writes; the level is clamped to 0 ... 100 first.
    static uint16_t cellValue(int level, bool on);

    static const char* rowHeading(int row);     // "OutFL" ...
    static const char* columnHeading(int col);  // "InFL" ...

    // The input-layout selector: item 0 ... 5 and its channel mask.
    static const char* layoutItem(int item);  // "In20CH" ...
    static int layoutMask(int item);
    // The item whose mask this is; -1 for any other value.
    static int layoutOfMask(int mask);

    // "声道选择:" ... "解码模式:" ... "解码通道:" ..., in UTF-8.
    static std::string title(int outputSelection, int decoderMode, int decodedLayout);
    static std::string title(const Mirror& mirror);
};

// Every 100 ms tick the routing page asks the device for one row of cells:
// rows 0 to 7 in turn, then a tick without a request, so that each cell is
// read again every 900 ms.
class RoutePoller {
public:
    static constexpr int kTickMs = 100;
    // The row requested (-1 for the resting tick).
    int tick(Mirror& mirror);

private:
    int m_row = 0;
};
