#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The relay server's UDP packets. Control packets and their replies:
// 0x72 0x85, total length (least significant byte first), "TW", the client
// ID, the command byte and its arguments, CRC-16/MODBUS (high byte first).
// Data packets are module packets ("%E") carrying a frame in its envelope.
class RelayPacket {
public:
    using ClientId = std::array<uint8_t, 4>;
    using Block = std::array<uint32_t, 16>;  // the device information block

    static constexpr size_t kMinReply = 11;
    static constexpr size_t kCommandOffset = 10;
    static constexpr size_t kDataOffset = 14;  // of frames in data from the server
    static constexpr uint16_t kDeviceMagic = 22356;

    enum Control : uint8_t {
        ServerList = 6,
        Status = 7,
        OpenChannel = 8,
        CloseChannel = 9,
        DeviceInfo = 10
    };
    // Numbers of the block that the program uses.
    enum Number {
        Magic = 0,
        Channel = 1,
        Valid = 2,
        Route = 3,
        BoundClient = 5,
        BindNumber = 6,
        BindExtra = 7,
        BoundAt = 8
    };

    struct Reply {
        uint8_t command = 0;
        ClientId client{};
        std::vector<uint8_t> arguments;

        std::optional<uint16_t> status() const;
        std::optional<uint32_t> acknowledgement() const;  // non-zero only
        std::optional<Block> block() const;
    };

    static std::vector<uint8_t> control(const ClientId& client,
                                        const std::vector<uint8_t>& payload);
    static std::vector<uint8_t> statusQuery(const ClientId& client) {
        return control(client, {Status});
    }
    static std::vector<uint8_t> openChannel(const ClientId& client, uint32_t channel);
    static std::vector<uint8_t> closeChannel(const ClientId& client, uint32_t channel);
    static std::vector<uint8_t> deviceInfo(const ClientId& client, uint32_t deviceId);
    // A reply, or nothing for a datagram that is too short, runs past its
    // length, or fails its CRC.
    static std::optional<Reply> parseReply(const uint8_t* data, size_t size);

    static std::vector<uint8_t> data(const Block& block, const uint8_t* frame, size_t size);
    // Where the frames of a data packet from the server lie, when it is valid
    // and addressed to this client: {start, size}.
    static std::optional<std::pair<size_t, size_t>> framesFor(const uint8_t* data, size_t size,
                                                              const ClientId& client);

    static uint32_t number(const ClientId& client);
    static void putBlock(std::vector<uint8_t>& out, const Block& block);
};
