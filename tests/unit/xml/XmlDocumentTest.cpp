#include "support/TempDir.h"

#include <xml/Document.h>
#include <xml/Element.h>
#include <xml/Iterator.h>
#include <xml/Path.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(XmlDocument, MissingFileBecomesAnEmptyRootFile) {
    TempDir dir;
    const std::string path = dir.file("missing.xml");
    xml::Document doc(path);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(doc.loadDocument());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Can't load File: \"" + path + "\" - creating virtual file -->Failed to open file"),
              std::string::npos) << err;
    ASSERT_NE(doc.getRoot(), nullptr);
    EXPECT_EQ(doc.getRoot()->GetName(), "root");

    xml::Document again(path);
    EXPECT_TRUE(again.loadDocument());
    EXPECT_EQ(TempDir::read(path), "<?xml version=\"1.0\" ?>\n<root />\n");
}

TEST(XmlDocument, UnparsableFileIsKeptBesideTheFreshOne) {
    TempDir dir;
    const std::string path = dir.file("broken.xml");
    TempDir::write(path, "<<< not xml");
    xml::Document doc(path);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(doc.loadDocument());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("broken.xml.corrupt.1"), std::string::npos) << err;
    EXPECT_EQ(TempDir::read(path + ".corrupt.1"), "<<< not xml");
    EXPECT_EQ(doc.getRoot()->GetName(), "root");
}

TEST(XmlDocument, SaveLeavesNoTemporaryAndReportsFailure) {
    TempDir dir;
    xml::Document doc(dir.file("out.xml"));
    doc.setRoot("root");
    doc.setRoot("other"); // a root exists already: no change
    EXPECT_TRUE(doc.saveDocument());
    EXPECT_EQ(TempDir::read(dir.file("out.xml")), "<?xml version=\"1.0\" ?>\n<root />\n");
    EXPECT_TRUE(TempDir::read(dir.file("out.xml.tmp")).empty());

    xml::Document nowhere(dir.file("no/such/dir/out.xml"));
    nowhere.setRoot("root");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(nowhere.saveDocument());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Can't save File: \""), std::string::npos);
}

class XmlTree : public ::testing::Test {
protected:
    void SetUp() override {
        TempDir::write(path, R"(<root>
  <a name="first" flag="true" upper="TRUE" num=" 42" mixed="12abc" f="2.5">
    <x id="1"/>
    <b>text</b>
  </a>
  <b id="2"><c/></b>
  <n>7</n>
</root>)");
        ASSERT_TRUE(doc.loadDocument());
    }
    TempDir dir;
    std::string path = dir.file("tree.xml");
    xml::Document doc{path};
};

TEST_F(XmlTree, ElementGettersParseLikeAStream) {
    const xml::Element* a = doc.FindFirst("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetAttribute("name"), "first");
    EXPECT_EQ(a->GetAttribute("absent"), "");
    EXPECT_TRUE(a->GetAttributeBool("flag", false));
    EXPECT_FALSE(a->GetAttributeBool("upper", true));
    EXPECT_TRUE(a->GetAttributeBool("absent", true));
    EXPECT_EQ(a->GetAttributeInt("num", 0), 42);
    EXPECT_EQ(a->GetAttributeInt("mixed", 0), 12);
    EXPECT_EQ(a->GetAttributeInt("absent", -3), -3);
    EXPECT_FLOAT_EQ(a->GetAttributeFloat("f", 0.f), 2.5f);
    EXPECT_EQ(a->GetChild("b")->GetValue(), "text");
    EXPECT_EQ(a->GetChild("")->GetName(), "x");
    EXPECT_EQ(a->GetChild("x")->GetSibling("")->GetName(), "b");
    EXPECT_EQ(a->GetIntValue(5), 5); // no text
    EXPECT_EQ(doc.FindFirst("n")->GetIntValue(0), 7);
    EXPECT_EQ(doc.FindFirst("c"), nullptr); // direct children of the root only
}

TEST_F(XmlTree, FindWalksDepthFirstFromTheStart) {
    // The "b" inside "a" comes before the later sibling "b".
    std::unique_ptr<xml::Iterator> it(xml::Iterator::Find(doc, "b"));
    ASSERT_TRUE(it);
    EXPECT_EQ(it->GetValue(), "text");
    EXPECT_EQ(xml::Iterator::Find(doc, "root"), nullptr);
    EXPECT_EQ(xml::Iterator::Find(doc, "zzz"), nullptr);

    xml::Iterator walker(&doc);
    EXPECT_EQ(walker.GetName(), "a");
    EXPECT_TRUE(walker.NextSibling());
    EXPECT_TRUE(walker.Find("c")); // below the current element
    EXPECT_FALSE(walker.Find("a")); // never looks back
    EXPECT_EQ(walker.GetName(), "c");
    EXPECT_TRUE(walker.goToParent());
    EXPECT_EQ(walker.GetAttibuteInt("id", 0), 2);
    EXPECT_TRUE(walker.GoToFirstElement());
    EXPECT_FALSE(walker.goToParent()); // above the root is the document, not an element
}

TEST_F(XmlTree, EditingThroughTheIterator) {
    xml::Iterator it(&doc);
    EXPECT_TRUE(it.Add(xml::Element("inserted")));
    EXPECT_TRUE(it.AddChild(xml::Element("last")));
    EXPECT_TRUE(it.SetAttribute("name", "renamed"));
    EXPECT_EQ(doc.FindFirst("a")->GetAttribute("name"), "renamed");
    EXPECT_EQ(doc.FindFirst("a")->NextSiblingElement()->ValueStr(), "inserted");

    ASSERT_TRUE(it.Find("last"));
    EXPECT_TRUE(it.SetValue("hello"));
    EXPECT_TRUE(it.SetValue("again")); // replaces the text
    EXPECT_EQ(it.GetValue(), "again");

    // Removing the last child leaves the iterator on nothing.
    EXPECT_TRUE(it.Remove());
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_FALSE(it.SetAttribute("k", "v"));
    EXPECT_FALSE(it.Remove());
    EXPECT_EQ(it.GetAttibuteInt("id", 9), 9);
    EXPECT_EQ(it.GetName(), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(it.GetValue(), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("element has no content!"), std::string::npos);
}

TEST(XmlPath, GoToBuildsMissingElementsOnce) {
    TempDir dir;
    xml::Document doc(dir.file("p.xml"));
    doc.setRoot("root");
    xml::Iterator it(&doc);
    xml::Path path;
    path.Add("a").Add(std::string("b"));
    ASSERT_TRUE(it.GoTo(path));
    EXPECT_EQ(it.GetName(), "b");
    ASSERT_TRUE(it.GoTo(path));
    EXPECT_EQ(it.GetName(), "b");
    int count = 0;
    for (auto* e = doc.getRoot()->FirstChildElement(); e; e = e->NextSiblingElement())
        ++count;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(doc.getRoot()->FirstChildElement("a")->FirstChildElement("b"), it.current());

    // A new key is inserted after the last child examined.
    xml::Path other;
    other.Add("c");
    ASSERT_TRUE(it.GoTo(other));
    EXPECT_EQ(doc.getRoot()->FirstChildElement()->NextSiblingElement()->ValueStr(), "c");

    EXPECT_FALSE(other.Next());
    other.Clear();
    EXPECT_FALSE(other.Next());
}

} // namespace
