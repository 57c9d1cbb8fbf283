#include "platform/common/movie_decoder.h"

#include <dlfcn.h>

#include <future>
#include <mutex>

#include "platform/common/files.h"
#include "platform/movie_module.h"
#include "platform/common/paths.h"

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

// The module beside the program itself, and nowhere else: a copied program
// without its module plays no movie rather than loading whatever sits where
// the program was built.
std::shared_ptr<MovieModule> LoadModule(std::string& error) {
  const std::string path = ExecutableFolder() + "/" + kPelmotMovieModule;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    error = "movie support is missing: " + std::string(why ? why : path);
    return nullptr;
  }
  auto entry = reinterpret_cast<PelmotMovieEntry>(dlsym(handle, "pelmot_movie_functions"));
  const PelmotMovieFunctions* functions = entry ? entry() : nullptr;
  if (!functions || functions->abi != kPelmotMovieAbi) {
    error = "movie support is missing: " + path + " is not this program's movie module";
    dlclose(handle);
    return nullptr;
  }
  error.clear();
  return std::make_shared<MovieModule>(handle, functions);
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

  void Release() {
    if (movie) module->f.close(movie);
    movie = nullptr;
    module.reset();
  }
};

MovieDecoder::MovieDecoder() : impl_(std::make_unique<Impl>()) {}
MovieDecoder::~MovieDecoder() { Close(); }

bool MovieDecoder::Open(const std::string& path, std::string& error) {
  Close();
  auto file = OpenRegularFile(path, kMaxMovieBytes, error);
  if (!file) return false;
  Impl& m = *impl_;
  m.module = AcquireModule(error);
  if (!m.module) return false;
  char why[256] = {};
  m.movie = m.module->f.open(file->Release(), why, sizeof why);
  if (!m.movie) {
    error = why;
    Close();
    return false;
  }
  return true;
}

bool MovieDecoder::IsOpen() const { return impl_->movie != nullptr; }
void MovieDecoder::Close() { impl_->Release(); }
double MovieDecoder::FrameRate() const {
  return impl_->movie ? impl_->module->f.frameRate(impl_->movie) : 0;
}

bool MovieDecoder::NextFrame(Surface& picture, std::int64_t& timeMs, std::string& error) {
  error.clear();
  Impl& m = *impl_;
  if (!m.movie) return false;
  int width = 0, height = 0;
  char why[256] = {};
  const int got = m.module->f.next(m.movie, &width, &height, &timeMs, why, sizeof why);
  if (got < 0) error = why;
  if (got <= 0) return false;
  // A movie plays inside the window: a picture larger than it is refused.
  if (width <= 0 || height <= 0 || width > kScreenWidth || height > kScreenHeight) {
    error = "the movie's pictures are " + std::to_string(width) + " x " + std::to_string(height) +
            ", larger than the window";
    return false;
  }
  if (picture.Width() != width || picture.Height() != height) picture.Resize(width, height);
  m.module->f.picture(m.movie, picture.MutableImage().data(), width, height);
  return true;
}

}  // namespace pelmot
