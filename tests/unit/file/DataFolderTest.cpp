// Finding the game's data from any working directory: the relative data paths
// must resolve after the move, and a folder without the data is passed over.
#include "support/TempDir.h"

#include <file/System.h>

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string currentDirectory() {
    char path[PATH_MAX];
    return ::getcwd(path, sizeof(path)) ? std::string(path) : std::string();
}

std::string resolved(const std::string& path) {
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) ? std::string(real) : std::string();
}

// Other tests read "../assets" from the binary folder: every case goes back there.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_start = currentDirectory(); }
    void TearDown() override { ASSERT_EQ(0, ::chdir(m_start.c_str())); }

    // A data folder at `relative` below the temporary folder, holding ui.pip.
    std::string makeData(const std::string& relative) {
        const std::string folder = m_temp.file(relative);
        std::system(("mkdir -p '" + folder + "'").c_str());
        TempDir::write(folder + "/ui.pip", "archive");
        return folder;
    }
    std::string makeEmpty(const std::string& relative) {
        const std::string folder = m_temp.file(relative);
        std::system(("mkdir -p '" + folder + "'").c_str());
        return folder;
    }

    TempDir m_temp;
    std::string m_start;
};

TEST_F(DataFolderTest, FirstCandidateHoldingTheDataWinsAndRelativePathsReachIt) {
    const std::string empty = makeEmpty("empty");
    makeData("build/assets");
    makeData("share/kestrelby/assets");
    const std::string found = file::System::EnterDataFolder(
        {m_temp.file("missing"), empty, m_temp.file("build/assets"), m_temp.file("share/kestrelby/assets")}, "ui.pip");
    EXPECT_EQ(resolved(m_temp.file("build/assets")), found);
    EXPECT_EQ(found, currentDirectory());
    EXPECT_EQ("archive", TempDir::read("../assets/ui.pip"));
}

TEST_F(DataFolderTest, AFolderHoldingAnAssetsFolderCountsAsWell) {
    makeData("share/kestrelby/assets");
    const std::string found = file::System::EnterDataFolder({m_temp.file("share/kestrelby")}, "ui.pip");
    EXPECT_EQ(resolved(m_temp.file("share/kestrelby/assets")), found);
    EXPECT_EQ("archive", TempDir::read("../assets/ui.pip"));
}

TEST_F(DataFolderTest, LinkedDataFolderResolvesThroughTheRealTree) {
    makeData("real/assets");
    makeEmpty("links");
    ASSERT_EQ(0, ::symlink(m_temp.file("real/assets").c_str(), m_temp.file("links/assets").c_str()));
    const std::string found = file::System::EnterDataFolder({m_temp.file("links/assets")}, "ui.pip");
    EXPECT_EQ(resolved(m_temp.file("real/assets")), found);
    EXPECT_EQ("archive", TempDir::read("../assets/ui.pip"));
}

TEST_F(DataFolderTest, NoDataLeavesTheWorkingDirectoryAlone) {
    makeEmpty("empty");
    // Data under another name would not be reached by "../assets".
    makeData("data");
    makeEmpty("assets");
    EXPECT_EQ("", file::System::EnterDataFolder({m_temp.file("empty"), m_temp.file("data"), m_temp.file("assets"),
                                                 m_temp.file("missing"), ""},
                                                "ui.pip"));
    EXPECT_EQ("", file::System::EnterDataFolder({}, "ui.pip"));
    EXPECT_EQ(m_start, currentDirectory());
}

TEST_F(DataFolderTest, ExecutableDirectoryIsTheTestProgramsFolder) {
    const std::string folder = file::System::ExecutableDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder, resolved(folder));
    struct stat info;
    EXPECT_EQ(0, ::stat((folder + "/unit_tests").c_str(), &info));
}

} // namespace
