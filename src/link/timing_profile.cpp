#include "link/timing_profile.h"

void TimingProfile::setForTransport(TransportType type) {
    switch (type) {
        case TransportType::Network: apply(1000, 2000, 1000, 3000, 14); break;
        case TransportType::Bluetooth:
            apply(100, 500, 1000, 3000, 14);
            break;
        case TransportType::Relay: apply(500, 1000, 1000, 3000, 14); break;
        default: setDefaults(); break;
    }
}

void TimingProfile::apply(int read, int bulk, int reply, int silence, int missed) {
    readWait = read;
    bulkWriteWait = bulk;
    replyWait = reply;
    silenceLimit = silence;
    missedLimit = missed;
}
