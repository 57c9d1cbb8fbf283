#include "platform/common/picture_cache.h"

#include <sys/stat.h>
#include <zlib.h>

#define QOI_IMPLEMENTATION
#define QOI_NO_STDIO
#include <qoi.h>

#include <cstring>
#include <filesystem>

#include "platform/common/files.h"

namespace pelmot {

std::optional<SourceStamp> StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return SourceStamp{static_cast<std::uint64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
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
  bytes_ -= entry->picture->Bytes();
  byPath_.erase(entry->path);
  entries_.erase(entry);
}

void PictureMemoryCache::Put(const std::string& path, const SourceStamp& stamp, SharedPicture picture) {
  if (auto old = byPath_.find(path); old != byPath_.end()) Remove(old->second);
  if (!picture || picture->Bytes() > budget_) return;
  while (bytes_ + picture->Bytes() > budget_) Remove(std::prev(entries_.end()));
  bytes_ += picture->Bytes();
  entries_.push_front(Entry{path, stamp, std::move(picture)});
  byPath_[path] = entries_.begin();
}

std::vector<std::string> PictureMemoryCache::PathsByRecency() const {
  std::vector<std::string> paths;
  for (const Entry& e : entries_) paths.push_back(e.path);
  return paths;
}

namespace {

// A cache file: this header, the source's path, then the QOI picture.
constexpr char kMagic[8] = {'P', 'E', 'L', 'Q', 'O', 'I', '0', '1'};
struct CacheHeader {
  char magic[8];
  std::uint64_t sourceSize;
  std::int64_t sourceModifiedNs;
  std::uint32_t pathLength;
  std::uint32_t width, height;
  std::uint32_t payloadLength;
  std::uint32_t payloadCrc;
  std::uint32_t headerCrc;  // of the header before this field and the path
};

std::uint32_t Crc(const void* data, std::size_t size, std::uint32_t start = 0) {
  return static_cast<std::uint32_t>(
      crc32(start, static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

std::uint32_t HeaderCrc(const CacheHeader& h, const std::string& path) {
  return Crc(path.data(), path.size(), Crc(&h, offsetof(CacheHeader, headerCrc)));
}

// FNV-1a: the file name of a source path.
std::string NameOf(const std::string& source) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : source) hash = (hash ^ c) * 1099511628211ull;
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.qoi", static_cast<unsigned long long>(hash));
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

std::optional<DecodedPicture> DecodeQoi(const char* data, std::size_t size, std::uint32_t width,
                                        std::uint32_t height) {
  qoi_desc desc{};
  void* rgb = qoi_decode(data, static_cast<int>(size), &desc, 3);
  if (!rgb) return std::nullopt;
  std::optional<DecodedPicture> picture;
  if (desc.width == width && desc.height == height) {
    picture.emplace();
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->pixels.resize(static_cast<std::size_t>(width) * height);
    ConvertRgbPixels(static_cast<const unsigned char*>(rgb), picture->pixels.data(),
                     static_cast<int>(picture->pixels.size()));
  }
  std::free(rgb);
  return picture;
}

}  // namespace

std::string DiskPictureCache::FileOf(const std::string& source) const {
  return folder_ + "/" + NameOf(AbsolutePath(source));
}

std::optional<DecodedPicture> DiskPictureCache::Load(const std::string& source, const SourceStamp& stamp) const {
  std::string error;
  auto bytes = ReadWholeFile(FileOf(source), kMaxPictureBytes, error);
  if (!bytes || bytes->size() < sizeof(CacheHeader)) return std::nullopt;
  CacheHeader h;
  std::memcpy(&h, bytes->data(), sizeof h);
  const std::string path = AbsolutePath(source);
  const std::size_t payloadAt = sizeof h + path.size();
  const bool headerOk = std::memcmp(h.magic, kMagic, sizeof kMagic) == 0 && h.pathLength == path.size() &&
                        bytes->size() == payloadAt + std::size_t{h.payloadLength} &&
                        bytes->compare(sizeof h, path.size(), path) == 0 && h.headerCrc == HeaderCrc(h, path);
  if (!headerOk || h.sourceSize != stamp.size || h.sourceModifiedNs != stamp.modifiedNs) return std::nullopt;
  if (!FitsTheScreen(h.width, h.height)) return std::nullopt;
  const char* payload = bytes->data() + payloadAt;
  if (Crc(payload, h.payloadLength) != h.payloadCrc) return std::nullopt;
  return DecodeQoi(payload, h.payloadLength, h.width, h.height);
}

bool DiskPictureCache::Store(const std::string& source, const SourceStamp& stamp,
                             const DecodedPicture& picture) const {
  std::string rgb(picture.pixels.size() * 3, '\0');
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const Colour p = picture.pixels[i];
    rgb[3 * i] = static_cast<char>(p >> 16);
    rgb[3 * i + 1] = static_cast<char>(p >> 8);
    rgb[3 * i + 2] = static_cast<char>(p);
  }
  const qoi_desc desc{static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height), 3, QOI_SRGB};
  int length = 0;
  void* qoi = qoi_encode(rgb.data(), &desc, &length);
  if (!qoi) return false;
  const std::string path = AbsolutePath(source);
  CacheHeader h{};
  std::memcpy(h.magic, kMagic, sizeof kMagic);
  h.sourceSize = stamp.size;
  h.sourceModifiedNs = stamp.modifiedNs;
  h.pathLength = static_cast<std::uint32_t>(path.size());
  h.width = desc.width;
  h.height = desc.height;
  h.payloadLength = static_cast<std::uint32_t>(length);
  h.payloadCrc = Crc(qoi, static_cast<std::size_t>(length));
  h.headerCrc = HeaderCrc(h, path);
  std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
  bytes += path;
  bytes.append(static_cast<const char*>(qoi), static_cast<std::size_t>(length));
  std::free(qoi);
  std::error_code made;
  std::filesystem::create_directories(folder_, made);
  std::string error;
  return ReplaceFile(FileOf(source), bytes, error);
}

}  // namespace pelmot
