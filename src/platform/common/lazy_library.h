// Shared libraries opened at their first use rather than at start-up. The
// libraries only some commands and options need (saves archives, the
// translators' PO files, speech) and the dozen more they bring would
// otherwise be mapped and relocated before every first frame.
//
// A file that uses one declares, in its own namespace, a LazyFunction named
// as each library function it calls; its calls then go to the library
// unchanged (a variable of that name also keeps argument-dependent lookup
// from finding the library's own declaration). Before the first call it asks
// the library whether it loads, with every one of those functions.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace pelmot {

class LazyLibrary {
 public:
  // `soname`: the file name the dynamic linker looks for.
  explicit LazyLibrary(const char* soname) : soname_(soname) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // True once the library is open with every function asked for; false,
  // with the reason in `error`, when it is missing or lacks one.
  bool Loads(std::string& error);

  // Called by each LazyFunction as it is made, before any Loads.
  void Want(const char* name, void** slot) { wanted_.push_back({name, slot}); }

 private:
  struct Wanted {
    const char* name;
    void** slot;
  };
  void Open();

  const char* soname_;
  std::vector<Wanted> wanted_;
  std::once_flag opened_;
  bool loaded_ = false;
  std::string problem_;
};

template <typename Signature>
class LazyFunction;

template <typename Result, typename... Args>
class LazyFunction<Result(Args...)> {
 public:
  LazyFunction(LazyLibrary& library, const char* name) { library.Want(name, &address_); }
  // Only after the library said it loads.
  Result operator()(Args... args) const { return reinterpret_cast<Result (*)(Args...)>(address_)(args...); }

 private:
  void* address_ = nullptr;
};

}  // namespace pelmot

// Declares `name` as the function of that name in `library` (the name a
// header's macro gives it, where it gives one).
#define PELMOT_LAZY_NAME(name) #name
#define PELMOT_LAZY_FUNCTION(library, name) \
  const ::pelmot::LazyFunction<decltype(::name)> name { library, PELMOT_LAZY_NAME(name) }
