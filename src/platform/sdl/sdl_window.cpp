#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/key_repeat.h"
#include "platform/keys.h"
#include "platform/sdl/gamepads.h"

namespace pelmot {

struct SdlWindow::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  SDL_Texture* enlarged = nullptr;  // the picture by a whole multiple, to be filtered
  int enlargedBy = 0;
  bool fullscreen = false;
  int windowedLeft = 0, windowedTop = 0;  // the window's place and size before full screen
  int windowedWidth = 0, windowedHeight = 0;
  int bitsPerPixel = 0;        // as last set; 0 until a change
  std::vector<Colour> pixels;  // the client area, where it is enlarged before it goes to a texture
  // SDL's own renderer, which draws into the window's surface: that surface
  // and the texture keep their pixels between presents, and the window
  // shows what it was last given outside the rows updated.
  bool software = false;
  // Which holds the picture last composed.
  enum class Kept { kNothing, kTexture, kPixels, kSurface } kept = Kept::kNothing;
  SDL_Surface* keptSurface = nullptr;  // the window's surface it was composed into
  std::function<void()> firstPresent;
  PresentGate gate;
  std::function<void(long long)> presented;
};

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Keys by SDL's own names for them, through the game's one table of keys.
int ToVirtualKey(SDL_Keycode key) { return KeyForDesktopName(SDL_GetKeyName(key)); }

int ShiftState() { return (SDL_GetModState() & KMOD_SHIFT) ? 1 : 0; }

int CtrlState() { return (SDL_GetModState() & KMOD_CTRL) ? 1 : 0; }

// The modifier keys whose holding the game follows: Shift (and Ctrl, which
// skips as Shift does), by key code and by the keys' physical state.
struct Modifier {
  int key;  // the VirtualKey the game sees
  SDL_Keycode left, right;
  SDL_Scancode leftScan, rightScan;
  bool Is(SDL_Keycode code) const { return code == left || code == right; }
  bool PhysicallyDown() const {
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    return keys[leftScan] || keys[rightScan];
  }
};
constexpr Modifier kShiftKeys{kVkShift, SDLK_LSHIFT, SDLK_RSHIFT, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT};
constexpr Modifier kCtrlKeys{kVkControl, SDLK_LCTRL, SDLK_RCTRL, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL};

int ToButton(Uint8 sdlButton) {
  if (sdlButton == SDL_BUTTON_LEFT) return 1;
  if (sdlButton == SDL_BUTTON_RIGHT) return 2;
  if (sdlButton == SDL_BUTTON_MIDDLE) return 4;
  return 0;
}

}  // namespace

SdlWindow::SdlWindow() : impl_(std::make_unique<Impl>()) {}

SdlWindow::~SdlWindow() {
  if (impl_->enlarged) SDL_DestroyTexture(impl_->enlarged);
  if (impl_->texture) SDL_DestroyTexture(impl_->texture);
  if (impl_->renderer) SDL_DestroyRenderer(impl_->renderer);
  if (impl_->window) SDL_DestroyWindow(impl_->window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
}

void SdlWindow::PrepareEnvironment() {
  // The game takes keys, never text, so the X input method SDL opens needs
  // no compose table: without this, libX11 parses half a megabyte of them
  // at every start (its cache of the parse serves no one running as root,
  // and no one without a ~/.compose-cache). A table the player names wins.
  ::setenv("XCOMPOSEFILE", "/dev/null", 0);
}

bool SdlWindow::Open(const std::string& title, std::string& error) {
  // The picture is 800 x 600 software pixels anyway: SDL's software renderer
  // shows it without loading a GL driver, which would cost tens of megabytes
  // and start-up time. SDL_RENDER_DRIVER in the environment still wins.
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  // Only drivers that show something: when no display can be reached, SDL
  // would otherwise fall back to drawing off screen, and the game would
  // play on unseen. SDL_VIDEODRIVER in the environment still wins.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland,kmsdrm", SDL_HINT_DEFAULT);
  // SIGINT and SIGTERM end the program as they do any other; closing the
  // window is the player's way to be asked first.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    error = SDL_GetError();
    return false;
  }
  impl_->window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight,
                                   SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!impl_->window) {
    error = SDL_GetError();
    return false;
  }
  impl_->renderer = SDL_CreateRenderer(impl_->window, -1, 0);
  if (!impl_->renderer) impl_->renderer = SDL_CreateRenderer(impl_->window, -1, SDL_RENDERER_SOFTWARE);
  if (!impl_->renderer) {
    error = SDL_GetError();
    return false;
  }
  SDL_RendererInfo info{};
  impl_->software = SDL_GetRendererInfo(impl_->renderer, &info) == 0 && std::strcmp(info.name, "software") == 0;
  // The picture keeps its 800 x 600 logical size; SDL scales it to the
  // window and maps pointer positions back to 800 x 600.
  SDL_RenderSetLogicalSize(impl_->renderer, kWidth, kHeight);
  // The software renderer's window of the picture's own size needs no
  // texture (see ComposeIntoWindowSurface); it is made when first needed.
  if (!impl_->software && !EnsureTexture()) {
    error = SDL_GetError();
    return false;
  }
  return true;
}

