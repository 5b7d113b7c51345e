// The archive reader against archives laid out by hand, and the packer's archives through the reader and
// through the file access.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "media/archive.h"
#include "media/media.h"
#include "shell/archive_key.h"
#include "temp_dir.h"

namespace {

const std::string Key = "TestKeyString";

void Put(std::string* s, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}

struct HandFile {
  std::string name;
  std::string content;
  bool lz = false, huffman = false;
};

// An archive of one folder of files under the root, laid out field by field: the header, the files' data,
// then the header block stored (flag bit 1) and scrambled with the archive key.
std::string HandArchive(const std::string& folder, const std::vector<HandFile>& files, int huffmanKB) {
  std::string names, fileTable, dirTable, data;
  auto name = [&](const std::string& n) {
    uint64_t at = names.size();
    std::string upper = pack::UpperName(n);
    uint16_t count = static_cast<uint16_t>((n.size() + 4) / 4);
    Put(&names, count, 2);
    Put(&names, pack::NameParity(upper), 2);
    names += upper + std::string(count * 4 - n.size(), '\0');
    names += n + std::string(count * 4 - n.size(), '\0');
    return at;
  };
  auto entry = [&](uint64_t nameAt, uint64_t attr, uint64_t address, uint64_t size, uint64_t lz, uint64_t huff) {
    Put(&fileTable, nameAt, 8);
    Put(&fileTable, attr, 8);
    fileTable.append(24, '\0');  // the three times
    Put(&fileTable, address, 8);
    Put(&fileTable, size, 8);
    Put(&fileTable, lz, 8);
    Put(&fileTable, huff, 8);
  };
  auto dir = [&](uint64_t own, uint64_t parent, uint64_t count, uint64_t first) {
    Put(&dirTable, own, 8);
    Put(&dirTable, parent, 8);
    Put(&dirTable, count, 8);
    Put(&dirTable, first, 8);
  };
  entry(name(""), 0x10, 0, 0, pack::NotCoded, pack::NotCoded);        // root, file entry 0
  entry(name(folder), 0x10, 32, 0, pack::NotCoded, pack::NotCoded);   // folder, file entry 72
  dir(0, pack::NotCoded, 1, 72);
  dir(72, 0, files.size(), 144);
  for (const HandFile& f : files) {
    std::string stage = f.content;
    uint64_t lzSize = pack::NotCoded, huffSize = pack::NotCoded;
    if (f.lz) {
      stage = pack::LzEncode(reinterpret_cast<const uint8_t*>(stage.data()), stage.size());
      lzSize = stage.size();
    }
    std::string stored = stage;
    if (f.huffman) {
      size_t part = static_cast<size_t>(huffmanKB) * 1024;
      bool split = huffmanKB != 255 && stage.size() > 2 * part;
      std::string coded = split ? stage.substr(0, part) + stage.substr(stage.size() - part) : stage;
      EXPECT_TRUE(pack::HuffmanEncode(reinterpret_cast<const uint8_t*>(coded.data()), coded.size(), &stored));
      huffSize = stored.size();
      if (split) stored += stage.substr(part, stage.size() - 2 * part);
    }
    pack::ScrambleKey key = pack::FileKey(Key, pack::UpperName(f.name), {pack::UpperName(folder)});
    pack::Scramble(reinterpret_cast<uint8_t*>(stored.data()), stored.size(), key, f.content.size());
    entry(name(f.name), 0, data.size(), f.content.size(), lzSize, huffSize);
    data += stored;
  }
  std::string block = names + fileTable + dirTable;
  pack::Scramble(reinterpret_cast<uint8_t*>(block.data()), block.size(), pack::DeriveKey(Key), 0);
  std::string header = "\x44\x58";
  Put(&header, 8, 2);
  Put(&header, block.size(), 4);
  Put(&header, 64, 8);
  Put(&header, 64 + data.size(), 8);
  Put(&header, names.size(), 8);
  Put(&header, names.size() + fileTable.size(), 8);
  Put(&header, 932, 4);
  Put(&header, pack::FlagHeadStored, 4);
  header += static_cast<char>(huffmanKB);
  header.resize(64, '\0');
  return header + data + block;
}

std::string Read(const pack::Archive& archive, const std::string& path) {
  int64_t entry = pack::FindArchiveEntry(archive, path);
  std::string out;
  if (entry < 0 || !pack::ReadArchiveEntry(archive, entry, &out)) return "<unreadable>";
  return out;
}

std::string Random(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string s(size, '\0');
  for (char& c : s) c = static_cast<char>(random() % 23);  // skewed enough for Huffman to pay
  return s;
}

TEST(ArchiveReader, ReadsHandLaidOutArchive) {
  std::string head = Random(5000, 1);
  std::vector<HandFile> files = {
      {"girl.png", "picture bytes", false, false},
      {"split.bin", head, false, true},  // HuffmanKB 1: head and tail coded, 2952 middle bytes stored
      {"lz.txt", std::string(3000, 'a') + "tail", true, false},
      {"both.dat", Random(9000, 2) + std::string(4000, 'q'), true, true},
      {"empty", "", false, false},
  };
  std::string bytes = HandArchive("texture", files, 1);
  auto archive = pack::OpenArchiveBytes(bytes, Key);
  ASSERT_TRUE(archive);
  for (const HandFile& f : files) EXPECT_EQ(Read(*archive, "texture\\" + f.name), f.content) << f.name;
  // Any case of ASCII letters, either separator.
  EXPECT_EQ(Read(*archive, "Texture\\GIRL.png"), "picture bytes");
  EXPECT_EQ(Read(*archive, "TEXTURE/girl.PNG"), "picture bytes");
  EXPECT_EQ(pack::FindArchiveEntry(*archive, "texture"), -1);        // a folder is not a file
  EXPECT_EQ(pack::FindArchiveEntry(*archive, "girl.png"), -1);       // not in the root
  EXPECT_EQ(pack::FindArchiveEntry(*archive, "texture\\girl.pn"), -1);
  EXPECT_EQ(pack::FindArchiveEntry(*archive, "texture\\girl.png\\x"), -1);
  auto list = pack::ListArchiveFiles(*archive);
  ASSERT_EQ(list.size(), files.size());
  EXPECT_EQ(list[0].path, "texture\\girl.png");
}

TEST(ArchiveReader, HeadTailSplitPutsMiddleBetween) {
  // The coded part is head + tail; were the middle misplaced, the three distinct regions would show it.
  std::string content = std::string(1024, 'H') + std::string(2952, 'M') + std::string(1024, 'T');
  content[1023] = 'h';
  content[1024] = 'm';
  content[3975] = 'n';
  content[3976] = 't';
  auto archive = pack::OpenArchiveBytes(HandArchive("d", {{"f", content, false, true}}, 1), Key);
  ASSERT_TRUE(archive);
  EXPECT_EQ(Read(*archive, "d\\f"), content);
}

TEST(ArchiveReader, WrongKeyGivesNoCrash) {
  std::string bytes = HandArchive("texture", {{"girl.png", "picture bytes", false, true}}, 64);
  auto archive = pack::OpenArchiveBytes(bytes, "another key");
  if (archive) {
    for (const auto& f : pack::ListArchiveFiles(*archive)) {
      std::string out;
      if (pack::ReadArchiveEntry(*archive, f.entry, &out)) {
        EXPECT_NE(out, "picture bytes");
      }
    }
  }
}

// Every cut and many single-byte changes of a small archive either fail to open, fail to read a file, or
// read something; none may crash or touch memory outside a buffer (the sanitizer build checks that).
TEST(ArchiveReader, DamagedArchivesFailCleanly) {
  std::vector<HandFile> files = {{"a.txt", std::string(300, 'x') + "yz", true, true}, {"b", Random(3000, 5), false, true}};
  std::string good = HandArchive("dir", files, 1);
  auto exercise = [](const std::string& bytes) {
    auto archive = pack::OpenArchiveBytes(bytes, Key);
    if (!archive) return;
    for (const auto& f : pack::ListArchiveFiles(*archive)) {
      std::string out;
      pack::ReadArchiveEntry(*archive, f.entry, &out);
    }
    pack::FindArchiveEntry(*archive, "dir\\a.txt");
  };
  for (size_t cut = 0; cut < good.size(); ++cut) exercise(good.substr(0, cut));
  for (size_t at = 0; at < good.size(); ++at) {
    for (uint8_t flip : {0x01, 0xFF}) {
      std::string bad = good;
      bad[at] = static_cast<char>(bad[at] ^ flip);
      exercise(bad);
    }
  }
  EXPECT_FALSE(pack::OpenArchiveBytes("DX", Key));
  std::string wrongVersion = good;
  wrongVersion[2] = 7;
  EXPECT_FALSE(pack::OpenArchiveBytes(wrongVersion, Key));
}

TEST(ArchiveReader, HostileSizesAreRefused) {
  std::string good = HandArchive("dir", {{"f", "abc", false, false}}, 64);
  auto archive = pack::OpenArchiveBytes(good, Key);
  ASSERT_TRUE(archive);
  EXPECT_EQ(Read(*archive, "dir\\f"), "abc");
  // File entry 2 (the file) starts after the two folder entries; patch its DataSize in the header block.
  // The block is scrambled from key index 0, so a patch is XORed in at the same place.
  uint64_t headSize = 0;
  for (int i = 3; i >= 0; --i) headSize = headSize << 8 | static_cast<uint8_t>(good[4 + i]);
  uint64_t nameTableStart = good.size() - headSize;
  uint64_t fileTable = 0;
  for (int i = 7; i >= 0; --i) fileTable = fileTable << 8 | static_cast<uint8_t>(good[24 + i]);
  const struct {
    int field;
    uint64_t value;
  } patches[] = {{48, uint64_t{1} << 40}, {48, 0xFFFFFFFFFFFFFFFFull}, {40, 0xFFFFFFFFFFFFFFF0ull},
                 {56, 2}, {64, 1}, {0, 1u << 30}};
  for (const auto& p : patches) {
    std::string bad = good;
    uint64_t at = nameTableStart + fileTable + 2 * pack::FileEntrySize + p.field;
    std::string block = good.substr(nameTableStart);
    pack::Scramble(reinterpret_cast<uint8_t*>(block.data()), block.size(), pack::DeriveKey(Key), 0);
    for (int i = 0; i < 8; ++i) block[at - nameTableStart + i] = static_cast<char>(p.value >> (8 * i));
    pack::Scramble(reinterpret_cast<uint8_t*>(block.data()), block.size(), pack::DeriveKey(Key), 0);
    bad.replace(nameTableStart, block.size(), block);
    auto hostile = pack::OpenArchiveBytes(bad, Key);
    if (hostile) {
      EXPECT_EQ(Read(*hostile, "dir\\f"), "<unreadable>") << "field " << p.field;
    }
  }
}

// --- The packer's archives -----------------------------------------------------------------------------

std::string Tool() { return std::string(PELVORO_BINARY_DIR) + "/pelvoro-pack"; }

int RunPack(const std::string& args, std::string* output = nullptr) {
  std::string command = Tool() + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char chunk[4096];
  size_t n;
  std::string text;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
  int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The awkward sizes for one HuffmanKB setting, paths relative to the tree.
std::vector<std::pair<std::string, std::string>> AwkwardTree(int kb) {
  size_t part = kb == 255 ? 64 * 1024 : static_cast<size_t>(kb) * 1024;
  std::mt19937 random(kb);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string runs;
  for (int i = 0; i < 300; ++i) runs += std::string(1 + i * 13, static_cast<char>('a' + i % 26));
  return {
      {"empty.bin", ""},
      {"one.bin", "x"},
      {"exact.bin", Random(2 * part, 7)},
      {"exact_plus.bin", Random(2 * part + 1, 8)},
      {"runs.txt", runs},
      {"zeros.bin", std::string(1 << 20, '\0')},
      {"noise.bin", noise},
      {"abc", "three"},
      {"abcd", "four: PackCount 2"},
      {"abcdefgh", "eight: PackCount 3"},
      {"texture/girl.png", noise.substr(0, 5000)},
      {"map/stage07.fmf", Random(9000, 9)},
      {"a/b/c/d/deep.txt", "deep"},
      {"a/b/side.txt", "side"},
  };
}

TEST(PackTool, CreateExtractAndListRoundTrip) {
  for (int kb : {1, 64, 255}) {
    for (bool scramble : {true, false}) {
      SCOPED_TRACE("huffman-kb " + std::to_string(kb) + (scramble ? "" : " no-scramble"));
      TempWorkDir dir;
      auto tree = AwkwardTree(kb);
      for (const auto& [path, content] : tree) WriteBytes("tree/" + path, content);
      std::filesystem::create_directories("tree/emptyfolder");
      std::string options = "--huffman-kb " + std::to_string(kb) + (scramble ? "" : " --no-scramble");
      std::string output;
      ASSERT_EQ(RunPack(options + " create out.bin tree", &output), 0) << output;
      ASSERT_EQ(RunPack("extract out.bin back", &output), 0) << output;
      for (const auto& [path, content] : tree) EXPECT_EQ(ReadBytes("back/" + path), content) << path;
      EXPECT_TRUE(std::filesystem::is_directory("back/emptyfolder"));
      ASSERT_EQ(RunPack("list out.bin", &output), 0);
      std::set<std::string> listed;
      size_t start = 0, end;
      while ((end = output.find('\n', start)) != std::string::npos) {
        listed.insert(output.substr(start, end - start));
        start = end + 1;
      }
      std::set<std::string> expected;
      for (auto [path, content] : tree) {
        for (char& c : path) c = c == '/' ? '\\' : c;
        expected.insert(path);
      }
      EXPECT_EQ(listed, expected);
      // The packed runs and zeros must have shrunk.
      EXPECT_LT(std::filesystem::file_size("out.bin"), 200000u + 120000u + 50000u);
    }
  }
}

TEST(PackTool, RefusesNamesLookupCannotTellApart) {
  TempWorkDir dir;
  WriteBytes("tree/map/Stage.txt", "a");
  WriteBytes("tree/map/stage.TXT", "b");
  std::string output;
  EXPECT_NE(RunPack("create out.bin tree", &output), 0);
  EXPECT_NE(output.find("differ only in case"), std::string::npos) << output;
  EXPECT_FALSE(std::filesystem::exists("out.bin"));
  std::filesystem::remove_all("tree");
  WriteBytes("tree/Map/x", "a");
  WriteBytes("tree/map/y", "b");
  EXPECT_NE(RunPack("create out.bin tree"), 0);
  std::filesystem::remove_all("tree");
  WriteBytes("tree/map\\x", "a backslash would read as a folder");
  EXPECT_NE(RunPack("create out.bin tree"), 0);
  EXPECT_FALSE(std::filesystem::exists("out.bin"));
}

TEST(PackTool, KeysMustMatch) {
  TempWorkDir dir;
  WriteBytes("tree/x.txt", Random(4000, 3));
  ASSERT_EQ(RunPack("--key first create out.bin tree"), 0);
  EXPECT_EQ(RunPack("--key first extract out.bin a"), 0);
  EXPECT_EQ(ReadBytes("a/x.txt"), Random(4000, 3));
  std::string output;
  EXPECT_NE(RunPack("--key second extract out.bin b", &output), 0);
  EXPECT_NE(ReadBytes("b/x.txt"), Random(4000, 3));
  EXPECT_EQ(RunPack("list missing.bin"), 2);
  EXPECT_EQ(RunPack("frobnicate"), 2);
}

// A link back into a folder being packed is skipped with a message instead of being walked for ever; links
// to files and to folders elsewhere are followed.
TEST(PackTool, LinkLoopsAreSkippedAndOtherLinksFollowed) {
  TempWorkDir dir;
  WriteBytes("tree/a/x.txt", "x");
  WriteBytes("elsewhere/y.txt", "y");
  std::filesystem::create_directory_symlink(".", "tree/loop");
  std::filesystem::create_directory_symlink("..", "tree/a/up");
  std::filesystem::create_directory_symlink("../elsewhere", "tree/away");
  std::filesystem::create_symlink("a/x.txt", "tree/x-link.txt");
  std::filesystem::create_symlink("nowhere", "tree/dangling");
  std::filesystem::create_symlink("self", "tree/self");
  std::string output;
  ASSERT_EQ(RunPack("create out.bin tree", &output), 0) << output;
  EXPECT_NE(output.find("tree/loop: a link back into a folder being packed"), std::string::npos) << output;
  EXPECT_NE(output.find("tree/a/up: a link back"), std::string::npos) << output;
  ASSERT_EQ(RunPack("list out.bin", &output), 0);
  EXPECT_EQ(output, "x-link.txt\na\\x.txt\naway\\y.txt\n");
}

// The options stand anywhere: before the command word, after it, between and after the file names; "--"
// ends them. Each placement must give the same archive as the options in front.
TEST(PackTool, OptionsAnywhereAndHelp) {
  TempWorkDir dir;
  WriteBytes("tree/x.txt", Random(5000, 5));
  ASSERT_EQ(RunPack("--key k --no-scramble --huffman-kb 3 create front.bin tree"), 0);
  const std::string front = ReadBytes("front.bin");
  const char* placements[] = {
      "create --key k --no-scramble --huffman-kb 3 out.bin tree",
      "create out.bin --huffman-kb 3 tree --key k --no-scramble",
      "create out.bin tree --no-scramble --key k --huffman-kb 3",
      "--huffman-kb 3 create out.bin --key k tree --no-scramble",
  };
  for (const char* args : placements) {
    std::filesystem::remove("out.bin");
    std::string output;
    ASSERT_EQ(RunPack(args, &output), 0) << args << ": " << output;
    EXPECT_EQ(ReadBytes("out.bin"), front) << args;
  }
  std::string output;
  ASSERT_EQ(RunPack("list front.bin --key k", &output), 0) << output;
  EXPECT_EQ(output, "x.txt\n");
  ASSERT_EQ(RunPack("extract --key k front.bin back", &output), 0) << output;
  EXPECT_EQ(ReadBytes("back/x.txt"), Random(5000, 5));
  WriteBytes("--odd/y.txt", "y");
  ASSERT_EQ(RunPack("create -- odd.bin --odd", &output), 0) << output;
  ASSERT_EQ(RunPack("list odd.bin", &output), 0) << output;
  EXPECT_EQ(output, "y.txt\n");

  ASSERT_EQ(RunPack("--help", &output), 0);
  EXPECT_EQ(output.rfind("usage: pelvoro-pack", 0), 0u) << output;
  EXPECT_NE(output.find("--no-scramble"), std::string::npos);
  ASSERT_EQ(RunPack("list front.bin --help", &output), 0) << "--help anywhere";
  for (const char* mistake : {"", "create out.bin", "list", "--huffman-kb 300 create out.bin tree",
                              "--bogus list front.bin", "list front.bin --key"}) {
    EXPECT_EQ(RunPack(mistake, &output), 2) << mistake;
    EXPECT_NE(output.find("usage: pelvoro-pack"), std::string::npos) << mistake << ": " << output;
  }
}

// --- Through the file access -----------------------------------------------------------------------------

TEST(DataFileArchive, ServesDataPathsFromDataBin) {
  TempWorkDir dir;
  WriteBytes("tree/texture/girl.png", "from the archive");
  WriteBytes("tree/map/stage07.fmf", Random(3000, 4));
  ASSERT_EQ(RunPack("create data.bin tree"), 0);
  std::filesystem::remove_all("tree");
  WriteBytes("data/texture/girl.png", "from the disk");
  WriteBytes("data/texture/only_on_disk.png", "disk only");
  SetArchiveExtension("bin");
  SetArchiveKey(UnscrambleGameKey());

  std::string out;
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &out));
  EXPECT_EQ(out, "from the archive");
  ASSERT_TRUE(ReadWholeDataFile("data\\Texture\\GIRL.png", &out));
  EXPECT_EQ(out, "from the archive");
  ASSERT_TRUE(ReadWholeDataFile("data\\map\\stage07.fmf", &out));
  EXPECT_EQ(out, Random(3000, 4));
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\only_on_disk.png", &out));  // the archive lacks it
  EXPECT_EQ(out, "disk only");
  EXPECT_FALSE(ReadWholeDataFile("data\\texture\\nowhere.png", &out));

