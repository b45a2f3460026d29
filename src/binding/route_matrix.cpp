#include "binding/route_matrix.h"

#include <algorithm>
#include <cstdio>

#include "link/mirror.h"
#include "texts/routing_texts.h"

namespace {

const char* const kRowHeadings[RouteMatrix::kSize] = {"OutFL",  "OutFR", "OutSL", "OutSR",
                                                      "OutCEN", "OutSW", "OutBL", "OutBR"};
const char* const kColumnHeadings[RouteMatrix::kSize] = {"InFL", "InFR", "InSW", "InCEN",
                                                         "InSL", "InSR", "InBL", "InBR"};

struct Layout {
    const char* item;
    const char* name;
    int mask;
};
const Layout kLayoutTable[RouteMatrix::kLayouts] = {
    {"In20CH", "20CH", 3},  {"In21CH", "21CH", 11},   {"In30CH", "30CH", 7},
    {"In31CH", "31CH", 15}, {"In51CH", "51CH", 1551}, {"In71CH", "71CH", 1599},
};

// Output selection 0 ... 5 as the title names it.
const char* const kSelectionNames[RouteMatrix::kLayouts] = {"20CH", "21CH", "30CH",
                                                            "31CH", "51CH", "71CH"};

struct DecoderMode {
    int code;
    const char* name;
};
const DecoderMode kDecoderModes[] = {{1, "AC3"},    {8, "APCM"},  {9, "DPCM"},
                                     {11, "DTS1"},  {12, "DTS2"}, {13, "DTS3"},
                                     {17, "DTS-X"}, {21, "EAC3"}, {22, "TrueHD"}};

const char* decoderModeName(int code) {
    for (const DecoderMode& m : kDecoderModes)
        if (m.code == code) return m.name;
    return "";
}

}  // namespace

int RouteMatrix::cellOf(int index) {
    int offset = index - kFirstCell;
    if (offset < 0) return -1;
    int row = offset / kRowPitch, column = offset % kRowPitch;
    if (row >= kSize || column >= kSize) return -1;
    return row * kSize + column;
}

int RouteMatrix::level(uint16_t value) {
    return std::min(value >> 8, kMaxLevel);
}

uint16_t RouteMatrix::cellValue(int level, bool on) {
    return static_cast<uint16_t>(std::clamp(level, 0, kMaxLevel) * 256 + (on ? 1 : 0));
}

const char* RouteMatrix::rowHeading(int row) {
    return row >= 0 && row < kSize ? kRowHeadings[row] : "";
}

const char* RouteMatrix::columnHeading(int column) {
    return column >= 0 && column < kSize ? kColumnHeadings[column] : "";
}

const char* RouteMatrix::layoutItem(int item) {
    return item >= 0 && item < kLayouts ? kLayoutTable[item].item : "";
}

int RouteMatrix::layoutMask(int item) {
    return item >= 0 && item < kLayouts ? kLayoutTable[item].mask : -1;
}

int RouteMatrix::layoutOfMask(int mask) {
    for (int item = 0; item < kLayouts; ++item)
        if (kLayoutTable[item].mask == mask) return item;
    return -1;
}

std::string RouteMatrix::title(int outputSelection, int decoderMode, int decodedLayout) {
    std::string text = routingtext::OutputSelection.get();
    if (outputSelection >= 0 && outputSelection < kLayouts)
        text += kSelectionNames[outputSelection];
    text += routingtext::DecoderMode.get();
    text += decoderModeName(decoderMode & 0xFF);
    text += routingtext::DecodedLayout.get();
    if (int item = layoutOfMask(decodedLayout); item >= 0) {
        text += kLayoutTable[item].name;
    } else {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%0x", static_cast<unsigned>(decodedLayout));
        text += hex;
    }
    return text;
}

std::string RouteMatrix::title(const Mirror& mirror) {
    return title(mirror.value(kOutputSelection), mirror.value(kDecoderMode),
                 mirror.value(kDecodedLayout));
}

int RoutePoller::tick(Mirror& mirror) {
    if (m_row >= RouteMatrix::kSize) {
        m_row = 0;
        return -1;
    }
    int row = m_row++;
    for (int column = 0; column < RouteMatrix::kSize; ++column)
        mirror.requestRead(RouteMatrix::cellIndex(row, column));
    return row;
}
