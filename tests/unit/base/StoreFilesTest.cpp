#include "support/TempDir.h"

#include <base/Config.h>
#include <base/UserData.h>
#include <xml/Document.h>
#include <xml/Element.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs body in a child process that may write files of at most limit bytes
// (SIGXFSZ ignored, so writes fail as on a full disk); returns the child's
// exit code and its error stream.
int runWithFileSizeLimit(size_t limit, const std::string& errors, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap = {static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        ::setrlimit(RLIMIT_FSIZE, &cap);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

const int kSaveReportedFailure = 0;
const int kSaveClaimedSuccess = 3;

// A save that runs into the file-size limit part-way (as on a full disk) must
// leave the previous file exactly as it was. Writing straight over the file
// fails this: the old content would be gone and a prefix of the new one left.
TEST(StoreFiles, FailedSaveLeavesThePreviousFileByteIdentical) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    {
        testing::internal::CaptureStderr();
        base::Config config(path);
        config.getString("ui", "language", "Deutsch");
        config.getInt("Display", "width", 1024);
        testing::internal::GetCapturedStderr();
    }
    const std::string before = TempDir::read(path);
    ASSERT_NE(before.find("language=\"Deutsch\""), std::string::npos);
    // Room for more than the old file, never for the new one.
    const size_t limit = before.size() + 64;
    const std::string huge(8000, 'x');
    const std::string errors = dir.file("child.err");
    const std::string failure = "Can't save File: \"" + path + "\"\n";

    // Through the settings store: one failed save, reported on one line.
    EXPECT_EQ(runWithFileSizeLimit(limit, errors, [&] {
        auto* config = new base::Config(path); // never destroyed: its destructor would save again
        config->setString("ui", "language", huge);
        return kSaveReportedFailure;
    }), kSaveReportedFailure);
    EXPECT_EQ(TempDir::read(path), before);
    EXPECT_EQ(TempDir::read(errors), failure);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"child.err", "config.xml"}));

    // Through the document: the save says it failed.
    EXPECT_EQ(runWithFileSizeLimit(limit, errors, [&] {
        xml::Document document(path);
        if (!document.loadDocument())
            return 1;
        document.getRoot()->SetAttribute("padding", huge);
        return document.saveDocument() ? kSaveClaimedSuccess : kSaveReportedFailure;
    }), kSaveReportedFailure);
    EXPECT_EQ(TempDir::read(path), before);
    EXPECT_EQ(TempDir::read(errors), failure);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"child.err", "config.xml"}));

    // Without the limit the same save goes through.
    xml::Document document(path);
    ASSERT_TRUE(document.loadDocument());
    document.getRoot()->SetAttribute("padding", huge);
    EXPECT_TRUE(document.saveDocument());
    EXPECT_NE(TempDir::read(path).find(huge), std::string::npos);
}

// A value that ends in a cut-off character (here a lead byte with nothing
// after it) would swallow its closing quote when read again: the store writes
// the replacement character instead and the file stays readable, the other
// settings with it.
TEST(StoreFiles, ValuesWithCutCharactersAreSavedReadably) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    testing::internal::CaptureStderr();
    {
        base::Config config(path);
        config.getInt("Display", "width", 1280);
        config.getString("ui", "language", "Deutsch");
        config.setString("ui", "language", "Deuts\xC3");
        config.setString("ui", "cut\xE2\x82", "x"); // a name too
        config.setString("ui", "player", "J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x9A\x9A"); // whole characters stay
    }
    testing::internal::GetCapturedStderr();
    xml::Document reread(path);
    ASSERT_TRUE(reread.loadDocument()) << TempDir::read(path);
    const xml::Element* ui = reread.FindFirst("ui");
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(ui->GetAttribute("language"), "Deuts\xEF\xBF\xBD");
    EXPECT_EQ(ui->GetAttribute("player"), "J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x9A\x9A");
    EXPECT_EQ(ui->GetAttribute("cut\xEF\xBF\xBD"), "x");
    EXPECT_EQ(reread.FindFirst("Display")->GetAttributeInt("width", 0), 1280);

    // A file that declares another encoding reads byte by byte: left as it is.
    const std::string latin = dir.file("latin.xml");
    TempDir::write(latin, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?><root a=\"Gr\xFC\xDF\xE4\" />");
    xml::Document legacy(latin);
    ASSERT_TRUE(legacy.loadDocument());
    ASSERT_TRUE(legacy.saveDocument());
    EXPECT_NE(TempDir::read(latin).find("a=\"Gr\xFC\xDF\xE4\""), std::string::npos);
}

