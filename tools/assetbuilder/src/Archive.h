#pragma once

#include <string>
#include <vector>

namespace assetbuilder
{

// Packs the named files of dir into a zip archive. Names are sorted first, so
// the archive does not depend on the order the build lists them in. A missing
// file fails the whole archive and leaves any earlier archive untouched.
bool PackDirectory(const std::string& dir, std::vector<std::string> names, const std::string& archive);

// One name a line; empty lines are skipped.
std::vector<std::string> ReadNameList(const std::string& text);

} // namespace assetbuilder
