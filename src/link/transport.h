#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// What a transport, or the link's search over it, tells the link. The link
// alone turns it into its own state and into what the user sees.
class TransportListener {
public:
    enum class Notice {
        Searching,       // the search (again) finds nothing yet
        ChooseModule,    // argument: how many modules answered
        RelayStatus,     // argument: the server's status word
        ClientListFull,  // a module was left off the full client list
        EquipmentBusy,   // another client holds the device on the relay
        WrongDeviceId,   // the relay knows no such device
        ModuleSaid,      // text: a confirmation from the Wi-Fi module
    };

    virtual ~TransportListener() = default;
    // Bytes from the device, in order, from the transport's reader.
    virtual void received(const uint8_t* bytes, size_t size) = 0;
    // The carrier went away (a port vanished, a reader ended, a write failed).
    // lower, when given, clears the transport's own "up" under the same lock
    // that drops the live link, so that whoever sees the carrier down sees
    // the link down too and no handshake claims a live link in between.
    virtual void carrierDown(const std::function<void()>& lower = {}) = 0;
    virtual void notice(Notice notice, int argument = 0, const std::string& text = {}) = 0;
};

// One way of carrying frames to the device (USB HID, serial, network...):
// it carries bytes and says whether its carrier is up; the link searches for
// the device and proves it at the other end.
class Transport {
public:
    virtual ~Transport() = default;

    // Hands one whole frame over; a failure reports the carrier down.
    virtual void sendFrame(const uint8_t* frame, size_t size) = 0;
    // Whether bytes can flow now (a port open, a reader running); whether
    // the device at the other end is proved is the link's to say.
    virtual bool carrierUp() const = 0;
    virtual void close() = 0;
    // Where the device was found (a port, a USB path and serial number), so
    // that a device that comes back can be told from another one; empty when
    // the transport cannot tell.
    virtual std::string identity() const { return {}; }
};
