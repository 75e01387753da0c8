#pragma once

#include <string>
#include <vector>

namespace assetbuilder
{

enum class Vehicle
{
    Catering,
    Fuel,
    Baggage
};

enum class Work
{
    Catering,
    Refuel,
    Baggage,
    Repair
};

struct Job
{
    Work work;
    std::string site; // "A1".."A4", "B1", "B2" or "H" for the hangar aircraft
};

struct MissionPlanEntry
{
    int number;
    Vehicle vehicle;
    std::vector<Job> jobs;
};

// The missions as the game's designers planned them; the pictures fall back
// to this when the generated mission files are not there.
const std::vector<MissionPlanEntry>& MissionPlan();

} // namespace assetbuilder
