// The game's command line: how the window starts. Run without arguments it is the plain 640 x 480 window.
#pragma once

// Reads the options and sets the window up for them. -1 to go on and run the game, else the exit status:
// 0 after --help, 2 after a mistake (a short usage on stderr).
int ApplyCommandLine(int argc, char** argv);
