#include "game/dialog_queue.h"

#include <utility>

#include "platform/ui_text.h"

namespace pelmot {

// Yes is the first button and has the focus; Escape and closing say no.
void DialogQueue::AskYesNo(const std::string& text, std::function<void(bool yes)> answered) {
  boxes_.push_back(
      {text, InWindowMessageBox(text, {Ui(UiText::yes), Ui(UiText::no)}, 0, 1, text_), std::move(answered)});
}

void DialogQueue::ShowMessage(const std::string& text) {
  boxes_.push_back({text, InWindowMessageBox(text, {Ui(UiText::ok)}, 0, 0, text_), nullptr});
}

// The keys and pointer of a desktop message box; the button chosen, or none yet.
int DialogQueue::BoxInput(InWindowMessageBox& box, const InputEvent& e) {
  using Key = InWindowMessageBox::Key;
  using Kind = InputEvent::Kind;
  switch (e.kind) {
    case Kind::kCloseRequested: return box.KeyPressed(Key::kEscape);
    case Kind::kDialogAnswered: return e.answer;
    case Kind::kMouseMove: return box.PointerMoved(e.x, e.y);
    case Kind::kMouseDown: return e.button == 1 ? box.PointerPressed(e.x, e.y) : InWindowMessageBox::kNone;
    case Kind::kMouseUp: return e.button == 1 ? box.PointerReleased(e.x, e.y) : InWindowMessageBox::kNone;
    case Kind::kKeyDown:
      switch (e.key) {
        case kVkEnter:
        case kVkSpace: return box.KeyPressed(Key::kEnter);
        case kVkEscape: return box.KeyPressed(Key::kEscape);
        case kVkRight: return box.KeyPressed(Key::kNext);
        case kVkLeft: return box.KeyPressed(Key::kPrevious);
        case kVkTab: return box.KeyPressed(e.shift ? Key::kPrevious : Key::kNext);
        default: return InWindowMessageBox::kNone;
      }
    case Kind::kKeyUp:
    case Kind::kWheel: return InWindowMessageBox::kNone;
  }
  return InWindowMessageBox::kNone;
}

void DialogQueue::OnEvent(const InputEvent& event) {
  if (boxes_.empty()) return;
  const int chosen = BoxInput(boxes_.front().box, event);
  if (chosen != InWindowMessageBox::kNone) Answer(chosen);
}

// The box leaves before its answer runs, so the answer may open boxes of its own.
void DialogQueue::Answer(int button) {
  if (boxes_.empty()) return;
  OpenBox answered = std::move(boxes_.front());
  boxes_.pop_front();
  if (answered.answered) answered.answered(button == 0);
}

void DialogQueue::DrawOver(std::span<Colour> pixels) const {
  if (boxes_.empty() || pixels.size() != kScreenPixels) return;
  Surface screen(kScreenWidth, kScreenHeight);
  std::copy(pixels.begin(), pixels.end(), screen.MutableImage().begin());
  boxes_.front().box.Draw(screen);
  std::copy(screen.Image().begin(), screen.Image().end(), pixels.begin());
}

void BoxesOnly::Compose(std::span<Colour> pixels) {
  std::fill(pixels.begin(), pixels.end(), kBlack);
  boxes_.DrawOver(pixels);
}

}  // namespace pelmot
