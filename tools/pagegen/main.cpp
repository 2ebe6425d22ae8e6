// Writes the blank form page (resource 131) from the field model at build
// time: pagegen OUTPUT
#include <cstdio>
#include <fstream>
#include <iostream>

#include "formpage/page_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pagegen OUTPUT\n";
    return 2;
  }
  const std::string page = f7301::WriteBlankPage();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(page.data(), static_cast<std::streamsize>(page.size()));
  out.close();
  if (!out) {
    std::cerr << "pagegen: cannot write " << argv[1] << "\n";
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
