#include "tests/support/test_support.h"

#include <QDir>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kavri_test {

ScratchDir::ScratchDir() {
  if (!dir_.isValid()) throw std::runtime_error("cannot create a scratch folder");
}

std::string ScratchDir::Path(const std::string& name) const {
  std::string base = dir_.path().toStdString();
  return name.empty() ? base : base + "/" + name;
}

std::string ArtifactPath(const std::string& name) {
  QString dir = qEnvironmentVariable("KAVRI_TEST_ARTIFACTS", QStringLiteral(KAVRI_DEFAULT_ARTIFACT_DIR));
  QDir().mkpath(dir);
  return (dir + "/" + QString::fromStdString(name)).toStdString();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace kavri_test
