#include <gtest/gtest.h>

#include <vector>

#include "binding/field_catalogue.h"

namespace {

// What a control of the row can show: every step of its range, or a spread of
// band values.
std::vector<double> shownValues(const FieldRow& row) {
    switch (row.codec) {
        case FieldCodec::BandType:
            return {5, 6, 7};
        case FieldCodec::BandFrequency:
            return {19.7, 25.3, 101, 1000, 12000, 20600};
        case FieldCodec::BandQ:
            return {0.4, 0.71, 1, 4.5, 128};
        case FieldCodec::BandGain: {
            std::vector<double> gains;
            for (int tenths = -240; tenths <= 120; ++tenths) gains.push_back(tenths / 10.0);
            return gains;
        }
        default: {
            std::vector<double> steps;
            double step = row.fineThreshold > 0 ? 0.1 : 1;
            for (int k = 0; row.minimum + k * step <= row.maximum + 1e-9; ++k)
                steps.push_back(row.minimum + k * step);
            if (row.toggle())
                for (int k = 0; k <= 100; ++k) steps.push_back(500 + k);
            return steps;
        }
    }
}

}  // namespace

// Every value a control sends reads back as a value that sends the same again,
// inside the control's range.
TEST(FieldCatalogueTest, EveryRowRoundTripsDeviceValueThroughPosition) {
    int checked = 0;
    for (const FieldRow& row : FieldCatalogue::rows()) {
        if (row.codec == FieldCodec::Owner) continue;
        for (double shown : shownValues(row)) {
            int device = FieldCatalogue::encode(row.codec, shown);
            double position = FieldCatalogue::decode(row, device);
            EXPECT_EQ(FieldCatalogue::encode(row.codec, position), device)
                << "row at field " << row.first << " pages " << row.pages << " shown " << shown;
            if (row.minimum < row.maximum && !row.toggle()) {
                EXPECT_GE(position, row.minimum) << row.first;
                EXPECT_LE(position, row.maximum) << row.first;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

// Device values no control could have sent show at the nearest end of the range.
TEST(FieldCatalogueTest, OutOfRangeDeviceValuesShowInsideTheRange) {
    for (const FieldRow& row : FieldCatalogue::rows()) {
        if (row.codec == FieldCodec::Owner || row.minimum >= row.maximum) continue;
        for (int device : {0, 1, 65535}) {
            double position = FieldCatalogue::decode(row, device);
            double high = row.toggle() ? 500 + row.maximum : row.maximum;
            EXPECT_GE(position, row.minimum) << row.first << " " << device;
            EXPECT_LE(position, high) << row.first << " " << device;
        }
    }
}
