#pragma once

#include <utility>
#include <vector>

class Mirror;

// The pairs (source, destination) of parameter indices through which the
// right channel of each output pair follows the left one: 73 per pair, 219
// in all. Sources and destinations never overlap.
class LinkTable {
public:
    static constexpr int kPairsPerChannelPair = 73;

    static const std::vector<std::pair<int, int>>& pairs();
    // Every destination that differs from its source takes the source's
    // value and becomes pending.
    static void apply(Mirror& mirror);
};
