#include "application/Main.h"
#include "application/MainMenuState.h"

#include <file/System.h>

#include <iostream>

int main(int, char**) {
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
