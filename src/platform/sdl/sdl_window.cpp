#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/message_box.h"

namespace pelmot {

struct SdlWindow::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool fullscreen = false;
  int windowedWidth = 0, windowedHeight = 0;  // the window's size before full screen
  int bitsPerPixel = 0;  // as last set; 0 until a change
  std::vector<Colour> pixels;  // the client area as last composed by the game
  TextEngine* text = nullptr;
  TimedDrawing* drawing = nullptr;
  WindowEvents* events = nullptr;  // while Run runs
  std::function<void()> firstPresent;
};

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

int ToVirtualKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return kVkEnter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return kVkShift;
    case SDLK_F1:
      return kVkF1;
    default:
      return 0;
  }
}

int ShiftState() { return (SDL_GetModState() & KMOD_SHIFT) ? 1 : 0; }

int ToButton(Uint8 sdlButton) {
  if (sdlButton == SDL_BUTTON_LEFT) return 1;
  if (sdlButton == SDL_BUTTON_RIGHT) return 2;
  if (sdlButton == SDL_BUTTON_MIDDLE) return 4;
  return 0;
}

}  // namespace

SdlWindow::SdlWindow() : impl_(std::make_unique<Impl>()) {}

SdlWindow::~SdlWindow() {
  if (impl_->texture) SDL_DestroyTexture(impl_->texture);
  if (impl_->renderer) SDL_DestroyRenderer(impl_->renderer);
  if (impl_->window) SDL_DestroyWindow(impl_->window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
}

bool SdlWindow::Open(const std::string& title, std::string& error) {
  // The picture is 800 x 600 software pixels anyway: SDL's software renderer
  // shows it without loading a GL driver, which would cost tens of megabytes
  // and start-up time. SDL_RENDER_DRIVER in the environment still wins.
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  // SIGINT and SIGTERM end the program as they do any other; closing the
  // window is the player's way to be asked first.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    error = SDL_GetError();
    return false;
  }
  impl_->window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kWidth, kHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
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
  // The picture keeps its 800 x 600 logical size; SDL scales it to the
  // window and maps pointer positions back to 800 x 600.
  SDL_RenderSetLogicalSize(impl_->renderer, kWidth, kHeight);
  impl_->texture = SDL_CreateTexture(impl_->renderer, SDL_PIXELFORMAT_RGB888,
                                     SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
  if (!impl_->texture) {
    error = SDL_GetError();
    return false;
  }
  return true;
}

void SdlWindow::SetTextEngine(TextEngine* text) { impl_->text = text; }
void SdlWindow::SetTimedDrawing(TimedDrawing* drawing) { impl_->drawing = drawing; }
void SdlWindow::OnFirstPresent(std::function<void()> listener) { impl_->firstPresent = std::move(listener); }

void SdlWindow::Present(const std::vector<Colour>& pixels) {
  SDL_UpdateTexture(impl_->texture, nullptr, pixels.data(), kWidth * 4);
  SDL_SetRenderDrawColor(impl_->renderer, 0, 0, 0, 255);
  SDL_RenderClear(impl_->renderer);
  SDL_RenderCopy(impl_->renderer, impl_->texture, nullptr, nullptr);
  SDL_RenderPresent(impl_->renderer);
  if (impl_->firstPresent) {
    auto listener = std::move(impl_->firstPresent);
    impl_->firstPresent = nullptr;
    listener();
  }
}

void SdlWindow::Run(WindowEvents& events) {
  impl_->events = &events;
  SDL_ShowWindow(impl_->window);
  Uint64 nextTick = 0;
  bool dirty = true;
  auto present = [&] {
    events.Compose(impl_->pixels);
    Present(impl_->pixels);
  };
  auto handle = [&](const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        events.CloseRequested();
        break;
      case SDL_MOUSEBUTTONDOWN:
        events.MouseDown(ToButton(e.button.button), ShiftState(), e.button.x, e.button.y);
        break;
      case SDL_MOUSEMOTION:
        events.MouseMove(0, ShiftState(), e.motion.x, e.motion.y);
        break;
      case SDL_KEYDOWN:
        // A held key repeats its key-down, as the keyboard's auto-repeat does.
        events.KeyDown(ToVirtualKey(e.key.keysym.sym), ShiftState());
        break;
      case SDL_KEYUP:
        events.KeyUp(ToVirtualKey(e.key.keysym.sym), ShiftState());
        break;
      default:
        break;
    }
    dirty = true;
  };
  present();
  while (!events.Finished()) {
    const Uint64 now = SDL_GetTicks64();
    int timeout = 50;
    if (events.TimerEnabled()) {
      if (nextTick == 0) nextTick = now + events.TimerIntervalMs();
      timeout = nextTick > now ? static_cast<int>(nextTick - now) : 0;
    } else {
      nextTick = 0;
    }
    if (impl_->drawing) {
      if (auto wait = impl_->drawing->MillisToNextDrawing())
        timeout = std::min<int>(timeout, static_cast<int>(std::min<std::int64_t>(*wait, 50)));
    }
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timeout)) {
      handle(e);
      while (!events.Finished() && SDL_PollEvent(&e)) handle(e);
    }
    if (events.TimerEnabled() && nextTick != 0 && SDL_GetTicks64() >= nextTick) {
      events.TimerTick();
      nextTick += events.TimerIntervalMs();
      if (nextTick < SDL_GetTicks64()) nextTick = SDL_GetTicks64();
      dirty = true;
    }
    if (!events.Finished() && impl_->drawing && impl_->drawing->DrawDue()) dirty = true;
    if (dirty && !events.Finished()) {
      present();
      dirty = false;
    }
  }
  impl_->events = nullptr;
}