  int handle = OpenDataFile("data\\map\\stage07.fmf");
  ASSERT_NE(handle, 0);
  EXPECT_EQ(DataFileSize(handle), 3000);
  char buffer[4];
  EXPECT_EQ(SeekDataFile(handle, 2996), 0);
  EXPECT_EQ(ReadDataFile(buffer, 4, handle), 0);
  EXPECT_EQ(std::string(buffer, 4), Random(3000, 4).substr(2996));
  CloseDataFile(handle);

  // A wrong key: the archive does not open, so only the disk serves.
  SetArchiveKey(u"not the key");
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &out));
  EXPECT_EQ(out, "from the disk");
  EXPECT_FALSE(ReadWholeDataFile("data\\map\\stage07.fmf", &out));
  SetArchiveKey(UnscrambleGameKey());
}

TEST(DataFileArchive, NoArchiveMeansTheDisk) {
  TempWorkDir dir;
  WriteBytes("data/map/stage07.fmf", "plain");
  SetArchiveExtension("bin");
  SetArchiveKey(UnscrambleGameKey());
  std::string out;
  ASSERT_TRUE(ReadWholeDataFile("data\\map\\stage07.fmf", &out));
  EXPECT_EQ(out, "plain");
  // A damaged data.bin is no archive either.
  WriteBytes("data.bin", "DX\x08\x00 not really an archive");
  ASSERT_TRUE(ReadWholeDataFile("data\\map\\stage07.fmf", &out));
  EXPECT_EQ(out, "plain");
}

}  // namespace

