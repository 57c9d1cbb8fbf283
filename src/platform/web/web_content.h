// The content the page fetches after its first frame (web.sh lists it in
// late.js): the fonts, then the story's pictures, written into the page's
// file system under /content as each arrives (web_content.js). Everything
// else is there before the program starts.
#pragma once

#include <string>

namespace pelmot {

enum class LateFile {
  kHere,     // in the file system (or never fetched: packed with the page)
  kComing,   // waiting for its turn or on its way
  kFailed,   // could not be fetched: reading it fails as for a missing file
};

// Where the file at `path` (an absolute path in the page's file system) stands.
LateFile LateFileState(const std::string& path);

// Asks for the file ahead of those not asked for.
void HurryLateFile(const std::string& path);

// Fetches the file while the caller waits, for a read that cannot wait;
// false when it cannot be fetched.
bool FetchLateFileNow(const std::string& path);

// Shows the page's "loading" mark (after a short while) or takes it away.
void ShowLoadingMark(bool waiting);

}  // namespace pelmot
