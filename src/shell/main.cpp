#include "shell/command_line.h"
#include "shell/game.h"

int main(int argc, char** argv) {
  int status = ApplyCommandLine(argc, argv);
  return status >= 0 ? status : RunGame();
}
