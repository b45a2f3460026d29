#include "daemon/daemon_options.h"

#include <boost/asio/ip/address.hpp>

#include "daemon/access_token.h"

bool DaemonOptions::parseListen(const std::string& text, HttpServer::Listen& out) {
    size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon + 1 == text.size() || text.size() - colon > 6)
        return false;
    std::string address = text.substr(0, colon);
    if (address.size() > 2 && address.front() == '[' && address.back() == ']')
        address = address.substr(1, address.size() - 2);
    unsigned port = 0;
    for (char c : text.substr(colon + 1)) {
        if (c < '0' || c > '9') return false;
        port = port * 10 + static_cast<unsigned>(c - '0');
    }
    boost::system::error_code ec;
    boost::asio::ip::make_address(address, ec);
    if (ec || port > 65535) return false;
    out = {address, port};
    return true;
}

std::string DaemonOptions::parse(const std::vector<std::string>& args,
                                 const std::string& runtimeFolder, DaemonOptions& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--listen" || a == "--socket" || a == "--token-file") {
            if (!hasValue) return a + " needs a value";
            const std::string& value = args[++i];
            HttpServer::Listen listen;
            if (a == "--socket")
                out.socketPath = value;
            else if (a == "--token-file")
                out.tokenPath = value;
            else if (parseListen(value, listen))
                out.listen.push_back(listen);
            else
                return "not ADDRESS:PORT: " + value;
        } else if (a == "--no-tcp") {
            out.noTcp = true;
        } else if (a == "--no-socket") {
            out.noSocket = true;
        } else if (a == "--new-token") {
            out.newToken = true;
        } else if (a == "--quiet") {
            out.quiet = true;
        } else if (a == "--help") {
            out.help = true;
        } else {
            return "unknown option " + a;
        }
    }
    if (out.noTcp && !out.listen.empty()) return "--no-tcp and --listen exclude each other";
    if (out.noTcp && out.noSocket) return "--no-tcp and --no-socket leave nothing to listen on";
    if (!out.noTcp && out.listen.empty()) out.listen.push_back({"127.0.0.1", kDefaultPort});
    if (out.noSocket)
        out.socketPath.clear();
    else if (out.socketPath.empty() && !runtimeFolder.empty())
        out.socketPath = runtimeFolder + "/qx7d.sock";
    else if (out.socketPath.empty())
        return "XDG_RUNTIME_DIR is not set: name the socket with --socket PATH or give --no-socket";
    if (out.tokenPath.empty()) out.tokenPath = AccessToken::defaultPath();
    return {};
}

const char* DaemonOptions::usage() {
    return "Usage: qx7d [TRANSPORT OPTIONS] [OPTIONS]\n"
           "Owns the audio processor and serves it over HTTP and WebSocket to the\n"
           "window, qx7ctl, phones and home automation.\n"
           "\n"
           "  --listen ADDR:PORT  listen on TCP there (repeatable; default 127.0.0.1:8437)\n"
           "  --no-tcp            no TCP listener, only the Unix socket\n"
           "  --socket PATH       the Unix socket (default $XDG_RUNTIME_DIR/qx7d.sock)\n"
           "  --no-socket         no Unix socket\n"
           "  --token-file PATH   where the access token is kept (default in the settings folder)\n"
           "  --new-token         make a new access token, print it and end\n"
           "  --quiet             print only the pairing address\n"
           "  --help              this text\n"
           "\n";
}
