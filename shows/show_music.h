#pragma once
// The music of a show: the text the "Music file:" field stores, and the file that text names.
#include <string>

namespace kavri {

// The file a show's music text names: the text itself when it is an absolute path to a file; else
// the file of the same name (the part after the last "/" or "\") in `musicFolder`, exactly or
// without regard to case, so shows made on another system still find their music; else the text
// as a path relative to the current folder. The file's absolute path, "" when none of them is a file.
std::string FindShowMusic(const std::string& music, const std::string& musicFolder);

// What the music field stores for a file the operator chose: the bare name when the file stands
// in `musicFolder` itself, else its full path.
std::string MusicFieldText(const std::string& chosenFile, const std::string& musicFolder);

}  // namespace kavri
