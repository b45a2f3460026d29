#pragma once

#include <string>

// The phone remote served at "/": one self-contained HTML file (no build
// step, nothing fetched from elsewhere). It takes the token from the URL's
// fragment, its texts from /api/v1/texts and stays live on the events WebSocket.
class PhonePage {
public:
    static const std::string& html();
};
