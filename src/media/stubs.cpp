// Temporary stand-ins for media operations that are not built yet. Each one is removed from here when its
// real implementation lands in its own file.
#include <cstdio>
#include <cstdlib>

#include "media/media.h"

int SetDrawingSurface(int, int, int, int) { return 0; }
int SetWindowNotScaled() { return 0; }
int SetWindowClientSize(int, int) { return 0; }
int SetWindowTitle(const char*) { return 0; }
int SetWindowedMode(int) { return 0; }
int SetWindowIconId(int) { return 0; }
int InitMedia() { return 0; }
int EndMedia() { return 0; }
int SetDrawTargetBack() { return 0; }
int ClearSurface() { return 0; }
Color MakeColor(int r, int g, int b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }
int DrawRect(int, int, int, int, Color, int) { return 0; }
void SetBlendMode(int, int) {}
int PresentFrame() { return 0; }
int PumpMessages() { return 0; }
void WaitWhileInactive() {}
void* MainWindow() { return nullptr; }
int NowMs() { return 0; }
int64_t NowTicks() { return 0; }
int64_t MsToTicks(int ms) { return ms; }
void SleepMs(int) {}
uint32_t Random() { return 0; }
void SeedRandom(uint32_t) {}
void SetDrawingEnabled(int) {}
int DrawingEnabled() { return 0; }
int FpsFrameCount = 0;
int FpsWindowStart = 0;
float MeasuredFps = 0;
void MeasureFps() {}
void WaitFrameDue() {}

GraphHandle LoadPicture(const char*) { return -1; }
void SetAsyncLoading(int) {}
int PendingLoadCount() { return 0; }
int HandleLoadState(int) { return -1; }
int GetPictureSize(GraphHandle, int*, int*) { return -1; }
int DrawPicture(int, int, GraphHandle, int) { return -1; }
int DrawPictureRegion(int, int, int, int, int, int, GraphHandle, int, int) { return -1; }
int DrawPictureRegionCentered(float, float, int, int, int, int, double, double, GraphHandle) { return -1; }
int DrawLine(int, int, int, int, Color) { return 0; }
int SetClipRect(int, int, int, int) { return 0; }
void ResetClipRect() {}
void FreeAllPictures() {}
int ReadSurfacePixels(uint32_t*, int, int, int, int) { return -1; }

FontHandle MakeFont(int, int, int, int) { return -1; }
int DrawTextWithFont(int, int, const char16_t*, Color, FontHandle, Color, int) { return -1; }
int DrawFormattedTextWithFont(int, int, Color, FontHandle, const char16_t*, ...) { return -1; }
int DrawFormattedText(int, int, Color, const char16_t*, ...) { return -1; }
int MeasureText(const char16_t*, int, FontHandle) { return 0; }
int MeasureFormattedText(FontHandle, const char16_t*, ...) { return 0; }
void FreeAllFonts() {}
std::u16string FormatText(const char16_t*, va_list) { return {}; }
std::u16string FormatTextV(const char16_t*, ...) { return {}; }
std::string Utf16ToUtf8(const char16_t*, int) { return {}; }
std::u16string Utf8ToUtf16(const char*) { return {}; }

SoundHandle LoadSound(const char*, int) { return -1; }
int StartSound(SoundHandle, int, int) { return -1; }
int StopSound(SoundHandle) { return -1; }
int SetSoundVolume(int, SoundHandle) { return -1; }
int IsSoundPlaying(SoundHandle) { return -1; }
void FreeAllSounds() {}
float VolumeToGain(int) { return 0; }

uint8_t KeyState[256] = {};
void ReadKeyboard() {}
void SetKeyFeed(KeyFeed) {}
int DirectInputCodeOfScancode(int) { return 0; }
void GetMousePosition(int* x, int* y) { *x = *y = 0; }
int GetMouseButtons() { return 0; }
void SetMouseOverride(int, int, int, int) {}

int CreateTextInput() { return -1; }
int SetTextInputColors(const Color*) { return -1; }
int SetTextInputText(const char16_t*, int) { return -1; }
int ActivateTextInput(int) { return -1; }
int CheckTextInput(int) { return -1; }
int DrawTextInput(int, int, int) { return -1; }
int GetTextInputText(char16_t*, int) { return -1; }
int SetTextInputBlink(int) { return -1; }

void ShowMessageBox(const char* caption, const char* text) { std::fprintf(stderr, "%s: %s\n", caption, text); }
static void (*FatalHandler)(const char* text) = nullptr;
void SetFatalHandler(void (*handler)(const char* text)) { FatalHandler = handler; }
void FatalError(const char* text, int) {
  if (FatalHandler != nullptr) FatalHandler(text);
  ShowMessageBox("Pelvoro!!", text);
  std::exit(-1);
}
void ExitGame(int code) { std::exit(code); }

