#include "Raster.h"

#include <algorithm>
#include <cmath>

namespace assetbuilder
{

Colour Colour::Hex(uint32_t rgb, float alpha)
{
    return Colour(((rgb >> 16) & 0xff) / 255.0f, ((rgb >> 8) & 0xff) / 255.0f, (rgb & 0xff) / 255.0f, alpha);
}

Colour Colour::Lerp(const Colour& o, float t) const
{
    return Colour(r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t);
}

uint32_t Random::Next()
{
    // PCG-style step and output permutation.
    uint32_t old = m_state;
    m_state = old * 747796405u + 2891336453u;
    uint32_t word = ((old >> ((old >> 28u) + 4u)) ^ old) * 277803737u;
    return (word >> 22u) ^ word;
}

Raster::Raster(int width, int height, const Colour& fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill)
{
}

Colour Raster::Get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return Colour(0, 0, 0, 0);
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

void Raster::Set(int x, int y, const Colour& c)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[static_cast<size_t>(y) * m_width + x] = c;
}

void Raster::Blend(int x, int y, const Colour& c, float coverage)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    float sa = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (sa <= 0.0f)
        return;
    Colour& d = m_pixels[static_cast<size_t>(y) * m_width + x];
    float outA = sa + d.a * (1.0f - sa);
    if (outA <= 0.0f)
    {
        d = Colour(0, 0, 0, 0);
        return;
    }
    d.r = (c.r * sa + d.r * d.a * (1.0f - sa)) / outA;
    d.g = (c.g * sa + d.g * d.a * (1.0f - sa)) / outA;
    d.b = (c.b * sa + d.b * d.a * (1.0f - sa)) / outA;
    d.a = outA;
}

void Raster::FillShape(float x0, float y0, float x1, float y1, const DistanceFn& distance, const ShaderFn& shader)
{
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    int ix1 = std::min(m_width - 1, static_cast<int>(std::ceil(x1)) + 1);
    int iy1 = std::min(m_height - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y <= iy1; ++y)
    {
        for (int x = ix0; x <= ix1; ++x)
        {
            float px = x + 0.5f;
            float py = y + 0.5f;
            float d = distance(px, py);
            float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (coverage > 0.0f)
                Blend(x, y, shader(px, py), coverage);
        }
    }
}

void Raster::FillShape(float x0, float y0, float x1, float y1, const DistanceFn& distance, const Colour& colour)
{
    FillShape(x0, y0, x1, y1, distance, [&colour](float, float) { return colour; });
}

float RoundRectDistance(float px, float py, float x, float y, float w, float h, float radius)
{
    radius = std::min(radius, std::min(w, h) * 0.5f);
    float cx = x + w * 0.5f;
    float cy = y + h * 0.5f;
    float qx = std::fabs(px - cx) - (w * 0.5f - radius);
    float qy = std::fabs(py - cy) - (h * 0.5f - radius);
    float ox = std::max(qx, 0.0f);
    float oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1)
{
    float dx = x1 - x0;
    float dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    float ex = px - (x0 + t * dx);
    float ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

float PolygonDistance(float px, float py, const std::vector<Point>& pts)
{
    float best = 1e30f;
    bool inside = false;
    size_t n = pts.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++)
    {
        const Point& a = pts[i];
        const Point& b = pts[j];
        best = std::min(best, SegmentDistance(px, py, a.x, a.y, b.x, b.y));
        if (((a.y > py) != (b.y > py)) && (px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x))
            inside = !inside;
    }
    return inside ? -best : best;
}

void Raster::FillRect(float x, float y, float w, float h, const Colour& c)
{
    FillShape(x, y, x + w, y + h, [=](float px, float py) { return RoundRectDistance(px, py, x, y, w, h, 0.0f); }, c);
}

void Raster::FillRoundRect(float x, float y, float w, float h, float radius, const Colour& c)
{
    FillShape(x, y, x + w, y + h, [=](float px, float py) { return RoundRectDistance(px, py, x, y, w, h, radius); }, c);
}

void Raster::FillRoundRect(float x, float y, float w, float h, float radius, const ShaderFn& shader)
{
    FillShape(x, y, x + w, y + h, [=](float px, float py) { return RoundRectDistance(px, py, x, y, w, h, radius); }, shader);
}

void Raster::StrokeRoundRect(float x, float y, float w, float h, float radius, float width, const Colour& c)
{
    // The stroke lies inside the rectangle so that nine-slice borders stay in their cell.
    float half = width * 0.5f;
    FillShape(x, y, x + w, y + h,
              [=](float px, float py) {
                  return std::fabs(RoundRectDistance(px, py, x + half, y + half, w - width, h - width, std::max(0.0f, radius - half))) - half;
              },
              c);
}

