#include "Pictograms.h"

#include <cmath>
#include <vector>

namespace assetbuilder
{

namespace
{
const float kPi = 3.14159265f;
}

void DrawDroplet(Raster& r, float cx, float cy, float size, const Colour& c)
{
    float rad = size * 0.28f;
    float by = cy + size * 0.14f;
    r.FillShape(cx - rad, cy - size * 0.45f, cx + rad, by + rad,
                [=](float px, float py) {
                    float circle = std::hypot(px - cx, py - by) - rad;
                    // Cone from the tip to the tangent points of the circle.
                    std::vector<Point> cone = {{cx, cy - size * 0.45f}, {cx - rad * 0.94f, by - rad * 0.3f}, {cx + rad * 0.94f, by - rad * 0.3f}};
                    return std::fmin(circle, PolygonDistance(px, py, cone));
                },
                c);
}

void DrawSuitcase(Raster& r, float cx, float cy, float size, const Colour& c)
{
    float w = size * 0.72f, h = size * 0.5f;
    r.StrokeRoundRect(cx - size * 0.14f, cy - h * 0.5f - size * 0.14f, size * 0.28f, size * 0.22f, size * 0.06f, size * 0.06f, c);
    r.FillRoundRect(cx - w * 0.5f, cy - h * 0.5f, w, h, size * 0.07f, c);
    Colour strap = c.Scaled(0.55f);
    r.FillRect(cx - w * 0.25f, cy - h * 0.5f, size * 0.05f, h, strap);
    r.FillRect(cx + w * 0.25f - size * 0.05f, cy - h * 0.5f, size * 0.05f, h, strap);
}

void DrawWrench(Raster& r, float cx, float cy, float size, const Colour& c)
{
    float a = -kPi / 4.0f;
    float dx = std::cos(a), dy = std::sin(a);
    float len = size * 0.36f;
    float hx = cx - dx * len, hy = cy - dy * len;
    float tx = cx + dx * len, ty = cy + dy * len;
    r.Line(hx, hy, tx, ty, size * 0.14f, c);
    // Open jaw at the upper right end: a ring with a notch cut out.
    float jr = size * 0.17f;
    float jx = tx + dx * jr * 0.6f, jy = ty + dy * jr * 0.6f;
    r.FillShape(jx - jr * 2, jy - jr * 2, jx + jr * 2, jy + jr * 2,
                [=](float px, float py) {
                    float ring = std::hypot(px - jx, py - jy) - jr;
                    // Notch: slot along the handle direction, open at the far end.
                    float ux = px - jx, uy = py - jy;
                    float along = ux * dx + uy * dy;
                    float across = std::fabs(-ux * dy + uy * dx);
                    float notch = std::fmax(across - jr * 0.38f, -along);
                    return std::fmax(ring, -notch);
                },
                c);
    r.FillCircle(hx, hy, size * 0.1f, c);
}

void DrawTray(Raster& r, float cx, float cy, float size, const Colour& c)
{
    // Covered meal: dome on a tray.
    float w = size * 0.8f;
    r.FillRoundRect(cx - w * 0.5f, cy + size * 0.12f, w, size * 0.1f, size * 0.04f, c);
    r.FillShape(cx - w * 0.4f, cy - size * 0.3f, cx + w * 0.4f, cy + size * 0.12f,
                [=](float px, float py) {
                    float d = std::hypot(px - cx, py - (cy + size * 0.12f)) - w * 0.38f;
                    return std::fmax(d, py - (cy + size * 0.1f));
                },
                c);
    r.FillCircle(cx, cy - size * 0.3f, size * 0.06f, c);
}

void DrawWorkSign(Raster& r, float cx, float cy, float size, Work work, const Colour& c)
{
    switch (work)
    {
    case Work::Catering: DrawTray(r, cx, cy, size, c); break;
    case Work::Refuel: DrawDroplet(r, cx, cy, size, c); break;
    case Work::Baggage: DrawSuitcase(r, cx, cy, size, c); break;
    case Work::Repair: DrawWrench(r, cx, cy, size, c); break;
    }
}

void DrawStar(Raster& r, float cx, float cy, float outer, float inner, const Colour& c)
{
    std::vector<Point> pts;
    for (int i = 0; i < 10; ++i)
    {
        float a = -kPi / 2.0f + i * kPi / 5.0f;
        float rad = (i % 2 == 0) ? outer : inner;
        pts.push_back({cx + std::cos(a) * rad, cy + std::sin(a) * rad});
    }
    r.FillPolygon(pts, c);
}

void DrawClock(Raster& r, float cx, float cy, float size, const Colour& c)
{
    r.StrokeCircle(cx, cy, size * 0.38f, size * 0.1f, c);
    r.Line(cx, cy, cx, cy - size * 0.24f, size * 0.08f, c);
    r.Line(cx, cy, cx + size * 0.17f, cy + size * 0.06f, size * 0.08f, c);
}

void DrawGauge(Raster& r, float cx, float cy, float size, const Colour& c)
{
    float rad = size * 0.4f;
    r.FillShape(cx - rad - 2, cy - rad - 2, cx + rad + 2, cy + 2,
                [=](float px, float py) {
                    float ring = std::fabs(std::hypot(px - cx, py - cy) - rad * 0.85f) - size * 0.06f;
                    return std::fmax(ring, py - cy);
                },
                c);
    r.Line(cx, cy, cx + rad * 0.55f, cy - rad * 0.55f, size * 0.08f, c);
    r.FillCircle(cx, cy, size * 0.08f, c);
}

void DrawTarget(Raster& r, float cx, float cy, float size, const Colour& c)
{
    r.StrokeCircle(cx, cy, size * 0.36f, size * 0.07f, c);
    r.StrokeCircle(cx, cy, size * 0.2f, size * 0.07f, c);
    r.FillCircle(cx, cy, size * 0.07f, c);
    r.Line(cx - size * 0.48f, cy, cx - size * 0.28f, cy, size * 0.06f, c);
    r.Line(cx + size * 0.28f, cy, cx + size * 0.48f, cy, size * 0.06f, c);
    r.Line(cx, cy - size * 0.48f, cx, cy - size * 0.28f, size * 0.06f, c);
    r.Line(cx, cy + size * 0.28f, cx, cy + size * 0.48f, size * 0.06f, c);
}

void DrawFlag(Raster& r, float cx, float cy, float size)
{
    float x0 = cx - size * 0.3f, y0 = cy - size * 0.45f;
    r.Line(x0, y0, x0, cy + size * 0.45f, size * 0.08f, Colour(0.1f, 0.1f, 0.1f, 1));
    float cw = size * 0.6f / 4.0f, ch = size * 0.4f / 3.0f;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            r.FillRect(x0 + i * cw, y0 + j * ch, cw, ch, ((i + j) % 2) ? Colour(0.1f, 0.1f, 0.1f, 1) : Colour(1, 1, 1, 1));
}

} // namespace assetbuilder
