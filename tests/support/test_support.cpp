#include "support/test_support.hpp"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testing_support {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumerik-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::filesystem::path builtGameFolder() { return LUMERIK_TEST_GAME_DIR; }

}  // namespace testing_support
