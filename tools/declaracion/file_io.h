#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace f7301::tool {

// The whole file, byte for byte; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `path` and then renames it over
// `path`, so `path` ends up either complete or as it was. False on failure.
bool WriteFileWhole(const std::filesystem::path& path, std::string_view bytes);

}  // namespace f7301::tool
