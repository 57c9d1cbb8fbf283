#include "platform/surface.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace pelmot {
namespace {

// Rows of two different surfaces never overlap, which lets the compiler
// work on many pixels at once; a surface combined with itself takes the
// plain loops.
void AndRow(Colour* __restrict to, const Colour* __restrict from, int n) {
  for (int i = 0; i < n; ++i) to[i] &= from[i];
}
void XorRow(Colour* __restrict to, const Colour* __restrict from, int n) {
  for (int i = 0; i < n; ++i) to[i] ^= from[i];
}
void SelfAndRow(Colour* to, const Colour* from, int n) {
  for (int i = 0; i < n; ++i) to[i] &= from[i];
}
void SelfXorRow(Colour* to, const Colour* from, int n) {
  for (int i = 0; i < n; ++i) to[i] ^= from[i];
}

}  // namespace

namespace {
std::atomic<std::uint64_t> lastRevision{0};
// Set while an owed drawing makes its pixels.
thread_local bool revisionsHeld = false;
}  // namespace

void OwedDrawing::Settle() {
  if (!std::exchange(open_, false)) return;
  const bool held = std::exchange(revisionsHeld, true);
  Draw();
  revisionsHeld = held;
}

Surface::Surface(int width, int height) : width_(width), height_(height) { Touch(); }

std::vector<Colour>& Surface::Allocated(std::vector<Colour>& pixels) const {
  const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  if (pixels.size() != size) pixels.assign(size, kBlack);
  return pixels;
}

std::vector<Colour>& Surface::OwnKept() {
  if (borrowed_) {
    image_.assign(borrowed_->begin(), borrowed_->end());
    borrowed_.reset();
  }
  return Allocated(image_);
}

bool Surface::BorrowImage(std::shared_ptr<const std::vector<Colour>> pixels) {
  owed_.Settle();
  const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  if (!pixels || pixels->size() != size || DrawsToScreen()) return false;
  Touch();
  changed_ = true;
  borrowed_ = std::move(pixels);
  return true;
}

std::uint64_t Surface::LatestRevision() { return lastRevision.load(std::memory_order_relaxed); }

void Surface::Touch() { TouchRows(0, height_); }

void Surface::TouchRows(int top, int bottom) {
  // An owed drawing's rows were marked when it was owed.
  if (revisionsHeld) return;
  revision_ = lastRevision.fetch_add(1, std::memory_order_relaxed) + 1;
  changedRows_.Cover(std::max(top, 0), std::min(bottom, height_));
}

bool Surface::ChangedRowsSince(std::uint64_t since, int& top, int& bottom) const {
  top = bottom = 0;
  if (since == revision_) return true;
  if (since != watchedFrom_ || since == 0) return false;
  top = changedRows_.top;
  bottom = changedRows_.bottom;
  return true;
}

void Surface::WatchRows() const {
  watchedFrom_ = revision_;
  changedRows_ = {};
}

void Surface::SetShown(bool shown) {
  owed_.Settle();
  // The screen pixels change only where the screen held pixels of its own.
  if (shown_ && screenOwn_)
    Touch();
  else
    TouchRows(0, 0);
  shown_ = shown;
  screenOwn_ = false;
  if (!shown_) {
    screen_.clear();
    screen_.shrink_to_fit();
  }
}

std::vector<Colour>& Surface::Target() { return TargetRows(0, height_); }

std::vector<Colour>& Surface::TargetRows(int top, int bottom) {
  owed_.Settle();
  // A screen copy made now shows the kept image until drawn into, so only
  // the rows drawn differ from before.
  TouchRows(top, bottom);
  if (DrawsToScreen()) return OwnScreen();
  changed_ = true;
  return OwnKept();
}

// The screen copy gets pixels of its own when drawing first goes to it
// alone; until then it shows the kept image, so a refresh copies nothing.
std::vector<Colour>& Surface::OwnScreen() {
  if (!screenOwn_) {
    const std::vector<Colour>& kept = KeptOrEmpty();
    screen_.assign(kept.begin(), kept.end());
    screenOwn_ = true;
  }
  return Allocated(screen_);
}

const std::vector<Colour>& Surface::ScreenPixels() const {
  owed_.Settle();
  return shown_ && screenOwn_ ? Allocated(screen_) : Kept();
}

Colour Surface::ScreenPixel(int x, int y) const {
  owed_.Settle();
  const std::vector<Colour>& pixels = shown_ && screenOwn_ ? screen_ : KeptOrEmpty();
  return pixels.empty() ? kBlack : pixels[Index(x, y)];
}

