#include "Sprites.h"

#include "Palette.h"

#include <cmath>
#include <vector>

namespace assetbuilder
{

void DrawWheel(Raster& r, float cx, float cy, float radius)
{
    r.FillCircle(cx, cy, radius, Colour::Hex(0x141517));
    r.FillCircle(cx, cy, radius * 0.5f, Colour::Hex(0x8C9298));
    r.FillCircle(cx, cy, radius * 0.18f, Colour::Hex(0x2A2D30));
}

void DrawAirliner(Raster& r, float x, float ground, float s, const Colour& body, const Colour& tail, bool lit)
{
    // Fuselage roughly 300 units long at s = 1.
    auto P = [&](float px, float py) { return Point{x + px * s, ground - py * s}; };
    float fy = 62.0f; // fuselage centre height
    float fr = 18.0f; // fuselage radius
    Colour under = body.Scaled(0.72f);
    // Far wing and engine, darker.
    r.FillPolygon({P(120, fy - 6), P(190, fy - 6), P(250, fy - 26), P(236, fy - 28)}, body.Scaled(0.55f));
    // Landing gear.
    r.Line(P(60, fy - fr).x, P(60, fy - fr).y, P(60, 9).x, P(60, 9).y, 3.0f * s, Colour::Hex(0x2B2E31));
    r.Line(P(170, fy - fr).x, P(170, fy - fr).y, P(170, 10).x, P(170, 10).y, 4.0f * s, Colour::Hex(0x2B2E31));
    r.Line(P(182, fy - fr).x, P(182, fy - fr).y, P(182, 10).x, P(182, 10).y, 4.0f * s, Colour::Hex(0x2B2E31));
    DrawWheel(r, P(60, 8).x, P(60, 8).y, 7.5f * s);
    DrawWheel(r, P(168, 9).x, P(168, 9).y, 9.0f * s);
    DrawWheel(r, P(186, 9).x, P(186, 9).y, 9.0f * s);
    // Tail fin.
    r.FillPolygon({P(250, fy + 10), P(288, fy + 10), P(305, fy + 78), P(288, fy + 80), P(262, fy + 18)}, tail);
    r.FillPolygon({P(262, fy + 40), P(300, fy + 62), P(303, fy + 72), P(270, fy + 52)}, tail.Scaled(0.8f));
    // Fuselage with a rounded nose and a tapering tail.
    std::vector<Point> fus;
    for (int i = 0; i <= 12; ++i)
    {
        float a = 3.14159265f * 0.5f + 3.14159265f * i / 12.0f;
        fus.push_back(P(22 + std::cos(a) * 22.0f, fy + std::sin(a) * fr));
    }
    fus.push_back(P(240, fy - fr));
    fus.push_back(P(300, fy + 6));
    fus.push_back(P(302, fy + 14));
    fus.push_back(P(240, fy + fr));
    r.FillPolygon(fus, [&](float, float py) {
        float t = (py - P(0, fy + fr).y) / (2.0f * fr * s);
        return body.Lerp(under, std::fmax(0.0f, std::fmin(1.0f, t)));
    });
    // Cheat line and windows.
    r.Line(P(30, fy + 1).x, P(30, fy + 1).y, P(250, fy + 1).x, P(250, fy + 1).y, 2.5f * s, tail);
    Colour window = lit ? Colour::Hex(0xFFE6A8) : Colour::Hex(0x2B3440);
    for (float wx = 44; wx < 236; wx += 9.0f)
        r.FillRoundRect(P(wx, fy + 9).x, P(wx, fy + 9).y, 4.0f * s, 5.0f * s, 1.5f * s, window);
    // Cockpit.
    r.FillPolygon({P(8, fy + 6), P(20, fy + 10), P(22, fy + 4), P(10, fy + 2)}, Colour::Hex(0x1C2530));
    // Near wing and engine.
    r.FillPolygon({P(110, fy - 8), P(200, fy - 8), P(232, fy - 40), P(214, fy - 42)}, body.Scaled(0.85f));
    r.FillRoundRect(P(120, fy - 18).x, P(120, fy - 18).y, 48 * s, 20 * s, 9 * s, body.Scaled(0.9f));
    r.FillRoundRect(P(118, fy - 19).x, P(118, fy - 19).y, 8 * s, 22 * s, 3 * s, Colour::Hex(0x30353A));
    // Doors.
    r.StrokeRoundRect(P(34, fy + 13).x, P(34, fy + 13).y, 8 * s, 22 * s, 2 * s, 1.0f, body.Scaled(0.6f));
    // Beacon lights.
    if (lit)
    {
        Point b = P(150, fy + fr + 2);
        r.FillCircle(b.x, b.y, 6 * s, Colour(1, 0.2f, 0.1f, 0.25f));
        r.FillCircle(b.x, b.y, 2.2f * s, Colour(1, 0.3f, 0.2f, 1));
        Point t = P(304, fy + 76);
        r.FillCircle(t.x, t.y, 2 * s, Colour(1, 1, 1, 1));
    }
}

void DrawCateringTruck(Raster& r, float x, float ground, float s, float lift)
{
    auto P = [&](float px, float py) { return Point{x + px * s, ground - py * s}; };
    // Chassis and cab.
    r.FillRoundRect(P(0, 26).x, P(0, 26).y, 100 * s, 10 * s, 2 * s, Colour::Hex(0x2E3236));
    r.FillRoundRect(P(72, 52).x, P(72, 52).y, 28 * s, 28 * s, 4 * s, palette::White());
    r.FillRoundRect(P(80, 48).x, P(80, 48).y, 17 * s, 12 * s, 2 * s, Colour::Hex(0x24313D));
    // Scissor lift.
    float top = 30 + lift * 40;
    r.Line(P(10, 28).x, P(10, 28).y, P(62, top).x, P(62, top).y, 3 * s, Colour::Hex(0x8A9096));
    r.Line(P(62, 28).x, P(62, 28).y, P(10, top).x, P(10, top).y, 3 * s, Colour::Hex(0x8A9096));
    // Box body with the service livery.
    r.FillRoundRect(P(2, top + 36).x, P(2, top + 36).y, 68 * s, 36 * s, 3 * s, palette::White());
    r.FillRect(P(2, top + 12).x, P(2, top + 12).y, 68 * s, 6 * s, palette::Orange());
    r.HazardStripes(P(2, top + 4).x, P(2, top + 4).y, 68 * s, 4 * s, 8 * s, palette::Yellow(), palette::Ink());
    r.FillRect(P(6, top + 6).x, P(6, top + 6).y, 60 * s, 1.5f * s, Colour(0, 0, 0, 0.15f));
    DrawWheel(r, P(18, 10).x, P(18, 10).y, 10 * s);
    DrawWheel(r, P(84, 10).x, P(84, 10).y, 10 * s);
    Point beacon = P(86, 55);
    r.FillCircle(beacon.x, beacon.y, 3 * s, palette::Orange());
}

void DrawFuelTruck(Raster& r, float x, float ground, float s)
{
    auto P = [&](float px, float py) { return Point{x + px * s, ground - py * s}; };
    r.FillRoundRect(P(0, 24).x, P(0, 24).y, 104 * s, 9 * s, 2 * s, Colour::Hex(0x2E3236));
    // Tank.
    r.FillRoundRect(P(0, 58).x, P(0, 58).y, 72 * s, 36 * s, 16 * s, [&](float, float py) {
        float t = (py - P(0, 58).y) / (36 * s);
        return Colour::Hex(0xE9ECEE).Lerp(Colour::Hex(0xA9B0B6), std::fmin(1.0f, std::fmax(0.0f, t)));
    });
    r.FillRect(P(4, 42).x, P(4, 42).y, 64 * s, 5 * s, palette::Red());
    r.Digits("1", P(30, 52).x, P(30, 52).y, 8 * s, 1.6f * s, Colour::Hex(0x30353A));
    // Cab.
    r.FillRoundRect(P(76, 54).x, P(76, 54).y, 28 * s, 30 * s, 4 * s, palette::Yellow());
    r.FillRoundRect(P(84, 50).x, P(84, 50).y, 17 * s, 12 * s, 2 * s, Colour::Hex(0x24313D));
    // Hose reel.
    r.FillCircle(P(72, 32).x, P(72, 32).y, 5 * s, Colour::Hex(0x1D1F21));
    DrawWheel(r, P(16, 10).x, P(16, 10).y, 10 * s);
    DrawWheel(r, P(40, 10).x, P(40, 10).y, 10 * s);
    DrawWheel(r, P(88, 10).x, P(88, 10).y, 10 * s);
    Point beacon = P(90, 57);
    r.FillCircle(beacon.x, beacon.y, 3 * s, palette::Orange());
}

void DrawBaggageTrain(Raster& r, float x, float ground, float s)
{
    auto P = [&](float px, float py) { return Point{x + px * s, ground - py * s}; };
    // Two trailers with bags, then the tug at the front (right).
    for (int i = 0; i < 2; ++i)
    {
        float ox = i * 38.0f;
        r.FillRoundRect(P(ox, 18).x, P(ox, 18).y, 34 * s, 6 * s, 1.5f * s, Colour::Hex(0x3E4347));
        Colour bags[] = {Colour::Hex(0x2F6DB5), Colour::Hex(0xC0392B), Colour::Hex(0x2E8B57), Colour::Hex(0x8E44AD)};
        for (int b = 0; b < 3; ++b)
        {
            float bh = 14 + ((b + i) % 2) * 5;
            r.FillRoundRect(P(ox + 2 + b * 10.5f, 18 + bh).x, P(ox + 2 + b * 10.5f, 18 + bh).y, 9.5f * s, bh * s, 2 * s,
                            bags[(b + i * 2) % 4]);
        }
        r.Line(P(ox + 1, 40).x, P(ox + 1, 40).y, P(ox + 1, 18).x, P(ox + 1, 18).y, 1.5f * s, Colour::Hex(0x9AA0A6));
        r.Line(P(ox + 33, 40).x, P(ox + 33, 40).y, P(ox + 33, 18).x, P(ox + 33, 18).y, 1.5f * s, Colour::Hex(0x9AA0A6));
        r.Line(P(ox + 1, 40).x, P(ox + 1, 40).y, P(ox + 33, 40).x, P(ox + 33, 40).y, 1.5f * s, Colour::Hex(0x9AA0A6));
        DrawWheel(r, P(ox + 7, 6).x, P(ox + 7, 6).y, 5.5f * s);
        DrawWheel(r, P(ox + 27, 6).x, P(ox + 27, 6).y, 5.5f * s);
        r.Line(P(ox + 34, 12).x, P(ox + 34, 12).y, P(ox + 38, 12).x, P(ox + 38, 12).y, 1.5f * s, Colour::Hex(0x222222));
    }
    float tx = 78.0f;
    r.FillRoundRect(P(tx, 24).x, P(tx, 24).y, 26 * s, 14 * s, 3 * s, palette::Orange());
    r.FillRoundRect(P(tx + 4, 40).x, P(tx + 4, 40).y, 12 * s, 16 * s, 2 * s, Colour::Hex(0x2A2E33));
    r.Line(P(tx + 5, 40).x, P(tx + 5, 40).y, P(tx + 16, 40).x, P(tx + 16, 40).y, 2 * s, palette::Orange());
    DrawWheel(r, P(tx + 6, 8).x, P(tx + 6, 8).y, 7.5f * s);
    DrawWheel(r, P(tx + 21, 8).x, P(tx + 21, 8).y, 7.5f * s);
    Point beacon = P(tx + 10, 42);
    r.FillCircle(beacon.x, beacon.y, 2.5f * s, palette::Yellow());
}

void DrawAircraftTop(Raster& r, float cx, float cy, float len, const Colour& c, bool wide)
{
    float w = len * (wide ? 0.13f : 0.11f);
    float span = len * (wide ? 1.0f : 0.95f);
    // Wings, swept back.
    r.FillPolygon({{cx - w * 0.4f, cy - len * 0.06f},
                   {cx - span * 0.5f, cy + len * 0.16f},
                   {cx - span * 0.5f, cy + len * 0.22f},
                   {cx, cy + len * 0.12f},
                   {cx + span * 0.5f, cy + len * 0.22f},
                   {cx + span * 0.5f, cy + len * 0.16f},
                   {cx + w * 0.4f, cy - len * 0.06f}},
                  c.Scaled(0.85f));
    // Tailplane.
    r.FillPolygon({{cx, cy + len * 0.36f},
                   {cx - len * 0.2f, cy + len * 0.46f},
                   {cx - len * 0.2f, cy + len * 0.5f},
                   {cx + len * 0.2f, cy + len * 0.5f},
                   {cx + len * 0.2f, cy + len * 0.46f}},
                  c.Scaled(0.85f));
    // Fuselage.
    r.FillRoundRect(cx - w * 0.5f, cy - len * 0.5f, w, len, w * 0.5f, c);
    // Engines.
    float ex = span * (wide ? 0.2f : 0.18f);
    r.FillRoundRect(cx - ex - w * 0.25f, cy + len * 0.02f, w * 0.5f, len * 0.12f, w * 0.2f, c.Scaled(0.7f));
    r.FillRoundRect(cx + ex - w * 0.25f, cy + len * 0.02f, w * 0.5f, len * 0.12f, w * 0.2f, c.Scaled(0.7f));
    if (wide)
    {
        r.FillRoundRect(cx - ex * 2 - w * 0.25f, cy + len * 0.08f, w * 0.5f, len * 0.11f, w * 0.2f, c.Scaled(0.7f));
        r.FillRoundRect(cx + ex * 2 - w * 0.25f, cy + len * 0.08f, w * 0.5f, len * 0.11f, w * 0.2f, c.Scaled(0.7f));
    }
}

} // namespace assetbuilder
