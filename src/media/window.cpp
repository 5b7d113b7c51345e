// The window, the drawing surface behind it, presentation and the message pump. The game draws into an
// 800 x 600 target texture; PresentFrame copies its client-sized top-left part (the picture) into the window:
// 1:1 in the window of the picture's size, and in a larger window (resized, --scale, fullscreen) scaled by the
// largest whole factor that fits, nearest-neighbour, centred on black.
#include <SDL2/SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "media/chooser.h"
#include "media/internal.h"

namespace media {
bool EnterSwallowed = false;
SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
SDL_Texture* Target = nullptr;
int SurfaceWidth = 800, SurfaceHeight = 600;
int ClientWidth = 640, ClientHeight = 480;
}  // namespace media

using namespace media;

static int SurfaceDepth = 32;
static int RefreshRate = 60;
static int Windowed = 1;
static int IconId = 0;
static std::string Title = "Pelvoro!!";
static int WindowScale = 1;  // the window is this many times the picture's size unless the user resized it
static bool Fullscreen = false;
static bool StartFullscreen = false;
static bool QuitRequested = false;
static bool WindowActive = true;
// Drivers without a display: the window counts as always active and presentation is not paced.
static bool Headless = false;
// Presentation held to the refresh rate on a real display (the loading screen and the editor have no frame
// wait of their own).
static bool PacePresent = false;
static int64_t LastPresentTicks = 0;
// What the window showed last: a file chooser that opens in the middle of a frame shows it again (the editor
// asks for a file right after clearing the surface).
static SDL_Texture* LastFrame = nullptr;

int SetDrawingSurface(int width, int height, int depth, int refreshRate) {
  if (depth == 0) depth = 16;
  if (width <= 0 || height <= 0 || (depth != 8 && depth != 16 && depth != 32)) return -1;
  SurfaceWidth = width;
  SurfaceHeight = height;
  SurfaceDepth = depth;
  RefreshRate = refreshRate > 0 ? refreshRate : 60;
  return 0;
}

// The surface is never scaled into the window; nothing to record.
int SetWindowNotScaled() { return 0; }

// A window at its scaled size follows the picture; one the user resized keeps its size while the picture
// still fits at 1:1.
int SetWindowClientSize(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  int oldWidth = ClientWidth, oldHeight = ClientHeight;
  ClientWidth = width;
  ClientHeight = height;
  if (Window == nullptr) return 0;
  int currentWidth = 0, currentHeight = 0;
  SDL_GetWindowSize(Window, &currentWidth, &currentHeight);
  SDL_SetWindowMinimumSize(Window, width, height);
  if (Fullscreen) return 0;
  if (currentWidth == oldWidth * WindowScale && currentHeight == oldHeight * WindowScale) {
    SDL_SetWindowSize(Window, width * WindowScale, height * WindowScale);
  } else if (currentWidth < width || currentHeight < height) {
    SDL_SetWindowSize(Window, SDL_max(currentWidth, width), SDL_max(currentHeight, height));
  }
  return 0;
}

int SetWindowScale(int factor) {
  if (factor < 1 || Window != nullptr) return -1;
  WindowScale = factor;
  return 0;
}

