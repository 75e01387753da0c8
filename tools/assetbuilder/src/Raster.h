#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetbuilder
{

struct Colour
{
    float r = 0, g = 0, b = 0, a = 1;

    Colour() = default;
    Colour(float red, float green, float blue, float alpha = 1.0f) : r(red), g(green), b(blue), a(alpha) {}
    static Colour Hex(uint32_t rgb, float alpha = 1.0f);
    Colour WithAlpha(float alpha) const { return Colour(r, g, b, alpha); }
    Colour Lerp(const Colour& other, float t) const;
    Colour Scaled(float factor) const { return Colour(r * factor, g * factor, b * factor, a); }
};

struct Point
{
    float x = 0, y = 0;
};

// Float RGBA picture with anti-aliased drawing built on signed distances:
// every shape is a distance function, coverage is 0.5 - distance clamped.
class Raster
{
public:
    Raster(int width, int height, const Colour& fill = Colour(0, 0, 0, 0));

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    Colour Get(int x, int y) const;
    void Set(int x, int y, const Colour& c);
    void Blend(int x, int y, const Colour& c, float coverage = 1.0f);

    // Distance function: negative inside. Bounding box limits the work.
    using DistanceFn = std::function<float(float, float)>;
    using ShaderFn = std::function<Colour(float, float)>;
    void FillShape(float x0, float y0, float x1, float y1, const DistanceFn& distance, const ShaderFn& shader);
    void FillShape(float x0, float y0, float x1, float y1, const DistanceFn& distance, const Colour& colour);

    void FillRect(float x, float y, float w, float h, const Colour& c);
    void FillRoundRect(float x, float y, float w, float h, float radius, const Colour& c);
    void FillRoundRect(float x, float y, float w, float h, float radius, const ShaderFn& shader);
    void StrokeRoundRect(float x, float y, float w, float h, float radius, float width, const Colour& c);
    void FillCircle(float cx, float cy, float radius, const Colour& c);
    void StrokeCircle(float cx, float cy, float radius, float width, const Colour& c);
    void Line(float x0, float y0, float x1, float y1, float width, const Colour& c);
    void Polyline(const std::vector<Point>& points, float width, const Colour& c);
    void DashedPolyline(const std::vector<Point>& points, float width, float dash, float gap, const Colour& c);
    void FillPolygon(const std::vector<Point>& points, const Colour& c);
    void FillPolygon(const std::vector<Point>& points, const ShaderFn& shader);
    void VerticalGradient(float x, float y, float w, float h, const Colour& top, const Colour& bottom);
    // Diagonal warning stripes inside a rectangle.
    void HazardStripes(float x, float y, float w, float h, float period, const Colour& a, const Colour& b);
    // Seven-segment style digits, as on apron signage; returns the advance.
    float Digits(const std::string& text, float x, float y, float height, float stroke, const Colour& c);
    // Deterministic grain so large flat areas do not band.
    void Grain(float amount, uint32_t seed);
    void Draw(const Raster& other, int dx, int dy);

    std::vector<uint8_t> ToRGBA8() const;

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};

float RoundRectDistance(float px, float py, float x, float y, float w, float h, float radius);
float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1);
float PolygonDistance(float px, float py, const std::vector<Point>& points);

// Small deterministic generator (no dependence on the standard library's engines).
class Random
{
public:
    explicit Random(uint32_t seed) : m_state(seed * 747796405u + 2891336453u) {}
    uint32_t Next();
    float Uniform() { return (Next() >> 8) * (1.0f / 16777216.0f); }
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint32_t m_state;
};

} // namespace assetbuilder
