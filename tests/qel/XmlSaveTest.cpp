#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "Files.h"
#include "Qel/Qel.h"

using Qel::Exception;
using Qel::XML::XMLDoc;
using Qel::XML::XMLNode;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

const char* const kHandWritten =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- Nimbrel camera settings: edit with care -->\n"
    "<Config>\n"
    "    <!-- factory values -->\n"
    "    <CameraSettings>\n"
    "        <UI-1240LE-C>\n"
    "            <MasterGain>12</MasterGain>\n"
    "            <AutoGain>false</AutoGain>\n"
    "\n"
    "            <Exposure>33.5</Exposure>   <!-- ms -->\n"
    "            <UserMasterGain>40</UserMasterGain>\n"
    "            <UserExposure>10</UserExposure>\n"
    "        </UI-1240LE-C>\n"
    "        <Empty-M/>\n"
    "    </CameraSettings>\n"
    "    <AviUserLength>60</AviUserLength>\n"
    "</Config>\n";

class XmlSaveTest : public ::testing::Test {
protected:
    std::string path() const { return dir_.file("config.xml"); }

    XMLDoc loadHandWritten() {
        writeFile(path(), kHandWritten);
        XMLDoc doc(path(), true, false);
        doc.indent(false);
        return doc;
    }

    static XMLNode camera(const XMLDoc& doc, const char* name) {
        return doc.getRoot().getChild("CameraSettings", "").getChild(name, "");
    }

    std::string saveError(const XMLDoc& doc, const std::string& target) {
        try {
            doc.save(target, true);
        } catch (const Exception& error) {
            return error.what();
        }
        ADD_FAILURE() << "save to " << target << " did not fail";
        return {};
    }

    TempDir dir_;
};

TEST_F(XmlSaveTest, UnchangedDocumentIsWrittenBackByteForByte) {
    const XMLDoc doc = loadHandWritten();
    doc.save("", true);
    EXPECT_EQ(readFile(path()), kHandWritten);
}

TEST_F(XmlSaveTest, KeepsLayoutAndChangesOnlyWhatChanged) {
    XMLDoc doc = loadHandWritten();
    XMLNode cam = camera(doc, "UI-1240LE-C");
    cam.getChild("MasterGain", "").setText("20", true);
    cam.getChild("Exposure", "").setText("12.25", true);
    doc.getRoot().addChild("Language", -1).setText("French", true);
    camera(doc, "Empty-M").addChild("UserMasterGain", -1).setText("5", true);
    cam.addChild("First", 0);
    doc.save("", true);

    std::vector<std::string> expected = testsupport::lines(kHandWritten);
    expected[6] = "            <MasterGain>20</MasterGain>";
    expected[9] = "            <Exposure>12.25</Exposure>   <!-- ms -->";
    expected[13] = "        <Empty-M>";
    expected.insert(expected.begin() + 14, {"            <UserMasterGain>5</UserMasterGain>", "        </Empty-M>"});
    expected.insert(expected.begin() + 18, "    <Language>French</Language>");
    expected.insert(expected.begin() + 6, "            <First/>");
    EXPECT_EQ(testsupport::lines(readFile(path())), expected);
}

TEST_F(XmlSaveTest, RemovedElementsTakeTheirLineWithThem) {
    XMLDoc doc = loadHandWritten();
    XMLNode cam = camera(doc, "UI-1240LE-C");
    for (int i = cam.getChildrenCount() - 1; i >= 0; --i) {
        if (cam.getChildAt(i).getName().glob("User*")) cam.removeChildAt(i);
    }
    doc.getRoot().removeChildAt(1);  // AviUserLength
    doc.save("", true);

    std::vector<std::string> expected = testsupport::lines(kHandWritten);
    expected.erase(expected.begin() + 15);
    expected.erase(expected.begin() + 10, expected.begin() + 12);
    EXPECT_EQ(testsupport::lines(readFile(path())), expected);
}

