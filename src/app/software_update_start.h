#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class LinkUi;
class UpdateWorker;

// Starts the software-update worker when an update server is configured: the
// option --update-server HOST[:PORT], else the key "Server" of the settings
// file "Update". Without one nothing is started and nothing is sent.
class SoftwareUpdateStart {
public:
    static constexpr const char* kOption = "--update-server";
    static constexpr const char* kSettingsFile = "Update";
    static constexpr const char* kSettingsKey = "Server";

    // Takes "--update-server VALUE" out of args; the value, or empty.
    static std::string takeOption(std::vector<std::string>& args);

    // First thing in main. Puts the old program back and runs it in this
    // one's place when an update never confirmed; true when this run is the
    // new program of an update and must confirm() once it is up.
    static bool atProgramStart(char** argv);
    static void confirm();

    SoftwareUpdateStart();
    ~SoftwareUpdateStart();

    struct HandOver {
        std::vector<std::string> arguments;  // the program's own, for the new one
        std::function<void()> releaseLock;
        std::function<void()> retakeLock;
    };

    // The option's value, or the setting when it is empty. False when no
    // server is configured (or the text names none).
    bool start(LinkUi& ui, const std::string& option, HandOver handOver);

private:
    std::unique_ptr<UpdateWorker> m_worker;
};
