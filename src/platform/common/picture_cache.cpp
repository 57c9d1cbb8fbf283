#include "platform/common/picture_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <lz4.h>
#include <lz4hc.h>
#include <sys/stat.h>
#include <zlib.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <filesystem>
#include <memory>
#include <tuple>

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
  found->second->ahead = false;
  return found->second->picture;
}

bool PictureMemoryCache::HoldsAhead(const std::string& path, const SourceStamp& stamp) {
  auto found = byPath_.find(path);
  if (found == byPath_.end() || !(found->second->stamp == stamp)) return false;
  found->second->ahead = true;
  return true;
}

void PictureMemoryCache::NoneAhead() {
  for (Entry& e : entries_) e.ahead = false;
}

void PictureMemoryCache::Remove(std::list<Entry>::iterator entry) {
  if (entry->picture.use_count() > 1) heldElsewhere_.push_back(entry->picture);
  bytes_ -= entry->bytes;
  byPath_.erase(entry->path);
  entries_.erase(entry);
}

void PictureMemoryCache::Put(const std::string& path, const SourceStamp& stamp, SharedPicture picture, bool ahead) {
  if (auto old = byPath_.find(path); old != byPath_.end()) Remove(old->second);
  if (!picture || picture->Bytes() > budget_) return;
  while (!entries_.empty() && !Fits(picture->Bytes())) Remove(std::prev(entries_.end()));
  const std::size_t bytes = picture->Bytes();
  bytes_ += bytes;
  entries_.push_front(Entry{path, stamp, std::move(picture), bytes, ahead});
  byPath_[path] = entries_.begin();
}

std::vector<Colour> PictureMemoryCache::LetGoUntilFits(std::size_t bytes, bool spareAhead) {
  std::vector<Colour> reusable;
  auto kept = entries_.end();  // those after it stay
  while (kept != entries_.begin() && !Fits(bytes)) {
    const auto last = std::prev(kept);
    if (spareAhead && last->ahead) {
      kept = last;
      continue;
    }
    // Held by the cache alone (under the caller's lock), so no one sees
    // the pixels go.
    if (last->picture.use_count() == 1 && reusable.empty())
      reusable = std::move(const_cast<DecodedPicture&>(*last->picture).pixels);
    Remove(last);
  }
  return reusable;
}

std::vector<Colour> PictureMemoryCache::MakeRoomFor(std::size_t bytes) { return LetGoUntilFits(bytes, false); }

std::optional<std::vector<Colour>> PictureMemoryCache::MakeRoomAhead(std::size_t bytes) {
  std::vector<Colour> reusable = LetGoUntilFits(bytes, true);
  if (!Fits(bytes)) return std::nullopt;
  return reusable;
}

bool PictureMemoryCache::Fits(std::size_t bytes) {
  std::erase_if(heldElsewhere_, [](const auto& held) { return held.expired(); });
  std::size_t total = bytes_ + bytes;
  for (const auto& held : heldElsewhere_)
    if (SharedPicture picture = held.lock()) total += picture->Bytes();
  return total <= budget_;
}

std::vector<std::string> PictureMemoryCache::PathsByRecency() const {
  std::vector<std::string> paths;
  for (const Entry& e : entries_) paths.push_back(e.path);
  return paths;
}

std::optional<PictureKey> PictureKeyOf(const std::string& path, std::string& scratch) {
  std::string error;
  if (!ReadWholeFileInto(path, kMaxPictureBytes, scratch, error)) return std::nullopt;
  const XXH128_hash_t hash = XXH3_128bits(scratch.data(), scratch.size());
  return PictureKey{hash.low64, hash.high64, scratch.size()};
}

namespace {

// A cache file: this header, then the picture's pixels (0x00RRGGBB, row by
// row), either as one LZ4 block or, where LZ4 saves too little (noisy
// pictures), as they are, read straight into the picture. LZ4 unpacks at
// about the speed of a copy. Files of earlier layouts have other names and
// never match.
constexpr char kMagic[8] = {'P', 'E', 'L', 'L', 'Z', '4', '0', '3'};
constexpr char kTightMagic[8] = {'P', 'E', 'L', 'L', 'Z', '4', 'T', '3'};  // see Tighten
constexpr char kRawMagic[8] = {'P', 'E', 'L', 'R', 'A', 'W', '0', '3'};
struct CacheHeader {
  char magic[8];
  PictureKey source;
  std::uint64_t payloadHash;  // XXH3 of the payload
  std::uint32_t width, height;
  std::uint32_t payloadLength;
  std::uint32_t headerCrc;  // of the header before this field
};
static_assert(sizeof(CacheHeader) == 56, "no padding: every byte written is known");

std::uint32_t HeaderCrc(const CacheHeader& h) {
  return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(&h), offsetof(CacheHeader, headerCrc)));
}

