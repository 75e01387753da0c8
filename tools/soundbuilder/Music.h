#pragma once

namespace soundbuilder
{
class Clip;

/// The two music loops: both are exactly periodic, so the last sample runs on
/// into the first.
namespace music
{
/// Upbeat major-key tune for the menus, 120 BPM, 16 bars (32 s), stereo.
Clip mainMenu(int rate);
/// Driving minor-key tune for the apron, 125 BPM, 16 bars (30.72 s), stereo.
Clip level(int rate);
}
}
