// The media layer: window and frame loop, drawing, fonts, sound, input, text input, files and the data
// archive. This header is the only way the rest of the game reaches the platform; nothing outside src/media
// includes SDL. All operations run on the main thread unless a comment says otherwise.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>

using GraphHandle = int;  // -1: failure
using SoundHandle = int;  // -1: failure
using FontHandle = int;   // -1: failure
using Color = uint32_t;   // 0xFFRRGGBB, from MakeColor

// ---------------------------------------------------------------------------------------------------------
// Window, drawing surface and frame loop (window.cpp, frame.cpp)

// Before InitMedia: records the drawing surface. depth 0 means 16; else 8, 16 or 32. Returns 0, or -1 for a
// bad size or depth.
int SetDrawingSurface(int width, int height, int depth, int refreshRate);
// Before InitMedia: the client area shows the surface 1:1 from its top-left corner, never scaled.
int SetWindowNotScaled();
// Before InitMedia records the client size; afterwards resizes the client area at once. Returns 0.
int SetWindowClientSize(int width, int height);
int SetWindowTitle(const char* utf8Title);
int SetWindowedMode(int windowed);
int SetWindowIconId(int id);
// The picture in a bigger window: before InitMedia, the window starts at factor (1 or more) times the
// picture's size; the window may also be resized or made fullscreen (Alt+Enter toggles). The picture is then
// scaled by the largest whole factor that fits, centred on black, and the mouse is mapped back to its pixels.
int SetWindowScale(int factor);
// 1 borderless fullscreen on the desktop, 0 windowed; before InitMedia it sets how the window starts.
int SetFullscreenDesktop(int on);
// Creates the window, renderer and the sound and input services. 0, or -1 on failure.
int InitMedia();
// Releases every media resource and closes the window. Safe to call twice.
int EndMedia();
int SetDrawTargetBack();
int ClearSurface();
Color MakeColor(int r, int g, int b);
// filled 1: every pixel x1 <= x < x2, y1 <= y < y2; filled 0: the one-pixel outline of that rectangle.
int DrawRect(int x1, int y1, int x2, int y2, Color color, int filled);
// mode 0 none (opaque), 1 alpha (opacity param / 255). param is clamped to 0..255.
enum { BlendNone = 0, BlendAlpha = 1 };
void SetBlendMode(int mode, int param);
// Shows the client-sized top-left part of the surface, synchronised to the display where the driver allows.
int PresentFrame();
// Dispatches pending window messages. 0 to go on, -1 when the window was closed or the program must end.
// Never waits.
int PumpMessages();
// True while the window may be drawn and read; a window that is not active makes the drawing, sound and
// keyboard operations wait (pumping messages) until it is active again or closed.
void WaitWhileInactive();
void* MainWindow();

int NowMs();  // milliseconds, masked to 31 bits
int64_t NowTicks();
int64_t MsToTicks(int ms);
void SleepMs(int ms);
// MT19937, seeded from the clock at start-up or from PELVORO_SEED.
uint32_t Random();
void SeedRandom(uint32_t seed);
// With PELVORO_STARTUP_MARKS set, writes "startup <moment> <CLOCK_MONOTONIC ns>" on stderr, once per moment
// name, for the start-up benchmark (tests/bench/startup.sh); does nothing otherwise. The first present marks
// "first-present" by itself.
void MarkStartupMoment(const char* moment);

// Drawing as a whole can be switched off so that simulations run at the speed of the game logic.
void SetDrawingEnabled(int enabled);
int DrawingEnabled();

// The game's two frame routines on the clocks.
extern int FpsFrameCount;
extern int FpsWindowStart;
extern float MeasuredFps;
void MeasureFps();
void WaitFrameDue();

// ---------------------------------------------------------------------------------------------------------
// Pictures and 2D drawing (picture.cpp, draw.cpp)

// Loads a PNG through the file access (archive paths like "data\\texture\\girl.png"). While asynchronous
// loading is on, returns at once and decodes on the loading thread.
GraphHandle LoadPicture(const char* path);
void SetAsyncLoading(int on);
int PendingLoadCount();
// -1 invalid or failed, 1 still loading, 0 ready. Works for picture and sound handles.
int HandleLoadState(int handle);
int GetPictureSize(GraphHandle handle, int* width, int* height);
int DrawPicture(int x, int y, GraphHandle handle, int transparent);
int DrawPictureRegion(int dx, int dy, int sx, int sy, int w, int h, GraphHandle handle, int transparent,
                      int mirrored);
// The w x h rectangle at (sx, 0) (always row 0; the fourth argument is not used), scaled and rotated about
// its centre, centred at (x, y).
int DrawPictureRegionCentered(float x, float y, int sx, int unused, int w, int h, double scale, double angle,
                              GraphHandle handle);