namespace {

TEST(DataFileArchive, LongerPrefixesAndReplacedArchives) {
  TempWorkDir dir;
  SetArchiveExtension("bin");
  SetArchiveKey(UnscrambleGameKey());
  // No data.bin: "data\\texture" is the next prefix tried, as the archive data/texture.bin.
  WriteBytes("tree/girl.png", "inner archive");
  std::filesystem::create_directories("data");
  ASSERT_EQ(RunPack("create data/texture.bin tree"), 0);
  std::string out;
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &out));
  EXPECT_EQ(out, "inner archive");
  // The archive used last is remembered: a data.bin that appears later does not take its paths over...
  WriteBytes("tree2/texture/girl.png", "outer archive");
  ASSERT_EQ(RunPack("create data.bin tree2"), 0);
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &out));
  EXPECT_EQ(out, "inner archive");
  // ...until that archive is gone; then the shortest prefix with an archive serves, and a rewrite is noticed.
  std::filesystem::remove("data/texture.bin");
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &out));
  EXPECT_EQ(out, "outer archive");
  WriteBytes("tree2/texture/girl.png", "outer archive, second edition");
  ASSERT_EQ(RunPack("create data.bin tree2"), 0);
  ASSERT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &out));
  EXPECT_EQ(out, "outer archive, second edition");
}

// The loading thread and the main thread open files of the same archive at once; the first use of the
// archive is raced on purpose.
TEST(DataFileArchive, ParallelReadersShareTheArchive) {
  TempWorkDir dir;
  std::vector<std::string> contents;
  for (int i = 0; i < 8; ++i) {
    contents.push_back(Random(20000 + i * 1000, static_cast<uint32_t>(i)));
    WriteBytes("tree/texture/f" + std::to_string(i) + ".png", contents.back());
  }
  ASSERT_EQ(RunPack("--huffman-kb 4 create data.bin tree"), 0);
  SetArchiveExtension("bin");
  SetArchiveKey(UnscrambleGameKey());
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 20; ++round) {
        int i = (t + round) % 8;
        std::string path = "data\\texture\\f" + std::to_string(i) + ".png";
        int handle = OpenDataFile(path.c_str());
        std::string bytes(static_cast<size_t>(std::max<int64_t>(DataFileSize(handle), 0)), '\0');
        if (!handle || ReadDataFile(bytes.data(), static_cast<int64_t>(bytes.size()), handle) != 0 ||
            bytes != contents[i])
          ++wrong;
        CloseDataFile(handle);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
