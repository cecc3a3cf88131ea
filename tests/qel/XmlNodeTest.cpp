#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Files.h"
#include "Qel/Qel.h"

using Qel::XML::XMLDoc;
using Qel::XML::XMLNode;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

// A document loaded from a real file, kept with its scratch folder.
class XmlNodeTest : public ::testing::Test {
protected:
    XMLDoc load(const std::string& text, bool keepLayout = true) {
        writeFile(dir_.file("doc.xml"), text);
        return XMLDoc(dir_.file("doc.xml"), keepLayout, false);
    }

    static std::vector<std::string> childNames(const XMLNode& node) {
        std::vector<std::string> names;
        for (int i = 0; i < node.getChildrenCount(); ++i) names.push_back(node.getChildAt(i).getName().str());
        return names;
    }

    TempDir dir_;
};

using Names = std::vector<std::string>;

TEST_F(XmlNodeTest, GetChildFindsTheFirstElementOfThatName) {
    XMLDoc doc = load("<Root><!--Gain-->text<Gain>1</Gain><Gain>2</Gain><q:Gain>3</q:Gain></Root>");
    XMLNode root = doc.getRoot();
    EXPECT_EQ(root.getChild("Gain", "").getText().str(), "1");
    EXPECT_EQ(root.getChild("Gain", "q").getText().str(), "3");
    EXPECT_TRUE(root.getChild("gain", "").isNull());
    EXPECT_TRUE(root.getChild("Gain", "x").isNull());
    EXPECT_TRUE(root.getChild("", "").isNull());
    EXPECT_TRUE(root.getChild("Gain", "").getChild("Gain", "").isNull());
}

TEST_F(XmlNodeTest, SetTextReplacesOrAppendsAndKeepsChildElements) {
    XMLDoc doc = load("<Root><Gain>12</Gain><Mixed>a<Keep>k</Keep>b</Mixed><Empty/></Root>");
    XMLNode root = doc.getRoot();
    XMLNode gain = root.getChild("Gain", "");
    gain.setText("30", true);
    EXPECT_EQ(gain.getText().str(), "30");
    gain.setText("5", false);
    EXPECT_EQ(gain.getText().str(), "305");

    XMLNode mixed = root.getChild("Mixed", "");
    mixed.setText("new", true);
    EXPECT_EQ(mixed.getText().str(), "new");
    EXPECT_EQ(mixed.getChild("Keep", "").getText().str(), "k");
    EXPECT_EQ(mixed.getChildrenCount(), 1);

    XMLNode empty = root.getChild("Empty", "");
    empty.setText("", true);
    EXPECT_EQ(empty.getText().str(), "");
    empty.setText("x<&>y", true);
    EXPECT_EQ(empty.getText().str(), "x<&>y");
}

TEST_F(XmlNodeTest, AddChildAppendsOrInsertsAmongElements) {
    XMLDoc doc = load("<Root><A/>text<B/><!--c--><![CDATA[x]]><C/></Root>");
    XMLNode root = doc.getRoot();
    EXPECT_EQ(childNames(root), (Names{"A", "B", "C"}));
    EXPECT_TRUE(root.getChildAt(3).isNull());
    EXPECT_TRUE(root.getChildAt(-1).isNull());
    EXPECT_EQ(root.addChild("End", -1).getName().str(), "End");
    EXPECT_EQ(childNames(root), (Names{"A", "B", "C", "End"}));
    root.addChild("First", 0);
    root.addChild("Second", 1);
    root.addChild("BeforeEnd", 4);
    root.addChild("Past", 99);
    EXPECT_EQ(childNames(root), (Names{"First", "Second", "A", "B", "BeforeEnd", "C", "End", "Past"}));
    root.addChild("Negative", -7);
    EXPECT_EQ(root.getChildAt(root.getChildrenCount() - 1).getName().str(), "Negative");
}

TEST_F(XmlNodeTest, RemoveChildAtRemovesTheNthElement) {
    XMLDoc doc = load("<Root><A/>t<B><Inner/></B><!--c--><C/></Root>");
    XMLNode root = doc.getRoot();
    EXPECT_FALSE(root.removeChildAt(3));
    EXPECT_FALSE(root.removeChildAt(-1));
    EXPECT_TRUE(root.removeChildAt(1));
    EXPECT_EQ(childNames(root), (Names{"A", "C"}));
    EXPECT_EQ(root.getText().str(), "t");
    EXPECT_TRUE(root.removeChildAt(0));
    EXPECT_TRUE(root.removeChildAt(0));
    EXPECT_EQ(root.getChildrenCount(), 0);
    EXPECT_FALSE(root.removeChildAt(0));
}

TEST_F(XmlNodeTest, CastBoolean) {
    for (const char* yes : {"true", "TRUE", "True", "yes", "YES", "on", "On", "1", " true\n", "\t1 "}) {
        EXPECT_TRUE(XMLDoc::castBoolean(yes)) << '"' << yes << '"';
    }
    for (const char* no : {"false", "0", "", "   ", "no", "off", "2", "truee", "t rue", "10", "-1"}) {
        EXPECT_FALSE(XMLDoc::castBoolean(no)) << '"' << no << '"';
    }
}

}  // namespace
