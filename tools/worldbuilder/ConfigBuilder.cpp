#include "ConfigBuilder.h"

#include "Xml.h"

#include <cstdio>
#include <sstream>
#include <xml/Reader.h>

namespace worldbuilder {

const std::vector<std::string>& ConfigBuilder::Keys() {
  static const std::vector<std::string> keys = {
      "num_wheels",           "num_powered_wheels",     "max_engine_force",   "steering_increment",
      "steering_clamp",       "weight",                 "wheel_friction",     "friction_slip",
      "suspension_stiffness", "suspension_damping",     "suspension_compression", "suspension_rest_length",
      "suspension_max_travel_cm", "roll_influence",     "connection_height",  "chassis_shift"};
  return keys;
}

bool ConfigBuilder::Build(const std::string& source, const ModelLibrary& models,
                          std::map<std::string, std::string>& files) {
  TiXmlDocument doc(source);
  if (!xml::Reader::LoadFile(doc, doc.ValueStr())) {
    std::fprintf(stderr, "worldbuilder: cannot read %s\n", source.c_str());
    return false;
  }
  bool ok = true;
  const TiXmlElement* root = doc.RootElement();
  float gravity = Xml::Float(root, "gravity", 9.81f);
  for (const TiXmlElement* v = root->FirstChildElement("vehicle"); v; v = v->NextSiblingElement("vehicle")) {
    std::string file = Xml::Text(v, "file");
    const Model* chassis = models.Find(Xml::Text(v, "mesh"));
    if (!chassis) {
      std::fprintf(stderr, "worldbuilder: %s: unknown mesh %s\n", file.c_str(), Xml::Text(v, "mesh").c_str());
      ok = false;
      continue;
    }
    for (const TiXmlElement* var = v->FirstChildElement("variant"); var; var = var->NextSiblingElement("variant")) {
      std::string variant = Xml::Text(var, "name");
      int wheels = Xml::Int(var, "num_wheels", -1), powered = Xml::Int(var, "num_powered_wheels", -1);
      for (int i = 0; i < wheels; ++i) {
        bool front = i < powered;
        std::string bone = std::string("wheel_") + (front ? "front." : "back.") + ((i % 2) ? "L." : "R.") +
                           std::to_string(front ? i / 2 + 1 : (i - powered) / 2 + 1);
        if (!chassis->FindBone(bone)) {
          std::fprintf(stderr, "worldbuilder: %s/%s: %s has no bone %s\n", variant.c_str(), file.c_str(),
                       chassis->name().c_str(), bone.c_str());
          ok = false;
        }
      }
      // The body's box is centred on the chassis bounds; the visible chassis is
      // shifted down by that centre's height. A wheel hangs rest length minus
      // the static compression below its connection point.
      float shift = -chassis->Bounds().getCenter().y;
      float stiffness = Xml::Float(var, "suspension_stiffness", 50);
      float rest = Xml::Float(var, "suspension_rest_length", 0.6f);
      float compression = wheels > 0 && stiffness > 0 ? gravity / (float(wheels) * stiffness) : 0;
      float connection = shift + rest - compression;
      std::ostringstream s;
      s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vehicle>\n";
      for (const auto& key : Keys()) {
        std::string value;
        if (key == "chassis_shift") {
          value = Xml::Num(shift, 3);
        } else if (key == "connection_height") {
          value = Xml::Num(connection, 3);
        } else if (Xml::Has(var, key.c_str())) {
          value = Xml::Text(var, key.c_str());
        } else {
          std::fprintf(stderr, "worldbuilder: %s/%s: key %s missing\n", variant.c_str(), file.c_str(), key.c_str());
          ok = false;
          continue;
        }
        s << "  <" << key << ">" << value << "</" << key << ">\n";
      }
      s << "</vehicle>\n";
      files[variant + "/" + file] = s.str();
    }
  }
  return ok;
}

}  // namespace worldbuilder
