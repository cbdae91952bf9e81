// Pieces the benchmark programs share: the process's peak memory, a folder for written files and
// a strip material in memory.
#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "data/materials.h"

namespace velk::bench {

// The process's high-water mark of resident memory, MiB.
inline double peakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// A folder of the given name in the temporary folder (created), with a trailing "/".
inline std::string namedTempFolder(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

// A spring steel strip record, so a benchmark needs no material table on disk.
inline void springSteelStrip(StripRecord& r) {
  r.name1 = "Federstahl";
  r.E = 206000;
  r.rho = 7.85L;
  r.Rm0 = 1800;
  r.t0 = 1;
  r.kRm = 300;
  r.tG = 1;
  r.plain = {1000, 100, 500, 50, 0.5L};
  r.tmax = 3;
  r.f = 0.75L;
}

}  // namespace velk::bench
