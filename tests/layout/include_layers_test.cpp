// Every quoted include under src/ names a header of its own folder or of a
// folder below it; the table is the only place the layering is written down.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Folder -> the folders its code may include besides itself. The simulated
// device is for programs and tests, so only `connect` (and what stands on it)
// may reach it; the Qt-free folders never reach a Qt one.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"platform", {}},
    {"platform/qt", {"platform"}},
    {"platform/net", {"platform"}},
    {"texts", {}},
    {"files", {"platform"}},
    {"filter", {"texts", "platform"}},
    {"link", {"files", "texts", "platform"}},
    {"link/transports", {"link", "files", "texts", "platform/net", "platform"}},
    {"update", {"link", "files", "texts", "platform/net", "platform"}},
    {"sim", {"link/transports", "link", "filter", "files", "texts", "platform/net", "platform"}},
    {"connect", {"sim", "link/transports", "link", "files", "texts", "platform/net", "platform"}},
    {"binding", {"link", "filter", "files", "texts", "platform"}},
    {"resources", {"platform", "platform/qt"}},
    {"controls", {"resources", "filter", "texts", "platform", "platform/qt"}},
    {"pages",
     {"binding", "controls", "resources", "link", "filter", "files", "texts", "platform",
      "platform/qt"}},
    {"app",
     {"remote", "pages", "binding", "controls", "resources", "connect", "update", "link", "filter", "files",
      "texts", "platform", "platform/qt"}},
    {"cli",
     {"remote", "connect", "binding", "controls", "resources", "link/transports", "link", "filter", "files",
      "texts", "platform/net", "platform", "platform/qt"}},
    {"remote", {"link", "files", "texts", "platform"}},
    {"daemon",
     {"remote", "connect", "binding", "sim", "link/transports", "link", "filter", "files", "texts",
      "platform/net", "platform"}},
};

std::string folderOf(const fs::path& relative) {
    return relative.parent_path().generic_string();
}

struct Crossing {
    std::string file;
    std::string include;
};

std::vector<Crossing> crossings(const fs::path& root) {
    static const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Crossing> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
            continue;
        std::string file = fs::relative(path, root).generic_string();
        std::string from = folderOf(fs::relative(path, root));
        auto allowed = kMayInclude.find(from);
        std::ifstream in(path);
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, match, include)) continue;
            std::string target = match[1];
            std::string to = folderOf(target);
            bool known = fs::is_regular_file(root / target);
            bool ok = known && allowed != kMayInclude.end() &&
                      (to == from || allowed->second.count(to) > 0);
            if (!ok) found.push_back({file, target});
        }
    }
    return found;
}

TEST(IncludeLayersTest, EveryIncludeRunsDownward) {
    std::vector<Crossing> found = crossings(QX7_SOURCE_ROOT);
    for (const Crossing& c : found)
        ADD_FAILURE() << "src/" << c.file << " includes \"" << c.include
                      << "\": not a header of its folder or of a folder below it";
    EXPECT_TRUE(found.empty());
}

TEST(IncludeLayersTest, AnUpwardIncludeIsReported) {
    fs::path root = fs::temp_directory_path() / ("qx7-layers-" + std::to_string(::getpid()));
    fs::create_directories(root / "link");
    fs::create_directories(root / "app");
    std::ofstream(root / "app/main_window.h") << "#pragma once\n";
    std::ofstream(root / "link/link.cpp") << "#include \"app/main_window.h\"\n";
    std::vector<Crossing> found = crossings(root);
    fs::remove_all(root);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].file, "link/link.cpp");
    EXPECT_EQ(found[0].include, "app/main_window.h");
}

}  // namespace
