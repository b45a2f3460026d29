// qx7ctl as a user runs it: a separate process, against the simulated device
// in a process of its own on a pseudo-terminal (the serial line), so that what
// one run does to the device is seen by the next.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "files/preset_files.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_memory.h"
#include "sim/sim_module_server.h"
#include "support/package_file.h"
#include "support/run_process.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Qx7ctl : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", m_folder.folder("config").c_str(), 1); }

    ProcessResult ctl(std::vector<std::string> args) {
        args.insert(args.begin(), QX7CTL_PATH);
        return runProcess(args, m_folder.path());
    }
    ProcessResult simulated(std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulated", "--quiet"});
        return ctl(args);
    }
    std::string file(const std::string& name) const { return m_folder.path(name); }

    TempFolder m_folder;
};

// The device in qx7-sim, reached through a link to its terminal.
class Qx7ctlOnSerial : public Qx7ctl {
protected:
    void SetUp() override {
        Qx7ctl::SetUp();
        ASSERT_TRUE(m_sim.start({"--link", file("port")}));
    }

    ProcessResult device(std::vector<std::string> args) {
        args.insert(args.begin(), {"--serial", file("port"), "--quiet"});
        return ctl(args);
    }

    SimProcess m_sim{QX7_SIM_PROGRAM};
};

}  // namespace

TEST_F(Qx7ctl, HelpForTheToolAndEveryCommand) {
    ProcessResult r = ctl({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(contains(r.out, "Usage: qx7ctl")) << r.out;
    for (const char* command : {"info", "get", "set", "save", "load", "recall", "name", "inspect",
                                "upgrade", "wifi", "eq", "diff", "graph", "list"}) {
        r = ctl({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("Usage: qx7ctl [OPTIONS] ") + command, 0), 0u) << r.out;
    }
}

TEST_F(Qx7ctl, WrongCommandLinesExitWith2BeforeTouchingTheDevice) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"--serial"},
        {"get"},
        {"get", "1746"},
        {"get", "x"},
        {"set", "100"},
        {"set", "0=1"},
        {"set", "100=65536"},
        {"set", "100=-1"},
        {"save"},
        {"load", "a", "b"},
        {"recall", "0"},
        {"recall", "17"},
        {"name", "3"},
        {"name", "3", "123456789012345678901"},
        {"inspect"},
        {"info", "extra"},
        {"upgrade", "dsp1"},
        {"upgrade", "dsp2", "file.bin"},
        {"wifi", "hotspot", ""},
        {"wifi", "hotspot", "Den", "1234567"},
        {"wifi", "router"},
        {"wifi", "mode", "2"},
        {"wifi", "scan"},
        {"eq", "export", "main"},
        {"eq", "move", "main", "f.txt"},
        {"eq", "import", "system", "f.txt"},
        {"eq", "fit", "main", "m.txt", "--range", "500-20"},
        {"eq", "fit", "main", "m.txt", "--smoothing", "5"},
        {"eq", "fit", "main", "m.txt", "--max-boost", "13"},
        {"eq", "fit", "main", "m.txt", "--write", "--offline"},
        {"diff", "a.qmx"},
        {"graph", "main"},
        {"list", "extra"},
    };
    for (const auto& args : wrong) {
        std::vector<std::string> withDevice = args;
        withDevice.insert(withDevice.begin(), "--simulated");
        ProcessResult r = ctl(withDevice);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "(nothing)" : args[0]) << ": " << r.err;
        EXPECT_TRUE(contains(r.err, "qx7ctl: ")) << r.err;
        EXPECT_FALSE(contains(r.err, "connected")) << "no connection for a wrong line";
    }
}

