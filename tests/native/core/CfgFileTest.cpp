#include <sstream>

#include "CoreTestSupport.h"
#include "core/CfgFile.h"

using namespace CfgFile;
namespace fs = std::filesystem;

class CfgFileTest : public CoreTest {
protected:
    void Read(const std::string& content) {
        std::istringstream in(content);
        ReadCfgFrom(&in);
    }
};

TEST_F(CfgFileTest, WrittenFileIsExact) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    g_fUsbMode = false;
    g_lDownloadSpeed = 100;
    g_lTimeout = 5000;
    const fs::path p = TempDir() / "Keyloom.cfg";
    WriteCfgFile(p.string());
    EXPECT_EQ(ReadAll(p), "[BOARD TYPE] 4\r\n[USB MODE] False\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n");
    // Given settings are written as they are, and the globals stay.
    WriteCfgFile(p.string(), {TYPEQUORBA_QuorbaVexo, true, 50, 1200});
    EXPECT_EQ(ReadAll(p), "[BOARD TYPE] 5\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 50\r\n[TIMEOUT] 1200\r\n");
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);
    EXPECT_FALSE(g_fUsbMode);
}

TEST_F(CfgFileTest, RoundTrip) {
    const fs::path p = TempDir() / "Keyloom.cfg";
    for (std::int16_t type : {TYPEQUORBA_Quorba2, TYPEQUORBA_Quorba4, TYPEQUORBA_QuorbaVexo}) {
        for (bool usb : {true, false}) {
            g_typeQuorba = type;
            g_fUsbMode = usb;
            g_lDownloadSpeed = 9999;
            g_lTimeout = 1000;
            WriteCfgFile(p.string());
            g_typeQuorba = 0;
            g_fUsbMode = !usb;
            g_lDownloadSpeed = g_lTimeout = 1;
            ReadCfgFile(p.string());
            EXPECT_EQ(g_typeQuorba, type);
            EXPECT_EQ(g_fUsbMode, usb);
            EXPECT_EQ(g_lDownloadSpeed, 9999);
            EXPECT_EQ(g_lTimeout, 1000);
        }
    }
}

TEST_F(CfgFileTest, LongTimeoutsReadWhole) {
    for (std::int32_t t : {10000, 12000, 100000, 2147483647}) {
        g_lTimeout = t;
        std::ostringstream out;
        WriteCfgTo(out);
        g_lTimeout = 0;
        Read(out.str());
        EXPECT_EQ(g_lTimeout, t);
    }
}

// Whatever the four columns 11-14 read completely reads as before.
TEST_F(CfgFileTest, TimeoutThatFitsTheOldColumnsReadsAsBefore) {
    const std::string head = "[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n";
    struct Case {
        const char* line;
        std::int32_t expected;
    };
    for (const Case c : {Case{"[TIMEOUT] 5000", 5000}, Case{"[TIMEOUT] 5000 1", 5000}, Case{"[TIMEOUT] 5 00", 500},
                         Case{"[TIMEOUT] 5000ms", 5000}, Case{"[TIMEOUT] 12.5", 12}, Case{"[TIMEOUT] 13.5", 14},
                         Case{"[TIMEOUT] 800", 800}, Case{"[TIMEOUT] x", 3000}, Case{"[TIMEOUT] ", 3000},
                         Case{"[TIMEOUT] 0", 3000}, Case{"[TIMEOUT] -5", -5}, Case{"[TIMEOUT]5000", 3000},
                         Case{"[TIMEOUT] 99999999999", 5000}}) {
        g_lTimeout = 5000;
        Read(head + c.line + "\r\n");
        EXPECT_EQ(g_lTimeout, c.expected) << c.line;
    }
}

TEST_F(CfgFileTest, BoardTypeRules) {
    Read("[BOARD TYPE] 3\r\n");
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
    Read("[BOARD TYPE] 5\r\n");
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_QuorbaVexo);
    Read("[BOARD TYPE] 45\r\n");  // column 14 only
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);
    Read("[BOARD TYPE] x\r\n");
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
    g_typeQuorba = TYPEQUORBA_Quorba4;
    Read("   \r\n");  // blank: the board type stays
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);
    g_typeQuorba = 9;
    Read("");
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
}

