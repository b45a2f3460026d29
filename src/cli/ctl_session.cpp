#include "cli/ctl_session.h"
#include "cli/number_argument.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <thread>

#include <nlohmann/json.hpp>

#include "binding/equaliser_bands.h"
#include "binding/page_curve_reader.h"
#include "binding/parameter_binding.h"
#include "binding/preset_comparison.h"
#include "cli/ctl_graph.h"
#include "cli/ctl_preset_dump.h"
#include "cli/eq_fit_command.h"
#include "cli/json_text.h"
#include "connect/transport_choice.h"
#include "files/file_digest.h"
#include "files/preset_files.h"
#include "filter/filter_text_reader.h"
#include "filter/filter_text_writer.h"
#include "link/device_id_check.h"
#include "link/link_supervisor.h"
#include "link/module_requests.h"
#include "platform/clock.h"
#include "texts/compare_texts.h"
#include "texts/device_text.h"
#include "texts/filter_text_texts.h"
#include "texts/text_triple.h"

namespace {

constexpr int kNameWaitSeconds = 3;
constexpr size_t kMaxNameBytes = 20;

bool parseMode(const std::string& text, int& mode) {
    long v = 0;
    if (!parseNumberArgument(text, 1, DeviceInfo::kModes, v)) return false;
    mode = static_cast<int>(v);
    return true;
}

std::string withoutTrailingSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string versionText(uint16_t v) {
    return std::to_string(v / 100) + "." + std::to_string(v / 10 % 10) + "." +
           std::to_string(v % 10);
}

std::string deviceIdText(const DeviceInfo::Id& id) {
    size_t used = id.size();
    while (used > 4 && id[used - 1] == 0) --used;
    std::string hex;
    char byte[4];
    for (size_t k = 0; k < used; ++k) {
        std::snprintf(byte, sizeof byte, k ? " %02X" : "%02X", id[k]);
        hex += byte;
    }
    return hex;
}

struct ModeName {
    const char* name;
    int mode;
};

constexpr ModeName kModes[] = {
    {"hotspot", ModuleRequests::Hotspot},
    {"router", ModuleRequests::Router},
    {"internet", ModuleRequests::RelayServer},
};

constexpr const char* kModeConfirmation = "WiFiMode:OK";

const char* modeName(int mode) {
    for (const ModeName& m : kModes)
        if (m.mode == mode) return m.name;
    return "unknown";
}

std::string refusalText(ModuleRequests::Refusal refusal) {
    if (refusal == ModuleRequests::Refusal::SsidEmpty) return "SSID can't be empty!";
    if (refusal == ModuleRequests::Refusal::PasswordTooShort)
        return "Password cannot be less than eight!";
    return {};
}

}  // namespace

CtlSession::CtlSession(const CtlOptions& options, TransportChoice& choice, std::FILE* out)
    : m_options(options),
      m_choice(choice),
      m_out(out),
      m_ui(options.quiet),
      m_link(m_ui, Clock::system()),
      m_jobs(m_link),
      m_upgrade(m_link) {}

CtlSession::~CtlSession() {
    m_link.supervisor().stop();
    m_link.supervisor().join();
}

int CtlSession::run() {
    int status = runCommand();
    return moduleUnchosen() ? kUsage : status;
}

// Several modules answered, no device ID was given, and none can be picked here.
bool CtlSession::moduleUnchosen() {
    return m_ui.moduleChoiceAsked() && m_link.state().chosenDeviceId == DeviceIdCheck::kAnyDevice &&
           !m_link.isConnected();
}

int CtlSession::runCommand() {
    const std::string& command = m_options.command;
    const std::vector<std::string>& args = m_options.arguments;
    if (command == "info") return args.empty() ? info() : usageError("info takes no arguments");
    if (command == "get") return get(args);
    if (command == "set") return set(args);
    if (command == "save") return save(args);
    if (command == "load") return load(args);
    if (command == "recall") return recall(args);
    if (command == "name") return name(args);
    if (command == "upgrade") return upgrade(args);
    if (command == "eq") return eq(args);
    if (command == "diff") return diff(args);
    if (command == "graph") return graph(args);
    if (command == "list") return args.empty() ? list() : usageError("list takes no arguments");
    if (command == "wifi") return wifi(args);
    return usageError("unknown command " + command);
}

