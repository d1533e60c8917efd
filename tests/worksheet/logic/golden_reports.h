// The golden report files: whole reports as the programs wrote them for
// fixed inputs, kept in tests/worksheet/golden; files of the source tree
// and the bytes of a file.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline std::string SourceFile(const std::string& relative) {
  const char* root = std::getenv("QUORV_SOURCE_DIR");
  return std::string(root != nullptr && *root != '\0' ? root : QUORV_SOURCE_DIR_DEFAULT) + "/" + relative;
}

// The lines of a golden report (each ended by LF in the file).
inline std::vector<std::string> GoldenReport(const std::string& name) {
  std::ifstream in(SourceFile("tests/worksheet/golden/" + name), std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A raw-data report as written for the data file at path: the golden
// files name it /data/worked_controls.txt.
inline std::vector<std::string> ForDataFile(std::vector<std::string> report, const std::string& path) {
  std::replace(report.begin(), report.end(), std::string(" /data/worked_controls.txt"), " " + path);
  return report;
}

inline std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