bool SdlWindow::EnsureTexture() {
  Impl& m = *impl_;
  if (!m.texture)
    m.texture = SDL_CreateTexture(m.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
  return m.texture != nullptr;
}

void SdlWindow::OnFirstPresent(std::function<void()> listener) { impl_->firstPresent = std::move(listener); }

void SdlWindow::OnPresent(std::function<void(long long)> listener) { impl_->presented = std::move(listener); }

// The picture enlarged by a whole multiple, each pixel a square, in the
// texture m.enlarged; false where that texture cannot be had.
bool SdlWindow::Enlarge(const std::vector<Colour>& pixels, int multiple) {
  Impl& m = *impl_;
  if (m.enlargedBy != multiple) {
    if (m.enlarged) SDL_DestroyTexture(m.enlarged);
    m.enlarged = SDL_CreateTexture(m.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWidth * multiple,
                                   kHeight * multiple);
    m.enlargedBy = m.enlarged ? multiple : 0;
  }
  void* raw = nullptr;
  int pitch = 0;
  if (!m.enlarged || SDL_LockTexture(m.enlarged, nullptr, &raw, &pitch) != 0) return false;
  auto* out = static_cast<unsigned char*>(raw);
  const std::size_t rowBytes = sizeof(Colour) * kWidth * multiple;
  for (int y = 0; y < kHeight; ++y) {
    unsigned char* first = out + static_cast<std::size_t>(y) * multiple * pitch;
    Colour* row = reinterpret_cast<Colour*>(first);
    const Colour* in = pixels.data() + static_cast<std::size_t>(y) * kWidth;
    for (int x = 0; x < kWidth; ++x)
      for (int i = 0; i < multiple; ++i) row[x * multiple + i] = in[x];
    for (int i = 1; i < multiple; ++i) std::memcpy(first + static_cast<std::size_t>(i) * pitch, first, rowBytes);
  }
  SDL_UnlockTexture(m.enlarged);
  return true;
}

// The client area composed into the texture's pixels, or through a copy
// where the texture's rows are not laid out as the client area's. Only the
// software renderer's texture is known to keep its pixels between locks.
void SdlWindow::ComposeIntoTexture(WindowEvents& core) {
  Impl& m = *impl_;
  void* raw = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(m.texture, nullptr, &raw, &pitch) == 0) {
    if (pitch == kWidth * static_cast<int>(sizeof(Colour))) {
      core.ComposeChanges(std::span<Colour>(static_cast<Colour*>(raw), kScreenPixels),
                          m.software && m.kept == Impl::Kept::kTexture);
      m.kept = Impl::Kept::kTexture;
      SDL_UnlockTexture(m.texture);
      return;
    }
    SDL_UnlockTexture(m.texture);
  }
  ComposeIntoPixels(core);
  SDL_UpdateTexture(m.texture, nullptr, m.pixels.data(), kWidth * 4);
}

