#include "StartupFakes.h"

#include <random>

namespace startup_test {

ScratchFolder::ScratchFolder() {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() / ("kl_startup_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(root_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(root_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(root_, ec);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& content) const {
    const std::string p = Path(name);
    WriteFile(p, content);
    return p;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

}  // namespace startup_test
