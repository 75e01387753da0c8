#include "ModelLibrary.h"

#include "Xml.h"

#include <cstdio>
#include <xml/Reader.h>

namespace worldbuilder {
namespace {

Ogre::Quaternion LookRotation(const Ogre::Vector3& from, const Ogre::Vector3& to) {
  // A camera looks down its -z axis with +y up.
  Ogre::Vector3 z = (from - to).normalisedCopy();
  Ogre::Vector3 x = Ogre::Vector3::UNIT_Y.crossProduct(z).normalisedCopy();
  Ogre::Vector3 y = z.crossProduct(x);
  return Ogre::Quaternion(x, y, z);
}

Ogre::Matrix4 LocalTransform(const TiXmlElement* e) {
  Ogre::Matrix4 m;
  m.makeTransform(Xml::Vec3(e, "at"), Xml::Vec3(e, "scale", Ogre::Vector3::UNIT_SCALE), Xml::Rotation(e, "rot"));
  return m;
}

}  // namespace

const Model* ModelLibrary::Find(const std::string& name) const {
  auto it = m_models.find(name);
  return it == m_models.end() ? nullptr : &it->second;
}

bool ModelLibrary::Load(const std::string& path) {
  TiXmlDocument doc(path);
  if (!xml::Reader::LoadFile(doc, doc.ValueStr())) {
    std::fprintf(stderr, "worldbuilder: cannot read %s\n", path.c_str());
    return false;
  }
  for (const TiXmlElement* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
    std::string tag = e->Value();
    if (tag == "model") ReadModel(e);
    if (tag == "preview") ReadPreview(e);
  }
  return m_ok;
}

void ModelLibrary::ReadModel(const TiXmlElement* e) {
  Model model(Xml::Text(e, "name"));
  if (Xml::Has(e, "copy")) {
    // A scaled copy of another model, optionally with other materials.
    const Model* source = Find(Xml::Text(e, "copy"));
    if (!source) {
      std::fprintf(stderr, "worldbuilder: %s: unknown model %s\n", model.name().c_str(), Xml::Text(e, "copy").c_str());
      m_ok = false;
      return;
    }
    std::map<std::string, std::string> remap;
    auto pairs = Xml::Text(e, "remap");
    size_t start = 0;
    while (start < pairs.size()) {
      size_t end = pairs.find(' ', start);
      if (end == std::string::npos) end = pairs.size();
      std::string item = pairs.substr(start, end - start);
      size_t eq = item.find('=');
      if (eq != std::string::npos) remap[item.substr(0, eq)] = item.substr(eq + 1);
      start = end + 1;
    }
    Placement p;
    p.transform = LocalTransform(e);
    for (const auto& sub : source->subMeshes()) {
      std::string material = remap.count(sub.material()) ? remap[sub.material()] : sub.material();
      model.subMeshes().emplace_back(material);
      model.subMeshes().back().Append(sub, p);
    }
    m_models[model.name()] = model;
    return;
  }
  for (const TiXmlElement* b = e->FirstChildElement("bone"); b; b = b->NextSiblingElement("bone")) {
    BoneDef bone;
    bone.name = Xml::Text(b, "name");
    bone.parent = Xml::Text(b, "parent");
    bone.position = Xml::Vec3(b, "pos");
    bone.scale = Xml::Vec3(b, "scale", Ogre::Vector3::UNIT_SCALE);
    bone.orientation = Xml::Has(b, "look") ? LookRotation(bone.position, Xml::Vec3(b, "look")) : Xml::Rotation(b, "rot");
    if (model.FindBone(bone.name)) {
      std::fprintf(stderr, "worldbuilder: %s: bone %s twice\n", model.name().c_str(), bone.name.c_str());
      m_ok = false;
    }
    model.bones().push_back(bone);
  }
  for (const TiXmlElement* s = e->FirstChildElement("submesh"); s; s = s->NextSiblingElement("submesh")) {
    Geometry g(Xml::Text(s, "material"));
    Placement at;
    at.uvScale = Xml::Float(s, "uv", 0.5f);
    ReadShapes(s, g, model, at);
    model.subMeshes().push_back(g);
  }
  if (Xml::Has(e, "bounds")) {
    auto f = Xml::Floats(Xml::Text(e, "bounds"));
    if (f.size() == 6) model.SetBounds(Ogre::AxisAlignedBox(f[0], f[1], f[2], f[3], f[4], f[5]));
  }
  m_models[model.name()] = model;
}

void ModelLibrary::ReadShapes(const TiXmlElement* parent, Geometry& g, const Model& model, const Placement& outer) {
  for (const TiXmlElement* e = parent->FirstChildElement(); e; e = e->NextSiblingElement()) {
    std::string tag = e->Value();
    Placement at = outer;
    at.transform = outer.transform * LocalTransform(e);
    if (Xml::Has(e, "uv")) at.uvScale = Xml::Float(e, "uv");
    if (Xml::Has(e, "uvv")) at.uvScaleV = Xml::Float(e, "uvv");
    if (Xml::Has(e, "uvoff")) at.uvOffset = Xml::Vec2(e, "uvoff");
    if (Xml::Has(e, "bone")) {
      at.bone = model.BoneIndex(Xml::Text(e, "bone"));
      if (at.bone < 0) {
        std::fprintf(stderr, "worldbuilder: %s: unknown bone %s\n", model.name().c_str(),
                     Xml::Text(e, "bone").c_str());
        m_ok = false;
        at.bone = 0;
      }
    }
    int passes = Xml::Text(e, "mirror") == "x" ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      Placement p = at;
      if (pass == 1) p.mirrorX = !p.mirrorX;
      if (tag == "group") {
        ReadShapes(e, g, model, p);
      } else if (tag == "box") {
        g.Box(p, Xml::Vec3(e, "min"), Xml::Vec3(e, "max"));
      } else if (tag == "cyl") {
        float r = Xml::Float(e, "r", 0.5f);
        int boneB = Xml::Has(e, "boneB") ? model.BoneIndex(Xml::Text(e, "boneB")) : -1;
        g.Cylinder(p, Xml::Vec3(e, "a"), Xml::Vec3(e, "b"), r, Xml::Float(e, "r2", r), Xml::Int(e, "seg", 16),
                   Xml::Int(e, "caps", 1) != 0, boneB);
      } else if (tag == "ellipsoid") {
        g.Ellipsoid(p, Xml::Vec3(e, "c"), Xml::Vec3(e, "r", Ogre::Vector3(0.5f)), Xml::Int(e, "seg", 16));
      } else if (tag == "prism") {
        std::string axis = Xml::Text(e, "axis", "y");
        g.Prism(p, axis == "x" ? 0 : axis == "y" ? 1 : 2, Xml::Float(e, "from"), Xml::Float(e, "to"),
                Xml::Points(Xml::Text(e, "pts")));
      } else if (tag == "strip") {
        g.Strip(p, Xml::Points(Xml::Text(e, "pts")), Xml::Float(e, "width", 0.2f), Xml::Float(e, "y"));
      } else if (tag == "quad") {
        auto f = Xml::Floats(Xml::Text(e, "pts"));
        if (f.size() == 12)
          g.Quad(p, {f[0], f[1], f[2]}, {f[3], f[4], f[5]}, {f[6], f[7], f[8]}, {f[9], f[10], f[11]});
      } else if (tag == "use") {
        const Model* other = Find(Xml::Text(e, "model"));
        if (!other) {
          std::fprintf(stderr, "worldbuilder: %s: unknown model %s\n", model.name().c_str(),
                       Xml::Text(e, "model").c_str());
          m_ok = false;
          continue;
        }
        for (const auto& sub : other->subMeshes()) g.Append(sub, p);
      } else {
        std::fprintf(stderr, "worldbuilder: %s: unknown shape <%s>\n", model.name().c_str(), tag.c_str());
        m_ok = false;
      }
    }
  }
}

