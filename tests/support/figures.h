// Figures that scripts/test prints at its end as "name: value" lines. A test
// appends its figure to the file named by FIGURES_FILE; without that variable
// (a plain ctest run, the sanitizer builds) nothing is written.
#pragma once
#include <cstdio>
#include <cstdlib>

inline void ReportFigure(const char* name, long long value) {
  const char* path = std::getenv("FIGURES_FILE");
  if (path == nullptr || *path == '\0') return;
  if (std::FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s: %lld\n", name, value);
    std::fclose(file);
  }
}
