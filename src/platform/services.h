// What the game asks of the machine it runs on. The game core sees only
// these interfaces; the SDL window and the headless runner implement them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/glyph_run.h"
#include "platform/surface.h"

namespace pelmot {

struct LocalDateTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The three fields of a display-settings record that the game uses.
struct DisplaySettings {
  int bitsPerPixel = 32;
  int width = 0;
  int height = 0;
  friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
};

// Message boxes. Neither call waits for the player: a box opens and the
// game takes no other input until it is answered; boxes opened while one is
// up come after it in turn.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A yes/no box; `answered` runs with true for yes once the player answers
  // (at once, before AskYesNo returns, where the answer is known already).
  virtual void AskYesNo(const std::string& text, std::function<void(bool yes)> answered) = 0;
  // A box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

class Display {
 public:
  virtual ~Display() = default;
  virtual DisplaySettings Current() = 0;
  virtual void Change(const DisplaySettings& settings) = 0;
  // Screen size in pixels (of the current mode) and twips per pixel (15 at 96 dpi).
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int TwipsPerPixel() = 0;
  virtual void MoveWindow(int left, int top) = 0;
  // Sizes the window (not full screen) to `multiple` times the picture, or
  // to the largest that fits the screen for 0. Without a window, nothing.
  virtual void SizeWindow(int multiple) { (void)multiple; }
};

// The multimedia command strings ("open ...", "play ... window", "close ...").
class Multimedia {
 public:
  virtual ~Multimedia() = default;
  virtual void SendString(const std::string& command) = 0;
  virtual void Execute(const std::string& command) = 0;
  // The surface a command's parent window `handle` names (movies play on it).
  virtual void AttachWindow(long long /*handle*/, Surface& /*surface*/) {}
};

// Draws picture `number` of the picture set in `folder` into the target's
// kept image at the origin.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  virtual void PicLoad(Surface& target, int number, const std::string& folder) = 0;
  // A hint that PicLoad may soon ask for this picture: a loader may decode
  // it ahead of need. Nothing the game sees depends on it.
  virtual void Prefetch(int /*number*/, const std::string& /*folder*/) {}
  // The hints that follow replace those given before: play has moved on.
  virtual void NewHints() {}
  // The most the decoded copies a loader keeps between runs may take; a
  // loader keeping none ignores it.
  virtual void KeepCopiesWithin(std::uint64_t /*bytes*/) {}
};

// The face text is drawn in: the window's own, or a proportional face for
// languages written with spaces between words. In the western face a
// character that face lacks (kana, kanji) comes from the window's own.
enum class TextFace { kWindow, kWestern };

// Measures and draws UTF-8 text in the window's font at a pixel size.
class TextEngine {
 public:
  virtual ~TextEngine() = default;
  // The face for everything measured and drawn from now on; an engine with
  // a single face ignores it.
  virtual void SetFace(TextFace /*face*/) {}
  virtual int Width(std::string_view utf8, int pixelSize) = 0;
  // Draws with a transparent background into target's current drawing target;
  // x, y is the top-left corner of the first character cell.
  virtual void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) = 0;
  // The runs of pixels Draw would colour from the same corner, glyph by
  // glyph in the order it colours them: `span` gets each glyph's cell
  // corner and its runs (nothing is clipped). False, calling nothing, for an
  // engine that draws otherwise than by runs.
  using SpanSink = std::function<void(int x, int y, std::span<const GlyphRun> runs)>;
  virtual bool EachSpan(int /*x*/, int /*y*/, std::string_view /*utf8*/, int /*pixelSize*/, const SpanSink& /*span*/) {
    return false;
  }
};

// The largest file of each kind the game reads; each is far above what a
// real one needs and far below what would hurt.
inline constexpr std::size_t kMaxDataFileBytes = 64 * 1024;          // stamps, seen flags, slots
inline constexpr std::size_t kMaxScenarioBytes = 16 * 1024 * 1024;   // the scenario text
inline constexpr std::size_t kMaxScriptBytes = 16 * 1024 * 1024;     // a headless script
inline constexpr std::size_t kMaxPictureBytes = 32 * 1024 * 1024;    // one 800 x 600 picture
inline constexpr std::size_t kMaxMovieBytes = std::size_t{1} << 30;  // the logo movie (read as it plays)

// Why the game cannot keep its files in a folder.
enum class FolderFault { kNone, kPathTooLong, kMissing, kNotWritable };

// A replacement asked for with Files::ReplaceWholeLater that failed.
struct LaterWriteFailure {
  std::string path;
  std::string error;
};

