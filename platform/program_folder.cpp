#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <mutex>

namespace kavri {

namespace {

std::mutex g_mutex;
std::string g_folder;

std::string WithSlash(QString path) {
  path = QDir::cleanPath(path);
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

bool EnsureContentFolders() {
  bool ok = true;
  for (const std::string& dir :
       {ProgramFolder(), DrawingFolder(), SectionFolder(), IldaFolder(), SequenceFolder(), MusicFolder()}) {
    ok = QDir().mkpath(QString::fromStdString(dir)) && ok;
  }
  return ok;
}

void ResetProgramFolderForTests() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_folder.clear();
}

}  // namespace kavri