int SetFullscreenDesktop(int on) {
  if (Window == nullptr) {
    StartFullscreen = on != 0;
    return 0;
  }
  Fullscreen = on != 0;
  SDL_SetWindowFullscreen(Window, Fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  return 0;
}

namespace media {
PictureFit FitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight) {
  PictureFit fit;
  if (pictureWidth > 0 && pictureHeight > 0) {
    fit.factor = SDL_max(1, SDL_min(windowWidth / pictureWidth, windowHeight / pictureHeight));
  }
  // A window smaller than the picture shows its top-left part, as the unscaled window always did.
  fit.x = SDL_max(0, (windowWidth - pictureWidth * fit.factor) / 2);
  fit.y = SDL_max(0, (windowHeight - pictureHeight * fit.factor) / 2);
  return fit;
}

// The output size of the last presented frame: the mouse is mapped onto what the player saw.
static int PresentedWidth = 0, PresentedHeight = 0;

static int PictureWidth() { return SDL_min(ClientWidth, SurfaceWidth); }
static int PictureHeight() { return SDL_min(ClientHeight, SurfaceHeight); }

// Rounds toward minus infinity, so that a point left of or above the picture stays outside it.
static int FloorDiv(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// The window's size in points, its output size in pixels (they differ on high-density displays) and where the
// picture sits in it; false before the window exists.
struct WindowFit {
  int windowWidth = 0, windowHeight = 0, outWidth = 0, outHeight = 0;
  PictureFit picture;
};
static bool CurrentWindowFit(WindowFit* f) {
  if (Window == nullptr || Renderer == nullptr) return false;
  SDL_GetWindowSize(Window, &f->windowWidth, &f->windowHeight);
  if (f->windowWidth <= 0 || f->windowHeight <= 0) return false;
  f->outWidth = PresentedWidth > 0 ? PresentedWidth : f->windowWidth;
  f->outHeight = PresentedHeight > 0 ? PresentedHeight : f->windowHeight;
  f->picture = FitPicture(f->outWidth, f->outHeight, PictureWidth(), PictureHeight());
  return true;
}

void WindowPointToPicture(int* x, int* y) {
  WindowFit f;
  if (!CurrentWindowFit(&f)) return;
  int px = static_cast<int>(static_cast<int64_t>(*x) * f.outWidth / f.windowWidth);
  int py = static_cast<int>(static_cast<int64_t>(*y) * f.outHeight / f.windowHeight);
  *x = FloorDiv(px - f.picture.x, f.picture.factor);
  *y = FloorDiv(py - f.picture.y, f.picture.factor);
}

SDL_Rect PictureRectToWindow(int x, int y, int w, int h) {
  WindowFit f;
  if (!CurrentWindowFit(&f)) return {x, y, w, h};
  // Picture pixels to output pixels, then to window points.
  auto toX = [&](int px) {
    return static_cast<int>(static_cast<int64_t>(f.picture.x + px * f.picture.factor) * f.windowWidth / f.outWidth);
  };
  auto toY = [&](int py) {
    return static_cast<int>(static_cast<int64_t>(f.picture.y + py * f.picture.factor) * f.windowHeight / f.outHeight);
  };
  return {toX(x), toY(y), toX(x + w) - toX(x), toY(y + h) - toY(y)};
}

void SetImeArea(int x, int y, int w, int h) {
  SDL_Rect area = PictureRectToWindow(x, y, w, h);
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_SetTextInputRect(&area);
}
}  // namespace media

int SetWindowTitle(const char* utf8Title) {
  Title = utf8Title != nullptr ? utf8Title : "";
  if (Window != nullptr) SDL_SetWindowTitle(Window, Title.c_str());
  return 0;
}

int SetWindowedMode(int windowed) {
  Windowed = windowed;
  if (Window != nullptr) SetFullscreenDesktop(!windowed);
  return 0;
}

int SetWindowIconId(int id) {
  IconId = id;
  return 0;
}

// The icon comes from the data files; without it the window keeps the desktop's default icon.
static int IconTries = 0;
static void SetIconFromData() {
  std::string bytes;
  if (Window == nullptr || IconId == 0 || IconTries >= 2) return;
  ++IconTries;
  if (!ReadWholeDataFile("data\\texture\\icon.png", &bytes)) return;
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!DecodePng(bytes, &pixels, &width, &height)) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                                         SDL_PIXELFORMAT_BGRA32);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(Window, icon);
  SDL_FreeSurface(icon);
  IconTries = 2;
}

namespace media {
// The archive's key arrives after InitMedia; the first picture that loads shows the archive can be read, so
// the icon is tried once more then.
void RetryWindowIcon() { SetIconFromData(); }
}  // namespace media

static SDL_Renderer* CreateRenderer() {
  SDL_Renderer* renderer =
      SDL_CreateRenderer(Window, -1, SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_TARGETTEXTURE);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
  return renderer;
}

