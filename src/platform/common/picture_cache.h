// Where decoded pictures are kept between uses: in memory, least recently
// used out past a budget of bytes; and on disk, as LZ4-packed pixels that
// unpack at about the speed of a copy, many times faster than the PNG
// pictures they come from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/common/picload.h"

namespace pelmot {

// What says, within a run, that a source file is still the one a picture
// in memory (or the key of its packed copy) came from. The modification time can be set back (cp -p, touch, an unpacked
// archive), the change time cannot; a file replaced by a rename has
// another inode. File times tick coarsely, though: a file rewritten in the
// same tick keeps its times, so a file changed less than a second ago is
// known by a hash of its bytes too.
struct SourceStamp {
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;
  std::uint64_t device = 0, inode = 0;
  std::uint64_t recentHash = 0;  // XXH3 of the bytes of a recently changed file; 0 otherwise
  friend bool operator==(const SourceStamp&, const SourceStamp&) = default;
};

// The stamp of the regular file at `path`, or nothing when there is none.
std::optional<SourceStamp> StampOf(const std::string& path);

using SharedPicture = std::shared_ptr<const DecodedPicture>;

// Decoded pictures by source path, at most `budgetBytes` of pixels; the
// least recently used go first. A picture larger than the budget is not kept.
class PictureMemoryCache {
 public:
  explicit PictureMemoryCache(std::size_t budgetBytes) : budget_(budgetBytes) {}
  // The picture if it is kept and still matches `stamp`; it becomes the most
  // recently used.
  SharedPicture Find(const std::string& path, const SourceStamp& stamp);
  // Whether the picture is kept and matches `stamp`, without using it; if
  // so it is marked as needed ahead (see MakeRoomAhead).
  bool HoldsAhead(const std::string& path, const SourceStamp& stamp);
  // Every picture may go again, read ahead or not.
  void NoneAhead();
  // `ahead`: read ahead of need, not used yet (see MakeRoomAhead).
  void Put(const std::string& path, const SourceStamp& stamp, SharedPicture picture, bool ahead = false);
  // Lets the least recently used go until `bytes` more fit the budget, so
  // a picture about to be decoded never stands beside a full cache. A
  // picture let go while someone still holds it (the one on screen, a copy
  // waiting to be written) counts against the budget until it is freed. The
  // pixels of one that nobody else holds come back for the next decode to
  // reuse (empty when there are none): a fresh buffer costs a page fault
  // for every 4 KB.
  std::vector<Colour> MakeRoomFor(std::size_t bytes);
  // The same for a picture read ahead of need, but those read ahead and not
  // used yet stay: they come sooner. Nothing when room cannot be made so.
  std::optional<std::vector<Colour>> MakeRoomAhead(std::size_t bytes);
  // The kept paths, most recently used first.
  std::vector<std::string> PathsByRecency() const;
  std::size_t Bytes() const { return bytes_; }

