#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetbuilder
{

bool ReadFile(const std::string& path, std::vector<uint8_t>& data);
bool ReadText(const std::string& path, std::string& text);
// Writes only when the content differs, so unchanged outputs keep their time stamps.
bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& data);
bool WriteIfChanged(const std::string& path, const std::string& text);
// Always writes (through a temporary file), so the build sees a fresh time stamp.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& data);
bool WriteFile(const std::string& path, const std::string& text);
bool MakeDirectories(const std::string& path);

} // namespace assetbuilder
