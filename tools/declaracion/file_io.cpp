#include "tools/declaracion/file_io.h"

#include <array>
#include <cstdio>

#include "declaration/atomic_file.h"
#include "declaration/whole_file.h"

namespace f7301::tool {

std::optional<std::string> ReadInput(const std::filesystem::path& path) {
  std::string text;
  switch (ReadWholeFile(path, text)) {
    case ReadStatus::kRead:
      return text;
    case ReadStatus::kTooLarge:
      std::fprintf(stderr, "declaracion: %s es demasiado grande (mas de %ju bytes)\n", path.c_str(),
                   static_cast<std::uintmax_t>(kMaxDeclarationFileSize));
      return std::nullopt;
    case ReadStatus::kCannotRead:
      break;
  }
  std::fprintf(stderr, "declaracion: no se puede leer %s (solo se leen archivos normales)\n",
               path.c_str());
  return std::nullopt;
}

bool WriteOutput(const std::filesystem::path& path, std::string_view bytes) {
  const std::array<std::string_view, 1> content = {bytes};
  switch (ReplaceFileContents(path, content)) {
    case ReplaceResult::kReplaced:
      return true;
    case ReplaceResult::kCannotCreate:
      std::fprintf(stderr, "declaracion: no se puede crear %s\n", path.c_str());
      return false;
    case ReplaceResult::kCannotWrite:
      break;
  }
  std::fprintf(stderr, "declaracion: no se puede escribir %s\n", path.c_str());
  return false;
}

}  // namespace f7301::tool
