#include "application/Main.h"
#include "application/MainMenuState.h"

#include <file/System.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Where the data of an installation lies, from the program's folder and as an
// absolute path (set by the build; the relative one keeps a moved or DESTDIR
// installation working).
#ifndef KB_INSTALL_DATA_FROM_BIN
#define KB_INSTALL_DATA_FROM_BIN "../share/kestrelby/assets"
#endif
#ifndef KB_INSTALL_DATA_DIR
#define KB_INSTALL_DATA_DIR "/usr/local/share/kestrelby/assets"
#endif
const char* const kDataVariable = "KB_DATA_DIR";
// The first file the game opens; a folder without it is not the game's data.
const char* const kDataProbe = "ui.pip";

// Folds "." and ".." out of an absolute path, for the message and to drop duplicates.
std::string folded(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

// The data beside the program (a build tree or an unpacked folder), then the
// installed data. An explicit KB_DATA_DIR is the only candidate: a mistyped
// override must not silently start another copy of the data.
std::vector<std::string> dataCandidates() {
    const char* override = std::getenv(kDataVariable);
    if (override && override[0])
        return {override};
    std::vector<std::string> candidates;
    const std::string program = file::System::ExecutableDirectory();
    if (!program.empty()) {
        candidates.push_back(folded(program + "/../assets"));
        candidates.push_back(folded(program + "/" + KB_INSTALL_DATA_FROM_BIN));
    }
    const std::string installed = folded(KB_INSTALL_DATA_DIR);
    if (candidates.empty() || candidates.back() != installed)
        candidates.push_back(installed);
    return candidates;
}

// One line naming every folder tried and the ways to get the data.
void reportMissingData(const std::vector<std::string>& candidates) {
    std::string tried;
    for (const std::string& candidate : candidates)
        tried += (tried.empty() ? "" : ", ") + candidate;
    const char* override = std::getenv(kDataVariable);
    const bool overridden = override && override[0];
    std::cerr << "kestrelby: no game data (" << kDataProbe << " in an \"assets\" folder) in "
              << (overridden ? std::string(kDataVariable) + "=" : std::string()) << tried
              << "; build it with \"cmake --build build\" and start build/bin/kestrelby, install it with "
                 "\"cmake --install build\", or "
              << (overridden ? "point " : "set ") << kDataVariable << (overridden ? " at" : " to")
              << " a folder holding it" << std::endl;
}

} // namespace

int main(int, char**) {
    const std::vector<std::string> candidates = dataCandidates();
    if (file::System::EnterDataFolder(candidates, kDataProbe).empty()) {
        reportMissingData(candidates);
        return -1;
    }

    auto* app = new application::Main();
    if (!app->Init()) {
        // Left as it is: a half-started engine is not safe to tear down.
        std::cerr << "kestrelby: cannot start: "
                  << (app->failure().empty() ? std::string("start-up failed") : app->failure())
                  << " (logs in " << file::System::GetUserDataDirectory() << ")" << std::endl;
        return -1;
    }
    app->AddState("MainMenu", new application::MainMenuState());
    app->ChangeState("MainMenu");
    app->Run();
    delete app;
    return 0;
}