bool CtlSession::waitUntil(const std::function<bool()>& condition, int seconds) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool CtlSession::openTransport() {
    std::string error;
    if (m_choice.install(m_link, error)) return true;
    fail(error);
    return false;
}

bool CtlSession::connect() {
    if (!openTransport()) return false;
    if (!m_link.supervisor().start()) return false;
    LinkSupervisor& supervisor = m_link.supervisor();
    if (!waitUntil([&] { return supervisor.steadyIterations() > 0 || moduleUnchosen(); },
                   m_options.timeoutSeconds)) {
        std::string last = m_ui.lastMessage();
        fail("the device was not ready within " + std::to_string(m_options.timeoutSeconds) + " s" +
             (last.empty() ? "" : " (last message: " + last + ")"));
        return false;
    }
    if (moduleUnchosen()) {
        std::string list;
        for (uint32_t ip : m_link.module().clients()) list += "\n  " + ModuleTable::dotted(ip);
        fail("several devices answered on the network; name one with --network HOST:" + list);
        return false;
    }
    // The names were asked for before the steady loop began; their replies follow shortly.
    DeviceInfo& device = m_link.device();
    waitUntil(
        [&] {
            for (int p = 1; p <= DeviceInfo::kModes; ++p)
                if (!device.nameReceived(p)) return false;
            return true;
        },
        kNameWaitSeconds);
    return true;
}

bool CtlSession::runJob(const std::function<void()>& request) {
    uint64_t before = m_jobs.lastOutcome().serial;
    request();
    if (!waitUntil([&] { return m_jobs.lastOutcome().serial > before; },
                   m_options.timeoutSeconds)) {
        fail("the job did not end within " + std::to_string(m_options.timeoutSeconds) + " s");
        return false;
    }
    return m_jobs.lastOutcome().ok;
}

int CtlSession::info() {
    if (!connect()) return kFailure;
    DeviceInfo& device = m_link.device();
    if (m_options.json) {
        nlohmann::json presets = nlohmann::json::array();
        for (int p = 1; p <= DeviceInfo::kModes; ++p)
            presets.push_back({{"number", p},
                               {"name", device.nameReceived(p) ? nlohmann::json(DeviceText::utf8(
                                                                     device.modeNameText(p)))
                                                               : nlohmann::json()}});
        printJson(nlohmann::json{{"device_magic", device.magic.load()},
                                 {"version", versionText(device.version)},
                                 {"device_id", deviceIdText(device.deviceId())},
                                 {"current_preset", m_link.mirror().value(Mirror::kCurrentMode)},
                                 {"presets", presets}});
        return kSuccess;
    }
    std::fprintf(m_out, "Device magic: %u\n", static_cast<unsigned>(device.magic.load()));
    std::fprintf(m_out, "Version: %s\n", versionText(device.version).c_str());
    std::fprintf(m_out, "Device ID: %s\n", deviceIdText(device.deviceId()).c_str());
    std::fprintf(m_out, "Current preset: %u\n",
                 static_cast<unsigned>(m_link.mirror().value(Mirror::kCurrentMode)));
    for (int p = 1; p <= DeviceInfo::kModes; ++p) {
        std::string name = device.nameReceived(p) ? DeviceText::printable(device.modeNameText(p))
                                                  : "(not answered)";
        std::fprintf(m_out, "Preset %d: %s\n", p, name.c_str());
    }
    return kSuccess;
}

int CtlSession::get(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("get needs at least one INDEX");
    std::vector<int> indices;
    for (const std::string& a : args) {
        long index = 0;
        if (!parseNumberArgument(a, 0, Mirror::kSize - 1, index))
            return usageError("not a parameter index: " + a);
        indices.push_back(static_cast<int>(index));
    }
    if (!connect()) return kFailure;
    if (m_options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (int index : indices)
            list.push_back({{"index", index}, {"value", m_link.mirror().value(index)}});
        printJson(nlohmann::json{{"parameters", list}});
        return kSuccess;
    }
    for (int index : indices)
        std::fprintf(m_out, "%d=%u\n", index, static_cast<unsigned>(m_link.mirror().value(index)));
    return kSuccess;
}

