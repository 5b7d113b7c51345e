// The file choosers behind ChooseFile: the desktop's own (zenity, kdialog) run as a child process, and the
// in-game chooser. Nothing outside src/media includes this.
#pragma once

#include <SDL2/SDL.h>

#include <string>
#include <vector>

namespace media {

// What the player sees in every chooser.
extern const char ChooserOpenTitle[];    // "Pelvoro!! ステージデータファイルを開く"
extern const char ChooserSaveTitle[];    // "Pelvoro!! ステージデータファイルを保存"
extern const char ChooserFilterName[];   // "Pelvoro!! ステージデータファイル(*.plvsd)"
extern const char ChooserFilterPattern[];  // "*.plvsd"

enum ChooserOutcome { ChooserChosen, ChooserCancelled, ChooserUnavailable };

// The argument list (program name first) of a native chooser: "zenity" or "kdialog". parentWindow is the X11
// id of the game's window, 0 when there is none.
std::vector<std::string> NativeChooserArguments(const std::string& program, int purpose, unsigned long parentWindow);
// Runs the native chooser as a child process while the game's window is kept drawn and answering. Unavailable
// when the program cannot be started or could not show its dialog (no display), so that the next one is tried.
ChooserOutcome RunNativeChooser(const std::string& program, int purpose, std::string* path);

// The chooser the game draws itself over its last frame.
ChooserOutcome RunBuiltinChooser(int purpose, std::string* path);

// ---- window.cpp: what a chooser needs of the window
// The X11 id of the game's window, 0 on other video drivers.
unsigned long NativeWindowId();
// Shows the last presented frame again (a chooser's window may have covered it) without waiting.
void PresentLastFrame();
// Shows the drawing surface without keeping it as the last frame (the in-game chooser's own frames).
void PresentChooserFrame();
// Copies the last presented frame into the drawing surface.
void DrawLastFrame();
// A copy of the drawing surface (nullptr without a renderer), and the copy put back and released.
SDL_Texture* SaveSurface();
void RestoreSurface(SDL_Texture* saved);
// After a native chooser closed: the window is raised and counts as active again, since the player is back
// in the game even where no window manager hands the focus back.
void ReturnFromChooser();

}  // namespace media
