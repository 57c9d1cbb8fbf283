#include "platform/common/picture_cache.h"

#include <lz4.h>
#include <sys/stat.h>
#include <zlib.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstdlib>
#include <ctime>
#include <cstring>
#include <filesystem>

#include "platform/common/files.h"

namespace pelmot {

namespace {

std::int64_t Nanoseconds(const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; }

// Changed this recently, a file's times may not yet tell its versions apart.
constexpr std::int64_t kRecentNs = 1000000000;

bool ChangedRecently(std::int64_t changedNs) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return changedNs > Nanoseconds(now) - kRecentNs;
}

}  // namespace

std::optional<SourceStamp> StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  SourceStamp stamp{static_cast<std::uint64_t>(info.st_size), Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim),
                    static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino), 0};
  if (ChangedRecently(stamp.changedNs)) {
    std::string bytes, error;
    if (!ReadWholeFileInto(path, kMaxPictureBytes, bytes, error)) return std::nullopt;
    stamp.recentHash = XXH3_64bits(bytes.data(), bytes.size()) | 1;  // never 0
  }
  return stamp;
}

SharedPicture PictureMemoryCache::Find(const std::string& path, const SourceStamp& stamp) {
  auto found = byPath_.find(path);
  if (found == byPath_.end() || !(found->second->stamp == stamp)) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->picture;
}

bool PictureMemoryCache::Holds(const std::string& path, const SourceStamp& stamp) const {
  auto found = byPath_.find(path);
  return found != byPath_.end() && found->second->stamp == stamp;
}

void PictureMemoryCache::Remove(std::list<Entry>::iterator entry) {
  bytes_ -= entry->bytes;
  byPath_.erase(entry->path);
  entries_.erase(entry);
}

void PictureMemoryCache::Put(const std::string& path, const SourceStamp& stamp, SharedPicture picture) {
  if (auto old = byPath_.find(path); old != byPath_.end()) Remove(old->second);
  if (!picture || picture->Bytes() > budget_) return;
  while (bytes_ + picture->Bytes() > budget_) Remove(std::prev(entries_.end()));
  const std::size_t bytes = picture->Bytes();
  bytes_ += bytes;
  entries_.push_front(Entry{path, stamp, std::move(picture), bytes});
  byPath_[path] = entries_.begin();
}

std::vector<Colour> PictureMemoryCache::MakeRoomFor(std::size_t bytes) {
  std::vector<Colour> reusable;
  while (!entries_.empty() && bytes_ + bytes > budget_) {
    auto last = std::prev(entries_.end());
    // Held by the cache alone (under the caller's lock), so no one sees
    // the pixels go.
    if (last->picture.use_count() == 1 && reusable.empty())
      reusable = std::move(const_cast<DecodedPicture&>(*last->picture).pixels);
    Remove(last);
  }
  return reusable;
}

std::vector<std::string> PictureMemoryCache::PathsByRecency() const {
  std::vector<std::string> paths;
  for (const Entry& e : entries_) paths.push_back(e.path);
  return paths;
}