static bool IsHeadlessDriver(const char* driver) {
  return driver != nullptr && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

// A driver without a display is taken only when it was asked for: SDL falls back to one by itself when there
// is no display, and the game would then run where nobody can see it.
static bool DriverWasAskedFor() {
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  return asked != nullptr && asked[0] != '\0';
}

int InitMedia() {
  if (Window != nullptr) return 0;
  // Compositions longer than SDL's 32-byte event text (ten Japanese characters) arrive whole.
  SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    SDL_Log("SDL_Init: %s", SDL_GetError());
    return -1;
  }
  Headless = IsHeadlessDriver(SDL_GetCurrentVideoDriver());
  if (Headless && !DriverWasAskedFor()) {
    SDL_Log("no display to show the window on");
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
    return -1;
  }
  // Controllers are a welcome extra: the game runs without them.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) SDL_Log("controllers: %s", SDL_GetError());
  Fullscreen = !Windowed || StartFullscreen;
  Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | (Fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  Window = SDL_CreateWindow(Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            ClientWidth * WindowScale, ClientHeight * WindowScale, flags);
  if (Window == nullptr) {
    SDL_Log("SDL_CreateWindow: %s", SDL_GetError());
    EndMedia();
    return -1;
  }
  Renderer = CreateRenderer();
  if (Renderer != nullptr) {
    Target = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, SurfaceWidth,
                               SurfaceHeight);
  }
  if (Renderer == nullptr || Target == nullptr) {
    SDL_Log("renderer: %s", SDL_GetError());
    EndMedia();
    return -1;
  }
  SDL_SetWindowMinimumSize(Window, ClientWidth, ClientHeight);
  SDL_SetTextureScaleMode(Target, SDL_ScaleModeNearest);
  // Some drivers accept vsync and do not wait, and fast displays refresh more often than 60 times a second:
  // presentation is held to the refresh rate in any case. Where the display does wait at 60 Hz this costs
  // nothing.
  PacePresent = !Headless;
  LastPresentTicks = NowTicks();
  SDL_SetTextureBlendMode(Target, SDL_BLENDMODE_NONE);
  SetDrawTargetBack();
  ClearSurface();
  // Typed text is only wanted while a text-input line is active.
  SDL_StopTextInput();
  QuitRequested = false;
  WindowActive = true;
  PresentedWidth = PresentedHeight = 0;
  IconTries = 0;
  OpenAudio();
  SetIconFromData();
  return 0;
}

int EndMedia() {
  DrainLoads();
  CloseTextInputs();
  FreeAllSounds();
  CloseAudio();
  FreeAllPictures();
  CloseFonts();
  CloseControllers();
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  if (Target != nullptr) SDL_DestroyTexture(Target);
  if (LastFrame != nullptr) SDL_DestroyTexture(LastFrame);
  LastFrame = nullptr;
  if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);
  if (Window != nullptr) SDL_DestroyWindow(Window);
  Target = nullptr;
  Renderer = nullptr;
  Window = nullptr;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
  return 0;
}

int SetDrawTargetBack() {
  if (Renderer == nullptr) return 0;
  SDL_SetRenderTarget(Renderer, Target);
  ApplyClip();
  return 0;
}

// Holds the loops that present without a frame wait (loading screen, editor) at the refresh rate.
static void PaceLikeVsync() {
  int64_t period = MsToTicks(1000) / RefreshRate;
  int64_t next = LastPresentTicks + period;
  int64_t now = NowTicks();
  if (now < next) {
    while (next - NowTicks() > MsToTicks(2)) SleepMs(1);
    while (NowTicks() < next) {
    }
    LastPresentTicks = next;
  } else {
    LastPresentTicks = now;
  }
}

static SDL_Texture* MakeSurfaceTexture() {
  SDL_Texture* texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                           SurfaceWidth, SurfaceHeight);
  if (texture != nullptr) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
  return texture;
}

// Copies the client-sized part of one texture into another (nullptr: the window).
static int CopyClientPart(SDL_Texture* from, SDL_Texture* to) {
  SDL_SetRenderTarget(Renderer, to);
  SDL_RenderSetClipRect(Renderer, nullptr);
  SDL_Rect part = {0, 0, SDL_min(ClientWidth, SurfaceWidth), SDL_min(ClientHeight, SurfaceHeight)};
  return SDL_RenderCopy(Renderer, from, &part, &part);
}