bool IsRaw(const CacheHeader& h) { return std::memcmp(h.magic, kRawMagic, sizeof kRawMagic) == 0; }
bool IsQuick(const CacheHeader& h) { return std::memcmp(h.magic, kMagic, sizeof kMagic) == 0; }
bool IsTight(const CacheHeader& h) { return std::memcmp(h.magic, kTightMagic, sizeof kTightMagic) == 0; }

// Packed only when LZ4 saves at least an eighth.
bool WorthPacking(int packedBytes, int rawBytes) { return packedBytes <= rawBytes - rawBytes / 8; }

// Whether LZ4 may save an eighth of the whole: tried first on a band of
// rows from the middle, so a noisy picture costs no full attempt.
bool LooksPackable(const DecodedPicture& picture) {
  const auto rowBytes = static_cast<std::size_t>(picture.width) * sizeof(Colour);
  const int rows = std::max(1, picture.height / 16);
  const int band = static_cast<int>(rowBytes) * rows;
  const int bound = LZ4_compressBound(band);
  const std::unique_ptr<char[]> sample(new char[static_cast<std::size_t>(bound)]);
  const char* middle = reinterpret_cast<const char*>(picture.pixels.data()) + rowBytes * (picture.height - rows) / 2;
  const int length = LZ4_compress_default(middle, sample.get(), band, bound);
  return length > 0 && WorthPacking(length, band);
}

constexpr const char* kCopyEnd = ".pix";

bool FitsTheScreen(std::uint32_t width, std::uint32_t height) {
  return width > 0 && height > 0 && width <= kScreenWidth && height <= kScreenHeight;
}

// Whether the payload after `h`, read from `fd` into `pixels` (resized to
// the picture), checks against its hash.
bool ReadPixels(int fd, const CacheHeader& h, std::vector<Colour>& pixels, std::string& scratch) {
  pixels.resize(static_cast<std::size_t>(h.width) * h.height);
  const std::size_t rawBytes = pixels.size() * sizeof(Colour);
  if (IsRaw(h))
    return h.payloadLength == rawBytes && ReadAt(fd, pixels.data(), rawBytes, sizeof h) == rawBytes &&
           XXH3_64bits(pixels.data(), rawBytes) == h.payloadHash;
  scratch.resize(h.payloadLength);
  if (ReadAt(fd, scratch.data(), scratch.size(), sizeof h) != scratch.size() ||
      XXH3_64bits(scratch.data(), scratch.size()) != h.payloadHash)
    return false;
  const int unpacked = LZ4_decompress_safe(scratch.data(), reinterpret_cast<char*>(pixels.data()),
                                           static_cast<int>(scratch.size()), static_cast<int>(rawBytes));
  return unpacked == static_cast<int>(rawBytes);
}

// The picture after `h`, in `reuse`'s memory, which is taken only when the
// picture is read.
std::optional<DecodedPicture> ReadPayload(int fd, const CacheHeader& h, std::vector<Colour>& reuse,
                                          std::string& scratch) {
  if (!ReadPixels(fd, h, reuse, scratch)) return std::nullopt;
  std::optional<DecodedPicture> picture(std::in_place);
  picture->width = static_cast<int>(h.width);
  picture->height = static_cast<int>(h.height);
  picture->pixels = std::move(reuse);
  return picture;
}

// The header of a copy of a known layout for `key`, whose payload is all
// the rest of the file.
bool ReadHeader(const RegularFile& file, const PictureKey& key, CacheHeader& h) {
  if (file.size() < sizeof h || ReadAt(file.fd(), &h, sizeof h, 0) != sizeof h) return false;
  return (IsQuick(h) || IsTight(h) || IsRaw(h)) && h.headerCrc == HeaderCrc(h) &&
         file.size() == sizeof h + std::size_t{h.payloadLength} && h.source == key && FitsTheScreen(h.width, h.height);
}

