#pragma once
// The subcommands of the support tool. Each takes the arguments that follow
// its name and returns the process exit status.
#include <string>
#include <string_view>
#include <vector>

namespace f7301::tool {

using Arguments = std::vector<std::string>;

struct Subcommand {
  std::string_view name;
  std::string_view usage;  // the arguments, as shown in the help text
  int (*run)(const Arguments& args);
};

// Exit statuses beyond the unseal results 0 to 4.
inline constexpr int kExitFileError = 5;      // a file could not be read or written
inline constexpr int kExitNothingSealed = 6;  // an empty declaration
inline constexpr int kExitNotShown = 7;       // reopening shows no page (its message on stderr)
inline constexpr int kExitUsage = 64;         // wrong arguments

// declaracion seal XML OUT
int RunSeal(const Arguments& args);
// declaracion unseal FILE
int RunUnseal(const Arguments& args);
// declaracion page readonly|editable FILE
int RunPage(const Arguments& args);

}  // namespace f7301::tool
