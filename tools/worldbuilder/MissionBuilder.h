#pragma once

#include "Airport.h"

#include <map>
#include <string>
#include <vector>

namespace worldbuilder {

/// Turns the mission source into mission files: adds the road waypoints
/// between the places of work and gives each step its time limit.
class MissionBuilder {
 public:
  explicit MissionBuilder(const Airport& airport) : m_airport(airport) {}

  /// Fills file name -> contents; false on any unknown name.
  bool Build(const std::string& source, std::map<std::string, std::string>& files);
  /// One line per mission (number, steps, route length, total time) for the build log.
  const std::vector<std::string>& summary() const { return m_summary; }

 private:
  std::vector<std::string> Route(const std::string& from, const std::string& to) const;
  Ogre::Vector3 PositionOf(const std::string& name) const;

  const Airport& m_airport;
  std::vector<std::string> m_summary;
};

}  // namespace worldbuilder