// Writes `file` whole: `h` (its source and size filled in) with `magic`,
// then `payload`.
bool WriteCopy(const std::string& file, CacheHeader h, const char* magic, std::string_view payload) {
  std::memcpy(h.magic, magic, sizeof h.magic);
  h.payloadLength = static_cast<std::uint32_t>(payload.size());
  h.payloadHash = XXH3_64bits(payload.data(), payload.size());
  h.headerCrc = HeaderCrc(h);
  std::string error;
  return ReplaceFile(file, {std::string_view(reinterpret_cast<const char*>(&h), sizeof h), payload}, error);
}

}  // namespace

std::optional<PictureKey> DiskPictureCache::KeyOf(const std::string& source, const SourceStamp& stamp,
                                                  std::string& scratch) {
  {
    std::lock_guard lock(mutex_);
    if (auto found = keys_.find(source); found != keys_.end() && found->second.stamp == stamp) return found->second.key;
  }
  if (auto recorded = ReadRecord(source, stamp)) {
    std::lock_guard lock(mutex_);
    keys_[source] = {stamp, *recorded, true};
    return recorded;
  }
  const auto key = PictureKeyOf(source, scratch);
  if (!key) return std::nullopt;
  std::lock_guard lock(mutex_);
  ++sourcesRead_;
  keys_[source] = {stamp, *key, false};
  return key;
}

int DiskPictureCache::SourcesRead() {
  std::lock_guard lock(mutex_);
  return sourcesRead_;
}

namespace {

// A key record: "<XXH3-128 of the path and stamp>.key", this header, then
// the source's path. It names the key only for that very path and stamp
// (size, both times, device, inode); anything else reads as absent.
constexpr char kRecordMagic[8] = {'P', 'E', 'L', 'K', 'E', 'Y', '0', '1'};
struct KeyRecord {
  char magic[8];
  std::uint64_t size;
  std::int64_t modifiedNs, changedNs;
  std::uint64_t device, inode;
  PictureKey key;
  std::uint32_t pathLength;
  std::uint32_t crc;  // of the record before this field, then of the path
};
static_assert(sizeof(KeyRecord) == 80, "no padding: every byte written is known");

constexpr const char* kRecordEnd = ".key";

KeyRecord RecordFor(const std::string& source, const SourceStamp& stamp) {
  KeyRecord r{};
  std::memcpy(r.magic, kRecordMagic, sizeof kRecordMagic);
  r.size = stamp.size;
  r.modifiedNs = stamp.modifiedNs;
  r.changedNs = stamp.changedNs;
  r.device = stamp.device;
  r.inode = stamp.inode;
  r.pathLength = static_cast<std::uint32_t>(source.size());
  return r;
}

std::uint32_t RecordCrc(const KeyRecord& r, const std::string& source) {
  const uLong head = crc32(0, reinterpret_cast<const Bytef*>(&r), offsetof(KeyRecord, crc));
  return static_cast<std::uint32_t>(
      crc32(head, reinterpret_cast<const Bytef*>(source.data()), static_cast<uInt>(source.size())));
}

}  // namespace

std::string DiskPictureCache::RecordFileOf(const std::string& source, const SourceStamp& stamp) const {
  std::string named = source;
  const KeyRecord r = RecordFor(source, stamp);
  named.append(reinterpret_cast<const char*>(&r), offsetof(KeyRecord, key));
  const XXH128_hash_t hash = XXH3_128bits(named.data(), named.size());
  char name[48];
  std::snprintf(name, sizeof name, "%016llx%016llx%s", static_cast<unsigned long long>(hash.high64),
                static_cast<unsigned long long>(hash.low64), kRecordEnd);
  return folder_ + "/" + name;
}

std::optional<PictureKey> DiskPictureCache::ReadRecord(const std::string& source, const SourceStamp& stamp) {
  if (stamp.recentHash != 0) return std::nullopt;  // recent stamps are never recorded
  const std::string file = RecordFileOf(source, stamp);
  std::string bytes, error;
  if (!ReadWholeFileInto(file, sizeof(KeyRecord) + source.size(), bytes, error) ||
      bytes.size() != sizeof(KeyRecord) + source.size() || bytes.compare(sizeof(KeyRecord), source.size(), source) != 0)
    return std::nullopt;
  KeyRecord found;
  std::memcpy(&found, bytes.data(), sizeof found);
  KeyRecord expected = RecordFor(source, stamp);
  expected.key = found.key;
  expected.crc = RecordCrc(expected, source);
  if (std::memcmp(&found, &expected, sizeof found) != 0 || found.key.size != stamp.size) return std::nullopt;
  Touch(file);
  return found.key;
}

