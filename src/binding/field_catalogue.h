#pragma once

#include <span>
#include <string>

#include "binding/page_number.h"

struct TextTriple;

// How a field's shown value (a slider position, a band strip's value) and its
// device value convert. Owner: the control's own value (a toggle, a
// selector), or a page that writes it itself.
enum class FieldCodec {
    Owner,
    BandType,
    BandFrequency,
    BandQ,
    BandGain,
    Level,       // the position as it is
    MutedLevel,  // with the mute toggle's 500
    Mix,         // level x 256 + 1
    UserQ,       // the crossovers' Q x 100
    Delay,       // 0.1 ms steps as samples at 48 kHz
    Samples,     // ms as samples at 48 kHz
    Threshold,
    Attack,
    Release,
    Ratio,
    Crossover,       // a position on the frequency grid
    UpperCrossover,  // a position on the grid's upper part
};

// One row of the field catalogue: fields first ... first + count - 1 of the
// pages (a bit per page, the header as pageNumber::Count) write index
// base + step * k + perChannel * channel; no index when base is below 0.
// Show-only rows are found by the index refresh but written by their owner.
// Sliders take the range, fine steps and label from their row.
struct FieldRow {
    enum class Channel { None, Main, Partner, MicA, MicB };

    unsigned pages;
    int first;
    int count;
    int base;
    int step;
    int perChannel;
    Channel channel;
    bool writes = true;
    FieldCodec codec = FieldCodec::Owner;
    double minimum = 0;
    double maximum = 0;
    const TextTriple* format = nullptr;  // the label's, filled with labelValue
    const char* suffix = nullptr;        // follows the format
    double fineThreshold = 0;            // steps of 0.1 below it

    constexpr FieldRow shown(FieldCodec c, double lo, double hi, const TextTriple* f = nullptr,
                             const char* s = nullptr, double fine = 0) const {
        FieldRow row = *this;
        row.codec = c;
        row.minimum = lo;
        row.maximum = hi;
        row.format = f;
        row.suffix = s;
        row.fineThreshold = fine;
        return row;
    }
    bool covers(int page, int field) const;
    bool toggle() const { return codec == FieldCodec::MutedLevel; }
};

class FieldCatalogue {
public:
    static std::span<const FieldRow> rows();
    // The row a field's codec, range and label come from; null when none.
    static const FieldRow* find(int page, int field);

    static int encode(FieldCodec codec, double shown);
    // Kept inside the row's range where it has one.
    static double decode(const FieldRow& row, int value);
    static double labelValue(FieldCodec codec, double shown);
    // Empty when the row has no label.
    static std::string label(const FieldRow& row, double shown);
};