int CtlSession::set(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("set needs at least one INDEX=VALUE");
    std::map<int, uint16_t> values;
    for (const std::string& a : args) {
        size_t eq = a.find('=');
        long index = 0;
        long value = 0;
        if (eq == std::string::npos ||
            !parseNumberArgument(a.substr(0, eq), 1, Mirror::kSize - 1, index) ||
            !parseNumberArgument(a.substr(eq + 1), 0, 0xFFFF, value))
            return usageError("not INDEX=VALUE with INDEX 1 to 1745 and VALUE 0 to 65535: " + a);
        values[static_cast<int>(index)] = static_cast<uint16_t>(value);
    }
    if (!connect()) return kFailure;

    for (auto [index, value] : values) m_link.mirror().setPending(index, value);
    return confirmValues(values, true);
}

int CtlSession::confirmValues(const std::map<int, uint16_t>& values, bool print) {
    Mirror& mirror = m_link.mirror();
    auto allSent = [&] {
        for (auto [index, value] : values)
            if (mirror.pending(index)) return false;
        return true;
    };
    if (!waitUntil(allSent, m_options.timeoutSeconds))
        return fail("the device did not take the values in time");

    // An echo is not proof enough (a value can also stop being sent after its
    // last retry): read every value back from the device.
    std::map<int, uint32_t> deliveries;
    for (auto [index, value] : values) {
        deliveries[index] = m_ui.deliveries(index);
        mirror.requestRead(index);
    }
    auto allRead = [&] {
        for (auto [index, count] : deliveries)
            if (m_ui.deliveries(index) <= count) return false;
        return true;
    };
    if (!waitUntil(allRead, m_options.timeoutSeconds))
        return fail("the device did not answer the read-back in time");
    int status = kSuccess;
    for (auto [index, value] : values) {
        uint16_t held = mirror.value(index);
        if (held == value) {
            if (print) std::fprintf(m_out, "%d=%u\n", index, static_cast<unsigned>(held));
        } else {
            status = fail("parameter " + std::to_string(index) + " holds " + std::to_string(held) +
                          ", not " + std::to_string(value));
        }
    }
    return status;
}

int CtlSession::save(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty()) return usageError("save needs one FILE");
    std::error_code ec;
    std::string path =
        std::filesystem::absolute(PresetFiles::withPresetExtension(args[0]), ec).string();
    if (ec) return usageError("not a file name: " + args[0]);
    if (!connect()) return kFailure;
    if (!runJob([&] { m_jobs.requestSaveToFile(path); })) return kFailure;
    std::fprintf(m_out, "%s\n", path.c_str());
    return kSuccess;
}

int CtlSession::load(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty()) return usageError("load needs one FILE");
    if (!connect()) return kFailure;
    if (!runJob([&] { m_jobs.requestSendFile(args[0]); })) return kFailure;
    return checkSentFile(args[0]);
}

// After sending, the job has read the whole device again: compare with the file.
int CtlSession::checkSentFile(const std::string& file) {
    PresetFiles data;
    if (data.loadPreset(file) != PresetFiles::kPresetOk)
        return fail("the file changed while it was sent");
    const std::vector<int32_t>& values = data.preset().values;
    const int last = static_cast<int>(std::min<size_t>(values.size(), Mirror::kSize + 1)) - 1;
    int differ = 0;
    int taken = 0;
    for (int i = 0; i < last; ++i) {
        if (!PresetJobs::takenFromFile(i)) continue;
        ++taken;
        uint16_t held = m_link.mirror().value(i);
        auto want = static_cast<uint16_t>(values[static_cast<size_t>(i)]);
        if (held == want) continue;
        if (differ++ == 0)
            fail("parameter " + std::to_string(i) + " holds " + std::to_string(held) +
                 ", the file " + std::to_string(want));
    }
    if (differ > 0)
        return fail(std::to_string(differ) + " values of the file were not taken by the device");
    std::fprintf(m_out, "Sent %d values\n", taken);
    return kSuccess;
}

