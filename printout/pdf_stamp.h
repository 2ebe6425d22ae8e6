#pragma once
// Putting a text on every page of a PDF that another program made: the
// browser prints the form, but has no way to write a running head or the page
// numbers into its margins. Those are drawn on pages of their own, one for
// each printed page, and laid over the printed pages here (qpdf).
#include <optional>
#include <string>
#include <string_view>

namespace f7301 {

// The number of pages of `pdf`, or nothing when it cannot be read as a PDF.
std::optional<int> PdfPageCount(std::string_view pdf);

// `printed` with page i of `stamps` laid over its page i, scaled to it; the
// printed content is kept as it is (text stays text). Nothing when either
// cannot be read, or their page counts differ.
std::optional<std::string> StampPages(std::string_view printed, std::string_view stamps);

}  // namespace f7301
