#pragma once
#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

namespace kavri_test {

// A scratch folder removed when the test ends.
class ScratchDir {
 public:
  ScratchDir();
  std::string Path(const std::string& name = "") const;

 private:
  QTemporaryDir dir_;
};

// Where tests leave files for a person to look at (screenshots); created on demand.
std::string ArtifactPath(const std::string& name);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// The bytes of a text, for comparing files written as text.
inline std::vector<uint8_t> TextBytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace kavri_test
