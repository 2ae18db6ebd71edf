#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace kalnor::testing {

// A new folder under the system's temporary one, named after `prefijo` and
// unique to this run, so that suites run side by side (two build trees, ctest
// -j) never share files.
inline std::filesystem::path carpetaUnica(const std::string& prefijo) {
    std::string plantilla =
        (std::filesystem::temp_directory_path() / (prefijo + "_XXXXXX")).string();
    if (!mkdtemp(plantilla.data()))
        throw std::runtime_error("mkdtemp: " + plantilla);
    return plantilla;
}

} // namespace kalnor::testing
