// make_register_files OUTDIR [--taxpayers N] [--years Y]
// Files the register's benchmark declarations under OUTDIR (100 taxpayers ×
// 10 years × 12 months by default: 12,000 sealed files).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/register_files/register_files.h"

namespace {

int Usage() {
  std::fprintf(stderr, "uso: make_register_files CARPETA [--taxpayers N] [--years A]\n");
  return 2;
}

bool ReadCount(const char* text, int& value) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || n < 1 || n > 10000) return false;
  value = static_cast<int>(n);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  f7301::bench::RegisterFilesSpec spec;
  for (int i = 2; i < argc; i += 2) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage();
    int* target = option == "--taxpayers" ? &spec.taxpayers
                  : option == "--years"   ? &spec.years
                                          : nullptr;
    if (!target || !ReadCount(argv[i + 1], *target)) return Usage();
  }
  const std::size_t expected = static_cast<std::size_t>(spec.taxpayers) * spec.years * 12;
  const std::size_t written = f7301::bench::MakeRegisterFiles(argv[1], spec);
  std::printf("%zu declaraciones en %s\n", written, argv[1]);
  return written == expected ? 0 : 1;
}