namespace {

// A cache file: this header, the source's path, then the picture's pixels
// (0x00RRGGBB, row by row) as one LZ4 block. LZ4 unpacks at about the speed
// of a copy, even the noisy pictures it cannot make smaller.
constexpr char kMagic[8] = {'P', 'E', 'L', 'L', 'Z', '4', '0', '2'};
struct CacheHeader {
  char magic[8];
  SourceStamp source;
  std::uint32_t pathLength;
  std::uint32_t width, height;
  std::uint32_t payloadLength;
  std::uint64_t payloadHash;  // XXH3 of the payload
  std::uint32_t headerCrc;    // of the header before this field and the path
};

std::uint32_t Crc(const void* data, std::size_t size, std::uint32_t start = 0) {
  return static_cast<std::uint32_t>(crc32(start, static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

std::uint32_t HeaderCrc(const CacheHeader& h, const std::string& path) {
  return Crc(path.data(), path.size(), Crc(&h, offsetof(CacheHeader, headerCrc)));
}

// FNV-1a: the file name of a source path.
std::string NameOf(const std::string& source) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : source) hash = (hash ^ c) * 1099511628211ull;
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.pix", static_cast<unsigned long long>(hash));
  return name;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

bool FitsTheScreen(std::uint32_t width, std::uint32_t height) {
  return width > 0 && height > 0 && width <= kScreenWidth && height <= kScreenHeight;
}

std::optional<DecodedPicture> Unpack(const char* data, std::size_t size, std::uint32_t width, std::uint32_t height,
                                     std::vector<Colour> reuse) {
  std::optional<DecodedPicture> picture(std::in_place);
  picture->width = static_cast<int>(width);
  picture->height = static_cast<int>(height);
  picture->pixels = std::move(reuse);
  picture->pixels.resize(static_cast<std::size_t>(width) * height);
  const int capacity = static_cast<int>(picture->Bytes());
  const int unpacked =
      LZ4_decompress_safe(data, reinterpret_cast<char*>(picture->pixels.data()), static_cast<int>(size), capacity);
  if (unpacked != capacity) return std::nullopt;
  return picture;
}

}  // namespace

std::string DiskPictureCache::FileOf(const std::string& source) const {
  return folder_ + "/" + NameOf(AbsolutePath(source));
}

std::optional<DecodedPicture> DiskPictureCache::Load(const std::string& source, const SourceStamp& stamp,
                                                     std::vector<Colour> reuse, std::string& scratch) const {
  std::string error;
  if (!ReadWholeFileInto(FileOf(source), kMaxPictureBytes, scratch, error) || scratch.size() < sizeof(CacheHeader))
    return std::nullopt;
  const std::string_view bytes = scratch;
  CacheHeader h;
  std::memcpy(&h, bytes.data(), sizeof h);
  const std::string path = AbsolutePath(source);
  const std::size_t payloadAt = sizeof h + path.size();
  const bool headerOk = std::memcmp(h.magic, kMagic, sizeof kMagic) == 0 && h.pathLength == path.size() &&
                        bytes.size() == payloadAt + std::size_t{h.payloadLength} &&
                        bytes.compare(sizeof h, path.size(), path) == 0 && h.headerCrc == HeaderCrc(h, path);
  if (!headerOk || !(h.source == stamp)) return std::nullopt;
  if (!FitsTheScreen(h.width, h.height)) return std::nullopt;
  const char* payload = bytes.data() + payloadAt;
  if (XXH3_64bits(payload, h.payloadLength) != h.payloadHash) return std::nullopt;
  return Unpack(payload, h.payloadLength, h.width, h.height, std::move(reuse));
}

bool DiskPictureCache::Store(const std::string& source, const SourceStamp& stamp, const DecodedPicture& picture) const {
  if (!FitsTheScreen(static_cast<std::uint32_t>(picture.width), static_cast<std::uint32_t>(picture.height)) ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
    return false;
  const std::string path = AbsolutePath(source);
  const int rawBytes = static_cast<int>(picture.Bytes());
  std::string bytes(sizeof(CacheHeader) + path.size() + static_cast<std::size_t>(LZ4_compressBound(rawBytes)), '\0');
  char* payload = bytes.data() + sizeof(CacheHeader) + path.size();
  const int length = LZ4_compress_default(reinterpret_cast<const char*>(picture.pixels.data()), payload, rawBytes,
                                          LZ4_compressBound(rawBytes));
  if (length <= 0) return false;
  bytes.resize(sizeof(CacheHeader) + path.size() + static_cast<std::size_t>(length));
  CacheHeader h{};
  std::memcpy(h.magic, kMagic, sizeof kMagic);
  h.source = stamp;
  h.pathLength = static_cast<std::uint32_t>(path.size());
  h.width = static_cast<std::uint32_t>(picture.width);
  h.height = static_cast<std::uint32_t>(picture.height);
  h.payloadLength = static_cast<std::uint32_t>(length);
  h.payloadHash = XXH3_64bits(payload, static_cast<std::size_t>(length));
  h.headerCrc = HeaderCrc(h, path);
  std::memcpy(bytes.data(), &h, sizeof h);
  std::memcpy(bytes.data() + sizeof h, path.data(), path.size());
  std::error_code made;
  std::filesystem::create_directories(folder_, made);
  std::string error;
  return ReplaceFile(FileOf(source), bytes, error);
}

std::string DefaultPictureCacheFolder() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') return std::string(xdg) + "/pelmot/pictures";
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.cache/pelmot/pictures";
  return "";
}

}  // namespace pelmot
