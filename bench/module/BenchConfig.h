// A throw-away application folder holding the shipped configuration, loaded
// once per benchmark run.
#pragma once

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <filesystem>

inline void prepareBenchConfig() {
    static bool done = false;
    if (done) return;
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "nimbrel-bench";
    fs::create_directories(dir / "res");
    fs::copy_file(fs::path(NIMBREL_SOURCE_DIR) / "res" / "config.xml", dir / "res" / "config.xml",
                  fs::copy_options::overwrite_existing);
    Qel::HelperFuncs::setAppDir(dir.string());
    Nimbrel_model::Config::getInstance()->load();
    done = true;
}
