#pragma once
#include <QByteArray>
#include <string>

#include "platform/program_folder.h"

namespace kavri_test {

// Points the program folder at `folder` for the life of the scope.
class ProgramFolderScope {
 public:
  explicit ProgramFolderScope(const std::string& folder) {
    qputenv("KAVRI_HOME", QByteArray::fromStdString(folder));
    kavri::ResetProgramFolderForTests();
  }
  ~ProgramFolderScope() {
    qunsetenv("KAVRI_HOME");
    kavri::ResetProgramFolderForTests();
  }
};

}  // namespace kavri_test
