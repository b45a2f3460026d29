#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

// A shared folder where someone planted links at the names the temporary
// file may take, and at the target itself: their victims stay untouched.
TEST(AtomicFile, PlantedLinksAreNeverWrittenThrough) {
    TempFolder folder;
    const std::string victim = folder.path("victim");
    TempFolder::write(victim, "precious");
    const std::string target = folder.path("preset.qmx");
    for (int n = 0; n < 4; ++n)
        fs::create_symlink(victim,
                           target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(n));
    const std::string linkedTarget = folder.path("linked.qmx");
    fs::create_symlink(victim, linkedTarget);

    for (const std::string& path : {target, linkedTarget}) {
        const std::string content = "new " + path;
        ASSERT_TRUE(AtomicFile::write(path, reinterpret_cast<const uint8_t*>(content.data()),
                                      content.size()));
        EXPECT_EQ(TempFolder::read(path), content);
        EXPECT_FALSE(fs::is_symlink(path));
    }
    EXPECT_EQ(TempFolder::read(victim), "precious");
}