TEST_F(Qx7ctl, BuiltInSimulatedDeviceAnswers) {
    ProcessResult r = simulated({"get", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0=22356\n");
}

TEST_F(Qx7ctlOnSerial, InfoSetAndGetAcrossRuns) {
    ProcessResult r = device({"info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 4u + 16u) << r.out;
    EXPECT_EQ(out[0], "Device magic: 22356");
    EXPECT_EQ(out[1], "Version: 1.2.3");
    EXPECT_EQ(out[2], "Device ID: 00 BC 61 4E");
    EXPECT_EQ(out[3], "Current preset: 1");
    EXPECT_EQ(out[4], "Preset 1: K Song");
    EXPECT_EQ(out[19], "Preset 16: User");

    r = device({"set", "100=5", "200=0x10", "100=7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "100=7\n200=16\n") << "the last value given for an index counts";

    r = device({"get", "0", "100", "200", "1745"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    SimMemory::Memory memory = SimMemory::defaults();
    EXPECT_EQ(r.out, "0=22356\n100=7\n200=16\n1745=" + std::to_string(memory[1745]) + "\n");
}

TEST_F(Qx7ctlOnSerial, SavedFileReadsOfflineAndRestoresTheDevice) {
    ProcessResult r = device({"save", "room1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, file("room1.qmx") + "\n");
    ASSERT_TRUE(fs::exists(file("room1.qmx")));
    EXPECT_EQ(fs::file_size(file("room1.qmx")), 7762u);

    r = ctl({"inspect", "room1.qmx"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 9u + 1746u);
    EXPECT_EQ(out[1], "Header length: 512");
    EXPECT_EQ(out[2], "Value count: 1746");
    EXPECT_EQ(out[3], "Format mark: 1");
    EXPECT_EQ(out[4], "Device magic: 22356");
    EXPECT_EQ(out[6], "Password mark: 0");
    EXPECT_EQ(out[7].rfind("Time stamp: 20", 0), 0u) << out[7];
    SimMemory::Memory memory = SimMemory::defaults();
    memory[1630] = 1;  // the controller-presence word the program wrote
    for (size_t i = 0; i < 1746; ++i)
        ASSERT_EQ(out[9 + i], std::to_string(i) + "=" + std::to_string(memory[i]));

    r = device({"set", "100=9", "1500=4242", "1628=7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = device({"load", "room1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Sent 1731 values\n");
    r = device({"get", "100", "1500", "1628"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "100=" + std::to_string(memory[100]) +
                         "\n1500=" + std::to_string(memory[1500]) + "\n1628=7\n")
        << "settings restored, the current preset kept";
}

TEST_F(Qx7ctlOnSerial, FilesThatMustNotBeSentFailWithTheirMessage) {
    std::vector<uint16_t> values(1746, 3);
    values[0] = 22356;
    PresetFiles writer;
    writer.preset().deviceMagic = 22356;
    writer.preset().passwordMark = 1;
    ASSERT_EQ(writer.writePreset(file("locked"), values), 0);
    writer.preset().passwordMark = 0;
    writer.preset().deviceMagic = 7;
    ASSERT_EQ(writer.writePreset(file("foreign"), values), 0);

    const std::pair<const char*, const char*> cases[] = {{"locked", "The data has a password ."},
                                                         {"foreign", "Wrong file version。"},
                                                         {"absent", "No files。"}};
    for (auto [name, message] : cases) {
        ProcessResult r = device({"load", name});
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_TRUE(contains(r.err, message)) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    ProcessResult r = device({"get", "100"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "100=" + std::to_string(SimMemory::defaults()[100]) + "\n")
        << "nothing was sent";
}

TEST_F(Qx7ctlOnSerial, RecallAndNameAMode) {
    ProcessResult r = device({"recall", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Preset 3 recalled\n");

    r = device({"name", "2", "Big Hall"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Preset 2: Big Hall\n");

    r = device({"info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 20u) << r.out;
    EXPECT_EQ(out[3], "Current preset: 3");
    EXPECT_EQ(out[5], "Preset 2: Big Hall");
}

// Names written by other tools: GBK bytes, or bytes a terminal would obey.
TEST_F(Qx7ctlOnSerial, DeviceNamesReachJsonAsUtf8AndTheTerminalDefused) {
    ASSERT_EQ(device({"name", "1", "\xb2\xe2"}).exitCode, 0);
    ASSERT_EQ(device({"name", "2", "\x1b]0;x\x07\xc2\x9b"}).exitCode, 0);
    ProcessResult r = device({"--json", "info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    nlohmann::json presets = nlohmann::json::parse(r.out)["presets"];
    EXPECT_EQ(presets[0]["name"], "\xe6\xb5\x8b");  // U+6D4B
    EXPECT_EQ(presets[1]["name"], "\x1b]0;x\x07\xc2\x9b");

    r = device({"info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 20u) << r.out;
    EXPECT_EQ(out[4], "Preset 1: \xe6\xb5\x8b");
    EXPECT_EQ(out[5], "Preset 2: \\x1B]0;x\\x07\\u009B");
}

TEST_F(Qx7ctlOnSerial, WifiSettingsAreConfirmedByTheModuleAndShownAgain) {
    ProcessResult r = device({"wifi", "hotspot", "Den", ""});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Hotspot SSID: Den\n");
    r = device({"wifi", "mode", "router"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = device({"wifi"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 6u) << r.out;
    EXPECT_EQ(out[0], "Mode: 2 (router)");
    EXPECT_EQ(out[1], "IP: 192.168.1.42");
    EXPECT_EQ(out[2], "Hotspot SSID: Den");
    EXPECT_EQ(out[3], "Hotspot password: ");
}

TEST_F(Qx7ctl, OfflineReadReportsDamagedAndMissingFiles) {
    std::vector<uint16_t> values(1746, 9);
    PresetFiles writer;
    ASSERT_EQ(writer.writePreset(file("damaged"), values), 0);
    std::fstream f(file("damaged.qmx"), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(3000);
    f.put('\x01');
    f.close();

    ProcessResult r = ctl({"inspect", "damaged"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "code 6")) << r.err;
    EXPECT_TRUE(r.out.empty());

    r = ctl({"inspect", "missing.qmx"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "code 4")) << r.err;
}

// Two modules answer the search of 127.0.0.0/24 and no device ID is given:
// neither is taken, both are listed.
TEST_F(Qx7ctl, NetworkWithoutAnIdRefusesWhenTwoDevicesAnswer) {
    SimDevice a, b;
    SimModuleServer first(a, Clock::system()), second(b, Clock::system());
    ASSERT_TRUE(first.start(0, ipv4Of(127, 0, 0, 2))) << first.error();
    ASSERT_TRUE(second.start(first.port(), ipv4Of(127, 0, 0, 3))) << second.error();
    ProcessResult r =
        ctl({"--network", "127.0.0.1/24:" + std::to_string(first.port()), "--quiet", "info"});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_TRUE(contains(r.err, "127.0.0.2") && contains(r.err, "127.0.0.3")) << r.err;
    EXPECT_EQ(first.connections() + second.connections(), 0u);
}

TEST_F(Qx7ctl, NoDeviceEndsAfterTheTimeout) {
    ProcessResult r = ctl({"--timeout", "2", "--quiet", "info"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "qx7ctl: ")) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST_F(Qx7ctl, UpgradeChecksThePackageThenReportsTheDevicesVerdict) {
    PackageFile panel{2, PackageFile::randomImage(5000, 2)};
    panel.write(file("panel.bin"));
    ProcessResult r = ctl({"inspect", "panel.bin"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Firmware package type: 2 (panel)\nImage size: 5000 bytes\n"))
        << r.out;
    EXPECT_TRUE(contains(r.out, "File SHA-256: ")) << r.out;

    std::vector<uint8_t> cut = panel.bytes();
    cut.pop_back();
    PackageFile::writeBytes(file("cut.bin"), cut);
    r = ctl({"inspect", "cut.bin"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, "The package file is incomplete!")) << r.err;

    // Neither a package (a type no target has, symbols outside the coding) nor a preset.
    std::vector<uint8_t> foreign = panel.bytes();
    foreign[1000] = '#';
    PackageFile::writeBytes(file("foreign.bin"), foreign);
    std::vector<uint16_t> values(1746, 9);
    ASSERT_EQ(PresetFiles().writePreset(file("room"), values), 0);
    fs::resize_file(file("room.qmx"), 4000);
    const std::pair<const char*, const char*> neither[] = {
        {"foreign.bin", "symbols outside its coding"},
        {"room.qmx", "not an intact preset file (damaged, cut short or of another kind) (code 6)"}};
    for (auto [name, reason] : neither) {
        r = ctl({"inspect", name});
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_TRUE(contains(r.err, reason)) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }

    // Refused before any device is looked for.
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"upgrade", "panel", "cut.bin"},
                                               {"upgrade", "dsp1", "panel.bin"},
                                               {"upgrade", "comm", "none.bin"}}) {
        r = ctl(args);
        EXPECT_EQ(r.exitCode, 1) << args[2];
        EXPECT_FALSE(contains(r.err, "Search")) << r.err;
    }

    r = ctl({"--simulated", "upgrade", "panel", "panel.bin"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "Updown Device:82 %")) << r.err;  // at the second pass
    EXPECT_TRUE(contains(r.err, "升级成功!")) << r.err;
    EXPECT_EQ(r.out, "Upgraded panel with 5000 bytes\n");
}

TEST_F(Qx7ctlOnSerial, UpgradeSurvivesAWrongBlockNumber) {
    m_sim.kill(SIGTERM);
    ASSERT_TRUE(m_sim.start({"--link", file("port"), "--wrong-block", "4352"}));
    PackageFile dsp{5, PackageFile::randomImage(9000, 5)};
    dsp.write(file("dsp5.bin"));
    ProcessResult r = device({"upgrade", "dsp5", "dsp5.bin"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "升级成功!")) << r.err;
}

namespace {

std::string filterFile(int count) {
    std::string text = "Filter Settings file\nRoom EQ V5.20\nDated: Dec 9, 2026\n\n";
    for (int n = 1; n <= count; ++n)
        text += "Filter " + std::to_string(n) + ": ON PK Fc " + std::to_string(100 * n) +
                " Hz Gain -" + std::to_string(n) + ".5 dB Q 2\n";
    return text;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The filter lines of an exported file.
std::vector<std::string> filterLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Filter ", 0) == 0 && line.find(':') != std::string::npos)
            out.push_back(line);
    return out;
}

// A room with a mode at 60 Hz and a dip at 150 Hz, as a measurement program exports it.
std::string roomMeasurement() {
    std::string out = "* measured\nFreq(Hz) SPL(dB) Phase(degrees)\n";
    for (double f = 10; f < 22000; f *= std::exp2(1.0 / 24)) {
        double level = 80 + 9 * std::exp(-30 * std::pow(std::log2(f / 60), 2)) -
                       6 * std::exp(-40 * std::pow(std::log2(f / 150), 2));
        out += std::to_string(f) + " " + std::to_string(level) + " 0\n";
    }
    return out;
}

}  // namespace

TEST_F(Qx7ctlOnSerial, EqFitWritesTheDeviceOnlyWhenAsked) {
    writeText(file("room.txt"), roomMeasurement());
    writeText(file("bad.txt"), "20 70\n30 71\n25 70\n");
    const std::string before = device({"get", "75", "83"}).out;
    ProcessResult r = device({"eq", "fit", "main", "bad.txt", "--write"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "Line 3: the frequency 25 Hz does not rise")) << r.err;
    r = device({"eq", "fit", "main", "room.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Main: 8 bands fitted in")) << r.out;
    EXPECT_TRUE(contains(r.out, "Fitted 81 to 10000 Hz only")) << "the page's 80 Hz high-pass";
    EXPECT_EQ(device({"get", "75", "83"}).out, before);

    r = device({"--json", "eq", "fit", "main", "room.txt", "--write", "--range", "20-500"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    nlohmann::json fit = nlohmann::json::parse(r.out);
    EXPECT_LT(fit["rms_after"].get<double>(), fit["rms_before"].get<double>() / 2);
    r = device({"--json", "eq", "export", "main", "out.txt"});
    nlohmann::json exported = nlohmann::json::parse(r.out)["bands"];
    ASSERT_EQ(exported.size(), 8u);
    for (size_t j = 0; j < 8; ++j)
        for (const char* key : {"type", "frequency", "q", "gain"})
            EXPECT_EQ(exported[j][key], fit["bands"][j][key]) << j << " " << key;
}

TEST_F(Qx7ctlOnSerial, EqImportListsWhatItLeftOutAndExportReadsBackTheSameBands) {
    writeText(file("ten.txt"), filterFile(10));
    ProcessResult r = device({"eq", "import", "main", "ten.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Line 13: filter 9 left out: the page has 8 bands.")) << r.out;
    EXPECT_TRUE(contains(r.out, "Line 14: filter 10 left out: the page has 8 bands.")) << r.out;
    // Band 1 of the front left and, through the link table, the front right: -1.5 dB.
    r = device({"get", "75", "143"});
    EXPECT_EQ(r.out, "75=485\n143=485\n");

    ASSERT_EQ(device({"eq", "export", "main", "out.txt"}).exitCode, 0);
    std::vector<std::string> exported = filterLines(file("out.txt"));
    ASSERT_EQ(exported.size(), 8u);
    EXPECT_EQ(exported[0], "Filter  1: ON  PK  Fc 101 Hz Gain -1.5 dB Q 2");
    r = device({"eq", "import", "main", "out.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Main: 8 filters imported\n") << "nothing moved, nothing left out";
    ASSERT_EQ(device({"eq", "export", "main", "again.txt"}).exitCode, 0);
    EXPECT_EQ(filterLines(file("again.txt")), exported);

    // A file refused as a whole writes nothing.
    writeText(file("big.txt"), filterFile(1) + std::string(2 << 20, '#'));
    r = device({"eq", "import", "main", "big.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.out, "larger than")) << r.out;
    EXPECT_EQ(device({"get", "75"}).out, "75=485\n");
}

TEST_F(Qx7ctl, DiffNamesWhatDiffersAndExitsByTheVerdict) {
    std::vector<uint16_t> values(SimMemory::defaults().begin(), SimMemory::defaults().end());
    PresetFiles writer;
    writer.preset().deviceMagic = 22356;
    values[83] = 520;  // main, band 3 gain +2.0 dB
    ASSERT_EQ(writer.writePreset(file("a"), values), 0);
    values[83] = 485;
    ASSERT_EQ(writer.writePreset(file("b"), values), 0);
    writeText(file("damaged.qmx"), std::string(7762, 'x'));

    ProcessResult r = ctl({"diff", "a.qmx", "a.qmx"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    r = ctl({"diff", "a.qmx", "b.qmx"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "Main / band 3 gain: +2.0 dB \u2192 \u22121.5 dB\n");
    r = ctl({"diff", "a.qmx", "damaged.qmx"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, "(code 6)")) << r.err;
    r = ctl({"--simulated", "--quiet", "diff", "device", "missing.qmx"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, "(code 4)")) << r.err;
}

TEST_F(Qx7ctl, JsonOutputParsesAndHasTheDocumentedKeys) {
    std::vector<uint16_t> values(SimMemory::defaults().begin(), SimMemory::defaults().end());
    PresetFiles writer;
    writer.preset().deviceMagic = 22356;
    ASSERT_EQ(writer.writePreset(file("a"), values), 0);
    ASSERT_EQ(writer.writePreset(file("caf\xe9"), values), 0);
    struct Case {
        std::vector<std::string> args;
        std::vector<const char*> keys;
    };
    const Case cases[] = {
        {{"info"}, {"device_magic", "version", "device_id", "current_preset", "presets"}},
        {{"get", "0", "5"}, {"parameters"}},
        {{"inspect", "a.qmx"}, {"kind", "file", "value_count", "device_magic", "values"}},
        {{"diff", "a.qmx", "a.qmx"}, {"a", "b", "equal", "differences"}},
        {{"eq", "export", "echo", "echo.txt"}, {"page", "page_index", "file", "bands"}},
        {{"eq", "fit", "music", "room.txt", "--offline", "--target", "house"},
         {"bands", "rms_before", "rms_after", "max_after", "ms"}},
        {{"list"}, {"devices"}},
        // File names in a legacy code page.
        {{"inspect", "caf\xe9.qmx"}, {"kind", "file"}},
        {{"diff", "a.qmx", "caf\xe9.qmx"}, {"a", "b", "equal"}},
        {{"eq", "export", "echo",
          "\xe9"
          "cho.txt"},
         {"page", "file"}},
    };
    writeText(file("room.txt"), roomMeasurement());
    for (const Case& c : cases) {
        ProcessResult r = simulated([&] {
            std::vector<std::string> args = c.args;
            args.insert(args.begin(), "--json");
            return args;
        }());
        ASSERT_EQ(r.exitCode, 0) << c.args[0] << ": " << r.err;
        nlohmann::json doc = nlohmann::json::parse(r.out, nullptr, false);
        ASSERT_TRUE(doc.is_object()) << r.out;
        for (const char* key : c.keys) EXPECT_TRUE(doc.contains(key)) << c.args[0] << " " << key;
    }
    nlohmann::json bands = nlohmann::json::parse(
        simulated({"--json", "eq", "export", "echo", "echo.txt"}).out)["bands"];
    ASSERT_EQ(bands.size(), 5u);
    for (const char* key : {"band", "type", "frequency", "gain", "q"})
        EXPECT_TRUE(bands[0].contains(key)) << key;
    EXPECT_EQ(nlohmann::json::parse(simulated({"--json", "list"}).out)["devices"][0]["serial"],
              "SIM0001");
}

TEST_F(Qx7ctl, GraphWritesAPictureOfTheSizeAsked) {
#ifndef QX7CTL_HAS_GRAPH
    GTEST_SKIP() << "built without the window parts";
#endif
    ProcessResult r = simulated({"--size", "300x120", "graph", "sub", "sub.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream png(file("sub.png"), std::ios::binary);
    unsigned char head[24] = {};
    png.read(reinterpret_cast<char*>(head), sizeof head);
    EXPECT_EQ(head[1], 'P');
    EXPECT_EQ(head[18] << 8 | head[19], 300);  // IHDR width and height, big-endian
    EXPECT_EQ(head[22] << 8 | head[23], 120);
    for (const char* size : {"0x10", "10x", "x10", "9000x10", "10*10"})
        EXPECT_EQ(simulated({"--size", size, "graph", "sub", "x.png"}).exitCode, 2) << size;
    EXPECT_EQ(simulated({"graph", "system", "x.png"}).exitCode, 2);
}

TEST_F(Qx7ctl, UsbPicksOneDeviceByPathOrSerialNumber) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
    };
    const Case cases[] = {
        {{"--usb", "SIM0001", "get", "0"}, 0, "0=22356\n"},
        {{"--usb", "sim:qx7", "list"}, 0, "usb sim:qx7 SIM0001\n"},
        {{"--usb", "other", "list"}, 0, ""},
        {{"--usb", "other", "--timeout", "1", "get", "0"}, 1, ""},
        {{"--usb"}, 2, ""},
    };
    for (const Case& c : cases) {
        ProcessResult r = simulated(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[1] << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }
    EXPECT_EQ(ctl({"--serial", "/dev/null", "--usb", "x", "get", "0"}).exitCode, 2);
}
