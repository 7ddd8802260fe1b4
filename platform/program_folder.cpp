#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <mutex>
#include <vector>

#include "platform/file_io.h"

namespace kavri {

namespace {

std::mutex g_mutex;
std::string g_folder;

// Made absolute once, at the first call: a relative folder (or one starting with "-") would name
// another place, or read as an option, wherever a child process or a later step takes it.
std::string WithSlash(QString path) {
  path = QDir::cleanPath(QDir::current().absoluteFilePath(path));
  if (!path.endsWith('/')) path += '/';
  return path.toStdString();
}

std::string FindProgramFolder() {
  QString env = qEnvironmentVariable("KAVRI_HOME");
  if (!env.isEmpty()) return WithSlash(env);
  if (QCoreApplication::instance()) {
    QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(exeDir + "/Kavri.ini")) return WithSlash(exeDir);
  }
  return WithSlash(QDir::homePath() + "/Kavri");
}

}  // namespace

std::string ProgramFolder() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_folder.empty()) g_folder = FindProgramFolder();
  return g_folder;
}

std::string DrawingFolder() { return ProgramFolder() + "Drawing/"; }
std::string SectionFolder() { return ProgramFolder() + "Section/"; }
std::string IldaFolder() { return ProgramFolder() + "ILDAimage/"; }
std::string SequenceFolder() { return ProgramFolder() + "Sequence/"; }
std::string MusicFolder() { return ProgramFolder() + "Music/"; }

namespace {

// As the folder functions above name them.
const std::vector<std::string>& ContentFolderNames() {
  static const std::vector<std::string> kNames = {"Drawing", "Section", "ILDAimage", "Sequence", "Music"};
  return kNames;
}

std::vector<std::string> ProgramAndContentFolders() {
  std::vector<std::string> folders{ProgramFolder()};
  for (const std::string& name : ContentFolderNames()) folders.push_back(ProgramFolder() + name + "/");
  return folders;
}

}  // namespace

bool EnsureContentFolders() {
  bool ok = true;
  for (const std::string& dir : ProgramAndContentFolders()) ok = QDir().mkpath(QString::fromStdString(dir)) && ok;
  return ok;
}

int RemoveInterruptedSaves() {
  return RemoveLeftTemporaryFiles(ProgramFolder(), ContentFolderNames());
}

void ResetProgramFolderForTests() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_folder.clear();
}

}  // namespace kavri
