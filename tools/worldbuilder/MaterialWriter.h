#pragma once

#include <set>
#include <string>

namespace worldbuilder {

/// Writes the material script from the material source.
class MaterialWriter {
 public:
  /// Returns the script text; fills `textures` with the textures it uses.
  static bool Build(const std::string& source, std::string& script, std::set<std::string>& textures,
                    std::set<std::string>& names);
};

}  // namespace worldbuilder
