#pragma once

#include <netinet/in.h>

#include <cstdint>

#include "link/transports/net_address.h"

// Between our addresses and the socket calls' own, in network byte order.
sockaddr_in socketAddress(NetAddress a);
NetAddress netAddress(const sockaddr_in& s);
// The port a socket is bound to; 0 when it is closed or unbound.
uint16_t boundPort(int fd);
