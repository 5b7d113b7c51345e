// Temporary stand-ins for media operations that are not built yet. Each one is removed from here when its
// real implementation lands in its own file.
#include "media/media.h"

int CreateTextInput() { return -1; }
int SetTextInputColors(const Color*) { return -1; }
int SetTextInputText(const char16_t*, int) { return -1; }
int ActivateTextInput(int) { return -1; }
int CheckTextInput(int) { return -1; }
int DrawTextInput(int, int, int) { return -1; }
int GetTextInputText(char16_t*, int) { return -1; }
int SetTextInputBlink(int) { return -1; }
