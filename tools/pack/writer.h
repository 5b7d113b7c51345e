// The archive writer of pelvoro-pack.
#pragma once

#include <cstdint>
#include <string>

struct PackOptions {
  std::string keyString;  // already in the archive's code page
  bool scramble = true;
  // Only the first and last 64 KiB of a big file are Huffman-coded: its middle then reads at the speed of a
  // copy, and on pictures and sounds a whole-file code saves under one percent more.
  int huffmanKB = 64;
};

struct PackStats {
  uint64_t files = 0, lzFiles = 0, huffmanFiles = 0;
  uint64_t plainBytes = 0, storedBytes = 0, archiveBytes = 0;
};

// Packs the folder into outPath (written to a temporary file and renamed). False with a message on failure,
// for example two names in one folder that differ only in case.
bool WriteArchive(const std::string& outPath, const std::string& folder, const PackOptions& options,
                  std::string* error, PackStats* stats = nullptr);
