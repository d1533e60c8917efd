// A folder of its own for one test, removed with everything in it when the
// test ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class tTempFolder {
 public:
  tTempFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "quorv-test-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr) path_ = name;
  }
  ~tTempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  tTempFolder(const tTempFolder&) = delete;
  tTempFolder& operator=(const tTempFolder&) = delete;

  bool isValid() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
