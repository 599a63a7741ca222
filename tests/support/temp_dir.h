// A fresh, empty folder of the test's own in the system's temporary
// folder, on every system the suites run on.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace zemka::testing {

// An empty path when no folder could be made.
inline std::filesystem::path make_temp_dir(const std::string &prefix) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return {};
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int tries = 0; tries < 100; ++tries) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const std::filesystem::path candidate = base / (prefix + std::to_string(seed >> 20));
        if (std::filesystem::create_directory(candidate, ec)) return candidate;
    }
    return {};
}

}  // namespace zemka::testing
