#pragma once

#include <cstdint>

#include "link/handshake.h"

class Link;

// The relay server: the device accepts the binding the server handed out (the
// ticket: bind number, extra word and client number). Gives up after fifty
// tries or six unanswered ones.
class RelayBind : public Handshake {
public:
    explicit RelayBind(Link& link) : m_link(link) {}
    bool prove(const Transport& carrier, const std::vector<uint8_t>& ticket) override;

private:
    Link& m_link;
};
