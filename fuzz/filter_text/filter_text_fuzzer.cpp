// Any bytes given to the filter text reader: no crash, no hang, never more
// filters than bands, and every filter it takes is one a band can hold and
// reads back unchanged once written.
// Seed corpus: corpus/ (a small file with every kind of line).
#include <cstdlib>
#include <string_view>

#include "filter/filter_text_reader.h"
#include "filter/filter_text_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FilterTextReader::Result r = FilterTextReader::read(bytes, 8);
    if (r.filters.size() > 8) std::abort();
    std::vector<EqBand> bands;
    for (const FilterTextReader::Filter& f : r.filters) {
        const EqBand& b = f.band;
        if (b.frequency < 19.7 || b.frequency > 20600 || b.q < 0.4 || b.q > 128 || b.gain < -24 ||
            b.gain > 12 || (b.type != 5 && b.type != 6 && b.type != 7))
            std::abort();
        bands.push_back(b);
    }
    FilterTextReader::Result again =
        FilterTextReader::read(FilterTextWriter::text(bands, "fuzz", "now"), 8);
    if (again.filters.size() != bands.size()) std::abort();
    for (size_t j = 0; j < bands.size(); ++j)
        if (!(again.filters[j].band == bands[j])) std::abort();
    return 0;
}