// Unreadable files are kept, each in its own numbered copy, the last few of them.
TEST(StoreFiles, EveryDamagedFileKeepsItsOwnCopy) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    testing::internal::CaptureStderr();
    TempDir::write(path, "<root><Display width=\"1024\">");
    { base::Config config(path); }
    TempDir::write(path, "<root><Sound sfx=");
    { base::Config config(path); }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(TempDir::read(path + ".corrupt.1"), "<root><Display width=\"1024\">");
    EXPECT_EQ(TempDir::read(path + ".corrupt.2"), "<root><Sound sfx=");
    EXPECT_NE(err.find("kept as \"" + path + ".corrupt.2\""), std::string::npos) << err;

    // The progress store likewise; only the newest five copies stay.
    const std::string progress = dir.file("user_data.xml");
    testing::internal::CaptureStderr();
    for (int i = 1; i <= xml::Document::kKeptCopies + 2; ++i) {
        TempDir::write(progress, "<root><Mission m1=\"" + std::to_string(i) + "\">");
        base::UserData data(progress);
    }
    testing::internal::GetCapturedStderr();
    std::vector<std::string> kept;
    for (const std::string& name : filesIn(dir.path()))
        if (name.rfind("user_data.xml.corrupt.", 0) == 0)
            kept.push_back(name);
    EXPECT_EQ(kept, (std::vector<std::string>{"user_data.xml.corrupt.3", "user_data.xml.corrupt.4",
                                              "user_data.xml.corrupt.5", "user_data.xml.corrupt.6",
                                              "user_data.xml.corrupt.7"}));
    EXPECT_EQ(TempDir::read(progress + ".corrupt.7"), "<root><Mission m1=\"7\">");
    EXPECT_EQ(TempDir::read(path + ".corrupt.1"), "<root><Display width=\"1024\">");
}

// A store file that is there but cannot be read must survive the session
// untouched: the store starts from defaults and never saves over it. Root
// reads any file, so the permission case runs in a child as "nobody".
TEST(StoreFiles, UnreadableFileIsNeverReplaced) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777); // the child may write here: only the store may hold it back
    const std::string settings = dir.file("config.xml");
    const std::string original = "<root><Display Fullscreen=\"false\"/><ui language=\"English\"/></root>";
    TempDir::write(settings, original);
    ::chmod(settings.c_str(), 0);
    const std::string errors = dir.file("errors.txt");
    const int code = runWithFileSizeLimit(RLIM_INFINITY, errors, [&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            return 2;
        base::Config config(settings);
        if (!config.getBool("Display", "Fullscreen", true))
            return 3; // the defaults are what this session sees
        config.setBool("Display", "Fullscreen", true);
        config.setString("ui", "language", "Deutsch");
        return 0;
    });
    EXPECT_EQ(code, 0);
    ::chmod(settings.c_str(), 0644);
    EXPECT_EQ(TempDir::read(settings), original);
    const std::string err = TempDir::read(errors);
    EXPECT_NE(err.find("Can't read File: \"" + settings + "\" - Permission denied"), std::string::npos) << err;
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"config.xml", "errors.txt"}));

    // A folder in the progress file's place (read() fails with EISDIR).
    const std::string progress = dir.file("user_data.xml");
    ASSERT_EQ(::mkdir(progress.c_str(), 0755), 0);
    TempDir::write(progress + "/keep", "x");
    testing::internal::CaptureStderr();
    {
        base::UserData data(progress);
        data.SetInt("Mission", "progress", 4);
    }
    const std::string folderErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(folderErr.find("Can't read File: \"" + progress + "\" - Is a directory"), std::string::npos) << folderErr;
    EXPECT_EQ(TempDir::read(progress + "/keep"), "x");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"config.xml", "errors.txt", "user_data.xml"}));
}

} // namespace
