#pragma once

namespace soundbuilder
{
class Clip;

/// The sound effects, all mono. Each loops: the vehicle sounds from their loop
/// start (the part before it plays once), the others from their beginning.
namespace effects
{
/// Distant jets, wind and apron bustle; 24 s loop.
Clip airportAtmosphere(int rate);
/// Diesel service vehicle pulling away, then cruising; loops from 5.9 s.
Clip drive(int rate);
/// The engine winding down under braking, then idling; loops from 3.9 s.
Clip slowdown(int rate);
/// Hydraulic lift pump whine.
Clip cateringLift(int rate);
/// Trolleys rolled into the container and locked.
Clip cateringLoad(int rate);
/// Ratchet wrench at work.
Clip repairClick(int rate);
/// Suitcases thumping onto a running belt loader.
Clip baggageLoad(int rate);
/// Fuel pump motor with fuel rushing through the hose.
Clip fuelPump(int rate);

/// Loop starts the game sets on the vehicle sounds.
constexpr double kDriveLoopStart = 5.9;
constexpr double kSlowdownLoopStart = 3.9;
}
}
