#include "TextureBuilder.h"

#include "Font.h"
#include "Xml.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>
#include <xml/Reader.h>

namespace worldbuilder {
namespace {

float Hash(int x, int y, int seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return float(h & 0xFFFFFF) / float(0xFFFFFF);
}

// Tileable value noise with the given period in cells.
float Noise(float x, float y, int period, int seed) {
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float fx = x - float(x0), fy = y - float(y0);
  auto h = [&](int i, int j) { return Hash(((i % period) + period) % period, ((j % period) + period) % period, seed); };
  float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  float a = h(x0, y0) + (h(x0 + 1, y0) - h(x0, y0)) * sx;
  float b = h(x0, y0 + 1) + (h(x0 + 1, y0 + 1) - h(x0, y0 + 1)) * sx;
  return a + (b - a) * sy;
}

float Fbm(float u, float v, int base, int seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < 5; ++o) {
    int period = base << o;
    sum += Noise(u * float(period), v * float(period), period, seed + o) * amp;
    norm += amp;
    amp *= 0.5f;
  }
  return sum / norm;
}

struct Canvas {
  int w, h;
  std::vector<uint8_t> rgba;
  Canvas(int width, int height) : w(width), h(height), rgba(size_t(width * height * 4), 255) {}
  void Set(int x, int y, float r, float g, float b, float a = 1) {
    auto c = [](float v) { return uint8_t(std::max(0.0f, std::min(1.0f, v)) * 255.0f + 0.5f); };
    size_t i = size_t((y * w + x) * 4);
    rgba[i] = c(r);
    rgba[i + 1] = c(g);
    rgba[i + 2] = c(b);
    rgba[i + 3] = c(a);
  }
  void Fill(const std::function<Ogre::ColourValue(float u, float v, int x, int y)>& f) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        Ogre::ColourValue c = f((float(x) + 0.5f) / float(w), (float(y) + 0.5f) / float(h), x, y);
        Set(x, y, c.r, c.g, c.b, c.a);
      }
  }
  std::string Png() {
    Ogre::Image image;
    image.loadDynamicImage(rgba.data(), uint32_t(w), uint32_t(h), 1, Ogre::PF_BYTE_RGBA);
    Ogre::DataStreamPtr stream = image.encode("png");
    return stream->getAsString();
  }
};

Ogre::ColourValue Grey(float v) { return Ogre::ColourValue(v, v, v, 1); }

}  // namespace

