#pragma once
// A declaration file read for the review from the command line: read,
// unsealed and checked exactly as Modificar reads it, up to the editable
// page it would show, with what Modificar would have said instead of a page
// kept as a text rather than shown in a box.
#include <filesystem>
#include <optional>
#include <string>

namespace f7301 {

struct ReviewReading {
  std::optional<std::string> page;  // the editable page (Windows-1252 HTML)
  std::string refusal;              // Modificar's message when there is no page (UTF-8)
};

// Safe to run off the window's thread: it shares nothing with any other
// reading.
ReviewReading ReadForReview(const std::filesystem::path& file);

}  // namespace f7301
