#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <wx/string.h>

#include <string>
#include <utility>
#include <vector>

#include "Files.h"
#include "Qel/Qel.h"

using Qel::Exception;
using Qel::Strings::hstring;
using Qel::XML::XMLDoc;
using Qel::XML::XMLNode;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

std::string loadError(const std::string& path) {
    try {
        XMLDoc doc(path, true, false);
    } catch (const Exception& error) {
        EXPECT_EQ(error.getSeverity(), Exception::Error);
        return error.what();
    }
    ADD_FAILURE() << "no exception for " << path;
    return {};
}

struct LoadError {
    const char* name;
    // nullptr: no such file; "/": a folder; "|": a FIFO without a writer;
    // "=": a socket; "~": a link to /dev/zero; "+": a sparse file past 64 MiB
    const char* content;
    std::vector<std::string> says;
};

const LoadError kLoadErrors[] = {
    {"absent.xml", nullptr, {"absent.xml", "No such file"}},
    {"bad.xml", "<Root>\n  <Gain>12</Gian>\n</Root>\n", {"bad.xml", "mismatch", "offset "}},
    {"cut.xml", "<Root><CameraSettings><UI-1", {"cut.xml", "offset"}},
    {"empty.xml", "", {"empty.xml", "offset 0"}},
    {"text.xml", "just words", {"text.xml"}},
    // Tests may run as root, which reads any file: a folder is unreadable for everyone.
    {"folder.xml", "/", {"folder.xml", "directory"}},
    // Refused before any read: none of these may block or fill the memory.
    {"fifo.xml", "|", {"fifo.xml", "FIFO", "not a regular file"}},
    {"socket.xml", "=", {"socket.xml", "socket"}},
    {"zero.xml", "~", {"zero.xml", "character device"}},
    {"huge.xml", "+", {"huge.xml", "67108865 bytes", "64 MiB"}},
};

void make(const std::string& path, const std::string& content) {
    if (content == "/") {
        ::mkdir(path.c_str(), 0755);
    } else if (content == "|") {
        ::mkfifo(path.c_str(), 0644);
    } else if (content == "~") {
        ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0);
    } else if (content == "+") {
        writeFile(path, "<Root/>");
        ASSERT_EQ(::truncate(path.c_str(), 64 * 1024 * 1024 + 1), 0);
    } else if (content == "=") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(path.size(), sizeof address.sun_path);
        path.copy(address.sun_path, path.size());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);  // the socket file stays
    } else {
        writeFile(path, content);
    }
}

TEST(XmlLoadErrors, NameThePathAndTheReason) {
    const TempDir dir;
    for (const LoadError& row : kLoadErrors) {
        const std::string path = dir.file(row.name);
        if (row.content) make(path, row.content);
        const std::string message = loadError(path);
        for (const std::string& part : row.says) EXPECT_NE(message.find(part), std::string::npos) << message;
    }
    EXPECT_THROW(XMLDoc(dir.file("folder.xml"), true, true), Exception)
        << "createIfMissing is only for a file that does not exist";
}

TEST(XmlLoadMissing, DefaultDocumentHasOnlyNullNodes) {
    const XMLDoc doc;
    XMLNode root = doc.getRoot();
    EXPECT_TRUE(root.isNull());
    EXPECT_TRUE(root.getChild("CameraSettings", "").isNull());
    EXPECT_EQ(root.getText().str(), "");
    EXPECT_EQ(root.getName().str(), "");
    EXPECT_EQ(root.getChildrenCount(), 0);
    EXPECT_TRUE(root.getChildAt(0).isNull());
    EXPECT_FALSE(root.removeChildAt(0));
    EXPECT_TRUE(root.addChild("X", -1).isNull());
    root.setText("ignored", true);
    EXPECT_EQ(root.getText().str(), "");
}

