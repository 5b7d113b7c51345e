// Decoding speed of the archive reader against zlib on the same bytes, and the packed size of data.bin
// against a zlib-6 zip of the same files.
//   pelvoro-bench-archive [data.bin]     (run from the build folder)
#include <time.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "media/archive.h"
#include "shell/archive_key.h"

namespace {

// The thread's CPU time, which a busy machine disturbs less than the wall clock.
double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Best of five runs of the work, in CPU seconds per run; each run repeats the work for at least 50 ms.
double Seconds(const std::function<void()>& work) {
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    int reps = 0;
    double start = CpuSeconds();
    double elapsed = 0;
    do {
      work();
      ++reps;
      elapsed = CpuSeconds() - start;
    } while (elapsed < 0.05);
    best = std::min(best, elapsed / reps);
  }
  return best;
}

struct Sample {
  std::string name, plain, lz, huffman, zlib;
  bool lzPays = false;
};

void Line(const char* what, uint64_t bytes, double seconds) {
  std::printf("  %-44s %9.1f MB/s  (%llu bytes in %.2f ms)\n", what, bytes / seconds / 1e6,
              static_cast<unsigned long long>(bytes), seconds * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : "data.bin";
  std::string key = pack::KeyStringBytes(UnscrambleGameKey());
  auto archive = pack::OpenArchiveFile(path, key);
  if (!archive) {
    std::fprintf(stderr, "pelvoro-bench-archive: cannot open %s with the game's key\n", path.c_str());
    return 2;
  }
  std::vector<Sample> samples;
  uint64_t plainBytes = 0, zipBytes = 22;  // end-of-central-directory record
  for (const auto& f : pack::ListArchiveFiles(*archive)) {
    Sample s;
    s.name = f.path;
    if (!pack::ReadArchiveEntry(*archive, f.entry, &s.plain)) {
      std::fprintf(stderr, "cannot decode %s\n", f.path.c_str());
      return 1;
    }
    const uint8_t* p = reinterpret_cast<const uint8_t*>(s.plain.data());
    s.lz = pack::LzEncode(p, s.plain.size());
    s.lzPays = s.lz.size() + s.plain.size() / 50 < s.plain.size();
    pack::HuffmanEncode(p, s.plain.size(), &s.huffman);
    uLongf size = compressBound(s.plain.size());
    s.zlib.resize(size);
    compress2(reinterpret_cast<Bytef*>(s.zlib.data()), &size, p, s.plain.size(), 6);
    s.zlib.resize(size);
    plainBytes += s.plain.size();
    // A zip entry: local header (30) and central header (46), each with the name; raw deflate is the zlib
    // stream less its 2-byte header and 4-byte checksum; zip stores a file whose deflate does not shrink it.
    uint64_t deflated = s.zlib.size() - 6;
    zipBytes += 30 + 46 + 2 * s.name.size() + std::min<uint64_t>(deflated, s.plain.size());
    samples.push_back(std::move(s));
  }

  uint64_t archiveBytes = std::filesystem::file_size(path);
  std::printf("%s: %zu files, %llu bytes decoded, HuffmanKB %d\n", path.c_str(), samples.size(),
              static_cast<unsigned long long>(plainBytes), pack::ArchiveHuffmanKB(*archive));
  std::printf("  packed size: data.bin %llu bytes, zlib-6 zip of the same files %llu bytes (%.1f%%)\n",
              static_cast<unsigned long long>(archiveBytes), static_cast<unsigned long long>(zipBytes),
              100.0 * archiveBytes / zipBytes);

  auto run = [&](const char* label, bool compressibleOnly) {
    uint64_t bytes = 0;
    for (const Sample& s : samples)
      if (!compressibleOnly || s.lzPays) bytes += s.plain.size();
    if (!bytes) return;
    std::printf("%s\n", label);
    std::string out;
    Line("LZ decode (reader)", bytes, Seconds([&] {
           for (const Sample& s : samples)
             if (!compressibleOnly || s.lzPays)
               pack::LzDecode(reinterpret_cast<const uint8_t*>(s.lz.data()), s.lz.size(), s.plain.size(), &out);
         }));
    Line("Huffman decode, whole files (reader)", bytes, Seconds([&] {
           for (const Sample& s : samples)
             if (!compressibleOnly || s.lzPays)
               pack::HuffmanDecode(reinterpret_cast<const uint8_t*>(s.huffman.data()), s.huffman.size(),
                                   s.plain.size(), &out);
         }));
    std::vector<Bytef> buffer;
    Line("zlib inflate, level 6", bytes, Seconds([&] {
           for (const Sample& s : samples) {
             if (compressibleOnly && !s.lzPays) continue;
             buffer.resize(s.plain.size() + 1);
             uLongf size = buffer.size();
             uncompress(buffer.data(), &size, reinterpret_cast<const Bytef*>(s.zlib.data()), s.zlib.size());
           }
         }));
  };
  run("every file:", false);
  run("files LZ shrinks by 2% or more (pictures, WAV, stages):", true);

  std::printf("whole archive as the game reads it:\n");
  std::string out;
  Line("open data.bin and read every file", plainBytes, Seconds([&] {
         auto a = pack::OpenArchiveFile(path, key);
         for (const auto& f : pack::ListArchiveFiles(*a)) pack::ReadArchiveEntry(*a, f.entry, &out);
       }));
  std::vector<Bytef> buffer;
  Line("inflate every file's zlib-6 stream", plainBytes, Seconds([&] {
         for (const Sample& s : samples) {
           buffer.resize(s.plain.size() + 1);
           uLongf size = buffer.size();
           uncompress(buffer.data(), &size, reinterpret_cast<const Bytef*>(s.zlib.data()), s.zlib.size());
         }
       }));
  return 0;
}
