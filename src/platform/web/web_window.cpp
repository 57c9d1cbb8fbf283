#include "platform/keys.h"
#include "platform/web/web_window.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>

#include "platform/web/web_content.h"
#include "platform/web/web_storage.h"

namespace pelmot {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr const char* kCanvas = "#canvas";

// The desktop's repeat of a held Shift or Ctrl (the system's typematic pace
// there): the first after half a second, then about 30 a second. The
// browser's own repeats of them, where it makes them, are dropped.

std::int64_t NowMs() { return static_cast<std::int64_t>(emscripten_get_now()); }

WebWindow& Of(void* user) { return *static_cast<WebWindow*>(user); }

int ToButton(unsigned short domButton) {
  if (domButton == 0) return 1;
  if (domButton == 2) return 2;
  if (domButton == 1) return 4;
  return 0;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void* user) {
  InputEvent event{InputEvent::Kind::kMouseMove};
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) event.kind = InputEvent::Kind::kMouseDown;
  if (type == EMSCRIPTEN_EVENT_MOUSEUP) event.kind = InputEvent::Kind::kMouseUp;
  if (event.kind != InputEvent::Kind::kMouseMove) {
    event.button = ToButton(e->button);
    if (event.button == 0) return EM_FALSE;
  }
  event.shift = e->shiftKey ? 1 : 0;
  event.ctrl = e->ctrlKey ? 1 : 0;
  CanvasToClient(e->targetX, e->targetY, event.x, event.y);
  Of(user).Deliver(event);
  return event.kind != InputEvent::Kind::kMouseMove;  // no text selection, no focus change
}

void DeliverAll(WebWindow& window, const std::vector<InputEvent>& events) {
  for (const InputEvent& e : events) window.Deliver(e);
}

// The first finger only; the others are ignored.
EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void* user) {
  WebWindow& window = Of(user);
  TouchGesture& touch = window.touch();
  for (int i = 0; i < e->numTouches; ++i) {
    const EmscriptenTouchPoint& t = e->touches[i];
    if (!t.isChanged) continue;
    int x = 0, y = 0;
    CanvasToClient(t.targetX, t.targetY, x, y);
    if (type == EMSCRIPTEN_EVENT_TOUCHSTART && !touch.Down()) {
      DeliverAll(window, touch.Start(x, y, NowMs()));
    } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
      DeliverAll(window, touch.Move(x, y));
    } else if (type == EMSCRIPTEN_EVENT_TOUCHEND) {
      DeliverAll(window, touch.End(x, y, NowMs()));
    } else if (type == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
      touch.Cancel();
    }
    break;
  }
  return EM_TRUE;  // no mouse events made up from the touch, no scrolling
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* user) {
  const int key = KeyForBrowserCode(e->code);
  WebWindow& window = Of(user);
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  if (key == kVkShift || key == kVkControl) {
    if (down && e->repeat) return EM_TRUE;
    window.ModifierPressed(key, down);
  }
  InputEvent event{down ? InputEvent::Kind::kKeyDown : InputEvent::Kind::kKeyUp};
  event.key = key;
  event.shift = e->shiftKey ? 1 : 0;
  event.ctrl = e->ctrlKey ? 1 : 0;
  event.repeat = down && e->repeat ? 1 : 0;
  window.Deliver(event);
  // The game's keys do only what the game does with them (F1 opens no help,
  // Space and Home scroll nothing, F3 finds nothing, F5 reloads nothing); the
  // browser keeps its other keys.
  return key != 0;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* user) {
  Of(user).ModifierPressed(kVkShift, false);
  Of(user).ModifierPressed(kVkControl, false);
  Of(user).touch().Cancel();
  return EM_FALSE;
}

void FrameCallback(void* user) { Of(user).Frame(); }

bool InFullScreen() { return EM_ASM_INT({ return document.fullscreenElement ? 1 : 0; }) != 0; }

}  // namespace

void CanvasToClient(double cssX, double cssY, int& x, int& y) {
  double width = 0, height = 0;
  emscripten_get_element_css_size(kCanvas, &width, &height);
  if (width <= 0 || height <= 0) width = kWidth, height = kHeight;
  x = std::clamp(static_cast<int>(std::floor(cssX * kWidth / width)), 0, kWidth - 1);
  y = std::clamp(static_cast<int>(std::floor(cssY * kHeight / height)), 0, kHeight - 1);
}

