#include "portaccess/VirtualDeviceLoad.h"

namespace VirtualDeviceLoad {

bool Load(std::span<const std::uint8_t> image, const std::string& modulePath, Files& files)
{
  // Without an image there is nothing to load, and a path without a folder is no place
  // we could write to.
  const std::size_t slash = modulePath.find_last_of('\\');
  if (image.empty() || slash == std::string::npos) {
    return false;
  }
  const std::string filePath = modulePath.substr(0, slash + 1) + kFileName;
  if (!files.Write(filePath, image)) {
    return false;
  }
  // The 9x loader takes the device's file name in its short form only.
  const std::optional<std::string> shortPath = files.ShortPath(filePath);
  if (!shortPath || shortPath->empty()) {
    files.Delete(filePath);
    return false;
  }
  const bool open = files.OpenDevice(kDevicePrefix + *shortPath);
  files.Delete(*shortPath);
  return open;
}

}  // namespace VirtualDeviceLoad
