// What the fuzz targets share: the game's fatal path turned into an exception that the target catches (a
// refusal is a correct answer to bad bytes, not a finding), a few media stand-ins for code that runs without
// a window, and a private folder for the files a target writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FuzzFatal {
  const char* text;
};

// A folder of this process's own under $TMPDIR (else /tmp), made on first use; file names inside it.
std::string FuzzFile(const char* name);
// Writes the bytes to the file, replacing it.
void FuzzWrite(const std::string& path, const uint8_t* data, size_t size);
