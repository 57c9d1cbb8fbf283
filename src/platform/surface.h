// Surface: a 32-bit pixel image standing in for a picture box with a kept
// image. Pixels are 0x00RRGGBB; the top byte is always 0, so the bitwise
// raster operations never disturb it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace pelmot {

using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return (static_cast<Colour>(r & 0xFF) << 16) | (static_cast<Colour>(g & 0xFF) << 8) | static_cast<Colour>(b & 0xFF);
}

// The window's client area, which the game's pictures fill.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr std::size_t kScreenPixels = static_cast<std::size_t>(kScreenWidth) * kScreenHeight;

constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kWhite = Rgb(255, 255, 255);

// Drawing whose pixels are made only when someone uses them: a page that
// is replaced before anyone looks at it costs nothing. The surfaces it
// draws and the ones it reads from each hold it (see OwedSlot), so it is
// done, once, before any of them is read, changed or copied. While it
// draws, no surface gets a new revision number: it makes the pixels the
// numbers given when it was put off already name.
class OwedDrawing {
 public:
  virtual ~OwedDrawing() = default;
  // Draws, unless done or given up.
  void Settle();
  // Gives the drawing up: whoever gives it up draws its pixels instead.
  void Forgo() { open_ = false; }
  bool Open() const { return open_; }

 protected:
  virtual void Draw() = 0;

 private:
  bool open_ = true;
};

// Where a surface (or anything a drawing reads) holds the drawing it is
// owed; a copy settles it first and holds none.
class OwedSlot {
 public:
  OwedSlot() = default;
  OwedSlot(const OwedSlot& other) { other.Settle(); }
  OwedSlot& operator=(const OwedSlot& other) {
    Settle();
    other.Settle();
    return *this;
  }
  ~OwedSlot() = default;
  void Settle() const {
    if (owed_) std::exchange(owed_, nullptr)->Settle();
  }
  // Stops holding `drawing` without doing it.
  void Drop(const OwedDrawing* drawing) {
    if (owed_.get() == drawing) owed_.reset();
  }
  // Holds `drawing`; one held before is done first unless given up.
  void Hold(std::shared_ptr<OwedDrawing> drawing) {
    if (owed_ != drawing) Settle();
    owed_ = std::move(drawing);
  }

 private:
  mutable std::shared_ptr<OwedDrawing> owed_;
};

// The three raster operations the game uses, bit for bit as GDI does them.
enum class Rop { SrcCopy, SrcAnd, SrcInvert };

// Rows of a surface or the client area, top inclusive, bottom exclusive.
struct ClientRows {
  int top = 0, bottom = 0;
  bool Empty() const { return bottom <= top; }
  // Grows to cover rows from ... to - 1 as well.
  void Cover(int from, int to) {
    if (to <= from) return;
    if (Empty()) {
      top = from;
      bottom = to;
      return;
    }
    top = from < top ? from : top;
    bottom = to > bottom ? to : bottom;
  }
};

class Surface {
 public:
  Surface() : Surface(kScreenWidth, kScreenHeight) {}
  Surface(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // --- control properties ---------------------------------------------
  int left = 0;
  int top = 0;
  bool enabled = false;
  bool visible = true;
  Colour backColour = kBlack;
  Colour foreColour = kBlack;
  int fontPoints = 15;  // as placed; fontPixels is what text is drawn at
  int fontPixels = 20;

  // Persistent drawing ("keeps its image"): drawing goes into the kept image.
  // A surface that is shown on screen (see SetShown) also has a screen copy:
  // with persistent drawing off, drawing goes to the screen copy only and is
  // lost at the next refresh, as on a real window.
  void SetPersistent(bool on) { persistent_ = on; }
  bool Persistent() const { return persistent_; }
  void SetShown(bool shown);

  // Fills the drawing target with the back colour.
  void Clear();
  // A one-pixel line; like GDI the end point itself is not drawn.
  void Line(int x1, int y1, int x2, int y2, Colour colour);
  void FillRect(int x, int y, int w, int h, Colour colour);
  // Block transfer from the kept image of src into this surface's drawing
  // target, clipped to both surfaces.
  void BitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);
  // Paints the whole kept image of src at dx, dy, in its own size.
  void PaintPicture(const Surface& src, int dx, int dy);
  // Makes the screen copy show the kept image again.
  void Refresh();
  // After an event: the screen shows what persistent drawing changed.
  void PresentIfChanged();
  // Resizes the kept image (and screen copy), cleared to the back colour.
  void Resize(int width, int height);

