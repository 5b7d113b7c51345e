// pelvoro-pack: creates, lists and extracts data archives. Listing and extracting go through the game's own
// archive reader, so what they show is what the game sees. Exit status: 0 done, 2 for bad arguments or an
// input that cannot be packed or read (the message names it).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/archive.h"
#include "shell/archive_key.h"
#include "common/tool_args.h"
#include "writer.h"

namespace fs = std::filesystem;

namespace {

constexpr char UsageText[] =
    "usage: pelvoro-pack [--key K] [--no-scramble] [--huffman-kb N] create OUT.bin DIR\n"
    "       pelvoro-pack [--key K] list IN.bin\n"
    "       pelvoro-pack [--key K] extract IN.bin DIR\n";

constexpr char HelpText[] =
    "Writes, lists and unpacks data archives. Options may stand anywhere on the command line; \"--\" ends them.\n"
    "  --key K           use the key string K instead of the game's key (all three commands)\n"
    "  --no-scramble     (create) write an archive with flag bit 0 set\n"
    "  --huffman-kb N    (create) set HuffmanKB, 0..255 (255: whole files)\n"
    "  --help            print this help\n";

std::u16string FromUtf8(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    uint8_t c = static_cast<uint8_t>(s[i]);
    int extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i) cp = cp << 6 | (static_cast<uint8_t>(s[i]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

// Archive names become file names: anything that could leave the target folder is refused.
bool SafeComponent(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

bool TargetPath(const std::string& outDir, const std::string& archivePath, fs::path* target) {
  *target = outDir;
  bool safe = true;
  size_t start = 0;
  while (true) {
    size_t sep = archivePath.find('\\', start);
    std::string part = archivePath.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    safe = safe && SafeComponent(part);
    *target /= part;
    if (sep == std::string::npos) return safe;
    start = sep + 1;
  }
}

int List(const std::string& in, const std::string& key) {
  auto archive = pack::OpenArchiveFile(in, key);
  if (!archive) {
    std::fprintf(stderr, "pelvoro-pack: %s is not a readable archive\n", in.c_str());
    return 2;
  }
  for (const auto& f : pack::ListArchiveFiles(*archive)) std::printf("%s\n", f.path.c_str());
  return 0;
}

int Extract(const std::string& in, const std::string& outDir, const std::string& key) {
  auto archive = pack::OpenArchiveFile(in, key);
  if (!archive) {
    std::fprintf(stderr, "pelvoro-pack: %s is not a readable archive\n", in.c_str());
    return 2;
  }
  int failures = 0;
  std::error_code ec;
  fs::create_directories(outDir, ec);
  for (const auto& folder : pack::ListArchiveFolders(*archive)) {
    fs::path target;
    if (TargetPath(outDir, folder, &target)) fs::create_directories(target, ec);
  }
  for (const auto& f : pack::ListArchiveFiles(*archive)) {
    fs::path target;
    bool safe = TargetPath(outDir, f.path, &target);
    std::string content;
    if (!safe) {
      std::fprintf(stderr, "pelvoro-pack: unsafe name skipped: %s\n", f.path.c_str());
      ++failures;
      continue;
    }
    if (!pack::ReadArchiveEntry(*archive, f.entry, &content)) {
      std::fprintf(stderr, "pelvoro-pack: cannot decode %s\n", f.path.c_str());
      ++failures;
      continue;
    }
    fs::create_directories(target.parent_path(), ec);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "pelvoro-pack: cannot write %s\n", target.string().c_str());
      fs::remove(target, ec);  // no half file left behind
      ++failures;
    }
  }
  return failures ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const ToolArgs args = ParseToolArgs(argc, argv, {"--key", "--huffman-kb"}, {"--no-scramble"});
  if (!args.Error.empty()) return ToolUsageError("pelvoro-pack", args.Error, UsageText);
  if (args.Help) {
    std::fputs(UsageText, stdout);
    std::fputs(HelpText, stdout);
    return 0;
  }
  PackOptions options;
  std::u16string key = args.Value("--key") ? FromUtf8(args.Value("--key")) : UnscrambleGameKey();
  options.scramble = !args.Has("--no-scramble");
  if (const char* text = args.Value("--huffman-kb")) {
    long long kb = 0;
    if (!ParseToolNumber(text, 0, 255, &kb))
      return ToolUsageError("pelvoro-pack", "--huffman-kb takes 0..255 (255: whole files)", UsageText);
    options.huffmanKB = static_cast<int>(kb);
  }
  options.keyString = pack::KeyStringBytes(key.c_str());
  const std::vector<std::string>& words = args.Positional;
  if (words.size() == 3 && words[0] == "create") {
    std::string error;
    PackStats stats;
    if (!WriteArchive(words[1], words[2], options, &error, &stats)) {
      std::fprintf(stderr, "pelvoro-pack: %s\n", error.c_str());
      return 2;
    }
    std::printf("%s: %llu files, %llu bytes packed into %llu (LZ %llu, Huffman %llu)\n", words[1].c_str(),
                static_cast<unsigned long long>(stats.files), static_cast<unsigned long long>(stats.plainBytes),
                static_cast<unsigned long long>(stats.archiveBytes),
                static_cast<unsigned long long>(stats.lzFiles), static_cast<unsigned long long>(stats.huffmanFiles));
    return 0;
  }
  if (words.size() == 2 && words[0] == "list") return List(words[1], options.keyString);
  if (words.size() == 3 && words[0] == "extract") return Extract(words[1], words[2], options.keyString);
  return ToolUsageError("pelvoro-pack", "", UsageText);
}