// Shows a texture in the window.
static int ShowTexture(SDL_Texture* texture) {
  SDL_SetRenderTarget(Renderer, nullptr);
  SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  int outWidth = PictureWidth(), outHeight = PictureHeight();
  SDL_GetRendererOutputSize(Renderer, &outWidth, &outHeight);  // of the window: no target is set now
  PresentedWidth = outWidth;
  PresentedHeight = outHeight;
  PictureFit fit = FitPicture(outWidth, outHeight, PictureWidth(), PictureHeight());
  SDL_Rect part = {0, 0, PictureWidth(), PictureHeight()};
  SDL_Rect shown = {fit.x, fit.y, part.w * fit.factor, part.h * fit.factor};
  int result = SDL_RenderCopy(Renderer, texture, &part, &shown);
  SDL_RenderPresent(Renderer);
  SetDrawTargetBack();
  return result;
}

int PresentFrame() {
  if (!WaitToDraw()) return 0;
  if (Renderer == nullptr) return -1;
  if (LastFrame == nullptr) LastFrame = MakeSurfaceTexture();
  if (LastFrame != nullptr) CopyClientPart(Target, LastFrame);
  int result = ShowTexture(Target);
  MarkStartupMoment("first-present");
  if (PacePresent) PaceLikeVsync();
  return result == 0 ? 0 : -1;
}

namespace media {

void PresentLastFrame() {
  if (!(DrawingEnabled() && Renderer != nullptr)) return;
  ShowTexture(LastFrame != nullptr ? LastFrame : Target);
}

void PresentChooserFrame() {
  if (DrawingEnabled() && Renderer != nullptr) ShowTexture(Target);
}

void DrawLastFrame() {
  if (!(DrawingEnabled() && Renderer != nullptr) || LastFrame == nullptr) return;
  CopyClientPart(LastFrame, Target);
  SetDrawTargetBack();
}

SDL_Texture* SaveSurface() {
  if (Renderer == nullptr) return nullptr;
  SDL_Texture* saved = MakeSurfaceTexture();
  if (saved != nullptr) {
    SDL_SetRenderTarget(Renderer, saved);
    SDL_RenderSetClipRect(Renderer, nullptr);
    SDL_RenderCopy(Renderer, Target, nullptr, nullptr);
  }
  SetDrawTargetBack();
  return saved;
}

void RestoreSurface(SDL_Texture* saved) {
  if (saved == nullptr) return;
  if (Renderer != nullptr) {
    SDL_SetRenderTarget(Renderer, Target);
    SDL_RenderSetClipRect(Renderer, nullptr);
    SDL_RenderCopy(Renderer, saved, nullptr, nullptr);
    SetDrawTargetBack();
  }
  SDL_DestroyTexture(saved);
}

void ReturnFromChooser() {
  if (Window == nullptr) return;
  SDL_RaiseWindow(Window);
  WindowActive = true;
}

}  // namespace media

static bool IsAltEnter(const SDL_KeyboardEvent& key) {
  SDL_Scancode code = key.keysym.scancode;
  return (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) && (key.keysym.mod & KMOD_ALT) != 0;
}

int PumpMessages() {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return QuitRequested ? -1 : 0;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_QUIT:
        QuitRequested = true;
        break;
      case SDL_KEYDOWN:
        // Alt+Enter switches between the window and borderless fullscreen; it is not typed text.
        if (IsAltEnter(event.key)) {
          if (event.key.repeat == 0) SetFullscreenDesktop(!Fullscreen);
          EnterSwallowed = true;
        } else {
          HandleTextInputEvent(event);
        }
        break;
      case SDL_CONTROLLERDEVICEADDED:
      case SDL_CONTROLLERDEVICEREMOVED:
        HandleControllerEvent(event);
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) QuitRequested = true;
        if (!Headless && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) WindowActive = false;
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) WindowActive = true;
        break;
      default:
        HandleTextInputEvent(event);
        break;
    }
  }
  return QuitRequested ? -1 : 0;
}

void WaitWhileInactive() {
  while (!WindowActive && !QuitRequested && Window != nullptr) {
    PumpMessages();
    if (!WindowActive) SleepMs(10);
  }
}

void* MainWindow() { return Window; }

void SetWindowActive(int active) { WindowActive = active != 0; }

namespace media {
// The child of a fork shares the parent's display connection: it must never draw, present or pump.
void ForgetWindowInChild() {
  Window = nullptr;
  Renderer = nullptr;
  Target = nullptr;
  WindowActive = true;
}

void GuardActive() {
  if (!WindowActive) WaitWhileInactive();
}
}  // namespace media