// The client area composed into m.pixels.
void SdlWindow::ComposeIntoPixels(WindowEvents& core) {
  Impl& m = *impl_;
  m.pixels.resize(kScreenPixels);
  core.ComposeChanges(m.pixels, m.kept == Impl::Kept::kPixels);
  m.kept = Impl::Kept::kPixels;
}

// With the software renderer and a window of the picture's own size, the
// picture is composed straight into the window's surface and only the rows
// that changed go on to the screen (all of them when the window asked for
// its picture again): no texture and no copy. False where that cannot be.
bool SdlWindow::ComposeIntoWindowSurface(WindowEvents& core, bool windowChanged) {
  Impl& m = *impl_;
  int width = 0, height = 0;
  SDL_GetWindowSize(m.window, &width, &height);
  if (!m.software || width != kWidth || height != kHeight) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(m.window);
  if (!surface || surface->w != kWidth || surface->h != kHeight || surface->format->format != SDL_PIXELFORMAT_RGB888 ||
      surface->pitch != kWidth * static_cast<int>(sizeof(Colour)))
    return false;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  // A resize makes the surface anew, maybe at the same address.
  const bool holdsLast = !windowChanged && m.kept == Impl::Kept::kSurface && m.keptSurface == surface;
  ClientRows rows = core.ComposeChanges(std::span<Colour>(static_cast<Colour*>(surface->pixels), kScreenPixels), holdsLast);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  m.kept = Impl::Kept::kSurface;
  m.keptSurface = surface;
  if (rows.Empty()) return true;
  const SDL_Rect band{0, rows.top, kWidth, rows.bottom - rows.top};
  SDL_UpdateWindowSurfaceRects(m.window, &band, 1);
  return true;
}