WebWindow::WebWindow() : pixels_(static_cast<std::size_t>(kWidth) * kHeight), rgba_(pixels_.size()) {
  emscripten_set_mousedown_callback(kCanvas, this, EM_TRUE, OnMouse);
  emscripten_set_mouseup_callback(kCanvas, this, EM_TRUE, OnMouse);
  emscripten_set_mousemove_callback(kCanvas, this, EM_TRUE, OnMouse);
  // The page's own menu would cover the picture where a right click opens
  // the game's menu.
  EM_ASM({
    const canvas = document.querySelector('#canvas');
    if (canvas) canvas.addEventListener('contextmenu', e => e.preventDefault());
  });
  emscripten_set_touchstart_callback(kCanvas, this, EM_TRUE, OnTouch);
  emscripten_set_touchmove_callback(kCanvas, this, EM_TRUE, OnTouch);
  emscripten_set_touchend_callback(kCanvas, this, EM_TRUE, OnTouch);
  emscripten_set_touchcancel_callback(kCanvas, this, EM_TRUE, OnTouch);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnBlur);
}

void WebWindow::Run(WindowEvents& core, std::function<void()> finished) {
  core_ = &core;
  pixelsHoldLast_ = false;
  finished_ = std::move(finished);
  gate_ = PresentGate();
  emscripten_set_main_loop_arg(FrameCallback, this, 0, EM_FALSE);
}

void WebWindow::Deliver(const InputEvent& event) {
  if (!core_ || core_->Finished()) return;
  if (SavesSyncing() || !waiting_.empty() || Holding() != Hold::kNone) {
    waiting_.push_back(event);
    return;
  }
  ++steps_;
  core_->OnEvent(event);
  gate_.Stirred();
}

// What waits now. The page's loading mark shows while the player waits:
// input held back, or Shift or Ctrl held to skip.
WebWindow::Hold WebWindow::Holding() {
  const Hold hold = hold_ ? hold_() : Hold::kNone;
  const bool playerWaits = !waiting_.empty() || shiftRepeat_.Held() || ctrlRepeat_.Held();
  const bool mark = hold != Hold::kNone && playerWaits;
  if (mark != markShown_) {
    markShown_ = mark;
    ShowLoadingMark(mark);
  }
  return hold;
}

void WebWindow::ModifierPressed(int key, bool down) {
  KeyRepeat& repeat = key == kVkShift ? shiftRepeat_ : ctrlRepeat_;
  if (down) repeat.Press(NowMs());
  else repeat.Release();
}

// The held modifier's repeated key-down, if one is due; Shift's carries
// Shift, Ctrl's carries Ctrl.
void WebWindow::RepeatModifier(int key, std::int64_t now) {
  KeyRepeat& repeat = key == kVkShift ? shiftRepeat_ : ctrlRepeat_;
  if (!repeat.TakeDue(now)) return;
  InputEvent event{InputEvent::Kind::kKeyDown};
  event.key = key;
  event.shift = key == kVkShift || shiftRepeat_.Held() ? 1 : 0;
  event.ctrl = key == kVkControl || ctrlRepeat_.Held() ? 1 : 0;
  event.repeat = 1;
  Deliver(event);
}

// One animation frame: the input that waited, the long press, the held
// Shift's and Ctrl's repeats, the game's timers and movie, and the picture if it changed.
// While content is on its way (SetHold), input, and then the timers too, wait
// for it: the canvas keeps the last picture the game drew.
void WebWindow::Frame() {
  if (!core_) return;
  const double began = emscripten_get_now();
  // While the saves are copied to IndexedDB the game takes no input and
  // runs no timers, but what it drew before is shown at once.
  if (SavesSyncing()) return PresentIfChanged(began);
  Hold hold = Holding();
  while (hold == Hold::kNone && !waiting_.empty() && !SavesSyncing() && !core_->Finished()) {
    ++steps_;
    core_->OnEvent(waiting_.front());
    waiting_.pop_front();
    gate_.Stirred();
    hold = Holding();  // the step may have named a picture still on its way
  }
  const std::int64_t now = NowMs();
  DeliverAll(*this, touch_.Tick(now));
  if (hold == Hold::kNone) {
    RepeatModifier(kVkShift, now);
    RepeatModifier(kVkControl, now);
  }
  if (hold != Hold::kAll && !core_->Finished()) {
    ++steps_;
    if (core_->OnFrame(now)) gate_.Stirred();
  }
  PresentIfChanged(began);
  if (core_->Finished()) {
    emscripten_cancel_main_loop();
    core_ = nullptr;
    // What runs next may start another loop, with a callback of its own.
    auto finished = std::move(finished_);
    finished_ = nullptr;
    if (finished) finished();
  }
}

