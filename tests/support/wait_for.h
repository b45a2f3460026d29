#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls a condition until it holds or a generous limit passes; tests await
// what a thread does instead of sleeping for a fixed time.
inline bool waitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
