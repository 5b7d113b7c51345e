// Loading screen: a progress bar with its percentage, and the loading character and the "wait" sign gliding
// behind it, until the media layer has loaded every picture and sound.
#include "shell/loading_screen.h"

#include "shell/assets.h"

int Pending0 = 0;
int LoadedCount = 0;
float BarTarget = 0;
float BarEased = 0;
int AnimFrame = 0;

namespace {

constexpr int AnimFrameCount = 6;
constexpr int PassesPerAnimFrame = 3;
constexpr int LoadingPassPauseMs = 3;
int AnimSubCounter = 0;

// A load that failed on the loading thread ends the program with the message of its kind.
void CheckAsyncLoads() {
  for (int i = 0; i < AsyncPictureCount; ++i) {
    if (HandleLoadState(AsyncPictureHandle(i)) == -1) FatalAssetError(2);
  }
  for (int i = 0; i < AsyncSoundCount; ++i) {
    if (HandleLoadState(AsyncSoundHandle(i)) == -1) FatalAssetError(1);
  }
}

}  // namespace

bool LoadingScreenPass() {
  ClearSurface();
  BarEased += (BarTarget - BarEased) * 0.2f;
  DrawPictureRegionCentered(BarEased * 640, 408, 40 * AnimFrame, 0, 40, 80, 1.0, 0.0, ImgLoadingCharacter);
  DrawPictureRegionCentered(BarEased * 640, 300, 0, 0, 200, 120, 1.0, 0.0, ImgWait);
  LoadedCount = Pending0 - PendingLoadCount();
  // Nothing issued means nothing to wait for: a full bar rather than 0 / 0.
  BarTarget = Pending0 > 0 ? static_cast<float>(LoadedCount) / static_cast<float>(Pending0) : 1.0f;
  int width = MeasureFormattedText(Font24, u"読み込み中... %.0f％", BarTarget * 100);
  DrawRect(0, 448, (int)(BarTarget * 640), 480, MakeColor(0, 255, 192), 1);
  DrawFormattedTextWithFont(320 - width / 2, 450, MakeColor(255, 255, 255), Font24, u"読み込み中... %.0f％",
                            BarTarget * 100);
  AnimSubCounter += 1;
  if (AnimSubCounter >= PassesPerAnimFrame) {
    AnimSubCounter = 0;
    AnimFrame = (AnimFrame + 1) % AnimFrameCount;
  }
  CheckAsyncLoads();
  PresentFrame();  // no frame wait: the presentation paces this loop
  return PendingLoadCount() != 0;
}

void RunLoadingScreen() {
  Pending0 = PendingLoadCount();
  LoadedCount = 0;
  BarEased = 0.0f;
  BarTarget = 0.0f;
  AnimFrame = 0;
  AnimSubCounter = 0;
  // A closed window ends the loop early; start-up goes on and the main loop ends at its first check.
  while (PumpMessages() == 0) {
    if (!LoadingScreenPass()) break;
    // Where presenting does not wait for the display (SDL's dummy driver, a display without vsync) the loop
    // would keep a whole core from the loading thread; a short pause each pass leaves it the time.
    SleepMs(LoadingPassPauseMs);
  }
  // A load that failed after the pass's check and was the last one pending would otherwise go unseen.
  if (PendingLoadCount() == 0) CheckAsyncLoads();
}