int DrawLine(int x1, int y1, int x2, int y2, Color color);
int SetClipRect(int x1, int y1, int x2, int y2);
void ResetClipRect();
void FreeAllPictures();
// Reads back the surface (for tests and screenshots): ARGB pixels, row-major, surface width x height.
int ReadSurfacePixels(uint32_t* out, int x, int y, int w, int h);

// ---------------------------------------------------------------------------------------------------------
// Fonts and text (font.cpp, format.cpp). Texts are UTF-16.

enum { FontPlain = 0, FontEdge = 1, FontEdgeAntialiased = 0x13 };
constexpr FontHandle DefaultFont = -2;
FontHandle MakeFont(int size, int thickness, int type, int edgeSize);
int DrawTextWithFont(int x, int y, const char16_t* text, Color color, FontHandle font, Color edgeColor,
                     int vertical);
int DrawFormattedTextWithFont(int x, int y, Color color, FontHandle font, const char16_t* format, ...);
int DrawFormattedText(int x, int y, Color color, const char16_t* format, ...);
int MeasureText(const char16_t* text, int length, FontHandle font);
int MeasureFormattedText(FontHandle font, const char16_t* format, ...);
void FreeAllFonts();
// printf on UTF-16: %d, %2d, %00d, %.0f, %.2f and %s (a const char16_t* argument); other text is copied.
// The result is cut at 2047 units.
std::u16string FormatText(const char16_t* format, va_list args);
std::u16string FormatTextV(const char16_t* format, ...);
std::string Utf16ToUtf8(const char16_t* text, int length = -1);
std::u16string Utf8ToUtf16(const char* text);

// ---------------------------------------------------------------------------------------------------------
// Sound (sound.cpp)

enum { SoundWait = 0, SoundOnce = 1, SoundLoop = 3 };
SoundHandle LoadSound(const char* path, int voices);
int StartSound(SoundHandle handle, int mode, int restart);
int StopSound(SoundHandle handle);
int SetSoundVolume(int volume, SoundHandle handle);
int IsSoundPlaying(SoundHandle handle);
void FreeAllSounds();
// The 0..255 volume as linear gain: 0 for v <= 0, else 10^(dB / 20) with dB = 50 log10(v / 255), not below
// -100 dB.
float VolumeToGain(int volume);

// ---------------------------------------------------------------------------------------------------------
// Keyboard and mouse (input.cpp, replay.cpp). KeyState is indexed by DirectInput key codes.

enum {
  KeyEsc = 1, KeyTab = 15, KeyR = 19, KeyEnter = 28, KeyS = 31, KeyD = 32, KeyZ = 44, KeyX = 45,
  KeyF1 = 59, KeyF3 = 61, KeyF4 = 62, KeyF5 = 63, KeyF6 = 64, KeyF7 = 65, KeyF8 = 66, KeyF9 = 67,
  KeyF11 = 87, KeyUp = 200, KeyLeft = 203, KeyRight = 205, KeyDown = 208,
};
// Keys of the editor's additions (test play, clear check, overlay, undo and redo).
enum {
  KeyF2 = 60, KeyF10 = 68, KeyF12 = 88, KeyY = 21,
  KeyLeftCtrl = 29, KeyRightCtrl = 157, KeyLeftShift = 42, KeyRightShift = 54,
};
extern uint8_t KeyState[256];
// Refreshes KeyState: from the key feed when one is set (replays, tests), else from the keyboard, sampled
// at most once per millisecond.
void ReadKeyboard();
// A key feed fills the 256 entries for one frame; returning false means it has nothing more (all keys up).
using KeyFeed = bool (*)(uint8_t state[256]);
void SetKeyFeed(KeyFeed feed);
// DirectInput code of an SDL scancode, 0 when the key has none.
int DirectInputCodeOfScancode(int sdlScancode);
void GetMousePosition(int* x, int* y);
int GetMouseButtons();  // bit 0 left, bit 1 right, bit 2 middle, bits 3 and 4 the extra buttons
// Tests can stand in for the mouse.
void SetMouseOverride(int enabled, int x, int y, int buttons);

// ---------------------------------------------------------------------------------------------------------
// Text-input lines (textinput.cpp)

int CreateTextInput();
int SetTextInputColors(const Color colors[12]);
int SetTextInputText(const char16_t* text, int handle);
int ActivateTextInput(int handle);
int CheckTextInput(int handle);
int DrawTextInput(int x, int y, int handle);
int GetTextInputText(char16_t* buffer, int handle);
int SetTextInputBlink(int on);

