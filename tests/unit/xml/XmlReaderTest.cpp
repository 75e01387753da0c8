#include "support/TempDir.h"

#include <base/Config.h>
#include <xml/Document.h>
#include <xml/Element.h>
#include <xml/Reader.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Lead bytes of 2-, 3- and 4-byte characters ("ä", "€", an emoji), cut off
// right after the lead byte and after one more byte of the character.
const std::vector<std::string> kCutCharacters = {"\xC3", "\xE2", "\xE2\x82", "\xF0", "\xF0\x9F", "\xF0\x9F\x9A"};

// The places where the library reads a character at a time, each left open
// at the end of the file. The declaration (or a byte-order mark) is what
// makes the library read the file as UTF-8.
struct CutPlace {
    const char* name;
    std::string before;
    bool complete; // the library accepts a file that ends there
};
const std::vector<CutPlace> kCutPlaces = {
    {"attribute value", "<?xml version=\"1.0\" ?>\n<root>\n    <ui language=\"Deuts", false},
    {"single-quoted value", "<?xml version=\"1.0\" ?>\n<root><ui language='Deuts", false},
    {"text", "<?xml version=\"1.0\" ?>\n<root>\n    <Mission>Stra", false},
    {"text after an entity", "<?xml version=\"1.0\" ?>\n<root><m>a &amp; b", false},
    {"element name", "<?xml version=\"1.0\" ?>\n<root>\n    <Vehicle", false},
    {"attribute name", "<?xml version=\"1.0\" ?>\n<root><ui langu", false},
    {"comment", "<?xml version=\"1.0\" ?>\n<root><!-- Fahrzeugw", false},
    {"declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"ye", true},
    {"byte-order mark and text", "\xEF\xBB\xBF<root>Gep", false},
};

// Run under valgrind as one CTest entry: every case hands the library the
// exact bytes of a cut-off file, in a heap block of exactly that size.
TEST(TruncatedCharacter, ParsingStaysInsideTheData) {
    for (const CutPlace& place : kCutPlaces) {
        for (const std::string& cut : kCutCharacters) {
            const std::string bytes = place.before + cut;
            SCOPED_TRACE(std::string(place.name) + " ending in " + std::to_string(cut.size()) + " byte(s)");
            std::unique_ptr<char[]> exact(new char[bytes.size()]);
            std::memcpy(exact.get(), bytes.data(), bytes.size());
            TiXmlDocument document;
            EXPECT_EQ(xml::Reader::ParseBytes(document, exact.get(), bytes.size()), place.complete);

            // The same through a document's own Parse, the library's route.
            xml::Document viaParse("unused.xml");
            viaParse.Parse(bytes.c_str());
            EXPECT_EQ(viaParse.Error(), !place.complete);
        }
    }
}

TEST(TruncatedCharacter, FilesLoadAsUnreadableAndAreKept) {
    TempDir dir;
    for (const CutPlace& place : kCutPlaces) {
        for (const std::string& cut : kCutCharacters) {
            SCOPED_TRACE(std::string(place.name) + " ending in " + std::to_string(cut.size()) + " byte(s)");
            const std::string path = dir.file("cut.xml");
            TempDir::write(path, place.before + cut);
            xml::Document document(path);
            testing::internal::CaptureStderr();
            EXPECT_FALSE(document.loadDocument());
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_NE(err.find("Can't load File: \"" + path + "\""), std::string::npos) << err;
            ASSERT_NE(document.getRoot(), nullptr);
        }
    }
}

// The reported case: a settings file cut inside the "ä" of a language name.
TEST(TruncatedCharacter, SettingsStoreStartsAfreshFromACutFile) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    const std::string cut = "<?xml version=\"1.0\" ?>\n<root>\n    <ui language=\"Deuts\xC3";
    TempDir::write(path, cut);
    testing::internal::CaptureStderr();
    {
        base::Config config(path);
        EXPECT_EQ(config.getString("ui", "language", "English"), "English");
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("config.xml.corrupt.1"), std::string::npos) << err;
    EXPECT_EQ(TempDir::read(path + ".corrupt.1"), cut);
    xml::Document reread(path);
    EXPECT_TRUE(reread.loadDocument());
}

// What the library reports for a file, in every detail a caller can see.
std::string describe(TiXmlDocument& document, bool loaded) {
    TiXmlPrinter printer;
    document.Accept(&printer);
    return std::string(loaded ? "loaded" : "failed") + " error=" + std::to_string(document.ErrorId()) + " \"" +
           document.ErrorDesc() + "\" at " + std::to_string(document.ErrorRow()) + ":" +
           std::to_string(document.ErrorCol()) + " value=" + document.ValueStr() + "\n" + printer.Str();
}

// Well-formed files, and broken ones that end cleanly, must read exactly as
// the library's own file reader reads them.
TEST(XmlReader, ReadsFilesAsTheLibraryDoes) {
    TempDir dir;
    std::vector<std::string> paths;
    const std::vector<std::string> crafted = {
        "<?xml version=\"1.0\" ?>\n<root>\n    <ui language=\"Deutsch\" />\n</root>\n",
        "<?xml version=\"1.0\" ?>\r\n<root>\r\n  <a x=\"1\">line one\r\nline two\rthree</a>\r\n</root>\r\n",
        "\xEF\xBB\xBF<root><t>Stra\xC3\x9F" "e &amp; \xE2\x82\xAC &#x41;&#66; &lt;&gt;&quot;&apos;</t></root>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?><root a=\"\xE4\xF6\xFC\">\xC4</root>",
        "<root><![CDATA[ <raw> ]]><!-- note --><!DOCTYPE x><empty/></root>",
        std::string("<root>before\0after</root>", 25),
        "<root><open></root>",
        "<root attr=\"unterminated>\n</root>",
        "   \n\n   ",
        "",
        "<?xml version=\"1.0\" ?>\n<root>\n    <Mission>Stra\xC3\xA4\xE2\x82\xAC\xF0\x9F\x9A\x9A</Mission>\n</root>",
    };
    for (size_t i = 0; i < crafted.size(); ++i) {
        paths.push_back(dir.file("crafted" + std::to_string(i) + ".xml"));
        TempDir::write(paths.back(), crafted[i]);
    }
    paths.push_back(dir.file("missing.xml"));
    // The generated data files the game reads.
    const std::string assets = "../assets/";
    paths.push_back(assets + "level/airport_scene.scene");
    for (const char* mission : {"level/mission/mission1.xml", "level/mission/mission-1.xml",
                                "config/normal/catering_truck.xml", "config/upgraded/fueltruck.xml"})
        paths.push_back(assets + mission);

    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        TiXmlDocument library(path);
        const bool libraryLoaded = library.LoadFile();
        TiXmlDocument ours;
        const bool oursLoaded = xml::Reader::LoadFile(ours, path);
        EXPECT_EQ(describe(ours, oursLoaded), describe(library, libraryLoaded));

        // xml::Document goes the same way, whichever entry is used.
        xml::Document document(path);
        const bool viaLibraryEntry = document.LoadFile();
        EXPECT_EQ(describe(document, viaLibraryEntry), describe(library, libraryLoaded));
    }
}

} // namespace
