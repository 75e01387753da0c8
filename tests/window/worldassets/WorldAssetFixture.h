#pragma once

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <map>
#include <string>
#include <vector>

namespace worldassets {

/// The generated asset tree as the game sees it from its binary folder.
const std::string kAssets = "../assets";

/// One rendering-engine root with an OpenGL 3+ window for the whole program,
/// with the game's resource locations registered and initialised.
class WorldAssetFixture : public ::testing::Test {
 public:
  static void SetUpTestSuite();
  static Ogre::Root* root();
  static Ogre::SceneManager* scene();
  static Ogre::RenderWindow* window();
};

/// Text of the first element `name` below `root`, depth first; empty when absent.
std::string FirstText(const TiXmlElement* root, const std::string& name);
/// Keys of a vehicle configuration file (element name -> text).
std::map<std::string, std::string> ReadConfig(const std::string& path);
/// Names of the scene's nodes, in file order.
std::vector<std::string> SceneNodeNames(const TiXmlDocument& scene);
/// Wheel bone name for wheel i as the vehicles derive it.
std::string WheelBone(int i, int powered);

}  // namespace worldassets
