#pragma once

// Temporary folders and whole-file reads and writes for tests. Header only
// and standard library only, so tests of the core can use it without
// linking the test support library.
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace testsupport {

// Makes a fresh folder "STEM-XXXXXX" under the system's temporary folder;
// an empty path when it cannot.
inline std::filesystem::path MakeTempFolder(const std::string& stem) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / (stem + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

// A fresh folder under the system's temporary folder, removed with
// everything in it when this goes. Throws when it cannot be made, which
// fails the test (or the fixture) that wanted it before it runs further.
class TempFolder {
 public:
  explicit TempFolder(const std::string& stem = "plodderz")
      : m_path(MakeTempFolder(stem)) {
    if (m_path.empty()) {
      throw std::runtime_error("cannot make a temporary folder for " + stem +
                               ": " + std::strerror(errno));
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::string operator/(const std::string& name) const {
    return (m_path / name).string();
  }

 private:
  std::filesystem::path m_path;
};

// The whole file; empty when it cannot be read.
inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Makes or replaces the file with exactly `bytes`.
inline void WriteBytes(const std::filesystem::path& path,
                       const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// The whole file as text; empty when it cannot be read.
inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Makes or replaces the file with exactly `text`.
inline void WriteText(const std::filesystem::path& path,
                      const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The names of the entries of `folder`, sorted.
inline std::vector<std::string> EntryNames(
    const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testsupport
