#include "platform/web/web_content.h"

#include <emscripten.h>

#include "platform/web/web_paths.h"

namespace pelmot {
namespace {

// The path below the content folder ("PELMOTPIC/3.png"); empty for a path
// outside it.
std::string Relative(const std::string& path) {
  const std::string folder = std::string(kWebContentFolder) + "/";
  return path.rfind(folder, 0) == 0 ? path.substr(folder.size()) : std::string();
}

}  // namespace

LateFile LateFileState(const std::string& path) {
  const std::string name = Relative(path);
  if (name.empty()) return LateFile::kHere;
  const int state = EM_ASM_INT({ return Module.pelmotLateState ? Module.pelmotLateState(UTF8ToString($0)) : 0; },
                               name.c_str());
  return state == 1 ? LateFile::kComing : state == 2 ? LateFile::kFailed : LateFile::kHere;
}

void HurryLateFile(const std::string& path) {
  const std::string name = Relative(path);
  if (name.empty()) return;
  EM_ASM({ if (Module.pelmotHurry) Module.pelmotHurry(UTF8ToString($0)); }, name.c_str());
}

bool FetchLateFileNow(const std::string& path) {
  const std::string name = Relative(path);
  if (name.empty()) return false;
  return EM_ASM_INT({ return Module.pelmotFetchNow ? Module.pelmotFetchNow(UTF8ToString($0)) : 0; },
                    name.c_str()) != 0;
}

void ShowLoadingMark(bool waiting) {
  EM_ASM({ if (Module.pelmotLoadingMark) Module.pelmotLoadingMark(!!$0); }, waiting ? 1 : 0);
}

}  // namespace pelmot