// The files the game reads and writes, and their folders.
class Files {
 public:
  virtual ~Files() = default;
  // The whole of a regular file of at most `maxBytes`; nothing, with `error`
  // set, when it is missing, not a regular file, too large or unreadable.
  virtual std::optional<std::string> ReadWhole(const std::string& path, std::size_t maxBytes, std::string& error) = 0;
  // True when nothing exists at `path` (not even a dangling link).
  virtual bool IsMissing(const std::string& path) = 0;
  // Replaces the file whole, or leaves the old one as it was and says why.
  virtual bool ReplaceWhole(const std::string& path, const std::string& bytes, std::string& error) = 0;
  // Removes what interrupted replacements left in `folder`.
  virtual void RemoveStaleTemporaries(const std::string& folder) = 0;
  // Creates an empty file if none exists; true when the file exists afterwards.
  virtual bool EnsureExists(const std::string& path) = 0;
  // Creates every missing folder along `path`: an absolute path ("/a/b"), a
  // relative one ("a/b", below the working folder) or the network form
  // ("//server/share/a/b"), whose server and share are taken as given and
  // only the folders after them are made. False when a network path has no
  // share part. Creation errors are ignored; later file operations report them.
  virtual bool MakePath(const std::string& path) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  // Creates every missing folder along `path`, as MakePath does for a local
  // path, but says why when the folder is not there afterwards.
  virtual bool MakeFolders(const std::string& path, std::string& error) = 0;
  // Removes the file at `path`, if there is one; failures are ignored.
  virtual void Remove(const std::string& path) = 0;
  // Whether the game can keep its files in `folder`; `longestName` is the
  // longest file name it writes there.
  virtual FolderFault CheckDataFolder(const std::string& folder, std::size_t longestName) = 0;

  // --- replacements that may finish later ---------------------------------
  // Replaces the file whole with what `contents` makes (it may read the old
  // file through the Files it is given). Replacements may be made later, on
  // another thread, but always in the order asked; one not yet begun gives
  // way to a newer one for the same path, as only the newest content counts.
  // A path written this way is written only this way. Here they are made at
  // once; a write-behind implementation overrides all three.
  virtual void ReplaceWholeLater(const std::string& path, std::function<std::string(Files&)> contents) {
    std::string error;
    if (!ReplaceWhole(path, contents(*this), error) && !laterFailure_) laterFailure_ = LaterWriteFailure{path, error};
  }
  // Returns once every replacement asked for so far has been made or failed.
  virtual void FinishLaterWrites() {}
  // The first failed replacement not taken yet.
  virtual std::optional<LaterWriteFailure> TakeLaterWriteFailure() {
    return std::exchange(laterFailure_, std::nullopt);
  }

 private:
  std::optional<LaterWriteFailure> laterFailure_;
};

// One copy of the program per data folder.
class InstanceLock {
 public:
  enum class Result {
    kAcquired,       // this process is the only copy
    kHeldElsewhere,  // another copy runs on the same data folder
    kUnavailable,    // the lock file cannot be opened (a folder that cannot be written)
  };
  virtual ~InstanceLock() = default;
  // Takes the lock on `folder` without waiting; the folder must exist.
  // Taking it again while held releases the old lock first.
  virtual Result Acquire(const std::string& folder) = 0;
  virtual void Release() = 0;
  virtual bool Held() const = 0;
};

// Text in the data files is in code page 932 (Shift_JIS); inside it is UTF-8.
class CodePage {
 public:
  virtual ~CodePage() = default;
  // Nothing when the text has a character code page 932 cannot hold.
  virtual std::optional<std::string> FromUtf8(const std::string& utf8) = 0;
  // Nothing when the bytes are not valid code page 932.
  virtual std::optional<std::string> ToUtf8(const std::string& cp932) = 0;
};

// Milliseconds from some fixed moment; never goes back, whatever the wall
// clock does.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual std::int64_t NowMs() = 0;
};

// Another program, run and waited for (the story map's drawing).
class Programs {
 public:
  virtual ~Programs() = default;
  // Runs `argv[0]` (found on PATH) with the arguments that follow, without a
  // shell. True when it exited with status 0; otherwise `error` says why.
  virtual bool Run(const std::vector<std::string>& argv, std::string& error) = 0;
};

// Everything together; the game holds a reference to one of these.
struct Services {
  Clock& clock;
  Dialogs& dialogs;
  Display& display;
  Multimedia& multimedia;
  PictureLoader& pictures;
  TextEngine& text;
  Files& files;
  CodePage& codePage;
  InstanceLock& lock;
  MonotonicClock& monotonic;
};

}  // namespace pelmot