// Only a stamp that tells the source's versions apart is recorded: one
// changed less than a second ago is known by its bytes, every run.
void DiskPictureCache::RecordKey(const std::string& source, const SourceStamp& stamp) {
  KeyRecord r = RecordFor(source, stamp);
  {
    std::lock_guard lock(mutex_);
    auto found = keys_.find(source);
    if (stamp.recentHash != 0 || found == keys_.end() || !(found->second.stamp == stamp) || found->second.recorded)
      return;
    found->second.recorded = true;
    r.key = found->second.key;
  }
  r.crc = RecordCrc(r, source);
  std::string bytes(reinterpret_cast<const char*>(&r), sizeof r);
  bytes += source;
  std::string error;
  ReplaceFile(RecordFileOf(source, stamp), bytes, error);  // without it, the source is read again
}

std::string DiskPictureCache::FileOf(const PictureKey& key) const {
  char name[48];
  std::snprintf(name, sizeof name, "%016llx%016llx%s", static_cast<unsigned long long>(key.high),
                static_cast<unsigned long long>(key.low), kCopyEnd);
  return folder_ + "/" + name;
}

std::string DiskPictureCache::FileOf(const std::string& source) {
  std::string scratch;
  const auto key = PictureKeyOf(source, scratch);
  return key ? FileOf(*key) : "";
}

void DiskPictureCache::Touch(const std::string& file) {
  {
    std::lock_guard lock(mutex_);
    if (!touched_.insert(file).second) return;
  }
  ::utimensat(AT_FDCWD, file.c_str(), nullptr, 0);  // both times now
}

std::optional<DecodedPicture> DiskPictureCache::Load(const std::string& source, const SourceStamp& stamp,
                                                     std::vector<Colour>& reuse, std::string& scratch) {
  const auto key = KeyOf(source, stamp, scratch);
  if (!key) return std::nullopt;
  const std::string file = FileOf(*key);
  std::string error;
  auto opened = OpenRegularFile(file, kMaxPictureBytes, error);
  CacheHeader h;
  if (!opened || !ReadHeader(*opened, *key, h)) return std::nullopt;
  auto picture = ReadPayload(opened->fd(), h, reuse, scratch);
  if (!picture) return std::nullopt;
  Touch(file);
  RecordKey(source, stamp);
  if (IsQuick(h)) QueueTightening(*key);
  return picture;
}

