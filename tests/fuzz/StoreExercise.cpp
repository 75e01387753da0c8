#include "fuzz/StoreExercise.h"

#include <base/Config.h>
#include <base/UserData.h>
#include <xml/Document.h>
#include <xml/Element.h>
#include <xml/Iterator.h>
#include <xml/Path.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace {
// Deep documents would only test the stack: the game's files are shallow.
const int kMaxDepth = 200;

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Reads everything an element offers; the results only have to exist.
std::size_t visit(const xml::Element* element, int depth) {
    std::size_t seen = 0;
    for (; element && depth < kMaxDepth; element = element->GetSibling("")) {
        seen += element->GetName().size() + element->GetValue().size();
        for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
            const std::string name = a->Name();
            seen += element->GetAttribute(name).size();
            seen += element->GetAttributeBool(name, true) ? 1 : 0;
            seen += static_cast<std::size_t>(element->GetAttributeInt(name, 0) & 1);
            seen += element->GetAttributeFloat(name, 0.0f) > 0.0f ? 1 : 0;
        }
        seen += static_cast<std::size_t>(element->GetIntValue(0) & 1);
        seen += element->GetFloatValue(0.0f) > 0.0f ? 1 : 0;
        seen += visit(element->GetChild(""), depth + 1);
    }
    return seen;
}

void walk(xml::Document& document) {
    std::unique_ptr<xml::Iterator> found(xml::Iterator::Find(document, "Display"));
    if (found) {
        found->GetAttibuteInt("width", 0);
        found->SetAttribute("width", "1024");
        found->SetValue("text");
    }
    xml::Iterator it(&document);
    for (int steps = 0; steps < 64; ++steps) {
        it.GetAttribute("name");
        it.GetAttibuteBool("on", false);
        it.GetAttibuteFloat("x", 0.0f);
        if (!(it.goToFirstChild() || it.NextSibling() || (it.goToParent() && it.NextSibling())))
            break;
    }
    xml::Path path;
    path.Add("Sound").Add("volume");
    xml::Iterator builder(&document);
    builder.GoTo(path);
    builder.AddChild(xml::Element("child"));
    builder.Add(xml::Element("sibling"));
    builder.Remove();
}

// Whatever the stores leave on disk must load again cleanly.
std::string checkReadable(const std::string& path, const char* who) {
    xml::Document check(path);
    if (!check.loadDocument())
        return std::string(who) + " left a file it cannot read back: " + path;
    return std::string();
}
} // namespace

StoreExercise::StoreExercise(const std::string& folder) : m_folder(folder) {}

std::string StoreExercise::Run(const std::uint8_t* data, std::size_t size) {
    const std::string path = m_folder + "/input.xml";

    writeFile(path, data, size);
    {
        xml::Document document(path);
        const bool loaded = document.loadDocument();
        visit(document.getRoot(), 0);
        xml::Document copy(document);
        copy = document;
        if (loaded) {
            // A file that loaded saves and loads again for good. One round may
            // still settle it (a cut-off character written whole, the blank it
            // had swallowed then trimmed); after that the print stays the same.
            // A tree that would not print readably is not saved, and the file stays as it was.
            const bool saved = document.saveDocument();
            if (!saved && readFile(path) != std::string(reinterpret_cast<const char*>(data), size))
                return "a refused save changed the file";
            std::string previous;
            for (int round = 0; saved && round < 2; ++round) {
                xml::Document again(path);
                if (!again.loadDocument())
                    return "a saved document does not load again";
                previous = readFile(path);
                if (!again.saveDocument())
                    return "a reloaded document could not be saved";
            }
            if (saved && readFile(path) != previous)
                return "a saved document keeps changing from save to save";
        }
        walk(copy);
    }

    writeFile(path, data, size);
    {
        base::Config config(path);
        config.getString("ui", "language", "Deutsch");
        config.getInt("Display", "width", 1024);
        config.getFloat("Sound", "sfx", 0.2f);
        config.getBool("Display", "fullscreen", true);
        config.setString("ui", "language", "English");
        config.setInt("Display", "height", 768);
        config.setFloat("Sound", "music", 0.5f);
        config.setBool("Sound", "mute", false);
    }
    std::string broken = checkReadable(path, "the settings store");
    if (!broken.empty())
        return broken;

    writeFile(path, data, size);
    {
        base::UserData store(path);
        store.GetInt("Mission", "m1", 0);
        store.GetBool("Achievements", "first", false);
        store.GetString("Vehicles", "unlocked", "catering_truck");
        store.SetBool("Vehicles", "fueltruck", true);
        store.SetInt("Mission", "m2", 1500);
        store.SetFloat("Stats", "distance", 12.5f);
    }
    return checkReadable(path, "the user-data store");
}
