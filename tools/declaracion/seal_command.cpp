// declaracion seal XML OUT: seals an XML file into a declaration file.
#include <cstdio>
#include <string>

#include "declaration/seal.h"
#include "tools/declaracion/file_io.h"
#include "tools/declaracion/subcommands.h"

namespace f7301::tool {

int RunSeal(const Arguments& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "uso: declaracion seal XML OUT\n");
    return kExitUsage;
  }
  const std::optional<std::string> xml = ReadInput(args[0]);
  if (!xml) return kExitFileError;
  std::string sealed;
  if (!SealDeclaration(*xml, sealed)) {
    std::fprintf(stderr, "declaracion: %s no tiene declaracion que sellar\n", args[0].c_str());
    return kExitNothingSealed;
  }
  if (!WriteOutput(args[1], sealed)) return kExitFileError;
  return 0;
}

}  // namespace f7301::tool