bool TextureBuilder::Build(const std::string& source, std::map<std::string, std::map<std::string, std::string>>& out) {
  TiXmlDocument doc(source);
  if (!xml::Reader::LoadFile(doc, doc.ValueStr())) {
    std::fprintf(stderr, "worldbuilder: cannot read %s\n", source.c_str());
    return false;
  }
  bool ok = true;
  for (const TiXmlElement* e = doc.RootElement()->FirstChildElement("texture"); e;
       e = e->NextSiblingElement("texture")) {
    std::string name = Xml::Text(e, "name"), kind = Xml::Text(e, "kind");
    int size = Xml::Int(e, "size", 64);
    Canvas c(size, Xml::Int(e, "height", size));
    if (kind == "solid") {
      c.Fill([](float, float, int, int) { return Grey(1); });
    } else if (kind == "tarmac") {
      c.Fill([](float u, float v, int x, int y) {
        float n = Fbm(u, v, 4, 11) * 0.16f + Hash(x, y, 3) * 0.08f;
        return Grey(0.74f + n - 0.12f);
      });
    } else if (kind == "concrete") {
      c.Fill([size](float u, float v, int x, int y) {
        float n = Fbm(u, v, 4, 21) * 0.1f + Hash(x, y, 5) * 0.05f;
        int half = size / 2;
        bool joint = (x % half) < 2 || (y % half) < 2;
        return Grey(joint ? 0.55f : 0.86f + n - 0.07f);
      });
    } else if (kind == "panels") {
      c.Fill([size](float u, float v, int x, int y) {
        bool seam = (x % (size / 4)) == 0 || (y % (size / 2)) == 0;
        return Grey(seam ? 0.7f : 0.95f - Fbm(u, v, 2, 31) * 0.06f);
      });
    } else if (kind == "glass") {
      c.Fill([size](float u, float v, int x, int y) {
        bool mullion = (x % (size / 4)) < 3 || (y % (size / 2)) < 3;
        if (mullion) return Ogre::ColourValue(0.75f, 0.77f, 0.8f, 1);
        float reflect = 0.15f * (1 - v) + Fbm(u, v, 2, 41) * 0.08f;
        return Ogre::ColourValue(0.25f + reflect, 0.38f + reflect, 0.5f + reflect, 1);
      });
    } else if (kind == "corrugated") {
      c.Fill([](float u, float, int, int) {
        float s = 0.5f + 0.5f * std::sin(u * Ogre::Math::TWO_PI * 16);
        return Grey(0.78f + 0.18f * s);
      });
    } else if (kind == "hangardoor") {
      c.Fill([size](float u, float v, int x, int y) {
        bool seam = (x % (size / 4)) < 2 || (y % (size / 8)) == 0;
        return Grey(seam ? 0.55f : 0.9f - Fbm(u, v, 2, 51) * 0.08f);
      });
    } else if (kind == "roller") {
      c.Fill([](float, float v, int, int) { return Grey(0.8f + 0.15f * std::sin(v * Ogre::Math::TWO_PI * 12)); });
    } else if (kind == "clouds") {
      c.Fill([](float u, float v, int, int) {
        float n = Fbm(u, v, 3, 61);
        float cloud = std::max(0.0f, (n - 0.5f) * 2.6f);
        return Grey(std::min(1.0f, cloud));
      });
    } else if (kind == "grass" || kind == "dry") {
      bool dry = kind == "dry";
      c.Fill([dry](float u, float v, int x, int y) {
        float n = Fbm(u, v, 4, dry ? 71 : 81) * 0.25f + Hash(x, y, 7) * 0.12f;
        // Alpha carries the specular strength for the terrain material.
        if (dry) return Ogre::ColourValue(0.5f + n, 0.46f + n * 0.8f, 0.3f + n * 0.4f, 0.05f);
        return Ogre::ColourValue(0.22f + n * 0.5f, 0.38f + n, 0.14f + n * 0.3f, 0.05f);
      });
    } else if (kind == "flatnormal") {
      c.Fill([](float, float, int, int) { return Ogre::ColourValue(0.5f, 0.5f, 1.0f, 0.5f); });
    } else if (kind == "sign") {
      std::string text = Xml::Text(e, "text");
      int columns = int(text.size()) * (Font::kWidth + 1) - 1;
      int scale = std::max(1, std::min((c.w - c.w / 10) / std::max(1, columns), (c.h * 7 / 10) / Font::kHeight));
      int x0 = (c.w - columns * scale) / 2, y0 = (c.h - Font::kHeight * scale) / 2;
      c.Fill([&](float, float, int x, int y) {
        int gx = (x - x0) / scale, gy = (y - y0) / scale;
        bool border = x < 4 || y < 4 || x >= c.w - 4 || y >= c.h - 4;
        if (border) return Grey(0.9f);
        if (x >= x0 && y >= y0 && gy < Font::kHeight) {
          int ch = gx / (Font::kWidth + 1), col = gx % (Font::kWidth + 1);
          if (ch < int(text.size()) && col < Font::kWidth && Font::Pixel(text[size_t(ch)], col, gy)) return Grey(1.0f);
        }
        return Ogre::ColourValue(0.08f, 0.2f, 0.45f, 1);
      });
    } else if (kind == "livery") {
      // A vehicle's side panel: white, the company's mark (a disc with a wing
      // and the name) over two stripes. The top rows stay white for
      // the faces that only take the panel's colour.
      std::string text = Xml::Text(e, "text");
      Ogre::Vector3 stripe = Xml::Vec3(e, "stripe", Ogre::Vector3(0.1f, 0.3f, 0.7f));
      Ogre::Vector3 accent = Xml::Vec3(e, "accent", Ogre::Vector3(0.95f, 0.6f, 0.1f));
      Ogre::ColourValue main(stripe.x, stripe.y, stripe.z, 1), second(accent.x, accent.y, accent.z, 1);
      int columns = std::max(1, int(text.size()) * (Font::kWidth + 1) - 1);
      int scale = std::max(1, std::min((c.w * 55 / 100) / columns, (c.h * 30 / 100) / Font::kHeight));
      int disc = Font::kHeight * scale, gap = 3 * scale;
      int x0 = (c.w - (disc + gap + columns * scale)) / 2, y0 = c.h * 14 / 100;
      c.Fill([&](float, float v, int x, int y) {
        if (v >= 0.64f && v < 0.78f) return main;
        if (v >= 0.82f && v < 0.87f) return second;
        float dx = float(x - x0) - disc * 0.5f, dy = float(y - y0) - disc * 0.5f;
        if (dx * dx + dy * dy < disc * disc * 0.25f) {
          // The wing: a white band rising to the right across the disc.
          bool wing = std::fabs(dy + dx * 0.35f) < disc * 0.09f && dx > -disc * 0.32f;
          return wing ? Grey(0.97f) : second;
        }
        int gx = (x - x0 - disc - gap) / scale, gy = (y - y0) / scale;
        if (x >= x0 + disc + gap && y >= y0 && gy < Font::kHeight) {
          int ch = gx / (Font::kWidth + 1), col = gx % (Font::kWidth + 1);
          if (ch < int(text.size()) && col < Font::kWidth && Font::Pixel(text[size_t(ch)], col, gy)) return main;
        }
        return Grey(0.97f);
      });
    } else {
      std::fprintf(stderr, "worldbuilder: texture %s: unknown kind %s\n", name.c_str(), kind.c_str());
      ok = false;
      continue;
    }
    out[Xml::Text(e, "folder", "custom")][name] = c.Png();
  }
  return ok;
}

}  // namespace worldbuilder
