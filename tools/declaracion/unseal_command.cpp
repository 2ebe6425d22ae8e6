// declaracion unseal FILE: prints the declaration XML of a declaration file.
// The exit status is the unseal result (0 valid, 1 checksum, 2 no payload,
// 3 no memory, 4 not decodable).
#include <cstdio>
#include <string>

#include "declaration/seal.h"
#include "tools/declaracion/file_io.h"
#include "tools/declaracion/subcommands.h"

namespace f7301::tool {

namespace {

const char* Explanation(UnsealResult result) {
  switch (result) {
    case UnsealResult::kValid:
      return "valido";
    case UnsealResult::kChecksumMismatch:
      return "la suma de control no coincide (archivo alterado o de otras claves)";
    case UnsealResult::kNoPayload:
      return "no contiene declaracion";
    case UnsealResult::kNoMemory:
      return "sin memoria";
    case UnsealResult::kNotDecodable:
      return "no es un texto de declaracion sellada";
  }
  return "resultado desconocido";
}

}  // namespace

int RunUnseal(const Arguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "uso: declaracion unseal FILE\n");
    return kExitUsage;
  }
  const std::optional<std::string> text = ReadInput(args[0]);
  if (!text) return kExitFileError;
  std::string block;
  const UnsealResult result = CSeal().Unseal(*text, &block, nullptr);
  if (result != UnsealResult::kValid) {
    std::fprintf(stderr, "declaracion: %s: resultado %d: %s\n", args[0].c_str(),
                 static_cast<int>(result), Explanation(result));
    return static_cast<int>(result);
  }
  // The XML as stored: Windows-1252 bytes, unchanged.
  const std::string_view xml = XmlOfBlock(block);
  if (std::fwrite(xml.data(), 1, xml.size(), stdout) != xml.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "declaracion: no se puede escribir la salida\n");
    return kExitFileError;
  }
  return 0;
}

}  // namespace f7301::tool
