#include "present/text_page.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "game/game.h"
#include "present/page_memory.h"
#include "present/text_layout.h"

namespace pelmot {
namespace {

// A row of text drawn alone, shadow and face, light on black, before it is
// inked into the layers: only the rows it may touch, kept for the next row.
struct RowPicture {
  Surface rows{0, 0};
  int left = 0, right = 0;  // the columns the last row drawn may have touched
};

// After the page changed in `changed`: MainPic's kept image gets those rows
// of it (all of them unless it held the page before) and the screen is
// refreshed.
void PresentPage(Game& game, RowBand changed, bool shownHeldPage) {
  MainForm& f = game.form;
  f.MainPic.SetPersistent(true);
  CopyRows(f.MainPic, f.Msg, shownHeldPage ? changed : RowBand::Whole(f.Msg));
  f.MainPic.Refresh();
  const bool samePage = f.MainPic.Width() == f.Msg.Width() && f.MainPic.Height() == f.Msg.Height();
  KnownTextPage(game).shown = samePage ? ShownFact{f.MainPic.Revision(), f.Msg.Revision()} : ShownFact{};
}

bool SameSize(const Surface& a, const Surface& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

// A fresh page put off until someone uses Msg or MainPic, or changes what
// it is made from: with Shift held, most pages are replaced unseen.
class FreshPageDrawing : public OwedDrawing {
 public:
  FreshPageDrawing(Game& game, const DimmedArea& dimmed, const FreshPageWork& work)
      : game_(game), dimmed_(dimmed), work_(work) {}
  const FreshPageWork& Work() const { return work_; }
  // The page is made from `picture`, which holds what MainWork held.
  void ReadPictureFrom(Surface& picture) { picture_ = &picture; }
  bool ReadsMainWork() const { return !picture_; }

 private:
  void Draw() override {
    MainForm& f = game_.form;
    const bool pagePersistent = f.Msg.Persistent(), shownPersistent = f.MainPic.Persistent();
    f.Msg.SetPersistent(true);
    f.MainPic.SetPersistent(true);
    const Surface& picture = picture_ ? *picture_ : f.MainWork;
    PaintFreshPage({f.Msg, picture, game_.state.SysPic[kDimmingMask], f.MsgInk}, dimmed_, work_, f.MainPic);
    f.MainPic.Refresh();
    f.Msg.SetPersistent(pagePersistent);
    f.MainPic.SetPersistent(shownPersistent);
    // The picture set aside served this page alone.
    if (picture_) picture_->ForgetPixels();
  }
  Game& game_;
  DimmedArea dimmed_;
  FreshPageWork work_;
  Surface* picture_ = nullptr;  // MainWork when none
};

// The fresh page still owed, and the work of one given up for the next.
struct OwedPage {
  std::weak_ptr<FreshPageDrawing> drawing;
  std::optional<FreshPageWork> carried;
  // The picture an owed page is made from, once MainWork takes another,
  // until the page is made or given up.
  Surface aside{0, 0};
};

}  // namespace

void KeepPictureForOwedPage(Game& game) {
  OwedPage& owed = game.parts.Get<OwedPage>();
  const std::shared_ptr<FreshPageDrawing> drawing = owed.drawing.lock();
  if (!drawing || !drawing->Open() || !drawing->ReadsMainWork()) return;
  Surface& picture = game.form.MainWork;
  if (owed.aside.Width() != picture.Width() || owed.aside.Height() != picture.Height())
    owed.aside.Resize(picture.Width(), picture.Height());
  picture.Unlend(drawing.get());
  owed.aside.SwapImage(picture);
  drawing->ReadPictureFrom(owed.aside);
}

void ForgoUnseenPage(Game& game) {
  OwedPage& owed = game.parts.Get<OwedPage>();
  const std::shared_ptr<FreshPageDrawing> drawing = owed.drawing.lock();
  if (!drawing || !drawing->Open()) return;
  drawing->Forgo();
  if (!drawing->ReadsMainWork()) owed.aside.ForgetPixels();  // no page will be made from it
  FreshPageWork work = drawing->Work();
  if (owed.carried) {
    work.rewrite.Cover(owed.carried->rewrite.top, owed.carried->rewrite.bottom - owed.carried->rewrite.top);
    work.copyAll = work.copyAll || owed.carried->copyAll;
  }
  owed.carried = work;
}

void SetMessageSurfacesPersistent(Game& game, bool on) { game.form.Msg.SetPersistent(on); }

void ClearTextLayers(Game& game) { game.form.MsgInk.Clear(); }

void DrawShadowedRow(Game& game, int x, int y, std::string_view utf8, Colour shadow, RowBand& inked) {
  MainForm& f = game.form;
  TextEngine& text = game.services.text;
  // A glyph may reach a little outside its cell; half a cell of margin on
  // either side is more than any face needs.
  const int cell = f.MsgInk.fontPixels;
  RowBand row;
  row.Cover(y - cell / 2, kShadowOffset + 2 * cell);
  inked.Cover(row.top, row.bottom - row.top);
  const int top = std::max(row.top, 0), bottom = std::min(row.bottom, f.MsgInk.Height());
  if (bottom <= top) return;
  // The face over the shadow, each clipped to the rows above and to the
  // row's columns with a cell of margin either side.
  const int width = f.MsgInk.Width();
  const int left = std::clamp(x - cell, 0, width);
  const int right = std::clamp(x + kShadowOffset + text.Width(utf8, cell) + cell, left, width);
  const InkLayers::Area clip{left, top, right - left, bottom - top};
  auto ink = [&](int from, int to, Colour colour) {
    return text.EachSpan(from, to, utf8, cell, [&](int cellX, int cellY, std::span<const GlyphRun> runs) {
      f.MsgInk.InkRuns(cellX, cellY, runs, colour, clip);
    });
  };
  if (ink(x + kShadowOffset, y + kShadowOffset, shadow)) {
    ink(x, y, kTextFace);
    return;
  }
  // An engine that draws otherwise draws the row alone, light on black,
  // and the layer takes what is not black. Neither colour is black. Only
  // the row's columns are cleared and read: a row rarely spans the page.
  RowPicture& picture = game.parts.Get<RowPicture>();
  Surface& drawn = picture.rows;
  drawn.SetPersistent(true);
  if (drawn.Width() != width || drawn.Height() != bottom - top) {
    drawn.Resize(width, bottom - top);
  } else if (picture.right > picture.left) {
    drawn.FillRect(picture.left, 0, picture.right - picture.left, drawn.Height(), kBlack);
  }
  picture.left = left;
  picture.right = right;
  text.Draw(drawn, x + kShadowOffset, y + kShadowOffset - top, utf8, shadow, cell);
  text.Draw(drawn, x, y - top, utf8, kTextFace, cell);
  f.MsgInk.InkFrom(drawn, 0, top, {picture.left, 0, picture.right - picture.left, drawn.Height()});
}

void ComposeAndPresent(Game& game, RowBand inked) {
  MainForm& f = game.form;
  TextPageFacts& known = KnownTextPage(game);
  PageFact& page = known.page;
  const bool pageKnown = page.page != 0 && f.Msg.Revision() == page.page;
  const bool shownHeldPage = known.shown.HoldsFor(f.MainPic, f.Msg);
  ComposeText(f.Msg, f.MsgInk, inked);
  if (pageKnown) {
    page.page = f.Msg.Revision();
    page.text.Cover(inked.top, inked.bottom - inked.top);
  } else {
    page.Forget();
  }
  PresentPage(game, inked, shownHeldPage);
}

void ComposeFreshPageAndPresent(Game& game, const DimmedArea& dimmed, RowBand inked) {
  MainForm& f = game.form;
  const Surface& mask = game.state.SysPic[kDimmingMask];
  TextPageFacts& known = KnownTextPage(game);
  // Rows that held no text on the last page of the same picture need no work.
  FreshPageWork work;
  work.inked = inked;
  work.rewrite = known.page.HoldsFor(f.Msg, f.MainWork, mask, dimmed) ? known.page.text : RowBand::Whole(f.Msg);
  work.rewrite.Cover(inked.top, inked.bottom - inked.top);
  work.copyAll = !known.shown.HoldsFor(f.MainPic, f.Msg);
  OwedPage& owed = game.parts.Get<OwedPage>();
  if (owed.carried) {
    // The page given up was never painted: its rows are redone too.
    work.rewrite.Cover(owed.carried->rewrite.top, owed.carried->rewrite.bottom - owed.carried->rewrite.top);
    work.copyAll = work.copyAll || owed.carried->copyAll;
    owed.carried.reset();
  }
  f.MainPic.SetPersistent(true);
  if (!SameSize(f.Msg, f.MainWork) || !SameSize(f.Msg, f.MainPic) || f.Msg.Width() != f.MsgInk.Width() ||
      f.Msg.Height() != f.MsgInk.Height()) {
    // Pages of unusual sizes are painted at once.
    PaintFreshPage({f.Msg, f.MainWork, mask, f.MsgInk}, dimmed, work, f.MainPic);
    known.page = {f.Msg.Revision(), f.MainWork.Revision(), mask.Revision(), dimmed, inked};
    PresentPage(game, {}, true);
    return;
  }
  auto drawing = std::make_shared<FreshPageDrawing>(game, dimmed, work);
  f.MainWork.Lend(drawing);
  game.state.SysPic[kDimmingMask].Lend(drawing);
  f.MsgInk.Lend(drawing);
  f.Msg.Owe(drawing);
  // The shown picture changes only in the rows the page rewrites.
  if (work.copyAll)
    f.MainPic.Owe(drawing);
  else
    f.MainPic.Owe(drawing, work.rewrite.top, work.rewrite.bottom);
  owed.drawing = drawing;
  known.page = {f.Msg.Revision(), f.MainWork.Revision(), mask.Revision(), dimmed, inked};
  known.shown = ShownFact{f.MainPic.Revision(), f.Msg.Revision()};
}

}  // namespace pelmot
