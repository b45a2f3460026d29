#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "cli/ctl_options.h"
#include "remote/daemon_client.h"

// qx7ctl through a running qx7d (--daemon): the commands that the daemon's
// API carries, with the same output as against the device. Every command
// returns the tool's exit status.
class CtlRemote {
public:
    explicit CtlRemote(const CtlOptions& options, std::FILE* out = stdout);
    int run();

private:
    int info();
    int get(const std::vector<std::string>& args);
    int set(const std::vector<std::string>& args);
    int save(const std::vector<std::string>& args);
    int load(const std::vector<std::string>& args);
    int recall(const std::vector<std::string>& args);
    // True when qx7d answered 200; else prints why.
    bool call(const std::string& method, const std::string& path, const std::string& body,
              DaemonClient::Reply& reply) const;
    int fail(const std::string& text) const { return CtlOptions::fail(text); }
    int usageError(const std::string& text) const { return m_options.usageError(text); }

    CtlOptions m_options;
    std::FILE* m_out;
    DaemonClient m_client;
};
