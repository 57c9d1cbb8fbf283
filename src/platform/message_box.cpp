#include "platform/message_box.h"

#include <algorithm>
#include <string_view>

#include "platform/utf8.h"

namespace pelmot {
namespace {

constexpr int kPadding = 24;
constexpr int kButtonHeight = 36;
constexpr int kButtonGap = 16;
constexpr int kMinButtonWidth = 100;
constexpr int kMinWidth = 360;
constexpr Colour kPanel = Rgb(0x20, 0x24, 0x2C);
constexpr Colour kEdge = Rgb(0xF0, 0xF0, 0xF0);
constexpr Colour kButtonEdge = Rgb(0x90, 0x90, 0x90);
constexpr Colour kFocusFill = Rgb(0x40, 0x4C, 0x60);
constexpr Colour kHoverFill = Rgb(0x30, 0x38, 0x48);
constexpr Colour kFace = Rgb(0xF0, 0xF0, 0xF0);
constexpr Colour kShadow = Rgb(0x40, 0x40, 0x40);

void Outline(Surface& s, const BoxRect& r, Colour c) {
  s.FillRect(r.x, r.y, r.w, 1, c);
  s.FillRect(r.x, r.y + r.h - 1, r.w, 1, c);
  s.FillRect(r.x, r.y, 1, r.h, c);
  s.FillRect(r.x + r.w - 1, r.y, 1, r.h, c);
}

}  // namespace

InWindowMessageBox::InWindowMessageBox(const std::string& message, std::vector<std::string> buttons, int enter,
                                       int escape, TextEngine* text, int areaWidth, int areaHeight)
    : buttons_(std::move(buttons)), escape_(escape), text_(text), focus_(enter) {
  const int maxText = areaWidth - 40 - 2 * kPadding;
  lines_ = Wrap(message, maxText);
  int textWidth = 0;
  for (const auto& line : lines_) textWidth = std::max(textWidth, TextWidth(line));
  std::vector<int> widths;
  int row = 0;
  for (const auto& b : buttons_) {
    widths.push_back(std::max(kMinButtonWidth, TextWidth(b) + 32));
    row += widths.back();
  }
  row += kButtonGap * static_cast<int>(std::max<std::size_t>(1, buttons_.size()) - 1);
  frame_.w = std::clamp(std::max(textWidth, row) + 2 * kPadding, kMinWidth, areaWidth - 40);
  frame_.h = kPadding + static_cast<int>(lines_.size()) * kLineHeight + 20 + kButtonHeight + 20;
  frame_.x = (areaWidth - frame_.w) / 2;
  frame_.y = (areaHeight - frame_.h) / 2;
  int x = frame_.x + (frame_.w - row) / 2;
  for (int w : widths) {
    buttonRects_.push_back({x, frame_.y + frame_.h - 20 - kButtonHeight, w, kButtonHeight});
    x += w + kButtonGap;
  }
}

int InWindowMessageBox::TextWidth(const std::string& s) const {
  if (text_) return text_->Width(s, kTextPixels);
  // Without a font: a full-width character is one em, others half.
  int w = 0;
  for (char32_t c : DecodeUtf8(s)) w += IsFullWidth(c) ? kTextPixels : kTextPixels / 2;
  return w;
}

namespace {

// Closing punctuation stays at the end of a line rather than start the next.
bool NeverStartsALine(char32_t c) {
  return std::u32string_view(U"。、，．）」』】！？ー・：；,.)!?:;").find(c) != std::u32string_view::npos;
}

}  // namespace

// Breaks at newlines, and between characters where a line would overflow.
std::vector<std::string> InWindowMessageBox::Wrap(const std::string& message, int width) const {
  std::vector<std::string> lines;
  std::string line;
  for (char32_t c : DecodeUtf8(message)) {
    if (c == U'\n') {
      lines.push_back(line);
      line.clear();
      continue;
    }
    std::string wider = line;
    AppendUtf8(wider, c);
    if (!line.empty() && TextWidth(wider) > width && !NeverStartsALine(c)) {
      lines.push_back(line);
      line.clear();
      AppendUtf8(line, c);
    } else {
      line = std::move(wider);
    }
  }
  lines.push_back(line);
  return lines;
}

void InWindowMessageBox::Draw(Surface& screen) const {
  // The window behind goes dim: it takes no input while the box is up.
  for (Colour& c : screen.Target()) c = (c >> 1) & 0x007F7F7Fu;
  screen.FillRect(frame_.x, frame_.y, frame_.w, frame_.h, kPanel);
  Outline(screen, frame_, kEdge);
  auto write = [&](int x, int y, const std::string& s) {
    if (!text_) return;
    text_->Draw(screen, x + 2, y + 2, s, kShadow, kTextPixels);
    text_->Draw(screen, x, y, s, kFace, kTextPixels);
  };
  int y = frame_.y + kPadding;
  for (const auto& line : lines_) {
    write(frame_.x + kPadding, y, line);
    y += kLineHeight;
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const BoxRect& r = buttonRects_[i];
    const int index = static_cast<int>(i);
    if (index == focus_ || index == hover_)
      screen.FillRect(r.x + 1, r.y + 1, r.w - 2, r.h - 2, index == focus_ ? kFocusFill : kHoverFill);
    Outline(screen, r, index == focus_ ? kEdge : kButtonEdge);
    write(r.x + (r.w - TextWidth(buttons_[i])) / 2, r.y + (r.h - kTextPixels) / 2, buttons_[i]);
  }
}

int InWindowMessageBox::ButtonAt(int x, int y) const {
  for (std::size_t i = 0; i < buttonRects_.size(); ++i)
    if (buttonRects_[i].Contains(x, y)) return static_cast<int>(i);
  return kNone;
}

int InWindowMessageBox::PointerMoved(int x, int y) {
  hover_ = ButtonAt(x, y);
  return kNone;
}

int InWindowMessageBox::PointerPressed(int x, int y) {
  pressed_ = ButtonAt(x, y);
  if (pressed_ != kNone) focus_ = pressed_;
  return kNone;
}

// A button is chosen when the press and the release are both on it.
int InWindowMessageBox::PointerReleased(int x, int y) {
  const int released = ButtonAt(x, y);
  const int chosen = released != kNone && released == pressed_ ? released : kNone;
  pressed_ = kNone;
  return chosen;
}

int InWindowMessageBox::KeyPressed(Key key) {
  const int count = static_cast<int>(buttons_.size());
  switch (key) {
    case Key::kEnter: return focus_;
    case Key::kEscape: return escape_;
    case Key::kNext: focus_ = (focus_ + 1) % count; return kNone;
    case Key::kPrevious: focus_ = (focus_ + count - 1) % count; return kNone;
  }
  return kNone;
}

}  // namespace pelmot