 private:
  struct Entry {
    std::string path;
    SourceStamp stamp;
    SharedPicture picture;
    std::size_t bytes;  // as put in (the pixels may be handed on for reuse)
    bool ahead;         // read ahead of need and not used yet
  };
  void Remove(std::list<Entry>::iterator entry);
  std::vector<Colour> LetGoUntilFits(std::size_t bytes, bool spareAhead);
  // Whether `bytes` more, and the pictures let go but still held, fit.
  bool Fits(std::size_t bytes);
  std::size_t budget_;
  std::vector<std::weak_ptr<const DecodedPicture>> heldElsewhere_;
  std::size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> byPath_;
};

// What names a packed copy: a hash (XXH3, 128 bits) of its source's bytes
// and their count. A copy made from the same bytes matches wherever the
// source lies and whatever its times say: an installed or moved tree, or
// one whose times were all set to 0, still finds its copies; a source
// replaced by other bytes never finds the old one.
struct PictureKey {
  std::uint64_t low = 0, high = 0;
  std::uint64_t size = 0;
  friend bool operator==(const PictureKey&, const PictureKey&) = default;
};

// The key of the regular file at `path`, whose bytes are read into
// `scratch`; nothing when it cannot be read.
std::optional<PictureKey> PictureKeyOf(const std::string& path, std::string& scratch);

// Decoded pictures on disk in `folder`, one file per picture, named by its
// key. A file is used only when its header names the same key and its
// checksum holds; anything else reads as absent, so a damaged file is
// decoded again from the source. Safe to use from several threads.
class DiskPictureCache {
 public:
  explicit DiskPictureCache(std::string folder) : folder_(std::move(folder)) {}
  // The copy of `source`'s picture. The key is found once per run and
  // source, and found again when `stamp` (the source's stamp now) is not the
  // one it was found with. A copy used is touched (its modification time
  // set to now), once a run, so tidying lets the least recently used go.
  // `reuse`: pixels whose memory the picture takes over (only when it is
  // read); `scratch`: a buffer for the file's bytes, kept by the caller so
  // its memory is reused.
  std::optional<DecodedPicture> Load(const std::string& source, const SourceStamp& stamp, std::vector<Colour>& reuse,
                                     std::string& scratch);
  // Writes the file whole (temporary file, then rename); false when it
  // could not, or when the source is no longer the one of `stamp`: the
  // picture was decoded from bytes other than those the key was found from.
  bool Store(const std::string& source, const SourceStamp& stamp, const DecodedPicture& picture);
  // The cache file of `source` as its bytes are now; empty when it cannot
  // be read.
  std::string FileOf(const std::string& source);
  const std::string& Folder() const { return folder_; }

  // Packed copies are written quickly, then packed again, tighter, when
  // time allows (Tighten): those written or read in this run in the quick
  // form wait for it, each once a run.
  bool WaitingToTighten();
  std::optional<PictureKey> NextToTighten();
  // Memory Tighten keeps from one copy to the next.
  struct TighteningScratch {
    std::vector<Colour> pixels;
    std::string payload, packed;
    std::unique_ptr<char[]> state;
  };
  // Packs the quick copy of `key` again, in a form that unpacks in about
  // half the time; false when it is gone, damaged, already tight or would
  // not shrink.
  bool Tighten(const PictureKey& key, TighteningScratch& scratch);
  // Tidies the folder (see TidyPictureCache), never while a copy is
  // repacked, which could write a copy the tidying had let go.
  void Tidy(std::uint64_t limitBytes, std::int64_t now);
  // How many times a source's bytes were read to find its key, in this
  // run: once per source on its first run, none on later ones.
  int SourcesRead();

 private:
  std::optional<PictureKey> KeyOf(const std::string& source, const SourceStamp& stamp, std::string& scratch);
  std::string FileOf(const PictureKey& key) const;
  void Touch(const std::string& file);
  // Key records: beside the copies, the key found for a source at one
  // stamp, so later runs find it without reading the source again.
  std::string RecordFileOf(const std::string& source, const SourceStamp& stamp) const;
  std::optional<PictureKey> ReadRecord(const std::string& source, const SourceStamp& stamp);
  void RecordKey(const std::string& source, const SourceStamp& stamp);
  void QueueTightening(const PictureKey& key);

  std::string folder_;
  std::mutex mutex_;  // guards what follows
  struct FoundKey {
    SourceStamp stamp;
    PictureKey key;
    bool recorded = false;  // its record is on disk
  };
  std::unordered_map<std::string, FoundKey> keys_;  // by source path
  std::unordered_set<std::string> touched_;         // copies and records touched in this run
  int sourcesRead_ = 0;
  std::deque<PictureKey> toTighten_;
  std::unordered_set<std::string> tighteningQueued_;  // copies' files, once a run
  // Held while a copy is repacked or the folder tidied.
  std::mutex rewriting_;
};

// What tidying the cache folder removes: temporary copies and key records
// older than a day (a younger one may be another running game's write in
// progress), then copies and records, least recently used (modified) first,
// until the rest take at most `limitBytes`. `now`: seconds since the epoch.
void TidyPictureCache(const std::string& folder, std::uint64_t limitBytes, std::int64_t now);

// The disk cache's folder: $XDG_CACHE_HOME/pelmot/pictures, or
// ~/.cache/pelmot/pictures; empty (no disk cache) when neither is set.
std::string DefaultPictureCacheFolder();

}  // namespace pelmot