TEST_F(XmlSaveTest, IndentPrettyPrintsWithTwoSpaces) {
    XMLDoc doc = loadHandWritten();
    camera(doc, "UI-1240LE-C").getChild("MasterGain", "").setText("20", true);
    doc.indent(true);
    doc.save("", false);
    EXPECT_EQ(readFile(path()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- Nimbrel camera settings: edit with care -->\n"
              "<Config>\n"
              "  <!-- factory values -->\n"
              "  <CameraSettings>\n"
              "    <UI-1240LE-C>\n"
              "      <MasterGain>20</MasterGain>\n"
              "      <AutoGain>false</AutoGain>\n"
              "      <Exposure>33.5</Exposure>\n"
              "      <!-- ms -->\n"
              "      <UserMasterGain>40</UserMasterGain>\n"
              "      <UserExposure>10</UserExposure>\n"
              "    </UI-1240LE-C>\n"
              "    <Empty-M />\n"
              "  </CameraSettings>\n"
              "  <AviUserLength>60</AviUserLength>\n"
              "</Config>\n");
}

TEST_F(XmlSaveTest, AddsBesideCommentsAndIntoBlankElements) {
    writeFile(path(),
              "<Root>\n"
              "\t<Cam>\n"
              "\t\t<!-- no preset yet -->\n"
              "\t</Cam>\n"
              "\t<Blank>\n"
              "\t</Blank>\n"
              "</Root>\n");
    XMLDoc doc(path(), true, false);
    doc.indent(false);
    doc.getRoot().getChild("Cam", "").addChild("UserMasterGain", -1).setText("3", true);
    doc.getRoot().getChild("Blank", "").addChild("UserMasterGain", -1).setText("4", true);
    doc.save("", true);
    EXPECT_EQ(readFile(path()),
              "<Root>\n"
              "\t<Cam>\n"
              "\t\t<!-- no preset yet -->\n"
              "\t\t<UserMasterGain>3</UserMasterGain>\n"
              "\t</Cam>\n"
              "\t<Blank>\n"
              "\t\t<UserMasterGain>4</UserMasterGain>\n"
              "\t</Blank>\n"
              "</Root>\n");
}

TEST_F(XmlSaveTest, WindowsLineEndsSurviveASave) {
    const std::string crlf = "<?xml version=\"1.0\"?>\r\n<Root>\r\n  <Gain>12</Gain>\r\n</Root>\r\n";
    writeFile(path(), crlf);
    XMLDoc doc(path(), true, false);
    doc.indent(false);
    EXPECT_EQ(doc.getRoot().getChild("Gain", "").getText().str(), "12");
    doc.getRoot().getChild("Gain", "").setText("13", true);
    doc.getRoot().addChild("Language", -1).setText("French", true);
    doc.save("", true);
    EXPECT_EQ(readFile(path()),
              "<?xml version=\"1.0\"?>\r\n<Root>\r\n  <Gain>13</Gain>\r\n"
              "  <Language>French</Language>\r\n</Root>\r\n");
}

TEST_F(XmlSaveTest, Latin1FileStaysLatin1) {
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Root><Language>Fran\xe7\x61is</Language></Root>\n";
    writeFile(path(), latin1);
    XMLDoc doc(path(), true, false);
    doc.indent(false);
    EXPECT_EQ(doc.getRoot().getChild("Language", "").getText().str(), "Fran\xc3\xa7\x61is");
    doc.save("", true);
    EXPECT_EQ(readFile(path()), latin1);
}

TEST_F(XmlSaveTest, CreatedDocumentGrowsIntoATidyFile) {
    XMLDoc doc(path(), true, true);
    EXPECT_EQ(doc.getRoot().getChildrenCount(), 0);
    EXPECT_TRUE(dir_.entries().empty()) << "loading must not create the file";
    doc.indent(false);
    doc.getRoot().addChild("Language", -1).setText("French", true);
    doc.getRoot().addChild("AviUserLength", -1).setText("10", true);
    doc.save("", true);
    const XMLDoc back(path(), true, false);
    EXPECT_EQ(back.getRoot().getChild("AviUserLength", "").getText().str(), "10");
    const auto written = testsupport::lines(readFile(path()));
    ASSERT_EQ(written.size(), 5u);
    EXPECT_EQ(written[2], "  <Language>French</Language>");
}

TEST_F(XmlSaveTest, SavesElsewhereThroughBackslashPaths) {
    const XMLDoc doc = loadHandWritten();
    ::mkdir(dir_.file("res").c_str(), 0755);
    doc.save(dir_.path() + "\\res\\copy.xml", true);
    EXPECT_EQ(readFile(dir_.file("res/copy.xml")), kHandWritten);
    EXPECT_EQ(doc.getPath().str(), path());
}

TEST_F(XmlSaveTest, KeepsPermissionsOfTheOldFile) {
    const XMLDoc doc = loadHandWritten();
    ::chmod(path().c_str(), 0600);
    doc.save("", true);
    struct stat info {};
    ASSERT_EQ(::stat(path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    doc.save(dir_.file("fresh.xml"), false);
    ASSERT_EQ(::stat(dir_.file("fresh.xml").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(XmlSaveTest, SavingThroughALinkReplacesItsTarget) {
    const XMLDoc doc = loadHandWritten();
    ASSERT_EQ(::symlink(path().c_str(), dir_.file("link.xml").c_str()), 0);
    XMLDoc viaLink(dir_.file("link.xml"), true, false);
    viaLink.indent(false);
    viaLink.getRoot().getChild("AviUserLength", "").setText("61", true);
    viaLink.save("", true);
    struct stat info {};
    ASSERT_EQ(::lstat(dir_.file("link.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_NE(readFile(path()).find("<AviUserLength>61</AviUserLength>"), std::string::npos);
}

TEST_F(XmlSaveTest, FailedSavesNameTheFileAndTheReasonAndLeaveEverythingAsItWas) {
    const XMLDoc doc = loadHandWritten();
    ::mkdir(dir_.file("taken.xml").c_str(), 0755);
    writeFile(dir_.file("taken.xml/inside.txt"), "keep");
    for (const auto& [target, reason] :
         {std::pair{"taken.xml", "directory"}, std::pair{"nowhere/config.xml", "No such file"}}) {
        const std::string message = saveError(doc, dir_.file(target));
        EXPECT_NE(message.find(dir_.file(target)), std::string::npos) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
    EXPECT_EQ(readFile(dir_.file("taken.xml/inside.txt")), "keep");
    EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"config.xml", "taken.xml"}));

    const XMLDoc unnamed;
    EXPECT_THROW(unnamed.save("", true), Exception);
}

// Holds the process to a tiny file size so that writing fails half-way,
// whoever runs the test (permissions do not stop root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    sighandler_t oldHandler_;
};

TEST_F(XmlSaveTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    XMLDoc doc = loadHandWritten();
    doc.getRoot().addChild("Padding", -1).setText(std::string(100000, 'x'), true);
    std::string message;
    {
        const FileSizeLimit limit(4096);
        message = saveError(doc, "");
    }
    EXPECT_NE(message.find(path()), std::string::npos) << message;
    EXPECT_NE(message.find("large"), std::string::npos) << message;  // EFBIG
    EXPECT_EQ(readFile(path()), kHandWritten);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>{"config.xml"});
}

TEST_F(XmlSaveTest, SaveRemovesOnlyTemporariesThatNoSaveHolds) {
    XMLDoc doc = loadHandWritten();
    for (const char* name : {".config.xml.dead01", ".config.xml.live01", ".config.xml.notes", ".other.xml.dead02"})
        writeFile(dir_.file(name), "x");
    const int live = ::open(dir_.file(".config.xml.live01").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);  // as a save still writing it holds it
    doc.save("", true);
    ::close(live);
    EXPECT_EQ(dir_.entries(),
              (std::vector<std::string>{".config.xml.live01", ".config.xml.notes", ".other.xml.dead02", "config.xml"}));
}

}  // namespace
