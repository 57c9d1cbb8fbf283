#include "platform/common/lazy_library.h"

#include <dlfcn.h>

namespace pelmot {

void LazyLibrary::Open() {
  // Never closed: the functions stay valid for the rest of the run.
  void* handle = ::dlopen(soname_, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    problem_ = std::string(soname_) + " cannot be loaded" + (why ? std::string(": ") + why : "");
    return;
  }
  for (const Wanted& w : wanted_) {
    *w.slot = ::dlsym(handle, w.name);
    if (!*w.slot) {
      problem_ = std::string(soname_) + " has no " + w.name;
      return;
    }
  }
  loaded_ = true;
}

bool LazyLibrary::Loads(std::string& error) {
  std::call_once(opened_, [this] { Open(); });
  if (!loaded_) error = problem_;
  return loaded_;
}

}  // namespace pelmot
