#include "BenchAppFolder.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace lifecyclebench {

namespace fs = std::filesystem;

AppFolder::AppFolder() {
    std::string pattern = (fs::temp_directory_path() / "nimbrel-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
    fs::create_directories(path_ + "res");
    fs::copy_file(fs::path(NIMBREL_SOURCE_DIR) / "res" / "config.xml", path_ + "res/config.xml");
    Qel::HelperFuncs::setAppDir(path_);
    Nimbrel_model::Config::getInstance()->load();
}

AppFolder::~AppFolder() {
    Qel::HelperFuncs::setAppDir("");
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace lifecyclebench