// How the 800 x 600 picture reaches a window of another size (with the
// aspect ratio kept, in black bars): by a whole multiple, each pixel becomes
// a square of pixels, exactly. Otherwise nearest pixels would drop or double
// whole rows and columns (glyph strokes vanish at 640 x 480, the dimming dots
// form bands at 1024 x 768), so the picture is filtered linearly; from twice
// its size up, it is first enlarged by the largest whole multiple that fits
// and only that is filtered, which keeps edges and dots as sharp as at the
// whole multiple below ("sharp bilinear").
//
// Where the picture needs no enlarging first, the game composes it straight
// into the window's surface or the texture's own pixels: no copy of the
// client area of our own.
void SdlWindow::ComposeAndPresent(WindowEvents& core, bool windowChanged) {
  Impl& m = *impl_;
  if (!ComposeIntoWindowSurface(core, windowChanged)) {
    if (!EnsureTexture()) return;
    float sx = 1, sy = 1;
    SDL_RenderGetScale(m.renderer, &sx, &sy);
    const bool whole = sx >= 1 && sx == std::floor(sx) && sy == std::floor(sy);
    const int multiple = static_cast<int>(std::floor(std::min(sx, sy)));
    SDL_Texture* shown = m.texture;
    if (!whole && multiple >= 2) {
      ComposeIntoPixels(core);
      if (Enlarge(m.pixels, multiple))
        shown = m.enlarged;
      else
        SDL_UpdateTexture(m.texture, nullptr, m.pixels.data(), kWidth * 4);
    } else {
      ComposeIntoTexture(core);
    }
    SDL_SetTextureScaleMode(shown, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
    SDL_RenderClear(m.renderer);
    SDL_RenderCopy(m.renderer, shown, nullptr, nullptr);
    SDL_RenderPresent(m.renderer);
  }
  if (impl_->firstPresent) {
    auto listener = std::move(impl_->firstPresent);
    impl_->firstPresent = nullptr;
    listener();
  }
}

namespace {

// The idle wait: how long the loop sleeps at most while nothing is due.
constexpr std::int64_t kIdleWaitMs = 50;
// A display shows about 60 pictures a second: a skip that turns a page every
// 10 ms would otherwise compose and present pictures no one sees. The last
// picture always follows within this time.
constexpr Uint64 kFrameIntervalMs = 16;

InputEvent MouseEvent(InputEvent::Kind kind, int button, int x, int y) {
  InputEvent e{kind};
  e.button = button;
  e.shift = ShiftState();
  e.ctrl = CtrlState();
  e.x = x;
  e.y = y;
  return e;
}

InputEvent KeyEvent(InputEvent::Kind kind, int key, bool repeat = false) {
  InputEvent e{kind};
  e.key = key;
  e.shift = ShiftState();
  e.ctrl = CtrlState();
  e.repeat = repeat ? 1 : 0;
  return e;
}

InputEvent WheelEvent(const SDL_MouseWheelEvent& w) {
  InputEvent e{InputEvent::Kind::kWheel};
  e.wheel = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -w.y : w.y;
  e.shift = ShiftState();
  e.ctrl = CtrlState();
  return e;
}

// The event as the program takes it; nothing for events it does not take.
std::optional<InputEvent> Translate(const SDL_Event& e) {
  using Kind = InputEvent::Kind;
  switch (e.type) {
    case SDL_QUIT: return InputEvent{Kind::kCloseRequested};
    case SDL_MOUSEBUTTONDOWN: return MouseEvent(Kind::kMouseDown, ToButton(e.button.button), e.button.x, e.button.y);
    case SDL_MOUSEBUTTONUP: return MouseEvent(Kind::kMouseUp, ToButton(e.button.button), e.button.x, e.button.y);
    case SDL_MOUSEMOTION: return MouseEvent(Kind::kMouseMove, 0, e.motion.x, e.motion.y);
    case SDL_KEYDOWN:
      // Held keys repeat their key-down as the system's auto-repeat does.
      return KeyEvent(Kind::kKeyDown, ToVirtualKey(e.key.keysym.sym), e.key.repeat != 0);
    case SDL_KEYUP: return KeyEvent(Kind::kKeyUp, ToVirtualKey(e.key.keysym.sym));
    case SDL_MOUSEWHEEL:
      if (e.wheel.y == 0) return std::nullopt;
      return WheelEvent(e.wheel);
    default: return std::nullopt;
  }
}

// A held Shift or Ctrl repeats its key-down, which the game needs: a scene
// change stops skipping, and the next key-down of the held key starts it
// again. X servers and Wayland compositors repeat no modifier key, so the
// window makes the repeats itself, at one pace everywhere (the system's own
// repeats of these keys, where it makes them, are dropped).
class ModifierRepeat {
 public:
  explicit ModifierRepeat(const Modifier& keys) : keys_(keys) {}
  // Notes a press or release of the key; false for the system's own repeat.
  bool Note(const SDL_Event& e) {
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) repeat_.Release();
    if ((e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) || !keys_.Is(e.key.keysym.sym)) return true;
    if (e.type == SDL_KEYUP) {
      if (!keys_.PhysicallyDown()) repeat_.Release();
      return true;
    }
    if (e.key.repeat) return false;
    repeat_.Press(Now());
    return true;
  }
  // Milliseconds from now to the next repeat; nothing while the key is up.
  std::optional<std::int64_t> MillisToNext(Uint64 now) const {
    return repeat_.MillisToNext(static_cast<std::int64_t>(now));
  }
  // The repeated key-down when one is due now.
  std::optional<InputEvent> TakeDue() {
    if (!repeat_.Held()) return std::nullopt;
    // A key-up missed (say, while the window had no focus) ends it too.
    if (!keys_.PhysicallyDown()) {
      repeat_.Release();
      return std::nullopt;
    }
    if (!repeat_.TakeDue(Now())) return std::nullopt;
    return KeyEvent(InputEvent::Kind::kKeyDown, keys_.key, true);
  }

 private:
  static std::int64_t Now() { return static_cast<std::int64_t>(SDL_GetTicks64()); }
  const Modifier& keys_;
  KeyRepeat repeat_;
};

}  // namespace

