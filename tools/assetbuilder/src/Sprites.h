#pragma once

#include "Raster.h"

namespace assetbuilder
{

// Side views of the apron's machines, drawn from primitives. (x, ground) is
// the left end of the ground line; s scales the drawing (1 = about 100 px long).
void DrawAirliner(Raster& r, float x, float ground, float s, const Colour& body, const Colour& tail, bool lit);
void DrawCateringTruck(Raster& r, float x, float ground, float s, float lift);
void DrawFuelTruck(Raster& r, float x, float ground, float s);
void DrawBaggageTrain(Raster& r, float x, float ground, float s);
void DrawWheel(Raster& r, float cx, float cy, float radius);

// Top-down aircraft used on the maps, nose pointing up.
void DrawAircraftTop(Raster& r, float cx, float cy, float length, const Colour& c, bool wide);

} // namespace assetbuilder