int CtlSession::recall(const std::vector<std::string>& args) {
    int mode = 0;
    if (args.size() != 1 || !parseMode(args[0], mode))
        return usageError("recall needs a preset number from 1 to 16");
    if (!connect()) return kFailure;
    if (!runJob([&] { m_jobs.requestRecall(mode); })) return kFailure;
    std::fprintf(m_out, "Preset %d recalled\n", mode);
    return kSuccess;
}

int CtlSession::name(const std::vector<std::string>& args) {
    int mode = 0;
    if (args.size() != 2 || !parseMode(args[0], mode))
        return usageError("name needs a preset number from 1 to 16 and a TEXT");
    const std::string& text = args[1];
    if (text.size() > kMaxNameBytes) return usageError("a preset name holds at most 20 bytes");
    if (!connect()) return kFailure;
    if (!runJob([&] { m_jobs.requestSaveName(mode, text); })) return kFailure;
    const std::string expected = withoutTrailingSpaces(text);
    DeviceInfo& device = m_link.device();
    if (!waitUntil(
            [&] { return device.nameReceived(mode) && device.modeNameText(mode) == expected; },
            kNameWaitSeconds))
        return fail("the device reports the name \"" +
                    DeviceText::printable(device.modeNameText(mode)) + "\"");
    std::fprintf(m_out, "Preset %d: %s\n", mode, DeviceText::printable(expected).c_str());
    return kSuccess;
}

int CtlSession::upgrade(const std::vector<std::string>& args) {
    const int type = args.size() == 2 ? UpgradePackage::typeOfTarget(args[0]) : 0;
    if (type == 0)
        return usageError("upgrade needs a TARGET (dsp1, panel, comm, dsp4, dsp5) and a FILE");
    // A file the job would refuse is refused here already, without a device.
    UpgradePackage package;
    UpgradePackage::Problem problem = package.load(args[1]);
    if (problem == UpgradePackage::Problem::CannotOpen)
        return fail(args[1] + ": the file cannot be opened");
    if (problem != UpgradePackage::Problem::None)
        return fail(args[1] + ": " + FirmwareUpgrade::problemText(problem)[Language::English]);
    if (package.type() != type)
        return fail(args[1] + ": a package of type " + std::to_string(package.type()) +
                    ", not for " + args[0]);
    if (!m_options.quiet) {
        std::optional<FileDigest::Digest> digest = FileDigest::sha256OfFile(args[1]);
        std::fprintf(stderr, "Image size: %zu bytes, file SHA-256: %s\n", package.image().size(),
                     digest ? FileDigest::hex(*digest).c_str() : "(unreadable)");
    }
    if (!connect()) return kFailure;
    uint64_t before = m_upgrade.lastOutcome().serial;
    m_upgrade.request(type, args[1]);
    // The job bounds its own waits (eleven failures at most); no limit of ours.
    waitUntil(
        [&] {
            return m_upgrade.lastOutcome().serial > before || !m_link.supervisor().threadRunning();
        },
        std::numeric_limits<int>::max() / 2);
    FirmwareUpgrade::Outcome outcome = m_upgrade.lastOutcome();
    if (outcome.serial == before) return fail("the link ended during the upgrade");
    if (outcome.result != FirmwareUpgrade::Result::Succeeded) return kFailure;
    std::fprintf(m_out, "Upgraded %s with %zu bytes\n", args[0].c_str(), package.image().size());
    return kSuccess;
}

void CtlSession::printJson(const nlohmann::json& doc) const {
    std::fprintf(m_out, "%s\n", jsonText(doc).c_str());
}

namespace {

const char* typeWord(int type) {
    return type == 6 ? "LSC" : type == 5 ? "HSC" : "PK";
}

}  // namespace

