#pragma once

#include "MissionPlan.h"
#include "Raster.h"

namespace assetbuilder
{

// Simple signs in the style of apron signage, centred on (cx, cy).
void DrawWorkSign(Raster& r, float cx, float cy, float size, Work work, const Colour& c);
void DrawDroplet(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawSuitcase(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawWrench(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawTray(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawStar(Raster& r, float cx, float cy, float outer, float inner, const Colour& c);
void DrawClock(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawGauge(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawTarget(Raster& r, float cx, float cy, float size, const Colour& c);
void DrawFlag(Raster& r, float cx, float cy, float size);

} // namespace assetbuilder
