#pragma once

#include "Routes.h"

#include <string>
#include <vector>

namespace assetbuilder
{

// Every picture of the interface, generated into dir.
bool BuildPictures(const std::string& dir, const RouteSet& routes);

// Names of the files BuildPictures writes (the build lists them as outputs).
std::vector<std::string> PictureNames();

} // namespace assetbuilder