int CtlSession::eq(const std::vector<std::string>& args) {
    if (args.size() != 3 || (args[0] != "export" && args[0] != "import" && args[0] != "fit"))
        return usageError("eq needs export, import or fit, a PAGE and a FILE");
    int page = EqualiserBands::pageOf(args[1]);
    if (page < 0) return usageError("not a page with bands: " + args[1]);
    if (args[2].empty()) return usageError("eq needs a FILE");
    if (args[0] == "fit") return eqFit(page, args[2]);
    return args[0] == "export" ? eqExport(page, args[2]) : eqImport(page, args[2]);
}

int CtlSession::eqExport(int page, const std::string& file) {
    if (!connect()) return kFailure;
    std::vector<EqBand> bands = EqualiserBands::read(page, m_link.mirror());
    std::string problem = FilterTextWriter::writeFile(file, bands, EqualiserBands::pageName(page));
    if (!problem.empty()) return fail(problem);
    if (!m_options.json) {
        std::fprintf(m_out, "%s: %zu bands written to %s\n", EqualiserBands::pageName(page).c_str(),
                     bands.size(), file.c_str());
        return kSuccess;
    }
    nlohmann::json list = nlohmann::json::array();
    for (size_t j = 0; j < bands.size(); ++j)
        list.push_back({{"band", j + 1},
                        {"type", typeWord(bands[j].type)},
                        {"frequency", bands[j].frequency},
                        {"gain", bands[j].gain},
                        {"q", bands[j].q}});
    printJson(nlohmann::json{{"page", EqualiserBands::pageName(page)},
                             {"page_index", page},
                             {"file", file},
                             {"bands", list}});
    return kSuccess;
}

// The whole file is read and checked before the device hears of it.
int CtlSession::eqImport(int page, const std::string& file) {
    const int count = EqualiserBands::bandCount(page);
    FilterTextReader::Result result = FilterTextReader::readFile(file, count);
    for (const std::string& message : result.messages) std::fprintf(m_out, "%s\n", message.c_str());
    if (!result.readable || result.filters.empty()) return kFailure;
    std::vector<EqBand> imported;
    for (const FilterTextReader::Filter& f : result.filters) imported.push_back(f.band);

    if (!connect()) return kFailure;
    std::vector<EqBand> bands =
        EqualiserBands::merged(EqualiserBands::read(page, m_link.mirror()), imported);
    int status = writeBands(page, bands);
    if (status != kSuccess) return status;
    if (static_cast<int>(imported.size()) < count)
        std::fprintf(
            m_out, "%s\n",
            formatText(filtertext::BandsCleared, static_cast<int>(imported.size()) + 1, count)
                .c_str());
    std::fprintf(m_out, "%s: %zu filters imported\n", EqualiserBands::pageName(page).c_str(),
                 imported.size());
    return kSuccess;
}

int CtlSession::writeBands(int page, const std::vector<EqBand>& bands) {
    Mirror& mirror = m_link.mirror();
    ParameterBinding binding(mirror);
    EqualiserBands::write(page, bands, binding);
    std::map<int, uint16_t> written;
    for (int i = 0; i < Mirror::kSize; ++i)
        if (mirror.pending(i)) written[i] = mirror.value(i);
    return confirmValues(written, false);
}

// Files and options are checked before the device is reached; the device is
// written only when asked to.
int CtlSession::eqFit(int page, const std::string& file) {
    EqFitCommand command;
    bool usage = false;
    std::string problem = command.prepare(m_options, page, file, usage);
    if (!problem.empty()) return usage ? usageError(problem) : fail(problem);
    PageCurve crossovers;
    if (!m_options.offline) {
        if (!connect()) return kFailure;
        crossovers = PageCurveReader::read(page, m_link.mirror());
    }
    problem = command.fit(crossovers);
    if (!problem.empty()) return fail(problem);
    const std::string name = EqualiserBands::pageName(page);
    if (m_options.json)
        printJson(command.json(name, page));
    else
        std::fprintf(m_out, "%s", command.text(name).c_str());
    if (!m_options.write) return kSuccess;
    int status = writeBands(page, command.result().bands);
    if (status == kSuccess && !m_options.json)
        std::fprintf(m_out, "%s: %zu bands written\n", name.c_str(), command.result().bands.size());
    return status;
}

