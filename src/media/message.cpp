// Message boxes and the ways out of the program.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/internal.h"

void ShowMessageBox(const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "", text != nullptr ? text : "");
  std::fflush(stderr);
  const char* quiet = std::getenv("PELVORO_NO_MESSAGEBOX");
  if (quiet != nullptr && std::strcmp(quiet, "1") == 0) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, media::Window);
}

static void (*FatalHandler)(const char* text) = nullptr;
void SetFatalHandler(void (*handler)(const char* text)) { FatalHandler = handler; }

void FatalError(const char* text, int switchToWindowed) {
  if (FatalHandler != nullptr) FatalHandler(text);
  if (switchToWindowed != 0) SetWindowedMode(1);
  ShowMessageBox("Pelvoro!!", text);
  EndMedia();
  std::exit(-1);
}

static void (*ExitHook)() = nullptr;
void SetExitHook(void (*hook)()) { ExitHook = hook; }

void ExitGame(int code) {
  if (ExitHook != nullptr) ExitHook();
  EndMedia();
  std::exit(code);
}
