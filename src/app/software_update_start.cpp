#include "app/software_update_start.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>

#include <unistd.h>

#include "files/settings.h"
#include "platform/clock.h"
#include "update/update_installer.h"
#include "update/update_worker.h"

#ifndef QX7_UPDATE_PUBLIC_KEY
#define QX7_UPDATE_PUBLIC_KEY ""
#endif

namespace {

std::string runningExecutable() {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? QCoreApplication::applicationFilePath().toStdString() : path.string();
}

uint32_t fileVersion() {
    return static_cast<uint32_t>(QX7_VERSION_MAJOR) << 16 |
           static_cast<uint32_t>(QX7_VERSION_MINOR);
}

}  // namespace

std::string SoftwareUpdateStart::takeOption(std::vector<std::string>& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != kOption) continue;
        std::string value = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return {};
}

bool SoftwareUpdateStart::atProgramStart(char** argv) {
    const std::string executable = runningExecutable();
    switch (UpdateInstaller::atStart(executable)) {
        case UpdateInstaller::Previous::Confirming:
            return true;
        case UpdateInstaller::Previous::Restored:
            ::execv(executable.c_str(), argv);
            std::perror("qx7: the restored program cannot be started");
            return false;
        case UpdateInstaller::Previous::None:
            break;
    }
    return false;
}

void SoftwareUpdateStart::confirm() {
    UpdateInstaller::confirm(runningExecutable());
}

SoftwareUpdateStart::SoftwareUpdateStart() = default;

SoftwareUpdateStart::~SoftwareUpdateStart() = default;

bool SoftwareUpdateStart::start(LinkUi& ui, const std::string& option, HandOver handOver) {
    std::string server = option.empty() ? Settings().readText(kSettingsFile, kSettingsKey) : option;
    UpdateWorker::Config config;
    if (!UpdateWorker::parseServer(server, config.host, config.port)) return false;
    config.cacheFolder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString() + "/update";
    config.executable = runningExecutable();
    config.publicKey = UpdateInstaller::keyFromHex(QX7_UPDATE_PUBLIC_KEY);
    config.fileVersion = fileVersion();
    config.machine = UpdatePacket::thisMachine();
    config.arguments = std::move(handOver.arguments);
    config.releaseLock = std::move(handOver.releaseLock);
    config.retakeLock = std::move(handOver.retakeLock);
    auto quit = [] {
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    };
    m_worker = std::make_unique<UpdateWorker>(ui, Clock::system(), config, quit);
    return m_worker->start();
}
