#pragma once

#include "ModelLibrary.h"

#include <map>
#include <string>
#include <vector>

namespace worldbuilder {

/// Writes the vehicle configuration files of both variants, deriving the
/// chassis shift and wheel connection height from the chassis model.
class ConfigBuilder {
 public:
  /// The keys of a configuration file, in the order they are written.
  static const std::vector<std::string>& Keys();

  /// Fills "variant/file" -> contents; false on a missing key, mesh or wheel bone.
  static bool Build(const std::string& source, const ModelLibrary& models, std::map<std::string, std::string>& files);
};

}  // namespace worldbuilder
