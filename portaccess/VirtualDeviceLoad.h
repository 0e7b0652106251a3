#pragma once
// Loading the Windows 9x virtual device: the control writes the device image it carries
// next to itself, opens it through the "\\.\" namespace (which loads it) and deletes the
// file again. The steps are plain string handling around four file operations, which the
// control supplies; the tests supply their own, so the 9x road is exercised on any system.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace VirtualDeviceLoad {

inline constexpr char kDevicePrefix[] = "\\\\.\\";
inline constexpr char kFileName[] = "tm.vxd";

class Files {
public:
  virtual ~Files() = default;
  // Creates or truncates `path` and writes all of `bytes`; false on any failure.
  virtual bool Write(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  // The 8.3 form of an existing path; empty when the system cannot give it.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
  // Opens the device (delete-on-close, so it unloads with the handle); true when open.
  virtual bool OpenDevice(const std::string& devicePath) = 0;
  virtual void Delete(const std::string& path) = 0;
};

// Writes `image` as tm.vxd into the folder of `modulePath` (a full Windows path of the
// control) and opens it. True when the device is open; the written file is removed again
// once the open was tried, whatever its outcome.
bool Load(std::span<const std::uint8_t> image, const std::string& modulePath, Files& files);

}  // namespace VirtualDeviceLoad
