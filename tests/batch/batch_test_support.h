// Shared inputs of the batch tests: the worked control sample (n = 10,
// k = 1, task mean 50 SD 10, covariate mean 10 SD 2, r = 0.6) as a
// saved-inputs file and as raw control rows.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

// The worked controls as the summary-data program saves them (the grid's
// case scores are those of the general worked pair).
inline const char* const WorkedSavedInputs =
    "1\n10\nTask\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\n0.600\n1.000\n";

// Ten control rows with exactly these statistics.
inline const char* const WorkedRawControls =
    "39 8\n50 11\n61 12\n34 7\n62 10\n44 13\n60 12\n55 10\n41 8\n54 9\n";

inline std::string SourceDir() {
  const char* dir = std::getenv("QUORV_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

// A scratch folder of its own for each test process, removed with the object.
class tScratchFolder {
 public:
  explicit tScratchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("quorv_batch_" + name + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~tScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  tScratchFolder(const tScratchFolder&) = delete;
  tScratchFolder& operator=(const tScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return path.string();
}