// A thin pump: each SDL event becomes one call of core.OnEvent, strictly in
// order, and each pass one call of core.OnFrame; between passes the loop
// sleeps until an event comes or the core has work due.
void SdlWindow::Run(WindowEvents& core) {
  SDL_ShowWindow(impl_->window);
  ModifierRepeat shift(kShiftKeys), ctrl(kCtrlKeys);
  Gamepads pads;
  PresentGate& gate = impl_->gate;
  auto handle = [&](const SDL_Event& e) {
    // Shown, exposed, resized or a renderer that lost its pictures: the
    // picture again, changed or not.
    if (e.type == SDL_WINDOWEVENT || e.type == SDL_RENDER_TARGETS_RESET || e.type == SDL_RENDER_DEVICE_RESET)
      gate.WindowChanged();
    if (!shift.Note(e) || !ctrl.Note(e)) return;
    if (auto event = Translate(e)) {
      core.OnEvent(*event);
      gate.Stirred();
    }
    for (const InputEvent& event : pads.Translate(e)) {
      core.OnEvent(event);
      gate.Stirred();
    }
  };
  Uint64 lastPresent = 0;
  while (!core.Finished()) {
    if (gate.Pending() && SDL_GetTicks64() - lastPresent >= kFrameIntervalMs && gate.Due(core)) {
      ComposeAndPresent(core, gate.Forced());
      gate.Presented();
      if (impl_->presented) impl_->presented(gate.Presents());
      lastPresent = SDL_GetTicks64();
    }
    const Uint64 now = SDL_GetTicks64();
    std::int64_t timeout = kIdleWaitMs;
    if (gate.Pending())
      timeout = static_cast<std::int64_t>(lastPresent + kFrameIntervalMs) - static_cast<std::int64_t>(now);
    if (auto work = core.MillisToNextWork(static_cast<std::int64_t>(now))) timeout = std::min(timeout, *work);
    for (const ModifierRepeat* held : {&shift, &ctrl})
      if (auto repeat = held->MillisToNext(now)) timeout = std::min(timeout, *repeat);
    if (auto repeat = pads.MillisToNextRepeat(static_cast<std::int64_t>(now))) timeout = std::min(timeout, *repeat);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(std::max<std::int64_t>(timeout, 0)))) {
      handle(e);
      while (!core.Finished() && SDL_PollEvent(&e)) handle(e);
    }
    for (ModifierRepeat* held : {&shift, &ctrl}) {
      if (core.Finished()) break;
      if (auto repeat = held->TakeDue()) {
        core.OnEvent(*repeat);
        gate.Stirred();
      }
    }
    if (!core.Finished()) {
      if (auto repeat = pads.TakeRepeat(static_cast<std::int64_t>(SDL_GetTicks64()))) {
        core.OnEvent(*repeat);
        gate.Stirred();
      }
    }
    if (!core.Finished() && core.OnFrame(static_cast<std::int64_t>(SDL_GetTicks64()))) gate.Stirred();
  }
}

void SdlWindow::Wake() {
  SDL_Event wake{};
  wake.type = SDL_USEREVENT;  // taken by no one: the loop goes round once
  SDL_PushEvent(&wake);
}

DisplaySettings SdlWindow::Current() {
  if (impl_->fullscreen) return {impl_->bitsPerPixel ? impl_->bitsPerPixel : 32, kWidth, kHeight};
  SDL_DisplayMode mode{};
  SDL_GetDesktopDisplayMode(0, &mode);
  int bits = impl_->bitsPerPixel ? impl_->bitsPerPixel : static_cast<int>(SDL_BITSPERPIXEL(mode.format));
  if (bits == 24) bits = 32;
  return {bits, mode.w, mode.h};
}