TEST(XmlLoadText, ElementTextIsExactInBothModes) {
    const TempDir dir;
    writeFile(dir.file("c.xml"),
              "<?xml version=\"1.0\"?>\n<!-- settings -->\n<Root>\n  <Gain>12</Gain>\n"
              "  <Name><![CDATA[a<b]]></Name>\n  <Amp>&amp;&lt;</Amp>\n</Root>\n");
    for (const bool keepLayout : {true, false}) {
        const XMLDoc doc(dir.file("c.xml"), keepLayout, false);
        XMLNode root = doc.getRoot();
        EXPECT_EQ(root.getName().str(), "Root");
        EXPECT_EQ(root.getChild("Gain", "").getText().str(), "12");
        EXPECT_EQ(root.getChild("Name", "").getText().str(), "a<b");
        EXPECT_EQ(root.getChild("Amp", "").getText().str(), "&<");
        EXPECT_EQ(root.getChildrenCount(), 3);
        EXPECT_EQ(root.getChild("Missing", "").getText().str(), "");
    }
}

TEST(XmlLoadHostile, DeepNestingLoadsCopiesAndSaves) {
    const TempDir dir;
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    writeFile(dir.file("deep.xml"), text);
    const XMLDoc doc(dir.file("deep.xml"), true, false);
    XMLDoc copy(doc);
    copy.indent(false);
    copy.save(dir.file("deep-out.xml"), false);
    std::string expected = text + "\n";
    expected.replace(expected.find("<a></a>"), 7, "<a/>");
    EXPECT_TRUE(testsupport::readFile(dir.file("deep-out.xml")) == expected);  // too long to print
}

TEST(XmlLoadHostile, OddContentDoesNotCrash) {
    const TempDir dir;
    writeFile(dir.file("odd.xml"),
              "<Root><Bytes>\xff\xfe\x80</Bytes>"
              "<Mixed>1<Inner>x</Inner>2</Mixed><Empty/><Blank>   </Blank></Root>");
    const XMLDoc doc(dir.file("odd.xml"), true, false);
    XMLNode root = doc.getRoot();
    EXPECT_EQ(root.getChild("Bytes", "").getText().length(), 3u);
    EXPECT_FALSE(root.getChild("Bytes", "").getText().wxstr().empty());
    EXPECT_EQ(root.getChild("Mixed", "").getText().str(), "12");
    EXPECT_EQ(root.getChild("Empty", "").getText().str(), "");
    EXPECT_EQ(root.getChild("Blank", "").getText().str(), "   ");
}

TEST(XmlCopy, CopiesAreDeepAndIndependent) {
    const TempDir dir;
    writeFile(dir.file("c.xml"), "<Root><Language>English</Language></Root>");
    XMLDoc original(dir.file("c.xml"), true, false);
    const XMLDoc copy(original);
    XMLDoc assigned;
    assigned = original;
    original.getRoot().getChild("Language", "").setText("German", true);
    EXPECT_EQ(copy.getRoot().getChild("Language", "").getText().str(), "English");
    EXPECT_EQ(assigned.getRoot().getChild("Language", "").getText().str(), "English");
    EXPECT_EQ(assigned.getPath(), original.getPath());

    const XMLDoc& same = assigned;
    assigned = same;  // self-assignment keeps the document
    EXPECT_EQ(assigned.getRoot().getChild("Language", "").getText().str(), "English");
    assigned = XMLDoc();
    EXPECT_TRUE(assigned.getRoot().isNull());

    // A move takes the document with its path and its save settings.
    XMLDoc source(dir.file("c.xml"), true, false);
    source.indent(false);
    assigned = std::move(source);
    assigned.save("", false);
    EXPECT_EQ(testsupport::readFile(dir.file("c.xml")), "<Root><Language>English</Language></Root>\n");
}

// A host started without standard input: descriptor 0 is the first free one,
// and a load and a save that get it must give it back.
TEST(XmlFiles, DescriptorZeroIsReturnedLikeAnyOther) {
    const TempDir dir;
    writeFile(dir.file("z.xml"), "<Root/>");
    const int input = ::dup(0);
    ::close(0);
    {
        XMLDoc doc(dir.file("z.xml"), true, false);
        doc.save("", true);
    }
    const bool held = ::fcntl(0, F_GETFD) != -1;
    ::dup2(input, 0);
    ::close(input);
    EXPECT_FALSE(held);
}

}  // namespace
