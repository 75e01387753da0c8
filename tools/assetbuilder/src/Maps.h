#pragma once

#include "Raster.h"
#include "Routes.h"

namespace assetbuilder
{

const int kMapWidth = 320;
const int kMapHeight = 240;

// The apron seen from above with the route of one mission drawn on it.
// Uses the generated mission and scene when they describe the mission,
// otherwise the planned gate layout.
Raster DrawMissionMap(int mission, const RouteSet& routes);

// The apron without a route, shown before a mission is chosen.
Raster DrawApronOverview(const RouteSet& routes);

} // namespace assetbuilder
