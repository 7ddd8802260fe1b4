#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <array>
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

namespace {

// The content folders' names below the program folder, each spelt once.
constexpr const char* kDrawing = "Drawing";
constexpr const char* kSection = "Section";
constexpr const char* kIlda = "ILDAimage";
constexpr const char* kSequence = "Sequence";
constexpr const char* kMusic = "Music";
constexpr std::array kContentFolderNames{kDrawing, kSection, kIlda, kSequence, kMusic};

std::string ContentFolder(const char* name) { return ProgramFolder() + name + "/"; }

}  // namespace

std::string DrawingFolder() { return ContentFolder(kDrawing); }
std::string SectionFolder() { return ContentFolder(kSection); }
std::string IldaFolder() { return ContentFolder(kIlda); }
std::string SequenceFolder() { return ContentFolder(kSequence); }
std::string MusicFolder() { return ContentFolder(kMusic); }

bool EnsureContentFolders() {
  bool ok = QDir().mkpath(QString::fromStdString(ProgramFolder()));
  for (const char* name : kContentFolderNames) ok = QDir().mkpath(QString::fromStdString(ContentFolder(name))) && ok;
  return ok;
}

int RemoveInterruptedSaves() {
  return RemoveLeftTemporaryFiles(ProgramFolder(), {kContentFolderNames.begin(), kContentFolderNames.end()});
}

void ResetProgramFolderForTests() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_folder.clear();
}

}  // namespace kavri
