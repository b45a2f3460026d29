#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <stop_token>

#include "link/reply_semaphore.h"
#include "link/timing_profile.h"
#include "link/transport_type.h"

// The flags and counters that the supervisor, the reader threads and the user
// interface share. One side sets, the other polls; no locks.
struct LinkState {
    // Requested by the supervisor's stop; every wait of the link ends on it.
    // A new one is made by the supervisor's start, while no link thread runs.
    std::stop_source stop;
    std::atomic<TransportType> transportType{TransportType::UsbHid};
    std::atomic<bool> linkAlive{false};
    std::atomic<uint8_t> missedReplies{0};
    std::atomic<uint32_t> lastReplyTime{0};
    std::atomic<bool> awaitingReply{false};
    ReplySemaphore replySemaphore;
    std::atomic<bool> pauseFlag{false};
    TimingProfile timing;
    // Chosen by the user for the network transport (client list) and the
    // relay transport (device-ID dialog); 0 while none is.
    std::atomic<uint32_t> networkDeviceAddress{0};
    std::atomic<uint32_t> chosenDeviceId{0};
    // A transport type the user asked to switch to. While one is asked for,
    // every loop of the link ends as it would for a stop.
    std::atomic<std::optional<TransportType>> transportRequest{};

    bool running() const { return !stopping() && !transportRequest.load().has_value(); }
    bool stopping() const { return stop.stop_requested(); }
    std::stop_token stopToken() const { return stop.get_token(); }
    bool alive() const { return linkAlive.load(); }
};
