#pragma once

#include <map>
#include <string>
#include <vector>

namespace assetbuilder
{

// What the maps need from the generated world: node positions on the ground
// plane and, per mission, the vehicle and the ordered steps.
struct RouteStep
{
    std::string kind; // "trigger" or "game"
    std::string name; // trigger node name, or mini-game state name
    std::string type; // "waypoint" or "mini_game" for triggers
};

struct MissionRoute
{
    std::string vehicle;
    std::string spawn;
    std::vector<RouteStep> steps;
};

struct RouteSet
{
    std::map<std::string, std::pair<float, float>> nodes; // name -> (x, z)
    std::map<int, MissionRoute> missions;
    bool Empty() const { return missions.empty(); }
};

// Reads the scene and the mission files below levelDir and writes a compact,
// sorted summary; the file is only rewritten when the summary changes.
bool WriteRouteSummary(const std::string& levelDir, const std::string& summaryFile);
bool LoadRouteSummary(const std::string& summaryFile, RouteSet& routes);

} // namespace assetbuilder
