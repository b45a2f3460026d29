#include "binding/link_table.h"

#include "link/mirror.h"

namespace {

constexpr std::pair<int, int> kChannelPairs[] = {{0, 1}, {2, 3}, {6, 7}};

void addPairs(std::vector<std::pair<int, int>>& pairs, int l, int r) {
    pairs.push_back({17 + l, 17 + r});
    pairs.push_back({9 + l, 9 + r});
    pairs.push_back({1513 + 12 * l, 1513 + 12 * r});
    // A left channel's echo level sits at +1, a right channel's at +2.
    pairs.push_back({1514 + 12 * l, 1515 + 12 * r});
    pairs.push_back({1516 + 12 * l, 1516 + 12 * r});
    for (int k = 0; k < 4; ++k) pairs.push_back({33 + 4 * l + k, 33 + 4 * r + k});
    // The crossovers without their user Q, and all fifteen bands.
    for (int k : {0, 1, 4, 5}) pairs.push_back({65 + 68 * l + k, 65 + 68 * r + k});
    for (int k = 8; k < 68; ++k) pairs.push_back({65 + 68 * l + k, 65 + 68 * r + k});
}

std::vector<std::pair<int, int>> build() {
    std::vector<std::pair<int, int>> pairs;
    for (auto [l, r] : kChannelPairs) addPairs(pairs, l, r);
    return pairs;
}

}  // namespace

const std::vector<std::pair<int, int>>& LinkTable::pairs() {
    static const auto table = build();
    return table;
}

void LinkTable::apply(Mirror& mirror) {
    for (auto [source, destination] : pairs()) {
        uint16_t v = mirror.value(source);
        if (mirror.value(destination) != v) mirror.setPending(destination, v);
    }
}
