#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "cli/ctl_options.h"
#include "cli/ctl_ui.h"
#include "filter/eq_band.h"
#include "link/firmware_upgrade.h"
#include "link/link.h"
#include "link/preset_jobs.h"

class TransportChoice;

// One run of qx7ctl against a device: checks the command's arguments, starts
// the link on the chosen transport, waits until the device has been read, then
// carries the command out. Every command returns the tool's exit status.
class CtlSession {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = CtlOptions::kFailure;
    static constexpr int kUsage = CtlOptions::kUsage;

    // Results go to out; progress and messages to standard error. The choice
    // must outlive the session.
    CtlSession(const CtlOptions& options, TransportChoice& choice, std::FILE* out = stdout);
    ~CtlSession();
    CtlSession(const CtlSession&) = delete;
    CtlSession& operator=(const CtlSession&) = delete;

    int run();

private:
    int runCommand();
    bool moduleUnchosen();
    int info();
    int get(const std::vector<std::string>& args);
    int set(const std::vector<std::string>& args);
    int save(const std::vector<std::string>& args);
    int load(const std::vector<std::string>& args);
    int recall(const std::vector<std::string>& args);
    int name(const std::vector<std::string>& args);
    int upgrade(const std::vector<std::string>& args);
    int eq(const std::vector<std::string>& args);
    int eqExport(int page, const std::string& file);
    int eqImport(int page, const std::string& file);
    int eqFit(int page, const std::string& file);
    // Writes the bands to the page and waits until the device has taken them.
    int writeBands(int page, const std::vector<EqBand>& bands);
    int diff(const std::vector<std::string>& args);
    int graph(const std::vector<std::string>& args);
    int list();
    // The parameters of a preset file, or of the device for "device"; false
    // (with the exit status in status) when they cannot be had.
    bool presetValues(const std::string& source, std::vector<uint16_t>& values, int& status);
    // Waits until the device has taken every value and reads each back; the
    // exit status, with the values printed unless quietly.
    int confirmValues(const std::map<int, uint16_t>& values, bool print);
    void printJson(const nlohmann::json& doc) const;
    int wifi(const std::vector<std::string>& args);
    int showWifi();
    int wifiMode(const std::vector<std::string>& args);
    // Waits for the module's confirmation message; true when it came.
    bool moduleConfirmed(const std::string& confirmation, uint64_t before);

    bool openTransport();
    bool connect();
    // Requests a preset job and waits for its end; true when it succeeded.
    bool runJob(const std::function<void()>& request);
    int checkSentFile(const std::string& file);
    bool waitUntil(const std::function<bool()>& condition, int seconds) const;
    int fail(const std::string& text) const { return CtlOptions::fail(text); }
    int usageError(const std::string& text) const { return m_options.usageError(text); }

    CtlOptions m_options;
    TransportChoice& m_choice;
    std::FILE* m_out;
    CtlUi m_ui;
    Link m_link;
    PresetJobs m_jobs;
    FirmwareUpgrade m_upgrade;
};