void SdlWindow::Change(const DisplaySettings& settings) {
  Impl& m = *impl_;
  m.bitsPerPixel = settings.bitsPerPixel;
  const bool wantFull = settings.width == kWidth && settings.height == kHeight;
  if (wantFull == m.fullscreen) return;
  if (wantFull) {
    SDL_GetWindowPosition(m.window, &m.windowedLeft, &m.windowedTop);
    SDL_GetWindowSize(m.window, &m.windowedWidth, &m.windowedHeight);
    int display = SDL_GetWindowDisplayIndex(m.window);
    if (display < 0) display = 0;
    SDL_Rect cover{0, 0, 0, 0};
    SDL_GetDisplayBounds(display, &cover);
    // A real 800 x 600 mode where the screen has one; the desktop scaled otherwise.
    SDL_DisplayMode want{SDL_PIXELFORMAT_UNKNOWN, kWidth, kHeight, 0, nullptr}, got{};
    Uint32 flag = SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_GetClosestDisplayMode(display, &want, &got) && got.w == kWidth && got.h == kHeight) {
      SDL_SetWindowDisplayMode(m.window, &got);
      flag = SDL_WINDOW_FULLSCREEN;
      cover.w = kWidth;
      cover.h = kHeight;
    }
    // Full screen is a request to the window manager, and SDL takes the
    // window for the whole screen whether or not one honours it. Without a
    // window manager the window would keep its size while the picture is
    // drawn for the screen's, cropped. So the window first covers the screen
    // itself: borderless, at the screen's corner, of the screen's size.
    SDL_SetWindowBordered(m.window, SDL_FALSE);
    SDL_SetWindowPosition(m.window, cover.x, cover.y);
    SDL_SetWindowSize(m.window, cover.w, cover.h);
    m.fullscreen = SDL_SetWindowFullscreen(m.window, flag) == 0;
    if (!m.fullscreen) RestoreWindowed();
  } else {
    SDL_SetWindowFullscreen(m.window, 0);
    RestoreWindowed();
    m.fullscreen = false;
  }
}

// The window as it was before full screen: frame, size and place. Setting
// the size also makes the renderer take it up where no window manager
// reports the change.
void SdlWindow::RestoreWindowed() {
  Impl& m = *impl_;
  SDL_SetWindowBordered(m.window, SDL_TRUE);
  if (m.windowedWidth > 0) SDL_SetWindowSize(m.window, m.windowedWidth, m.windowedHeight);
  SDL_SetWindowPosition(m.window, m.windowedLeft, m.windowedTop);
}

int SdlWindow::ScreenWidth() { return Current().width; }
int SdlWindow::ScreenHeight() { return Current().height; }

int SdlWindow::TwipsPerPixel() {
  float hdpi = 0;
  if (SDL_GetDisplayDPI(0, nullptr, &hdpi, nullptr) != 0 || hdpi < 48 || hdpi > 480) return 15;
  return static_cast<int>(std::lround(1440.0 / hdpi));
}

void SdlWindow::MoveWindow(int left, int top) {
  if (!impl_->fullscreen && impl_->window) SDL_SetWindowPosition(impl_->window, left, top);
}

// Whole multiples keep glyph rows sharp; "fit" takes the largest size of
// the picture's shape that the screen's usable area holds.
void SdlWindow::SizeWindow(int multiple) {
  Impl& m = *impl_;
  if (!m.window) return;
  int width = kWidth * std::max(multiple, 1), height = kHeight * std::max(multiple, 1);
  if (multiple == 0) {
    int display = SDL_GetWindowDisplayIndex(m.window);
    SDL_Rect usable{0, 0, kWidth, kHeight};
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = {0, 0, kWidth, kHeight};
    const double scale = std::min(static_cast<double>(usable.w) / kWidth, static_cast<double>(usable.h) / kHeight);
    width = std::max(1, static_cast<int>(kWidth * scale));
    height = std::max(1, static_cast<int>(kHeight * scale));
  }
  if (m.fullscreen) {
    m.windowedWidth = width;  // taken up when full screen ends
    m.windowedHeight = height;
    return;
  }
  SDL_SetWindowSize(m.window, width, height);
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

}  // namespace pelmot
