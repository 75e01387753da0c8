#include "application/Main.h"

#include <file/System.h>

#include <iostream>

int main(int, char**) {
    auto* app = new application::Main();
    if (!app->Init()) {
        std::cerr << "kestrelby: start-up failed, see the log in " << file::System::GetUserDataDirectory() << std::endl;
        return -1;
    }
    std::cout << "kestrelby: services are up; settings and progress live in "
              << file::System::GetUserDataDirectory() << std::endl;
    if (app->CurrentState())
        app->Run();
    delete app;
    return 0;
}
