#pragma once
#include <string>

namespace kavri {

// The folder that holds "Kavri.ini" and the content folders, absolute, with a trailing "/".
// KAVRI_HOME names it when set; else the executable's folder when a "Kavri.ini" stands there
// (a portable copy); else ~/Kavri.
std::string ProgramFolder();

// The content folders below the program folder, each with a trailing "/".
std::string DrawingFolder();   // "Drawing/"
std::string SectionFolder();   // "Section/"
std::string IldaFolder();      // "ILDAimage/"
std::string SequenceFolder();  // "Sequence/"
std::string MusicFolder();     // "Music/"

// Creates the program folder and every content folder that is missing; false when one cannot be made.
bool EnsureContentFolders();

// Removes what saves killed before their end left in the program folder and the content folders;
// gives how many files went. Only while this program holds the folder.
int RemoveInterruptedSaves();

// Forgets the cached program folder (tests change KAVRI_HOME between cases).
void ResetProgramFolderForTests();

}  // namespace kavri
