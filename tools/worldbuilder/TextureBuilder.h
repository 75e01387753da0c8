#pragma once

#include <map>
#include <string>

namespace worldbuilder {

/// Generates the procedural textures named in the texture source as PNG data.
class TextureBuilder {
 public:
  /// Fills folder -> (file name -> PNG bytes); false on an unknown kind.
  static bool Build(const std::string& source, std::map<std::string, std::map<std::string, std::string>>& out);
};

}  // namespace worldbuilder
