#include "platform/movie_decoder.h"

#include <dlfcn.h>

#include <future>
#include <mutex>

#include "platform/movie_module.h"
#include "platform/paths.h"

#ifndef PELMOT_MOVIE_MODULE_DIR
#define PELMOT_MOVIE_MODULE_DIR ""
#endif

namespace pelmot {
namespace {

class MovieModule {
 public:
  MovieModule(void* handle, const PelmotMovieFunctions* functions) : handle_(handle), f(*functions) {}
  ~MovieModule() { dlclose(handle_); }
  MovieModule(const MovieModule&) = delete;
  MovieModule& operator=(const MovieModule&) = delete;

 private:
  void* handle_;

 public:
  const PelmotMovieFunctions& f;
};

// Beside the program first, then where the build put it.
std::shared_ptr<MovieModule> LoadModule(std::string& error) {
  error.clear();
  for (const std::string& dir : {ExecutableFolder(), std::string(PELMOT_MOVIE_MODULE_DIR)}) {
    if (dir.empty()) continue;
    const std::string path = dir + "/" + kPelmotMovieModule;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      if (error.empty()) error = dlerror();
      continue;
    }
    auto entry = reinterpret_cast<PelmotMovieEntry>(dlsym(handle, "pelmot_movie_functions"));
    const PelmotMovieFunctions* functions = entry ? entry() : nullptr;
    if (!functions || functions->abi != kPelmotMovieAbi) {
      error = path + " is not this program's movie module";
      dlclose(handle);
      continue;
    }
    return std::make_shared<MovieModule>(handle, functions);
  }
  error = "movie support is missing: " + error;
  return nullptr;
}

// One module for all decoders; it goes when the last of them closes.
struct ModuleCache {
  std::mutex mutex;
  std::weak_ptr<MovieModule> loaded;
  std::shared_ptr<MovieModule> preloaded;  // held until a decoder takes it
  std::future<void> preloading;
};

ModuleCache& Cache() {
  static ModuleCache cache;
  return cache;
}

std::shared_ptr<MovieModule> AcquireModule(std::string& error) {
  ModuleCache& c = Cache();
  std::unique_lock lock(c.mutex);
  if (c.preloading.valid()) {
    auto pending = std::move(c.preloading);
    lock.unlock();
    pending.wait();
    lock.lock();
  }
  std::shared_ptr<MovieModule> module = c.loaded.lock();
  if (!module) module = std::move(c.preloaded);
  if (!module) module = LoadModule(error);
  c.preloaded.reset();
  c.loaded = module;
  return module;
}

}  // namespace

void PreloadMovieSupport() {
  ModuleCache& c = Cache();
  std::lock_guard lock(c.mutex);
  if (c.preloading.valid() || c.preloaded || !c.loaded.expired()) return;
  c.preloading = std::async(std::launch::async, [&c] {
    std::string error;
    auto module = LoadModule(error);
    std::lock_guard inner(c.mutex);
    c.preloaded = std::move(module);
  });
}

struct MovieDecoder::Impl {
  std::shared_ptr<MovieModule> module;
  void* movie = nullptr;
  int width = 0, height = 0;

  void Release() {
    if (movie) module->f.close(movie);
    movie = nullptr;
    module.reset();
    width = height = 0;
  }
};

MovieDecoder::MovieDecoder() : impl_(std::make_unique<Impl>()) {}
MovieDecoder::~MovieDecoder() { Close(); }

bool MovieDecoder::Open(const std::string& path, std::string& error) {
  Close();
  Impl& m = *impl_;
  m.module = AcquireModule(error);
  if (!m.module) return false;
  char why[256] = {};
  m.movie = m.module->f.open(path.c_str(), why, sizeof why);
  if (!m.movie) {
    error = why;
    Close();
    return false;
  }
  m.width = m.module->f.width(m.movie);
  m.height = m.module->f.height(m.movie);
  return true;
}

bool MovieDecoder::IsOpen() const { return impl_->movie != nullptr; }
void MovieDecoder::Close() { impl_->Release(); }
int MovieDecoder::Width() const { return impl_->width; }
int MovieDecoder::Height() const { return impl_->height; }
double MovieDecoder::FrameRate() const {
  return impl_->movie ? impl_->module->f.frameRate(impl_->movie) : 0;
}

bool MovieDecoder::NextFrame(std::vector<Colour>& pixels, std::int64_t& timeMs, std::string& error) {
  error.clear();
  Impl& m = *impl_;
  if (!m.movie) return false;
  pixels.resize(static_cast<std::size_t>(m.width) * m.height);
  char why[256] = {};
  const int got = m.module->f.next(m.movie, pixels.data(), &timeMs, why, sizeof why);
  if (got < 0) error = why;
  return got > 0;
}

}  // namespace pelmot
