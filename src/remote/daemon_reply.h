#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What qx7d's answers and events say, read from their JSON texts. A text that
// is not what qx7d sends gives nothing (or an event of no kind), never an
// exception; values outside 16 bits and indices outside the mirror are left out.
class DaemonReply {
public:
    struct Status {
        std::string connection;  // "connected", "searching" or "stopped"
        bool read = false;
        std::string deviceId;  // hexadecimal
        uint16_t version = 0;  // "1.2.3" as 123
        int position = 0;      // of the read
        int maximum = 0;
        std::map<int, std::string> names;  // by mode number
    };
    struct Event {
        enum class Kind { Other, Parameter, Link };
        Kind kind = Kind::Other;
        int index = 0;
        uint16_t value = 0;
        bool live = false;  // a link event: connected and read
    };

    // GET /api/v1/status.
    static std::optional<Status> status(const std::string& body);
    // GET /api/v1/parameters, all of them: one entry per index, empty where
    // the value is unusable; nothing unless there is one for every index.
    static std::optional<std::vector<std::optional<uint16_t>>> parameters(const std::string& body);
    // GET /api/v1/parameters/{index}.
    static std::optional<uint16_t> parameter(const std::string& body);
    // A text of the events WebSocket.
    static Event event(const std::string& text);
    // A device ID as the status writes it; empty when it is not hexadecimal.
    static std::vector<uint8_t> idBytes(const std::string& hex);
};
