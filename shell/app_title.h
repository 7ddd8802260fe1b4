#pragma once
// The application's title: "Kavri laser software", followed by "-" and the master's position when an
// interface is chosen. The main window's caption shows the same text.
#include <string>

namespace kavri {

inline constexpr const char* kProductTitle = "Kavri laser software";

std::string ApplicationTitle();
void SetApplicationTitle(const std::string& title);

}  // namespace kavri