bool DiskPictureCache::Store(const std::string& source, const SourceStamp& stamp, const DecodedPicture& picture) {
  if (!FitsTheScreen(static_cast<std::uint32_t>(picture.width), static_cast<std::uint32_t>(picture.height)) ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
    return false;
  std::string scratch;
  const auto key = KeyOf(source, stamp, scratch);
  if (!key || StampOf(source) != stamp) return false;
  const int rawBytes = static_cast<int>(picture.Bytes());
  const char* pixels = reinterpret_cast<const char*>(picture.pixels.data());
  std::unique_ptr<char[]> packed;
  int packedBytes = 0;
  if (LooksPackable(picture)) {
    const int bound = LZ4_compressBound(rawBytes);
    packed.reset(new char[static_cast<std::size_t>(bound)]);
    const int length = LZ4_compress_default(pixels, packed.get(), rawBytes, bound);
    if (length > 0 && WorthPacking(length, rawBytes)) packedBytes = length;
  }
  const std::string_view payload = packedBytes > 0 ? std::string_view(packed.get(), static_cast<std::size_t>(packedBytes))
                                                   : std::string_view(pixels, static_cast<std::size_t>(rawBytes));
  CacheHeader h{};
  h.source = *key;
  h.width = static_cast<std::uint32_t>(picture.width);
  h.height = static_cast<std::uint32_t>(picture.height);
  std::error_code made;
  std::filesystem::create_directories(folder_, made);
  if (!WriteCopy(FileOf(*key), h, packedBytes > 0 ? kMagic : kRawMagic, payload)) return false;
  RecordKey(source, stamp);
  if (packedBytes > 0) QueueTightening(*key);
  return true;
}

void DiskPictureCache::QueueTightening(const PictureKey& key) {
  std::lock_guard lock(mutex_);
  if (tighteningQueued_.insert(FileOf(key)).second) toTighten_.push_back(key);
}

bool DiskPictureCache::WaitingToTighten() {
  std::lock_guard lock(mutex_);
  return !toTighten_.empty();
}

std::optional<PictureKey> DiskPictureCache::NextToTighten() {
  std::lock_guard lock(mutex_);
  if (toTighten_.empty()) return std::nullopt;
  const PictureKey key = toTighten_.front();
  toTighten_.pop_front();
  return key;
}

// LZ4's high-compression mode finds longer matches: its output unpacks in
// about half the time of the fast mode's, but takes ten times as long to
// make, so it is made afterwards from the quick copy, never while a
// picture is waited for.
bool DiskPictureCache::Tighten(const PictureKey& key, TighteningScratch& scratch) {
  std::lock_guard rewriting(rewriting_);
  const std::string file = FileOf(key);
  std::string error;
  auto opened = OpenRegularFile(file, kMaxPictureBytes, error);
  CacheHeader h;
  if (!opened || !ReadHeader(*opened, key, h) || !IsQuick(h)) return false;
  if (!ReadPixels(opened->fd(), h, scratch.pixels, scratch.payload)) return false;
  if (!scratch.state) scratch.state.reset(new char[static_cast<std::size_t>(LZ4_sizeofStateHC())]);
  // No larger than the quick copy, or it is kept.
  scratch.packed.resize(h.payloadLength);
  const int length =
      LZ4_compress_HC_extStateHC(scratch.state.get(), reinterpret_cast<const char*>(scratch.pixels.data()),
                                 scratch.packed.data(), static_cast<int>(scratch.pixels.size() * sizeof(Colour)),
                                 static_cast<int>(scratch.packed.size()), LZ4HC_CLEVEL_MIN);
  return length > 0 &&
         WriteCopy(file, h, kTightMagic, std::string_view(scratch.packed.data(), static_cast<std::size_t>(length)));
}

void DiskPictureCache::Tidy(std::uint64_t limitBytes, std::int64_t now) {
  std::lock_guard rewriting(rewriting_);
  TidyPictureCache(folder_, limitBytes, now);
}

namespace {

constexpr std::int64_t kDaySeconds = 24 * 60 * 60;

bool EndsWith(const std::string& name, const std::string& end) {
  return name.size() > end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

bool IsCacheFile(const std::string& name) { return EndsWith(name, kCopyEnd) || EndsWith(name, kRecordEnd); }

// "<copy>.pix.tmp-" or "<record>.key.tmp-" and six letters or digits: a
// file being written, or left by a run that ended during the write.
bool IsTemporaryCopy(const std::string& name) {
  const auto at = name.rfind(".tmp-");
  if (at == std::string::npos || !IsCacheFile(name.substr(0, at)) || name.size() != at + 5 + 6) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(at + 5), name.end(),
                     [](unsigned char c) { return std::isalnum(c); });
}

struct CopyFile {
  std::string name;
  std::int64_t usedNs;
  std::uint64_t bytes;
};

}  // namespace

void TidyPictureCache(const std::string& folder, std::uint64_t limitBytes, std::int64_t now) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const int fd = ::dirfd(dir);
  std::vector<CopyFile> copies;
  std::uint64_t total = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    const bool temporary = IsTemporaryCopy(name);
    struct stat info {};
    if ((!temporary && !IsCacheFile(name)) || ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode))
      continue;
    if (temporary) {
      if (info.st_mtim.tv_sec < now - kDaySeconds) ::unlinkat(fd, name.c_str(), 0);
      continue;
    }
    copies.push_back({name, Nanoseconds(info.st_mtim), static_cast<std::uint64_t>(info.st_size)});
    total += static_cast<std::uint64_t>(info.st_size);
  }
  std::sort(copies.begin(), copies.end(),
            [](const CopyFile& a, const CopyFile& b) { return std::tie(a.usedNs, a.name) < std::tie(b.usedNs, b.name); });
  for (const CopyFile& copy : copies) {
    if (total <= limitBytes) break;
    if (::unlinkat(fd, copy.name.c_str(), 0) == 0) total -= copy.bytes;
  }
  ::closedir(dir);
}

std::string DefaultPictureCacheFolder() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') return std::string(xdg) + "/pelmot/pictures";
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.cache/pelmot/pictures";
  return "";
}

}  // namespace pelmot
