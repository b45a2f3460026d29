#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "link/reply_semaphore.h"
#include "link/timing_profile.h"
#include "link/transport_type.h"

// The flags and counters that the supervisor, the reader threads and the user
// interface share. One side sets, the other polls; no locks.
struct LinkState {
    static constexpr int kJobSlots = 17;

    std::atomic<uint8_t> runFlag{1};
    // Set by Stop and cleared only by Start: a connect routine that clears and
    // sets the run flag itself cannot undo a Stop.
    std::atomic<uint8_t> stopFlag{0};
    std::atomic<TransportType> transportType{TransportType::UsbHid};
    std::atomic<uint8_t> linkAlive{0};
    std::atomic<uint8_t> missedReplies{0};
    std::atomic<uint32_t> lastReplyTime{0};
    std::atomic<int> awaitingReply{0};
    ReplySemaphore replySemaphore;
    std::atomic<uint8_t> pauseFlag{0};
    std::array<std::atomic<int>, kJobSlots + 1> jobSlots{};  // 1 to 17; 0 unused
    TimingProfile timing;
    // Chosen by the user for the network transport (client list) and the
    // relay transport (device-ID dialog); 0 while none is.
    std::atomic<uint32_t> networkDeviceAddress{0};
    std::atomic<uint32_t> chosenDeviceId{0};
    // A transport type the user asked to switch to. While one is asked for,
    // every loop of the link ends as it would for a stop.
    std::atomic<std::optional<TransportType>> transportRequest{};

    bool running() const {
        return runFlag.load() != 0 && !stopping() && !transportRequest.load().has_value();
    }
    bool stopping() const { return stopFlag.load() != 0; }
    bool alive() const { return linkAlive.load() != 0; }
    void requestJob(int slot) {
        if (slot >= 1 && slot <= kJobSlots) jobSlots[static_cast<size_t>(slot)] = 1;
    }
};