bool CtlSession::presetValues(const std::string& source, std::vector<uint16_t>& values,
                              int& status) {
    values.clear();
    if (source == "device") {
        if (!connect()) {
            status = kFailure;
            return false;
        }
        for (int i = 0; i < Mirror::kSize; ++i) values.push_back(m_link.mirror().value(i));
        return true;
    }
    PresetFiles data;
    int result = data.readPreset(source);
    if (result != PresetFiles::kPresetOk) {
        std::fprintf(stderr, "qx7ctl: %s: %s (code %d)\n", source.c_str(),
                     presetProblemText(result), result);
        status = kUsage;
        return false;
    }
    for (int32_t v : data.preset().values) values.push_back(static_cast<uint16_t>(v));
    return true;
}

int CtlSession::diff(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].empty() || args[1].empty())
        return usageError("diff needs two presets A and B, each a file or device");
    std::vector<uint16_t> a, b;
    int status = kSuccess;
    // Files first: a damaged file ends the run before the device is reached.
    bool aFirst = args[1] == "device";
    if (!presetValues(args[aFirst ? 0 : 1], aFirst ? a : b, status)) return status;
    if (args[0] == args[1])
        (aFirst ? b : a) = aFirst ? a : b;
    else if (!presetValues(args[aFirst ? 1 : 0], aFirst ? b : a, status))
        return status;
    std::vector<PresetComparison::Difference> differences = PresetComparison::compare(a, b);
    if (m_options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& d : differences)
            list.push_back({{"index", d.index},
                            {"page", d.page},
                            {"field", d.field},
                            {"a", d.beforeText},
                            {"b", d.afterText},
                            {"a_value", d.before},
                            {"b_value", d.after}});
        printJson(nlohmann::json{
            {"a", args[0]}, {"b", args[1]}, {"equal", differences.empty()}, {"differences", list}});
    } else {
        for (const auto& d : differences) std::fprintf(m_out, "%s\n", d.line().c_str());
        if (differences.empty())
            std::fprintf(stderr, "%s\n", comparetext::Equal.get());
        else
            std::fprintf(
                stderr, "%s\n",
                formatText(comparetext::Differ, static_cast<int>(differences.size())).c_str());
    }
    return differences.empty() ? kSuccess : kFailure;
}

int CtlSession::graph(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[1].empty()) return usageError("graph needs a PAGE and a FILE.png");
    int page = EqualiserBands::pageOf(args[0]);
    if (page < 0) return usageError("not a page with bands: " + args[0]);
    if (!connect()) return kFailure;
    PageCurve curve = PageCurveReader::read(page, m_link.mirror());
    std::string problem = saveGraphPicture(curve, m_options.width, m_options.height, args[1]);
    if (!problem.empty()) return fail(problem);
    std::fprintf(m_out, "%s\n", args[1].c_str());
    return kSuccess;
}

int CtlSession::list() {
    std::vector<TransportChoice::Found> found;
    std::string error;
    // What was found is printed even when USB could not be searched.
    int status = m_choice.find(found, error) ? kSuccess : fail(error);
    if (m_options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& f : found)
            list.push_back(
                {{"transport", f.transport},
                 {"path", f.path},
                 {"serial", f.serial.empty() ? nlohmann::json()
                                             : nlohmann::json(DeviceText::utf8(f.serial))}});
        printJson(nlohmann::json{{"devices", list}});
        return status;
    }
    for (const auto& f : found)
        std::fprintf(m_out, "%s %s%s%s\n", f.transport.c_str(),
                     DeviceText::printable(f.path).c_str(), f.serial.empty() ? "" : " ",
                     DeviceText::printable(f.serial).c_str());
    return status;
}

