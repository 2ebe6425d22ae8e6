#pragma once
// The tool reads and writes files exactly as the program does: the same
// whole-file reader (plain files only, the same size limit) and the same
// atomic replace, so support staff see what the program would see.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace f7301::tool {

// The file's text as the program reads it (up to its first zero byte); on
// failure nothing, after telling standard error why.
std::optional<std::string> ReadInput(const std::filesystem::path& path);

// Replaces `path` by `bytes` as the program replaces a declaration; on
// failure false, after telling standard error why.
bool WriteOutput(const std::filesystem::path& path, std::string_view bytes);

}  // namespace f7301::tool
