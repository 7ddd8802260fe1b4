#include "shell/app_title.h"

namespace kavri {

namespace {
// Read and written on the window thread only.
std::string g_title = kProductTitle;
}  // namespace

std::string ApplicationTitle() { return g_title; }
void SetApplicationTitle(const std::string& title) { g_title = title; }

}  // namespace kavri