TEST_F(CfgFileTest, UsbLineRules) {
    g_fUsbMode = false;
    Read("[BOARD TYPE] 4\r\n");  // second line missing
    EXPECT_TRUE(g_fUsbMode);
    g_fUsbMode = false;
    Read("[BOARD TYPE] 4\r\n   \r\n");  // blank
    EXPECT_TRUE(g_fUsbMode);
    Read("[BOARD TYPE] 4\r\n[USB MODE] false\r\n");
    EXPECT_FALSE(g_fUsbMode);
    Read("[BOARD TYPE] 4\r\n[USB MODE] TRUE\r\n");
    EXPECT_TRUE(g_fUsbMode);
    Read("[BOARD TYPE] 4\r\n[USB MODE] 0\r\n");
    EXPECT_FALSE(g_fUsbMode);
    Read("[BOARD TYPE] 4\r\n[USB MODE] -1\r\n");
    EXPECT_TRUE(g_fUsbMode);
    Read("[BOARD TYPE] 4\r\n[USB MODE] yes\r\n");
    EXPECT_FALSE(g_fUsbMode);
    Read("[BOARD TYPE] 4\r\n[USB MODE]\r\n");  // columns 12-16 empty
    EXPECT_FALSE(g_fUsbMode);
}

TEST_F(CfgFileTest, SpeedRules) {
    const std::string head = "[BOARD TYPE] 2\r\n[USB MODE] True\r\n";
    Read(head + "[DOWNLOAD SPEED] 0\r\n");
    EXPECT_EQ(g_lDownloadSpeed, 50);
    Read(head + "[DOWNLOAD SPEED] abc\r\n");
    EXPECT_EQ(g_lDownloadSpeed, 50);
    Read(head + "[DOWNLOAD SPEED] 12345\r\n");  // four columns: the speed keeps its fixed width
    EXPECT_EQ(g_lDownloadSpeed, 1234);
    Read(head + "[DOWNLOAD SPEED] 2.5\r\n");
    EXPECT_EQ(g_lDownloadSpeed, 2);
    Read(head);  // third line missing: the USB line is read again, no number in columns 18-21
    EXPECT_EQ(g_lDownloadSpeed, 50);
    EXPECT_EQ(g_lTimeout, 3000);
}

TEST_F(CfgFileTest, MissingFileChangesNothing) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    g_fUsbMode = false;
    ReadCfgFile((TempDir() / "Keyloom.cfg").string());
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);
    EXPECT_FALSE(g_fUsbMode);
    EXPECT_EQ(g_lTimeout, 5000);
    EXPECT_EQ(g_lDownloadSpeed, 100);
}

TEST_F(CfgFileTest, EmptyOrUnreadableFileGivesTheFallbacks) {
    ReadCfgFrom(nullptr);
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
    EXPECT_TRUE(g_fUsbMode);
    EXPECT_EQ(g_lDownloadSpeed, 50);
    EXPECT_EQ(g_lTimeout, 3000);
}

TEST_F(CfgFileTest, FailedWriteKeepsTheOldFile) {
    class FailingReplace : public Util::IFileSystem {
    public:
        bool ReplaceFile(const std::string&, const std::string&, std::string& sWhy) override {
            sWhy = "refused";
            return false;
        }
    } failing;
    const fs::path p = TempDir() / "Keyloom.cfg";
    WriteAll(p, "[BOARD TYPE] 5\r\n");
    Util::SetFileSystem(&failing);
    EXPECT_THROW(WriteCfgFile(p.string()), Util::FileWriteError);
    EXPECT_EQ(ReadAll(p), "[BOARD TYPE] 5\r\n");
    EXPECT_FALSE(fs::exists(p.string() + ".tmp~"));
}

TEST_F(CfgFileTest, TextToBool) {
    EXPECT_TRUE(TextToBool("True"));
    EXPECT_TRUE(TextToBool("tRuE"));
    EXPECT_FALSE(TextToBool("FALSE"));
    EXPECT_TRUE(TextToBool(" True "));
    EXPECT_TRUE(TextToBool("1.5"));
    EXPECT_FALSE(TextToBool("0"));
    EXPECT_FALSE(TextToBool(""));
    EXPECT_FALSE(TextToBool("1x"));
    EXPECT_EQ(BoolToText(true), "True");
    EXPECT_EQ(BoolToText(false), "False");
}