void Surface::Clear() {
  owed_.Settle();
  // Shared pixels about to be covered need no copy first.
  if (!DrawsToScreen() && borrowed_) {
    borrowed_.reset();
    image_.clear();
  }
  const std::vector<Colour>& pixels = DrawsToScreen() && screenOwn_ ? screen_ : image_;
  if (backColour == kBlack && pixels.empty()) {
    // Black over pixels not made yet: they stay unmade.
    Touch();
    if (!DrawsToScreen()) changed_ = true;
    return;
  }
  auto& target = Target();
  std::fill(target.begin(), target.end(), backColour);
}

void Surface::FillRect(int x, int y, int w, int h, Colour colour) {
  owed_.Settle();
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  auto& target = TargetRows(y0, x1 > x0 ? y1 : y0);
  for (int yy = y0; yy < y1; ++yy)
    std::fill(target.begin() + Index(x0, yy), target.begin() + Index(x0, yy) + std::max(0, x1 - x0), colour);
}

void Surface::Line(int x1, int y1, int x2, int y2, Colour colour) {
  owed_.Settle();
  auto& target = Target();
  // Bresenham from (x1, y1) towards (x2, y2), stopping before the end point.
  int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) target[Index(x, y)] = colour;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Surface::BitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  owed_.Settle();
  // Clip against the source, then against the destination, keeping the two
  // rectangles aligned: the same on either axis.
  const auto clipStart = [](int& d, int& from, int& length) {
    if (from < 0) {
      d -= from;
      length += from;
      from = 0;
    }
    if (d < 0) {
      from -= d;
      length += d;
      d = 0;
    }
  };
  clipStart(dx, sx, w);
  clipStart(dy, sy, h);
  w = std::min({w, src.width_ - sx, width_ - dx});
  h = std::min({h, src.height_ - sy, height_ - dy});
  if (w <= 0 || h <= 0) return;
  if (rop == Rop::SrcCopy && dx == 0 && dy == 0 && sx == 0 && sy == 0 && ShareWhole(w, h, src)) return;
  auto& target = TargetRows(dy, dy + h);
  const std::vector<Colour>& source = src.Image();
  for (int row = 0; row < h; ++row) {
    const Colour* from = &source[src.Index(sx, sy + row)];
    Colour* to = &target[Index(dx, dy + row)];
    switch (rop) {
      case Rop::SrcCopy: std::copy(from, from + w, to); break;
      case Rop::SrcAnd:
        if (&src == this)
          SelfAndRow(to, from, w);
        else
          AndRow(to, from, w);
        break;
      case Rop::SrcInvert:
        if (&src == this)
          SelfXorRow(to, from, w);
        else
          XorRow(to, from, w);
        break;
    }
  }
}

// A copy of the whole of a surface that shows shared pixels (a decoded
// picture) shares them too, until either is drawn into; the buffer of this
// surface's own goes, as the kept image is seldom drawn into after such a
// copy (the screen's picture is copied so from the work surface).
bool Surface::ShareWhole(int w, int h, const Surface& src) {
  src.owed_.Settle();
  if (&src == this || !src.borrowed_ || w != width_ || h != height_ || src.width_ != width_ ||
      src.height_ != height_ || DrawsToScreen())
    return false;
  Touch();
  changed_ = true;
  borrowed_ = src.borrowed_;
  std::vector<Colour>().swap(image_);
  return true;
}

void Surface::ForgetPixels() {
  owed_.Settle();
  if (!borrowed_ && image_.empty() && screen_.empty()) return;
  Touch();
  changed_ = true;
  borrowed_.reset();
  std::vector<Colour>().swap(image_);
  std::vector<Colour>().swap(screen_);
  screenOwn_ = false;
}

void Surface::SwapImage(Surface& other) {
  owed_.Settle();
  other.owed_.Settle();
  Touch();
  other.Touch();
  image_.swap(other.image_);
  borrowed_.swap(other.borrowed_);
}

void Surface::PaintPicture(const Surface& src, int dx, int dy) {
  BitBlt(dx, dy, src.width_, src.height_, src, 0, 0, Rop::SrcCopy);
}

void Surface::Refresh() {
  owed_.Settle();
  // The screen pixels change only where the screen held pixels of its own.
  if (shown_ && screenOwn_)
    Touch();
  else
    TouchRows(0, 0);
  // A screen copy unused since the last refresh (pages of text, not hover
  // frames) gives its memory back.
  if (!screenOwn_) std::vector<Colour>().swap(screen_);
  screenOwn_ = false;
  changed_ = false;
}

void Surface::PresentIfChanged() {
  if (changed_) Refresh();
}

void Surface::Resize(int width, int height) {
  owed_.Settle();
  width_ = width;
  height_ = height;
  Touch();
  borrowed_.reset();
  // All black needs no pixels until they are used.
  if (backColour == kBlack)
    image_.clear();
  else
    image_.assign(static_cast<std::size_t>(width) * height, backColour);
  screenOwn_ = false;
}

}  // namespace pelmot
