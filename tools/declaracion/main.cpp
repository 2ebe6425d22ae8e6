// Support tool for tests and support staff: seals and unseals declaration
// files. One entry per subcommand; each lives in its own file.
#include <cstdio>
#include <string_view>

#include "tools/declaracion/subcommands.h"

namespace f7301::tool {
namespace {

constexpr Subcommand kSubcommands[] = {
    {"seal", "XML OUT", RunSeal},
    {"unseal", "FILE", RunUnseal},
    {"page", "readonly|editable FILE", RunPage},
};

int Usage() {
  std::fprintf(stderr, "uso:\n");
  for (const Subcommand& command : kSubcommands) {
    std::fprintf(stderr, "  declaracion %.*s %.*s\n", static_cast<int>(command.name.size()),
                 command.name.data(), static_cast<int>(command.usage.size()), command.usage.data());
  }
  return kExitUsage;
}

}  // namespace
}  // namespace f7301::tool

int main(int argc, char** argv) {
  using namespace f7301::tool;
  if (argc < 2) return Usage();
  const std::string_view name = argv[1];
  for (const Subcommand& command : kSubcommands) {
    if (command.name == name) return command.run(Arguments(argv + 2, argv + argc));
  }
  return Usage();
}