// ---------------------------------------------------------------------------------------------------------
// Message boxes and fatal exits (message.cpp). Texts are UTF-8; every text also goes to stderr, and
// PELVORO_NO_MESSAGEBOX=1 shows no box at all.

void ShowMessageBox(const char* caption, const char* text);
// Windowed mode (when asked), the box with the caption "Pelvoro!!", EndMedia, exit code -1.
[[noreturn]] void FatalError(const char* text, int switchToWindowed = 1);
// Tools and tests may take over the fatal exit: the handler gets the message instead of the box, and must
// not return (it exits or throws). nullptr restores the box.
void SetFatalHandler(void (*handler)(const char* text));
// Ends the process with the given code after EndMedia (Esc in a fade, the menu's last item).
[[noreturn]] void ExitGame(int code);
// A routine of the game that ExitGame runs first (the editor's autosave); nullptr for none.
void SetExitHook(void (*hook)());

// ---------------------------------------------------------------------------------------------------------
// File access and the data archive (files.cpp, archive.cpp). A file handle is 0 for no file.

int SetArchiveExtension(const char* extension);
int SetArchiveKey(const char16_t* key);
int OpenDataFile(const char* path);
int SeekDataFile(int handle, int64_t offset);
// Reads count bytes from the current position. 0, or -1 for a bad handle or a read past the end (the bytes
// that exist are read).
int ReadDataFile(void* buffer, int64_t count, int handle);
int64_t DataFileSize(int handle);
int CloseDataFile(int handle);
// Formatted read of a UTF-16 text file. Each %s argument is a char16_t buffer of ScanFieldUnits units; a
// longer field is cut to ScanFieldUnits - 1 units.
constexpr int ScanFieldUnits = 256;
int ScanDataFile(int handle, const char16_t* format, ...);
// Reads a whole data file into memory; false when it cannot be opened.
bool ReadWholeDataFile(const char* path, std::string* out);
// Writes a whole file so that it is always either the old or the new contents: a temporary file beside it,
// flushed, renamed over it. A symbolic link is written through; the old file's mode is kept. false on failure
// (the old file is untouched). When no temporary file can be made beside an existing file (a read-only folder
// holding a writable file), the file is rewritten in place instead.
bool ReplaceFileAtomically(const std::string& path, const void* data, size_t size);
// Removes the temporary files that writes of `path` killed half-way left beside it, once they are at least
// olderThanSeconds old (a younger one may be a write in progress).
void RemoveStaleTemporaryFiles(const std::string& path, int olderThanSeconds = 60);

// ---------------------------------------------------------------------------------------------------------
// Handing an address to the desktop (open_url.cpp)

// Opens a web or file: address with the user's default program, without waiting for it. 0, or -1 when the
// desktop refused it.
int OpenUrl(const char* url);

// ---------------------------------------------------------------------------------------------------------
// File choosers and where the game's own files live (file_chooser.cpp, paths.cpp)

// What the chooser is asked for: a stage-set file to open (it must exist) or a path to save to (an existing
// file is confirmed first). Both show the "*.plvsd" filter; a name typed without an extension is kept as typed.
enum { ChooseOpenStageSet = 0, ChooseSaveStageSet = 1 };
// Asks the user for a path, modally, keeping the window drawn. true with the path, false when cancelled.
bool ChooseFile(int purpose, std::string* path);
// Finds the data archive: true when the working directory holds it (everything then stays there, as it
// always was) or else the installed data folder does; false when neither has it.
bool LocateDataArchive(const char* name);
// The path of a file that lies beside data.bin (the data paths, the editor's help page).
std::string DataFilePath(const char* name);
// The path of one of the game's writable files ("save.dat", the editor's autosave): beside data.bin when the
// game runs from a folder that holds it, else in $XDG_DATA_HOME/pelvoro (default ~/.local/share/pelvoro),
// which is made when missing.
std::string WritableFilePath(const char* name);

// ---------------------------------------------------------------------------------------------------------
// Work in a child process (child_task.cpp)

// Runs work in a forked copy of the process. The copy sees every global as it is at the start and changes
// only its own copies, so work may run the play routines while the main thread goes on using its own; it has
// no window, sound or drawing. What work writes with WriteChildReport arrives through ReadChildTask. One task
// at a time; false when a task is running or the fork fails.
bool StartChildTask(const std::function<void()>& work);
// Appends to *received what the child reported since the last call, without waiting. true while the child
// runs or has output left; false once it has ended and everything was read.
bool ReadChildTask(std::string* received);
// Ends the child at once, if one runs.
void CancelChildTask();
bool ChildTaskRunning();
// In the child: sends text to the parent (a broken pipe ends the child).
void WriteChildReport(const std::string& text);