void ModelLibrary::Merge(Model& target, const Model& source, const Ogre::Matrix4& at, int variantIndex,
                         const std::string& variantMaterial) {
  Placement p;
  p.transform = at;
  for (size_t i = 0; i < source.subMeshes().size(); ++i) {
    std::string material = source.subMeshes()[i].material();
    if (int(i) == variantIndex && !variantMaterial.empty()) material = variantMaterial;
    Geometry* g = nullptr;
    for (auto& existing : target.subMeshes())
      if (existing.material() == material) g = &existing;
    if (!g) {
      target.subMeshes().emplace_back(material);
      g = &target.subMeshes().back();
    }
    g->Append(source.subMeshes()[i], p);
  }
}

void ModelLibrary::ReadPreview(const TiXmlElement* e) {
  // A preview is the vehicle as it stands: chassis, wheels on their bones, and
  // an optional trailer behind it; no skeleton.
  Model preview(Xml::Text(e, "name"));
  int variantIndex = Xml::Int(e, "variantIndex", -1);
  std::string variantMaterial = Xml::Text(e, "variantMaterial");
  struct Part {
    std::string chassis, wheel, frontWheel;
    int wheels, powered, frontCount;
    Ogre::Vector3 offset;
    int variant;
  };
  std::vector<Part> parts;
  parts.push_back({Xml::Text(e, "chassis"), Xml::Text(e, "wheel"), Xml::Text(e, "frontWheel"), Xml::Int(e, "wheels", 4),
                   Xml::Int(e, "powered", 2), Xml::Int(e, "frontCount", 0), Ogre::Vector3::ZERO, variantIndex});
  if (Xml::Has(e, "trailer")) {
    parts.push_back({Xml::Text(e, "trailer"), Xml::Text(e, "trailerWheel"), "", Xml::Int(e, "trailerWheels", 2),
                     Xml::Int(e, "trailerPowered", 0), 0, Xml::Vec3(e, "trailerOffset"), -1});
  }
  for (const auto& part : parts) {
    const Model* chassis = Find(part.chassis);
    const Model* wheel = Find(part.wheel);
    const Model* front = part.frontWheel.empty() ? wheel : Find(part.frontWheel);
    if (!chassis || !wheel || !front) {
      std::fprintf(stderr, "worldbuilder: preview %s: missing part\n", preview.name().c_str());
      m_ok = false;
      return;
    }
    Ogre::Matrix4 base = Ogre::Matrix4(Ogre::Affine3::getTrans(part.offset));
    Merge(preview, *chassis, base, part.variant, variantMaterial);
    for (int i = 0; i < part.wheels; ++i) {
      bool isFront = i < part.powered;
      int number = isFront ? i / 2 + 1 : (i - part.powered) / 2 + 1;
      std::string bone = std::string("wheel_") + (isFront ? "front." : "back.") + ((i % 2) ? "L." : "R.") +
                         std::to_string(number);
      if (!chassis->FindBone(bone)) {
        std::fprintf(stderr, "worldbuilder: preview %s: %s has no bone %s\n", preview.name().c_str(),
                     part.chassis.c_str(), bone.c_str());
        m_ok = false;
        continue;
      }
      const Model* w = (i < part.frontCount) ? front : wheel;
      Merge(preview, *w, base * Ogre::Matrix4(Ogre::Affine3::getTrans(chassis->BoneModelPosition(bone))), -1, "");
    }
  }
  m_models[preview.name()] = preview;
}

}  // namespace worldbuilder