void Raster::FillCircle(float cx, float cy, float radius, const Colour& c)
{
    FillShape(cx - radius, cy - radius, cx + radius, cy + radius,
              [=](float px, float py) { return std::hypot(px - cx, py - cy) - radius; }, c);
}

void Raster::StrokeCircle(float cx, float cy, float radius, float width, const Colour& c)
{
    float r = radius + width;
    FillShape(cx - r, cy - r, cx + r, cy + r,
              [=](float px, float py) { return std::fabs(std::hypot(px - cx, py - cy) - radius) - width * 0.5f; }, c);
}

void Raster::Line(float x0, float y0, float x1, float y1, float width, const Colour& c)
{
    float half = width * 0.5f;
    FillShape(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half, std::max(y0, y1) + half,
              [=](float px, float py) { return SegmentDistance(px, py, x0, y0, x1, y1) - half; }, c);
}

void Raster::Polyline(const std::vector<Point>& points, float width, const Colour& c)
{
    if (points.size() < 2)
        return;
    float half = width * 0.5f;
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (const Point& p : points)
    {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    // One shape for the whole line, so joints do not double-blend.
    FillShape(x0 - half, y0 - half, x1 + half, y1 + half,
              [&points, half](float px, float py) {
                  float best = 1e30f;
                  for (size_t i = 1; i < points.size(); ++i)
                      best = std::min(best, SegmentDistance(px, py, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y));
                  return best - half;
              },
              c);
}

void Raster::DashedPolyline(const std::vector<Point>& points, float width, float dash, float gap, const Colour& c)
{
    float phase = 0.0f;
    for (size_t i = 1; i < points.size(); ++i)
    {
        float dx = points[i].x - points[i - 1].x;
        float dy = points[i].y - points[i - 1].y;
        float len = std::hypot(dx, dy);
        if (len <= 0.0f)
            continue;
        float ux = dx / len;
        float uy = dy / len;
        float t = 0.0f;
        while (t < len)
        {
            float period = dash + gap;
            float inPeriod = std::fmod(phase + t, period);
            if (inPeriod < dash)
            {
                float segEnd = std::min(len, t + (dash - inPeriod));
                Line(points[i - 1].x + ux * t, points[i - 1].y + uy * t, points[i - 1].x + ux * segEnd,
                     points[i - 1].y + uy * segEnd, width, c);
                t = segEnd;
            }
            else
            {
                t = std::min(len, t + (period - inPeriod));
            }
        }
        phase += len;
    }
}

void Raster::FillPolygon(const std::vector<Point>& points, const Colour& c)
{
    FillPolygon(points, [&c](float, float) { return c; });
}

void Raster::FillPolygon(const std::vector<Point>& points, const ShaderFn& shader)
{
    if (points.size() < 3)
        return;
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (const Point& p : points)
    {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    FillShape(x0, y0, x1, y1, [&points](float px, float py) { return PolygonDistance(px, py, points); }, shader);
}

void Raster::VerticalGradient(float x, float y, float w, float h, const Colour& top, const Colour& bottom)
{
    FillShape(x, y, x + w, y + h, [=](float px, float py) { return RoundRectDistance(px, py, x, y, w, h, 0.0f); },
              [=](float, float py) { return top.Lerp(bottom, std::clamp((py - y) / h, 0.0f, 1.0f)); });
}

void Raster::HazardStripes(float x, float y, float w, float h, float period, const Colour& a, const Colour& b)
{
    FillShape(x, y, x + w, y + h, [=](float px, float py) { return RoundRectDistance(px, py, x, y, w, h, 0.0f); },
              [=](float px, float py) {
                  float s = std::fmod((px - x) + (py - y) + 1000.0f * period, period);
                  // Soft edge across one pixel keeps the diagonal smooth.
                  float half = period * 0.5f;
                  bool first = s < half;
                  Colour c = first ? a : b;
                  Colour o = first ? b : a;
                  float edge = std::min(std::fabs(s), std::min(std::fabs(s - half), std::fabs(s - period)));
                  float mix = std::clamp(0.5f - edge, 0.0f, 0.5f);
                  return c.Lerp(o, mix);
              });
}

namespace
{
// Segment masks: a top, b upper right, c lower right, d bottom, e lower left, f upper left, g middle.
int SegmentMask(char ch)
{
    switch (ch)
    {
    case '0': return 0b0111111;
    case '1': return 0b0000110;
    case '2': return 0b1011011;
    case '3': return 0b1001111;
    case '4': return 0b1100110;
    case '5': return 0b1101101;
    case '6': return 0b1111101;
    case '7': return 0b0000111;
    case '8': return 0b1111111;
    case '9': return 0b1101111;
    case '-': return 0b1000000;
    case 'A': return 0b1110111;
    case 'B': return 0b1111100;
    case 'H': return 0b1110110;
    default: return 0;
    }
}
} // namespace

float Raster::Digits(const std::string& text, float x, float y, float height, float stroke, const Colour& c)
{
    float w = height * 0.5f;
    float advance = w + stroke * 1.6f;
    float cx = x;
    for (char ch : text)
    {
        // Gate letters read better as strokes than as segments.
        if (ch == 'A' || ch == 'B')
        {
            float l = cx + stroke * 0.5f, r = cx + w - stroke * 0.5f;
            float t = y + stroke * 0.5f, b = y + height - stroke * 0.5f, m = y + height * 0.5f;
            if (ch == 'A')
            {
                Polyline({{l, b}, {(l + r) * 0.5f, t}, {r, b}}, stroke, c);
                Line(l + (r - l) * 0.25f, y + height * 0.62f, r - (r - l) * 0.25f, y + height * 0.62f, stroke, c);
            }
            else
            {
                std::vector<Point> upper = {{l, m}, {l, t}}, lower = {{l, m}, {l, b}};
                for (int i = 0; i <= 8; ++i)
                {
                    float a = -1.5707963f + 3.14159265f * i / 8.0f;
                    float ru = (m - t) * 0.5f, rl = (b - m) * 0.5f;
                    upper.push_back({r - ru * 0.9f + std::cos(a) * ru * 0.9f, t + ru + std::sin(a) * ru});
                    lower.push_back({r - rl + std::cos(a) * rl, m + rl + std::sin(a) * rl});
                }
                upper.push_back({l, m});
                lower.push_back({l, m});
                Polyline({upper[1], upper[2]}, stroke, c);
                Polyline(std::vector<Point>(upper.begin() + 2, upper.end()), stroke, c);
                Polyline({lower[0], lower[1]}, stroke, c);
                Polyline({lower[1], lower.back()}, stroke, c);
                Polyline(std::vector<Point>(lower.begin() + 2, lower.end() - 1), stroke, c);
                Line(l, t, l, b, stroke, c);
            }
            cx += advance;
            continue;
        }
        int mask = SegmentMask(ch);
        float l = cx + stroke * 0.5f;
        float r = cx + w - stroke * 0.5f;
        float t = y + stroke * 0.5f;
        float m = y + height * 0.5f;
        float b = y + height - stroke * 0.5f;
        float gapv = stroke * 0.35f;
        if (mask & 0b0000001) Line(l + gapv, t, r - gapv, t, stroke, c);
        if (mask & 0b0000010) Line(r, t + gapv, r, m - gapv, stroke, c);
        if (mask & 0b0000100) Line(r, m + gapv, r, b - gapv, stroke, c);
        if (mask & 0b0001000) Line(l + gapv, b, r - gapv, b, stroke, c);
        if (mask & 0b0010000) Line(l, m + gapv, l, b - gapv, stroke, c);
        if (mask & 0b0100000) Line(l, t + gapv, l, m - gapv, stroke, c);
        if (mask & 0b1000000) Line(l + gapv, m, r - gapv, m, stroke, c);
        cx += advance;
    }
    return cx - x;
}

void Raster::Grain(float amount, uint32_t seed)
{
    Random rng(seed);
    for (Colour& c : m_pixels)
    {
        float n = (rng.Uniform() - 0.5f) * amount;
        c.r = std::clamp(c.r + n, 0.0f, 1.0f);
        c.g = std::clamp(c.g + n, 0.0f, 1.0f);
        c.b = std::clamp(c.b + n, 0.0f, 1.0f);
    }
}

void Raster::Draw(const Raster& other, int dx, int dy)
{
    for (int y = 0; y < other.Height(); ++y)
        for (int x = 0; x < other.Width(); ++x)
            Blend(dx + x, dy + y, other.Get(x, y));
}

std::vector<uint8_t> Raster::ToRGBA8() const
{
    std::vector<uint8_t> out;
    out.reserve(m_pixels.size() * 4);
    auto q = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (const Colour& c : m_pixels)
    {
        out.push_back(q(c.r));
        out.push_back(q(c.g));
        out.push_back(q(c.b));
        out.push_back(q(c.a));
    }
    return out;
}

} // namespace assetbuilder
