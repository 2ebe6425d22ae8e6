#pragma once
// Small pieces of HTML text shared by the page writer.
#include <string>
#include <string_view>

namespace f7301 {

// Appends `value` so that it shows exactly as typed, in element text and in a
// quoted attribute value alike: & < > " ' become character references. A
// stored value can then neither end an attribute early nor add markup.
void AppendEscaped(std::string& out, std::string_view value);

}  // namespace f7301
