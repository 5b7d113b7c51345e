// The data archive's key, kept scrambled in the program.
#include "shell/archive_key.h"

const char16_t ScrambledGameKey[16] = {75, 95, 107, 112, 96, 108, 103, 30, 75, 94, 100, 102, 97, 38, 35, 0};

const char16_t* UnscrambleGameKey() {
  static thread_local char16_t key[16];
  int i = 0;
  for (; ScrambledGameKey[i] != 0; ++i) key[i] = static_cast<char16_t>(ScrambledGameKey[i] + (i + 1));
  key[i] = 0;
  return key;
}