  Colour ImagePixel(int x, int y) const {
    owed_.Settle();
    const std::vector<Colour>& kept = KeptOrEmpty();
    return kept.empty() ? kBlack : kept[Index(x, y)];
  }
  Colour ScreenPixel(int x, int y) const;
  void SetImagePixel(int x, int y, Colour c) {
    owed_.Settle();
    TouchRows(y, y + 1);
    OwnKept()[Index(x, y)] = c;
  }
  const std::vector<Colour>& Image() const {
    owed_.Settle();
    return Kept();
  }
  std::vector<Colour>& MutableImage() {
    owed_.Settle();
    Touch();
    return OwnKept();
  }
  // Makes `pixels` (exactly Width() x Height() of them, never changed by
  // anyone while shared) the kept image without copying them: a decoded
  // picture shown as it is. The surface copies them only when it is first
  // drawn into. False, with nothing changed, when the size differs or
  // drawing goes to the screen copy.
  bool BorrowImage(std::shared_ptr<const std::vector<Colour>> pixels);
  // The pixels a player sees: the screen copy if shown, else the kept image.
  const std::vector<Colour>& ScreenPixels() const;

  // Where drawing goes now: the kept image, or the screen copy of a shown
  // surface drawing directly. Text drawing uses this too.
  std::vector<Colour>& Target();
  // Target for drawing that changes rows top ... bottom - 1 alone.
  std::vector<Colour>& TargetRows(int top, int bottom);
  void MarkChanged() { changed_ = true; }

  // Which rows of the screen pixels may differ from what they were at
  // revision `since`: true with the rows (top inclusive, bottom exclusive;
  // none for an empty band) where that is known, which it is for the
  // revision WatchRows was last called at and for the current one.
  bool ChangedRowsSince(std::uint64_t since, int& top, int& bottom) const;
  // Starts counting changed rows from the current revision.
  void WatchRows() const;

  // Every call that may change the kept image or the screen copy (drawing,
  // Target, MutableImage, SetImagePixel, Resize, Refresh, SetShown) gives the
  // surface a new revision number, unique in the process: a number read
  // once names exactly that state of the pixels, so what is known about
  // them stays known while the number is unchanged. A reference from Target
  // or MutableImage serves the drawing at hand, not a later one.
  std::uint64_t Revision() const { return revision_; }
  // The newest revision number given to any surface: it moves whenever any
  // surface may have changed, so a picture composed from surfaces alone is
  // the same while it stays.
  static std::uint64_t LatestRevision();

  // The kept image and the screen copy are `drawing`'s to make: the
  // surface gets a new revision now, with rows [top, bottom) marked as the
  // ones it changes, and the pixels when first used.
  void Owe(std::shared_ptr<OwedDrawing> drawing, int top = 0, int bottom = std::numeric_limits<int>::max()) {
    TouchRows(top, bottom);
    owed_.Hold(std::move(drawing));
  }
  // `drawing` reads this surface: it is done before the pixels change.
  void Lend(std::shared_ptr<OwedDrawing> drawing) { owed_.Hold(std::move(drawing)); }
  // Stops lending to `drawing`, which no longer reads this surface.
  void Unlend(const OwedDrawing* drawing) { owed_.Drop(drawing); }
  // Lets the pixels go, kept image and screen copy: they read black until
  // drawn again. For a surface whose picture is drawn whole before its
  // next use, so it holds no memory meanwhile.
  void ForgetPixels();
  // Swaps the kept images of two surfaces of the same size.
  void SwapImage(Surface& other);

 private:
  int Index(int x, int y) const { return y * width_ + x; }
  void Touch();
  // A new revision whose screen pixels differ from the last in these rows.
  void TouchRows(int top, int bottom);
  bool DrawsToScreen() const { return shown_ && !persistent_; }
  std::vector<Colour>& OwnScreen();
  bool ShareWhole(int w, int h, const Surface& src);
  // The pixels of the kept image or the screen copy, made (all black) on
  // first use: a surface never drawn or read costs no memory.
  std::vector<Colour>& Allocated(std::vector<Colour>& pixels) const;
  // The kept image as it stands, empty while never made.
  const std::vector<Colour>& KeptOrEmpty() const { return borrowed_ ? *borrowed_ : image_; }
  // The kept image, made (all black) if never made.
  const std::vector<Colour>& Kept() const { return borrowed_ ? *borrowed_ : Allocated(image_); }
  // The kept image as pixels of the surface's own, to draw into.
  std::vector<Colour>& OwnKept();

  // First, so that a copy settles it before the pixels are copied.
  OwedSlot owed_;
  int width_;
  int height_;
  bool persistent_ = true;
  bool shown_ = false;
  bool changed_ = false;
  // The screen copy holds pixels of its own (drawing went to it alone since
  // the last refresh); otherwise the screen shows the kept image.
  bool screenOwn_ = false;
  std::uint64_t revision_ = 0;
  // Rows of the screen pixels changed since revision watchedFrom_.
  mutable std::uint64_t watchedFrom_ = 0;
  mutable ClientRows changedRows_;
  // Empty stands for all black until first used (see Allocated); the
  // screen copy is also empty while the surface is not shown. Its buffer
  // is kept for reuse until a refresh finds it unused since the last one.
  mutable std::vector<Colour> image_;
  mutable std::vector<Colour> screen_;
  // While set, the kept image is these shared pixels and image_ is only a
  // buffer kept for when the surface is drawn into.
  std::shared_ptr<const std::vector<Colour>> borrowed_;
};

}  // namespace pelmot