namespace {

// One event for a message box; the button chosen, or none yet.
int BoxEvent(InWindowMessageBox& box, const SDL_Event& e) {
  using Key = InWindowMessageBox::Key;
  switch (e.type) {
    case SDL_QUIT:
      return box.KeyPressed(Key::kEscape);
    case SDL_MOUSEMOTION:
      return box.PointerMoved(e.motion.x, e.motion.y);
    case SDL_MOUSEBUTTONDOWN:
      return e.button.button == SDL_BUTTON_LEFT ? box.PointerPressed(e.button.x, e.button.y)
                                                : InWindowMessageBox::kNone;
    case SDL_MOUSEBUTTONUP:
      return e.button.button == SDL_BUTTON_LEFT ? box.PointerReleased(e.button.x, e.button.y)
                                                : InWindowMessageBox::kNone;
    case SDL_KEYDOWN:
      switch (e.key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
          return box.KeyPressed(Key::kEnter);
        case SDLK_ESCAPE:
          return box.KeyPressed(Key::kEscape);
        case SDLK_RIGHT:
          return box.KeyPressed(Key::kNext);
        case SDLK_LEFT:
          return box.KeyPressed(Key::kPrevious);
        case SDLK_TAB:
          return box.KeyPressed((SDL_GetModState() & KMOD_SHIFT) ? Key::kPrevious : Key::kNext);
        default:
          return InWindowMessageBox::kNone;
      }
    default:
      return InWindowMessageBox::kNone;
  }
}

}  // namespace

// A modal loop of its own, as a message box has: the game gets no events
// until the box is answered; a playing movie goes on behind it.
int SdlWindow::RunBox(InWindowMessageBox& box) {
  Impl& m = *impl_;
  SDL_ShowWindow(m.window);
  std::vector<Colour> backdrop = m.pixels;
  if (backdrop.size() != static_cast<std::size_t>(kWidth) * kHeight) {
    if (m.events) m.events->Compose(backdrop);
    else backdrop.assign(static_cast<std::size_t>(kWidth) * kHeight, kBlack);
  }
  Surface screen(kWidth, kHeight);
  auto draw = [&] {
    screen.MutableImage() = backdrop;
    box.Draw(screen);
    Present(screen.Image());
  };
  draw();
  while (true) {
    int timeout = 100;
    if (m.drawing) {
      if (auto wait = m.drawing->MillisToNextDrawing())
        timeout = static_cast<int>(std::min<std::int64_t>(*wait, timeout));
    }
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timeout)) {
      do {
        const int chosen = BoxEvent(box, e);
        if (chosen != InWindowMessageBox::kNone) return chosen;
      } while (SDL_PollEvent(&e));
    }
    if (m.drawing && m.drawing->DrawDue() && m.events) m.events->Compose(backdrop);
    draw();
  }
}

bool SdlWindow::AskYesNo(const std::string& text) {
  InWindowMessageBox box(text, {"はい", "いいえ"}, 0, 1, impl_->text);
  return RunBox(box) == 0;
}

void SdlWindow::ShowMessage(const std::string& text) {
  InWindowMessageBox box(text, {"OK"}, 0, 0, impl_->text);
  RunBox(box);
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
  impl_->bitsPerPixel = settings.bitsPerPixel;
  const bool wantFull = settings.width == kWidth && settings.height == kHeight;
  if (wantFull == impl_->fullscreen) return;
  if (wantFull) {
    SDL_GetWindowSize(impl_->window, &impl_->windowedWidth, &impl_->windowedHeight);
    // A real 800 x 600 mode where the screen has one; the desktop scaled otherwise.
    SDL_DisplayMode want{SDL_PIXELFORMAT_UNKNOWN, kWidth, kHeight, 0, nullptr}, got{};
    Uint32 flag = SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_GetClosestDisplayMode(0, &want, &got) && got.w == kWidth && got.h == kHeight) {
      SDL_SetWindowDisplayMode(impl_->window, &got);
      flag = SDL_WINDOW_FULLSCREEN;
    }
    impl_->fullscreen = SDL_SetWindowFullscreen(impl_->window, flag) == 0;
  } else {
    SDL_SetWindowFullscreen(impl_->window, 0);
    // The size it had; setting it also makes the renderer take it up where
    // no window manager reports the change.
    if (impl_->windowedWidth > 0)
      SDL_SetWindowSize(impl_->window, impl_->windowedWidth, impl_->windowedHeight);
    impl_->fullscreen = false;
  }
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

}  // namespace pelmot
