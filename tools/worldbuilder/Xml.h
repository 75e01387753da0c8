#pragma once

#include <OGRE/Ogre.h>
#include <tinyxml.h>

#include <string>
#include <vector>

namespace worldbuilder {

/// Small readers for the attribute texts of the source files.
class Xml {
 public:
  static std::string Text(const TiXmlElement* e, const char* name, const std::string& fallback = "");
  static bool Has(const TiXmlElement* e, const char* name);
  static float Float(const TiXmlElement* e, const char* name, float fallback = 0);
  static int Int(const TiXmlElement* e, const char* name, int fallback = 0);
  static std::vector<float> Floats(const std::string& text);
  static Ogre::Vector3 Vec3(const TiXmlElement* e, const char* name, const Ogre::Vector3& fallback = Ogre::Vector3::ZERO);
  static Ogre::Vector2 Vec2(const TiXmlElement* e, const char* name, const Ogre::Vector2& fallback = Ogre::Vector2::ZERO);
  /// "u v; u v; ..." pairs.
  static std::vector<Ogre::Vector2> Points(const std::string& text);
  /// "yaw pitch roll" in degrees.
  static Ogre::Quaternion Rotation(const TiXmlElement* e, const char* name);
  /// Number text without trailing zeros, stable across runs.
  static std::string Num(double v, int decimals = 4);
};

}  // namespace worldbuilder
