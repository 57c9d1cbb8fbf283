#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <cmath>
#include <vector>

namespace pelmot {

struct SdlWindow::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool fullscreen = false;
  int bitsPerPixel = 0;  // as last set; 0 until a change
  std::vector<Colour> pixels;
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

void SdlWindow::Run(WindowEvents& events) {
  SDL_ShowWindow(impl_->window);
  Uint64 nextTick = 0;
  bool dirty = true;
  auto present = [&] {
    events.Compose(impl_->pixels);
    SDL_UpdateTexture(impl_->texture, nullptr, impl_->pixels.data(), kWidth * 4);
    SDL_SetRenderDrawColor(impl_->renderer, 0, 0, 0, 255);
    SDL_RenderClear(impl_->renderer);
    SDL_RenderCopy(impl_->renderer, impl_->texture, nullptr, nullptr);
    SDL_RenderPresent(impl_->renderer);
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
    if (dirty && !events.Finished()) {
      present();
      dirty = false;
    }
  }
}

bool SdlWindow::AskYesNo(const std::string& text) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "はい"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "いいえ"},
  };
  SDL_MessageBoxData data{};
  data.flags = SDL_MESSAGEBOX_INFORMATION;
  data.window = impl_->window;
  data.title = "PELMOT";
  data.message = text.c_str();
  data.numbuttons = 2;
  data.buttons = buttons;
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) return false;
  return pressed == 1;
}

void SdlWindow::ShowMessage(const std::string& text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "PELMOT", text.c_str(), impl_->window);
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
