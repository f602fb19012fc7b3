#pragma once
#include <filesystem>
#include <string>

namespace testing_support {

// A fresh temporary folder, removed when the object goes away.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string readFile(const std::filesystem::path& file);

// The game folder the build produced.
std::filesystem::path builtGameFolder();

}  // namespace testing_support
