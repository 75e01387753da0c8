#include "Pictures.h"

#include "DdsWriter.h"
#include "Maps.h"
#include "MissionPlan.h"
#include "Palette.h"
#include "Pictograms.h"
#include "PngWriter.h"
#include "Raster.h"
#include "Sprites.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace assetbuilder
{

namespace
{

void Glow(Raster& r, float cx, float cy, float radius, const Colour& c)
{
    r.FillShape(cx - radius, cy - radius, cx + radius, cy + radius,
                [=](float px, float py) { return std::hypot(px - cx, py - cy) - radius; },
                [=](float px, float py) {
                    float t = 1.0f - std::min(1.0f, std::hypot(px - cx, py - cy) / radius);
                    return c.WithAlpha(c.a * t * t);
                });
}

// ---------------------------------------------------------------- menu

Raster MenuBackground()
{
    const int W = 1600, H = 1000;
    const float horizon = H * 0.6f;
    Raster r(W, H);
    // Dusk sky.
    struct Stop
    {
        float t;
        Colour c;
    };
    const Stop sky[] = {{0.0f, Colour::Hex(0x0B1026)}, {0.3f, Colour::Hex(0x1F2550)}, {0.45f, Colour::Hex(0x5A3763)},
                        {0.53f, Colour::Hex(0xC2604A)}, {0.6f, Colour::Hex(0xFFB060)}};
    r.FillShape(0, 0, W, horizon + 1, [=](float px, float py) { return RoundRectDistance(px, py, 0, 0, W, horizon + 1, 0); },
                [&](float, float py) {
                    float t = py / H;
                    for (size_t i = 1; i < 5; ++i)
                        if (t <= sky[i].t)
                            return sky[i - 1].c.Lerp(sky[i].c, (t - sky[i - 1].t) / (sky[i].t - sky[i - 1].t));
                    return sky[4].c;
                });
    // Stars in the upper sky.
    Random rng(7);
    for (int i = 0; i < 140; ++i)
    {
        float x = rng.Range(0, W), y = rng.Range(0, H * 0.3f);
        r.FillCircle(x, y, rng.Range(0.5f, 1.3f), Colour(1, 1, 1, rng.Range(0.3f, 0.9f) * (1.0f - y / (H * 0.3f))));
    }
    // Setting sun behind the terminal.
    Glow(r, W * 0.7f, horizon, 520, Colour::Hex(0xFF8A3D, 0.55f));
    Glow(r, W * 0.7f, horizon, 160, Colour::Hex(0xFFE2A0, 0.9f));

    // Terminal and tower silhouettes on the horizon.
    Colour silhouette = Colour::Hex(0x1A1C26);
    r.FillRect(W * 0.28f, horizon - 64, W * 0.72f, 64, silhouette);
    r.FillRect(W * 0.45f, horizon - 92, W * 0.2f, 30, silhouette);
    for (float x = W * 0.29f; x < W - 10; x += 18)
        for (float y = horizon - 54; y < horizon - 10; y += 16)
            if (rng.Uniform() < 0.55f)
                r.FillRect(x, y, 11, 7, Colour::Hex(0xFFD58A, rng.Range(0.35f, 0.85f)));
    float tx = W * 0.88f;
    r.FillPolygon({{tx - 16, horizon}, {tx + 16, horizon}, {tx + 10, horizon - 230}, {tx - 10, horizon - 230}}, silhouette);
    r.FillPolygon({{tx - 44, horizon - 232}, {tx + 44, horizon - 232}, {tx + 36, horizon - 284}, {tx - 36, horizon - 284}}, silhouette);
    r.FillRect(tx - 36, horizon - 272, 72, 26, Colour::Hex(0x7FE0D8, 0.55f));
    r.FillRect(tx - 48, horizon - 294, 96, 12, silhouette);
    r.Line(tx, horizon - 294, tx, horizon - 330, 3, silhouette);
    Glow(r, tx, horizon - 330, 22, Colour(1, 0.2f, 0.15f, 0.9f));

    // Apron with perspective markings towards a vanishing point.
    r.FillShape(0, horizon, W, H, [=](float px, float py) { return RoundRectDistance(px, py, 0, horizon, W, H - horizon, 0); },
                [=](float, float py) {
                    float t = (py - horizon) / (H - horizon);
                    return Colour::Hex(0x55535A).Lerp(Colour::Hex(0x1B1D21), std::pow(t, 0.6f));
                });
    // Warm sheen of the sunset on the concrete.
    Glow(r, W * 0.7f, horizon + 20, 420, Colour::Hex(0xFF9A50, 0.25f));
    const float vx = W * 0.62f;
    for (int i = -6; i <= 8; ++i)
    {
        float bx = vx + i * 420.0f;
        // Only the part below the horizon, fading into the distance.
        for (int s = 0; s < 24; ++s)
        {
            float t0 = s / 24.0f, t1 = (s + 0.6f) / 24.0f;
            float y0 = horizon + (H - horizon) * t0 * t0, y1 = horizon + (H - horizon) * t1 * t1;
            float x0 = vx + (bx - vx) * (y0 - horizon) / (H - horizon);
            float x1 = vx + (bx - vx) * (y1 - horizon) / (H - horizon);
            if (i % 3 == 0)
                r.Line(x0, y0, x1, y1, 1.0f + 5.0f * t1, palette::Yellow().WithAlpha(0.25f + 0.5f * t1));
        }
    }
    // Stand line curving in towards the aircraft.
    std::vector<Point> lead;
    for (int i = 0; i <= 30; ++i)
    {
        float t = i / 30.0f;
        lead.push_back({W * (0.05f + 0.95f * t), H * 0.97f - (H * 0.97f - H * 0.875f) * std::sqrt(t)});
    }
    r.Polyline(lead, 7, palette::Yellow().WithAlpha(0.75f));
    // Floodlight masts.
    for (float mx : {W * 0.2f, W * 0.5f, W * 0.97f})
    {
        r.Line(mx, horizon + 30, mx, horizon - 250, 4, Colour::Hex(0x15171C));
        r.FillRect(mx - 18, horizon - 262, 36, 12, Colour::Hex(0x15171C));
        Glow(r, mx, horizon - 256, 90, Colour::Hex(0xFFF2C8, 0.55f));
        Glow(r, mx, horizon - 256, 20, Colour::Hex(0xFFFFFF, 0.95f));
        Glow(r, mx, horizon + 120, 260, Colour::Hex(0xFFE8B0, 0.12f));
    }

    // The aircraft being turned round.
    float ground = H * 0.86f;
    DrawFuelTruck(r, W * 0.86f, ground - 50, 1.2f);
    DrawAirliner(r, W * 0.43f, ground, 2.7f, Colour::Hex(0xE8ECF0), palette::Orange(), true);
    // Catering truck at the forward door, just behind the cockpit.
    DrawCateringTruck(r, W * 0.43f + 26 * 2.7f, ground + 8, 1.75f, 1.0f);
    // Safety cones at the nose and under the engine.
    auto cone = [&](float cx, float base, float h) {
        r.FillRoundRect(cx - h * 0.42f, base - h * 0.08f, h * 0.84f, h * 0.1f, 2, Colour::Hex(0x1B1D20));
        r.FillPolygon({{cx - h * 0.3f, base - h * 0.06f}, {cx + h * 0.3f, base - h * 0.06f}, {cx + h * 0.07f, base - h}, {cx - h * 0.07f, base - h}},
                      palette::Orange());
        r.FillPolygon({{cx - h * 0.2f, base - h * 0.42f}, {cx + h * 0.2f, base - h * 0.42f}, {cx + h * 0.15f, base - h * 0.6f}, {cx - h * 0.15f, base - h * 0.6f}},
                      palette::White());
    };
    cone(W * 0.43f - 30, ground + 30, 34);
    cone(W * 0.43f + 150 * 2.7f, ground + 22, 30);
    DrawBaggageTrain(r, W * 0.66f, ground + 80, 1.7f);
    // Shadows on the ground under the machines.
    r.FillRoundRect(W * 0.42f, ground + 2, 820, 10, 5, Colour(0, 0, 0, 0.25f));

    // Darker left side so the menu column stands out; light vignette around.
    r.FillShape(0, 0, W, H, [=](float px, float py) { return RoundRectDistance(px, py, 0, 0, W, H, 0); },
                [=](float px, float py) {
                    float left = std::max(0.0f, 1.0f - px / (W * 0.45f));
                    float dx = px / W - 0.5f, dy = py / H - 0.5f;
                    float vignette = std::min(1.0f, (dx * dx + dy * dy) * 1.2f);
                    return Colour(0.03f, 0.04f, 0.06f, std::min(0.85f, left * left * 0.85f + vignette * 0.5f));
                });
    r.Grain(0.018f, 99);
    return r;
}

// ---------------------------------------------------------------- portrait

Raster Portrait()
{
    const int S = 128;
    Raster r(S, S);
    r.FillRoundRect(0, 0, S, S, 10, [&](float, float py) { return Colour::Hex(0x2C4A6E).Lerp(Colour::Hex(0x15202E), py / S); });
    Glow(r, 40, 30, 80, Colour::Hex(0xFFB060, 0.35f));
    // Shoulders in a high-visibility vest.
    r.FillRoundRect(14, 92, 100, 60, 26, palette::Yellow());
    r.FillRect(14, 106, 100, 6, Colour::Hex(0xD9DEE2));
    r.FillRect(14, 118, 100, 6, Colour::Hex(0xD9DEE2));
    r.FillPolygon({{50, 92}, {78, 92}, {64, 114}}, Colour::Hex(0x2B3A4A));
    // Neck and face.
    r.FillRoundRect(54, 76, 20, 22, 6, Colour::Hex(0xC98E6A));
    r.FillRoundRect(40, 30, 48, 56, 22, Colour::Hex(0xE0A97F));
    // Hair and cap.
    r.FillRoundRect(38, 22, 52, 22, 10, Colour::Hex(0x3A2A20));
    r.FillRoundRect(36, 20, 56, 16, 8, palette::Orange());
    r.FillRoundRect(60, 28, 40, 7, 3, palette::OrangeDark());
    // Eyes, brows, smile.
    r.FillCircle(56, 56, 3, Colour::Hex(0x1E1E1E));
    r.FillCircle(72, 56, 3, Colour::Hex(0x1E1E1E));
    r.Line(51, 49, 60, 48, 2, Colour::Hex(0x3A2A20));
    r.Line(68, 48, 77, 49, 2, Colour::Hex(0x3A2A20));
    r.Polyline({{56, 70}, {64, 74}, {72, 70}}, 2.2f, Colour::Hex(0x8A4A3A));
    // Ear defenders with the headband.
    r.StrokeCircle(64, 58, 30, 4, Colour::Hex(0x2A2D31));
    r.FillRoundRect(30, 48, 14, 24, 6, palette::Orange());
    r.FillRoundRect(84, 48, 14, 24, 6, palette::Orange());
    // Radio on the vest.
    r.FillRoundRect(84, 100, 12, 20, 3, Colour::Hex(0x1B1D20));
    r.Line(92, 100, 92, 90, 2, Colour::Hex(0x1B1D20));
    r.StrokeRoundRect(0, 0, S, S, 10, 3, palette::Yellow());
    return r;
}

// ---------------------------------------------------------------- thumbnails

Raster Thumbnail(const MissionPlanEntry& e)
{
    const int W = 96, H = 64;
    Raster r(W, H);
    float hue = (e.number - 1) / 24.0f;
    Colour top = Colour::Hex(0x2B3560).Lerp(Colour::Hex(0x6A3A58), hue);
    r.FillRoundRect(0, 0, W, H, 6, [&](float, float py) {
        float t = py / H;
        if (t < 0.62f)
            return top.Lerp(Colour::Hex(0xF29A4A), t / 0.62f);
        return Colour::Hex(0x4C4E55).Lerp(Colour::Hex(0x2A2C31), (t - 0.62f) / 0.38f);
    });
    // A parked aircraft tail in the background.
    r.FillPolygon({{70, 40}, {80, 40}, {90, 14}, {84, 14}}, Colour::Hex(0xE8ECF0));
    r.FillRect(40, 34, 56, 8, Colour::Hex(0xE8ECF0));
    switch (e.vehicle)
    {
    case Vehicle::Catering: DrawCateringTruck(r, 20, 60, 0.5f, 0.4f); break;
    case Vehicle::Fuel: DrawFuelTruck(r, 20, 60, 0.5f); break;
    case Vehicle::Baggage: DrawBaggageTrain(r, 18, 60, 0.5f); break;
    }
    // Mission number badge.
    std::string digits = std::to_string(e.number);
    float bw = digits.size() * 8.5f + 8;
    r.FillRoundRect(3, 3, bw, 18, 4, Colour::Hex(0x15181B, 0.9f));
    r.Digits(digits, 7, 6, 12, 2.0f, palette::Yellow());
    // One sign per job.
    // Long missions get their signs packed tighter so the badge stays clear.
    float step = e.jobs.size() > 3 ? 14.0f : 17.0f;
    float radius = e.jobs.size() > 3 ? 6.8f : 8.0f;
    float x = W - 11;
    for (auto it = e.jobs.rbegin(); it != e.jobs.rend(); ++it)
    {
        r.FillCircle(x, 11, radius, Colour::Hex(0x15181B, 0.85f));
        DrawWorkSign(r, x, 11, radius * 1.35f, it->work, palette::White());
        x -= step;
    }
    r.StrokeRoundRect(0, 0, W, H, 6, 1.5f, Colour(0, 0, 0, 0.6f));
    return r;
}

// ---------------------------------------------------------------- achievements

Raster AchievementIcon(int n)
{
    const int S = 64;
    Raster r(S, S);
    float c = S * 0.5f;
    // Badge: yellow rim, orange face, a tab at the top like a ground-crew tag.
    r.FillCircle(c + 1, c + 2, 29, Colour(0, 0, 0, 0.4f));
    r.FillCircle(c, c, 29, palette::Yellow());
    r.FillShape(c - 26, c - 26, c + 26, c + 26, [=](float px, float py) { return std::hypot(px - c, py - c) - 24.5f; },
                [=](float, float py) { return Colour::Hex(0xFF8A2E).Lerp(Colour::Hex(0xC9500C), (py - (c - 25)) / 50.0f); });
    r.StrokeCircle(c, c, 21, 1.2f, Colour(1, 1, 1, 0.35f));
    Colour ink = palette::White();
    auto digits = [&](const std::string& d, float h) {
        float w = d.size() * (h * 0.5f + h * 0.12f * 1.6f) - h * 0.12f * 1.6f;
        r.Digits(d, c - w * 0.5f, c - h * 0.5f, h, h * 0.12f, ink);
    };
    switch (n)
    {
    case 1:
        DrawFlag(r, c + 2, c, 30);
        break;
    case 2:
        DrawDroplet(r, c - 11, c + 4, 18, ink);
        DrawDroplet(r, c, c - 5, 18, ink);
        DrawDroplet(r, c + 11, c + 4, 18, ink);
        break;
    case 3:
        DrawSuitcase(r, c, c - 8, 22, ink);
        DrawSuitcase(r, c - 10, c + 9, 20, ink);
        DrawSuitcase(r, c + 10, c + 9, 20, ink);
        break;
    case 4:
        DrawTray(r, c, c + 1, 34, ink);
        break;
    case 5:
        digits("5", 26);
        break;
    case 6:
        digits("12", 24);
        break;
    case 7:
        digits("12", 20);
        for (int i = 0; i < 5; ++i)
            DrawStar(r, c - 14 + i * 7, c + 17, 3.2f, 1.4f, palette::Yellow());
        break;
    case 8:
        DrawTarget(r, c, c, 36, ink);
        break;
    case 9:
        DrawTarget(r, c - 3, c + 3, 30, ink);
        DrawStar(r, c + 12, c - 12, 8, 3.5f, palette::Yellow());
        break;
    default:
        DrawStar(r, c, c + 1, 17, 7.5f, ink);
        break;
    }
    return r;
}

// ---------------------------------------------------------------- HUD and mini-games

Raster Scale(int w, int h, const std::function<Colour(float)>& colourAt, int ticks)
{
    Raster r(w, h);
    r.FillRoundRect(0, 0, w, h, 6, Colour::Hex(0x0F1214));
    r.FillRoundRect(3, 3, w - 6, h - 6, 4, [&](float px, float) { return colourAt(std::clamp((px - 3) / (w - 6), 0.0f, 1.0f)); });
    r.FillRoundRect(3, 3, w - 6, (h - 6) * 0.4f, 4, Colour(1, 1, 1, 0.12f));
    for (int i = 1; i < ticks; ++i)
    {
        float x = 3 + (w - 6) * i / static_cast<float>(ticks);
        float len = (i % 5 == 0) ? h * 0.45f : h * 0.25f;
        r.Line(x, h - 3, x, h - 3 - len, 1.5f, Colour(0, 0, 0, 0.55f));
    }
    r.StrokeRoundRect(0, 0, w, h, 6, 1.5f, Colour::Hex(0x6A727A));
    return r;
}

Raster VerticalScale(int w, int h)
{
    Raster r(w, h);
    r.FillRoundRect(0, 0, w, h, 6, Colour::Hex(0x0F1214));
    r.FillRoundRect(4, 4, w - 8, h - 8, 4, [&](float, float py) {
        float t = (py - 4) / (h - 8);
        return Colour::Hex(0x3FA9F5).Lerp(Colour::Hex(0x1D3C5A), t);
    });
    for (int i = 1; i < 20; ++i)
    {
        float y = 4 + (h - 8) * i / 20.0f;
        float len = (i % 5 == 0) ? w * 0.5f : w * 0.28f;
        r.Line(4, y, 4 + len, y, 1.5f, Colour(1, 1, 1, 0.45f));
    }
    r.StrokeRoundRect(0, 0, w, h, 6, 1.5f, Colour::Hex(0x6A727A));
    return r;
}

Raster Needle(int w, int h)
{
    Raster r(w, h);
    float c = w * 0.5f;
    r.FillRect(c - 2, 4, 4, h - 8, Colour(0, 0, 0, 0.5f));
    r.FillRect(c - 1.5f, 3, 3, h - 6, palette::White());
    r.FillPolygon({{0, 0}, {static_cast<float>(w), 0}, {c, w * 0.6f}}, palette::Yellow());
    r.FillPolygon({{0, static_cast<float>(h)}, {static_cast<float>(w), static_cast<float>(h)}, {c, h - w * 0.6f}}, palette::Yellow());
    return r;
}

Raster ArrowDown(int w, int h)
{
    Raster r(w, h);
    std::vector<Point> pts = {{w * 0.5f, static_cast<float>(h) - 1}, {1, h * 0.45f}, {w * 0.3f, h * 0.45f}, {w * 0.3f, 1},
                              {w * 0.7f, 1}, {w * 0.7f, h * 0.45f}, {static_cast<float>(w) - 1, h * 0.45f}};
    r.FillPolygon(pts, palette::Yellow());
    r.Polyline({pts[0], pts[1], pts[2], pts[3], pts[4], pts[5], pts[6], pts[0]}, 1.5f, palette::Ink());
    return r;
}

Raster ArrowLeft(int w, int h)
{
    Raster r(w, h);
    std::vector<Point> pts = {{1, h * 0.5f}, {w * 0.45f, 1}, {w * 0.45f, h * 0.3f}, {static_cast<float>(w) - 1, h * 0.3f},
                              {static_cast<float>(w) - 1, h * 0.7f}, {w * 0.45f, h * 0.7f}, {w * 0.45f, static_cast<float>(h) - 1}};
    r.FillPolygon(pts, palette::Yellow());
    r.Polyline({pts[0], pts[1], pts[2], pts[3], pts[4], pts[5], pts[6], pts[0]}, 1.5f, palette::Ink());
    return r;
}

Raster Zone(int w, int h)
{
    Raster r(w, h);
    r.FillRect(0, 0, w, h, palette::Green().WithAlpha(0.45f));
    r.FillRect(0, 0, 2, h, palette::Green());
    r.FillRect(w - 2, 0, 2, h, palette::Green());
    if (h < w)
    {
        r.FillRect(0, 0, w, 2, palette::Green());
        r.FillRect(0, h - 2, w, 2, palette::Green());
    }
    return r;
}

Raster HudIcon(const std::function<void(Raster&)>& paint)
{
    Raster r(32, 32);
    paint(r);
    return r;
}

Raster MiniGameIcon(Work work)
{
    Raster r(48, 48);
    r.FillRoundRect(0, 0, 48, 48, 10, [](float, float py) { return palette::OrangeLight().Lerp(palette::OrangeDark(), py / 48.0f); });
    r.StrokeRoundRect(0, 0, 48, 48, 10, 2, palette::Yellow());
    DrawWorkSign(r, 24, 24, 32, work, palette::White());
    return r;
}

Raster KeyCap(int w, const std::function<void(Raster&, float, float)>& glyph)
{
    const int h = 32;
    Raster r(w, h);
    r.FillRoundRect(0, 0, w, h, 6, Colour::Hex(0x0C0E10));
    r.FillRoundRect(1, 1, w - 2, h - 4, 5, [&](float, float py) { return Colour::Hex(0xF2F2EE).Lerp(Colour::Hex(0xC9CCCF), py / h); });
    glyph(r, w * 0.5f, h * 0.45f);
    return r;
}

void KeyArrow(Raster& r, float cx, float cy, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    auto P = [&](float x, float y) { return Point{cx + x * c - y * s, cy + x * s + y * c}; };
    r.FillPolygon({P(8, 0), P(-2, -7), P(-2, -2.5f), P(-8, -2.5f), P(-8, 2.5f), P(-2, 2.5f), P(-2, 7)}, palette::Ink());
}

// The generated mission file wins over the plan: its vehicle and its mini-games.
MissionPlanEntry FromWorld(MissionPlanEntry entry, const RouteSet& routes)
{
    auto it = routes.missions.find(entry.number);
    if (it == routes.missions.end())
        return entry;
    const MissionRoute& route = it->second;
    if (route.vehicle == "CateringTruck")
        entry.vehicle = Vehicle::Catering;
    else if (route.vehicle == "FuelTruck")
        entry.vehicle = Vehicle::Fuel;
    else if (route.vehicle == "BaggageCart")
        entry.vehicle = Vehicle::Baggage;
    std::vector<Job> jobs;
    for (const RouteStep& step : route.steps)
    {
        if (step.kind != "game")
            continue;
        Work work = Work::Catering;
        if (step.name == "PumpState")
            work = Work::Refuel;
        else if (step.name == "BaggageState")
            work = Work::Baggage;
        else if (step.name == "RepairState")
            work = Work::Repair;
        jobs.push_back({work, ""});
    }
    if (!jobs.empty())
        entry.jobs = jobs;
    return entry;
}

} // namespace

std::vector<std::string> PictureNames()
{
    std::vector<std::string> names = {"main_menu_bg.dds", "character1.png", "map_overview.png"};
    for (int i = 1; i <= 25; ++i)
    {
        names.push_back("mission" + std::to_string(i) + "_thumbnail.png");
        names.push_back("mission" + std::to_string(i) + "_map.png");
    }
    for (int i = 1; i <= 10; ++i)
        names.push_back("icon_achievement" + std::to_string(i) + ".png");
    const char* fixed[] = {"scale_repair.png",  "scale_baggage.png", "scale_pump.png",     "scale_catering_load.png",
                           "scale_catering_lift.png", "marker_needle.png", "marker_pump.png", "marker_lift.png",
                           "zone_hit.png",      "zone_lift.png",     "icon_time.png",      "icon_speed.png",
                           "icon_score.png",    "icon_distance.png", "icon_perfection.png", "mg_catering.png",
                           "mg_fuel.png",       "mg_baggage.png",    "mg_repair.png",      "key_left.png",
                           "key_right.png",     "key_up.png",        "key_down.png",       "key_space.png",
                           "key_esc.png",       "key_h.png"};
    names.insert(names.end(), std::begin(fixed), std::end(fixed));
    return names;
}

bool BuildPictures(const std::string& dir, const RouteSet& routes)
{
    std::map<std::string, std::function<Raster()>> jobs;
    jobs["main_menu_bg.dds"] = MenuBackground;
    jobs["character1.png"] = Portrait;
    jobs["map_overview.png"] = [&routes]() { return DrawApronOverview(routes); };
    for (const MissionPlanEntry& e : MissionPlan())
    {
        jobs["mission" + std::to_string(e.number) + "_thumbnail.png"] = [&routes, e]() { return Thumbnail(FromWorld(e, routes)); };
        jobs["mission" + std::to_string(e.number) + "_map.png"] = [&routes, e]() { return DrawMissionMap(e.number, routes); };
    }
    for (int i = 1; i <= 10; ++i)
        jobs["icon_achievement" + std::to_string(i) + ".png"] = [i]() { return AchievementIcon(i); };

    jobs["scale_repair.png"] = [] {
        return Scale(480, 36, [](float t) { return Colour::Hex(0x39424B).Lerp(Colour::Hex(0x56616C), t); }, 20);
    };
    jobs["scale_baggage.png"] = [] {
        return Scale(480, 36, [](float t) { return Colour::Hex(0x2E3A5A).Lerp(palette::Green(), t); }, 10);
    };
    jobs["scale_pump.png"] = [] {
        return Scale(480, 36, [](float t) {
            return t < 0.6f ? Colour::Hex(0x2E7D32).Lerp(palette::Yellow(), t / 0.6f) : palette::Yellow().Lerp(palette::Red(), (t - 0.6f) / 0.4f);
        }, 20);
    };
    jobs["scale_catering_load.png"] = [] {
        return Scale(480, 36, [](float t) { return Colour::Hex(0x1D3C5A).Lerp(Colour::Hex(0x3FA9F5), t); }, 10);
    };
    jobs["scale_catering_lift.png"] = [] { return VerticalScale(56, 220); };
    jobs["marker_needle.png"] = [] { return Needle(16, 36); };
    jobs["marker_pump.png"] = [] { return ArrowDown(24, 36); };
    jobs["marker_lift.png"] = [] { return ArrowLeft(36, 24); };
    jobs["zone_hit.png"] = [] { return Zone(32, 36); };
    jobs["zone_lift.png"] = [] { return Zone(56, 16); };
    jobs["icon_time.png"] = [] { return HudIcon([](Raster& r) { DrawClock(r, 16, 16, 30, palette::Yellow()); }); };
    jobs["icon_speed.png"] = [] { return HudIcon([](Raster& r) { DrawGauge(r, 16, 20, 32, palette::Yellow()); }); };
    jobs["icon_score.png"] = [] { return HudIcon([](Raster& r) { DrawStar(r, 16, 17, 14, 6, palette::Yellow()); }); };
    jobs["icon_distance.png"] = [] { return HudIcon([](Raster& r) { DrawTarget(r, 16, 16, 30, palette::Yellow()); }); };
    jobs["icon_perfection.png"] = [] {
        return HudIcon([](Raster& r) {
            r.StrokeRoundRect(4, 6, 24, 20, 3, 2.5f, palette::Yellow());
            r.Line(16, 2, 16, 30, 2, palette::Yellow());
        });
    };
    jobs["mg_catering.png"] = [] { return MiniGameIcon(Work::Catering); };
    jobs["mg_fuel.png"] = [] { return MiniGameIcon(Work::Refuel); };
    jobs["mg_baggage.png"] = [] { return MiniGameIcon(Work::Baggage); };
    jobs["mg_repair.png"] = [] { return MiniGameIcon(Work::Repair); };
    jobs["key_left.png"] = [] { return KeyCap(32, [](Raster& r, float x, float y) { KeyArrow(r, x, y, 3.14159265f); }); };
    jobs["key_right.png"] = [] { return KeyCap(32, [](Raster& r, float x, float y) { KeyArrow(r, x, y, 0); }); };
    jobs["key_up.png"] = [] { return KeyCap(32, [](Raster& r, float x, float y) { KeyArrow(r, x, y, -1.5707963f); }); };
    jobs["key_down.png"] = [] { return KeyCap(32, [](Raster& r, float x, float y) { KeyArrow(r, x, y, 1.5707963f); }); };
    jobs["key_space.png"] = [] {
        return KeyCap(96, [](Raster& r, float x, float y) { r.Polyline({{x - 20, y - 3}, {x - 20, y + 4}, {x + 20, y + 4}, {x + 20, y - 3}}, 2.5f, palette::Ink()); });
    };
    jobs["key_esc.png"] = [] {
        return KeyCap(32, [](Raster& r, float x, float y) {
            r.Line(x - 6, y - 6, x + 6, y + 6, 2.5f, palette::Ink());
            r.Line(x - 6, y + 6, x + 6, y - 6, 2.5f, palette::Ink());
        });
    };
    jobs["key_h.png"] = [] { return KeyCap(32, [](Raster& r, float x, float y) { r.Digits("H", x - 4.5f, y - 7, 14, 2.2f, palette::Ink()); }); };

    bool ok = true;
    for (const std::string& name : PictureNames())
    {
        auto job = jobs.find(name);
        if (job == jobs.end())
        {
            std::fprintf(stderr, "assetbuilder: no painter for %s\n", name.c_str());
            ok = false;
            continue;
        }
        // The menu's background is drawn at the first frame: a DDS needs no
        // decoding, where this PNG took the start 50-80 ms.
        const bool dds = name.size() > 4 && name.compare(name.size() - 4, 4, ".dds") == 0;
        if (!(dds ? WriteDds(dir + "/" + name, job->second()) : WritePng(dir + "/" + name, job->second())))
            ok = false;
    }
    return ok;
}

} // namespace assetbuilder
