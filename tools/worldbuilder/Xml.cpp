#include "Xml.h"

#include <cstdio>
#include <sstream>

namespace worldbuilder {

std::string Xml::Text(const TiXmlElement* e, const char* name, const std::string& fallback) {
  const char* v = e ? e->Attribute(name) : nullptr;
  return v ? std::string(v) : fallback;
}

bool Xml::Has(const TiXmlElement* e, const char* name) { return e && e->Attribute(name); }

float Xml::Float(const TiXmlElement* e, const char* name, float fallback) {
  if (!Has(e, name)) return fallback;
  return std::strtof(e->Attribute(name), nullptr);
}

int Xml::Int(const TiXmlElement* e, const char* name, int fallback) {
  if (!Has(e, name)) return fallback;
  return int(std::strtol(e->Attribute(name), nullptr, 10));
}

std::vector<float> Xml::Floats(const std::string& text) {
  std::vector<float> out;
  std::string t = text;
  for (char& c : t)
    if (c == ',' || c == ';') c = ' ';
  std::istringstream in(t);
  float f;
  while (in >> f) out.push_back(f);
  return out;
}

Ogre::Vector3 Xml::Vec3(const TiXmlElement* e, const char* name, const Ogre::Vector3& fallback) {
  if (!Has(e, name)) return fallback;
  auto f = Floats(e->Attribute(name));
  if (f.size() == 1) return Ogre::Vector3(f[0]);
  if (f.size() < 3) return fallback;
  return Ogre::Vector3(f[0], f[1], f[2]);
}

Ogre::Vector2 Xml::Vec2(const TiXmlElement* e, const char* name, const Ogre::Vector2& fallback) {
  if (!Has(e, name)) return fallback;
  auto f = Floats(e->Attribute(name));
  if (f.size() < 2) return fallback;
  return Ogre::Vector2(f[0], f[1]);
}

std::vector<Ogre::Vector2> Xml::Points(const std::string& text) {
  auto f = Floats(text);
  std::vector<Ogre::Vector2> out;
  for (size_t i = 0; i + 1 < f.size(); i += 2) out.emplace_back(f[i], f[i + 1]);
  return out;
}

Ogre::Quaternion Xml::Rotation(const TiXmlElement* e, const char* name) {
  if (!Has(e, name)) return Ogre::Quaternion::IDENTITY;
  auto f = Floats(e->Attribute(name));
  f.resize(3, 0.0f);
  Ogre::Quaternion yaw(Ogre::Degree(f[0]), Ogre::Vector3::UNIT_Y);
  Ogre::Quaternion pitch(Ogre::Degree(f[1]), Ogre::Vector3::UNIT_X);
  Ogre::Quaternion roll(Ogre::Degree(f[2]), Ogre::Vector3::UNIT_Z);
  return yaw * pitch * roll;
}

std::string Xml::Num(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%.*f", decimals, v);
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

}  // namespace worldbuilder