int CtlSession::wifi(const std::vector<std::string>& args) {
    if (args.empty()) return showWifi();
    if (args[0] == "mode") return wifiMode(args);
    const std::string& what = args[0];
    if ((what != "hotspot" && what != "router") || args.size() < 2 || args.size() > 3)
        return usageError(
            "wifi takes hotspot SSID [PASSWORD], router SSID [PASSWORD] or mode MODE");
    const bool hotspot = what == "hotspot";
    const std::string password = args.size() == 3 ? args[2] : std::string();
    // The rules are checked on a scratch table first: a refused line sends nothing.
    ModuleTable scratch;
    ModuleRequests::Refusal refusal = hotspot
                                          ? ModuleRequests(scratch).setHotspot(args[1], password)
                                          : ModuleRequests(scratch).setRouter(args[1], password);
    if (refusal != ModuleRequests::Refusal::None) return usageError(refusalText(refusal));
    if (!connect()) return kFailure;
    const std::string confirmation = hotspot ? "Set Hot:OK" : "Set RouteS:OK";
    uint64_t before = m_ui.messageCount(confirmation);
    ModuleRequests requests(m_link.module());
    if (hotspot)
        requests.setHotspot(args[1], password);
    else
        requests.setRouter(args[1], password);
    if (!moduleConfirmed(confirmation, before)) return kFailure;
    std::fprintf(m_out, "%s SSID: %s\n", hotspot ? "Hotspot" : "Router", args[1].c_str());
    return kSuccess;
}

int CtlSession::wifiMode(const std::vector<std::string>& args) {
    const ModeName* chosen = nullptr;
    for (const ModeName& m : kModes)
        if (args.size() == 2 && args[1] == m.name) chosen = &m;
    if (!chosen) return usageError("wifi mode needs hotspot, router or internet");
    if (!connect()) return kFailure;
    uint64_t before = m_ui.messageCount(kModeConfirmation);
    ModuleRequests(m_link.module()).setMode(chosen->mode);
    if (!moduleConfirmed(kModeConfirmation, before)) return kFailure;
    std::fprintf(m_out, "Mode: %s\n", chosen->name);
    return kSuccess;
}

bool CtlSession::moduleConfirmed(const std::string& confirmation, uint64_t before) {
    if (waitUntil([&] { return m_ui.messageCount(confirmation) > before; },
                  m_options.timeoutSeconds))
        return true;
    fail("the Wi-Fi module did not confirm within " + std::to_string(m_options.timeoutSeconds) +
         " s");
    return false;
}

int CtlSession::showWifi() {
    if (!connect()) return kFailure;
    ModuleTable& table = m_link.module();
    const int wanted[] = {ModuleTable::Ip,          ModuleTable::WifiMode,
                          ModuleTable::RouterSsid,  ModuleTable::RouterPassword,
                          ModuleTable::HotspotSsid, ModuleTable::HotspotPassword};
    for (int slot : wanted) table.setReplied(slot, false);
    ModuleRequests(table).queueReadSet();
    auto allReplied = [&] {
        for (int slot : wanted)
            if (!table.replied(slot)) return false;
        return true;
    };
    if (!waitUntil(allReplied, m_options.timeoutSeconds))
        return fail("the Wi-Fi module did not answer within " +
                    std::to_string(m_options.timeoutSeconds) + " s");
    int mode = table.value(ModuleTable::WifiMode);
    std::fprintf(m_out, "Mode: %d (%s)\n", mode, modeName(mode));
    std::fprintf(m_out, "IP: %s\n",
                 ModuleTable::dotted(static_cast<uint32_t>(table.value(ModuleTable::Ip))).c_str());
    const struct {
        const char* label;
        int slot;
        const char* prefix;
    } texts[] = {
        {"Hotspot SSID", ModuleTable::HotspotSsid, "Get_HotSSID:"},
        {"Hotspot password", ModuleTable::HotspotPassword, "Get_HotPW:"},
        {"Router SSID", ModuleTable::RouterSsid, "Get_RouteSSID:"},
        {"Router password", ModuleTable::RouterPassword, "Get_RoutePW:"},
    };
    for (const auto& t : texts)
        std::fprintf(m_out, "%s: %s\n", t.label,
                     DeviceText::printable(table.textAfter(t.slot, t.prefix).value_or("")).c_str());
    return kSuccess;
}
