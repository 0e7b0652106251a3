// The Windows 9x road of the control: write the carried device next to the control, open
// it by its short name, delete the file.
#include "portaccess/VirtualDeviceLoad.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FakeFiles : VirtualDeviceLoad::Files {
  bool writeOk = true, shortOk = true, openOk = true;
  std::vector<std::string> log;
  std::vector<std::uint8_t> written;

  bool Write(const std::string& path, std::span<const std::uint8_t> bytes) override
  {
    log.push_back("write " + path);
    written.assign(bytes.begin(), bytes.end());
    return writeOk;
  }
  std::optional<std::string> ShortPath(const std::string& path) override
  {
    log.push_back("short " + path);
    return shortOk ? std::optional<std::string>("C:\\KEYLOO~1\\TM.VXD") : std::nullopt;
  }
  bool OpenDevice(const std::string& devicePath) override
  {
    log.push_back("open " + devicePath);
    return openOk;
  }
  void Delete(const std::string& path) override { log.push_back("delete " + path); }
};

TEST(VirtualDeviceLoad, WritesOpensByShortNameAndDeletesWhateverTheOutcome)
{
  const std::vector<std::uint8_t> image = {'M', 'Z', 0x90, 0x00, 0x4C, 0x45};
  const std::string module = "C:\\Keyloom Folder\\tamrin.ocx";
  const std::string file = "write C:\\Keyloom Folder\\tm.vxd";
  const std::string shortOf = "short C:\\Keyloom Folder\\tm.vxd";
  const std::string open = "open \\\\.\\C:\\KEYLOO~1\\TM.VXD";
  const std::string del = "delete C:\\KEYLOO~1\\TM.VXD";
  struct Case {
    const char* what;
    bool writeOk, shortOk, openOk;
    bool loaded;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"loads", true, true, true, true, {file, shortOf, open, del}},
      {"device refused", true, true, false, false, {file, shortOf, open, del}},
      {"no short name", true, false, true, false, {file, shortOf, "delete C:\\Keyloom Folder\\tm.vxd"}},
      {"write fails", false, true, true, false, {file}},
  };
  for (const Case& c : cases) {
    FakeFiles fs;
    fs.writeOk = c.writeOk;
    fs.shortOk = c.shortOk;
    fs.openOk = c.openOk;
    EXPECT_EQ(VirtualDeviceLoad::Load(image, module, fs), c.loaded) << c.what;
    EXPECT_EQ(fs.log, c.log) << c.what;
    EXPECT_EQ(fs.written, image) << c.what;
  }
}

TEST(VirtualDeviceLoad, NothingIsWrittenWithoutAnImageOrAFolder)
{
  const std::vector<std::uint8_t> image = {1, 2, 3};
  FakeFiles fs;
  EXPECT_FALSE(VirtualDeviceLoad::Load({}, "C:\\K\\tamrin.ocx", fs));
  EXPECT_FALSE(VirtualDeviceLoad::Load(image, "tamrin.ocx", fs));
  EXPECT_TRUE(fs.log.empty());
}

}  // namespace