void WebWindow::PresentIfChanged(double frameBegan) {
  if (!gate_.Pending() || !gate_.Due(*core_)) return;
  Present();
  // For the benchmark: how long the last frame that drew took.
  EM_ASM({ Module.pelmotLastFrameMs = $0; }, emscripten_get_now() - frameBegan);
}

// 0x00RRGGBB words become the canvas's R, G, B, A bytes, in rgba_, which
// holds what the canvas shows. The rows that changed are the ones given to
// the canvas: a step that writes a line changes the text's rows only, and
// the canvas's copy costs by the pixel. One pass with no early exit, so the
// compiler turns it into vector code.
ClientRows WebWindow::ToCanvasBytes(ClientRows composed) {
  ClientRows changed;
  for (int y = std::max(composed.top, 0); y < std::min(composed.bottom, kHeight); ++y) {
    const Colour* in = pixels_.data() + static_cast<std::size_t>(y) * kWidth;
    std::uint32_t* out = rgba_.data() + static_cast<std::size_t>(y) * kWidth;
    std::uint32_t differs = 0;
    for (int x = 0; x < kWidth; ++x) {
      const Colour c = in[x];
      const std::uint32_t bytes = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
      differs |= bytes ^ out[x];
      out[x] = bytes;
    }
    if (differs) changed.Cover(y, y + 1);
  }
  return changed;
}

void WebWindow::Present() {
  // Only the rows that may have changed since the last picture are composed
  // and converted again.
  const ClientRows composed = core_->ComposeChanges(pixels_, pixelsHoldLast_);
  pixelsHoldLast_ = true;
  const ClientRows changed = ToCanvasBytes(composed);
  if (!changed.Empty())
    EM_ASM(
        {
          const canvas = document.querySelector('#canvas');
          if (!canvas) return;
          const context = Module.pelmotContext || (Module.pelmotContext = canvas.getContext('2d'));
          const bytes = new Uint8ClampedArray(HEAPU8.buffer, $0, $1 * $2 * 4);
          context.putImageData(new ImageData(bytes, $1, $2), 0, 0, 0, $3, $1, $4 - $3);
        },
        rgba_.data(), kWidth, kHeight, changed.top, changed.bottom);
  gate_.Presented();
  // For measuring the page's start: when the first picture reached the canvas.
  // The page then fetches the rest of the content.
  if (framesShown_ == 0) EM_ASM({
      Module.pelmotFirstFrameMs = performance.now();
      if (Module.pelmotFirstFrame) Module.pelmotFirstFrame();
    });
  ++framesShown_;
}

// In the page the game has no display mode of its own: the browser's window
// may be any size, and the screen may even be 800 x 600 itself (headless
// Chromium's is), which would leave the game no mode to switch from. So the
// page reports 0 x 0, and only the full screen is 800 x 600.
DisplaySettings WebWindow::Current() {
  if (InFullScreen()) return {32, kWidth, kHeight};
  return {32, 0, 0};
}

// Full screen shows the page's stage (the canvas, scaled with its aspect
// ratio kept, on black); browsers allow it only within the player's gesture,
// which is where the game's click and F1 come from.
void WebWindow::Change(const DisplaySettings& settings) {
  const bool wantFull = settings.width == kWidth && settings.height == kHeight;
  if (wantFull == InFullScreen()) return;
  if (wantFull) {
    EM_ASM({
      const stage = document.getElementById('stage') || document.querySelector('#canvas');
      if (stage && stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
    });
  } else {
    EM_ASM({
      if (document.exitFullscreen) document.exitFullscreen().catch(() => {});
    });
  }
}

int WebWindow::ScreenWidth() {
  if (InFullScreen()) return kWidth;
  return EM_ASM_INT({ return window.screen.width | 0; });
}

int WebWindow::ScreenHeight() {
  if (InFullScreen()) return kHeight;
  return EM_ASM_INT({ return window.screen.height | 0; });
}

}  // namespace pelmot
