// pelvoro-stagec OUTDIR FILE.stage...: compiles stage sources into OUTDIR/NAME.fmf and OUTDIR/NAME.txt.
// pelvoro-stagec --set OUT.plvsd FILE.stage...: compiles up to thirty sources (each at most 60 x 45) into one
// stage-set file; stages beyond the given ones stay empty with difficulty 3.
// Every error names its file and the line or cell; a stage with errors writes nothing and the exit status is 1.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "setbuild.h"
#include "stagesource.h"

static bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

static bool ReadSource(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream all;
  all << in.rdbuf();
  *text = all.str();
  return true;
}

static void PrintErrors(const std::string& path, const stagec::StageSource& stage) {
  for (auto& e : stage.Errors) std::fprintf(stderr, "%s: %s\n", path.c_str(), e.c_str());
}

static int CompileSet(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: pelvoro-stagec --set OUT.plvsd FILE.stage...\n");
    return 2;
  }
  const std::string out = argv[2];
  if (argc - 3 > CustomStageCount) {
    std::fprintf(stderr, "a set holds at most %d stages, %d given\n", CustomStageCount, argc - 3);
    return 1;
  }
  auto set = std::make_unique<StageSet>();
  int failed = 0;
  for (int i = 3; i < argc; i++) {
    const std::string path = argv[i];
    std::string text;
    if (!ReadSource(path, &text)) {
      std::fprintf(stderr, "%s: cannot read\n", path.c_str());
      failed = 1;
      continue;
    }
    stagec::StageSource stage = stagec::ParseSetStage(text);
    if (stage.Errors.empty()) stagec::CheckSetStage(stage);
    if (stage.Errors.empty()) stagec::CheckStage(stage, false);
    if (!stage.Errors.empty()) {
      PrintErrors(path, stage);
      failed = 1;
      continue;
    }
    stagec::PutStageIntoSet(stage, i - 3, set.get());
  }
  if (failed) return 1;
  if (!WriteStageSetFile(out, *set)) {
    std::fprintf(stderr, "%s: cannot write\n", out.c_str());
    return 1;
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--set") return CompileSet(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: pelvoro-stagec OUTDIR FILE.stage...\n       pelvoro-stagec --set OUT.plvsd FILE.stage...\n");
    return 2;
  }
  std::string outDir = argv[1];
  std::error_code ignored;
  std::filesystem::create_directories(outDir, ignored);
  int failed = 0;
  for (int i = 2; i < argc; i++) {
    std::string path = argv[i];
    std::string text;
    if (!ReadSource(path, &text)) {
      std::fprintf(stderr, "%s: cannot read\n", path.c_str());
      failed = 1;
      continue;
    }
    stagec::StageSource stage = stagec::ParseStage(text);
    if (stage.Errors.empty()) stagec::CheckStage(stage);
    if (!stage.Errors.empty()) {
      PrintErrors(path, stage);
      failed = 1;
      continue;
    }
    std::string name = path.substr(path.find_last_of('/') + 1);
    name = name.substr(0, name.find_last_of('.'));
    if (!WriteWhole(outDir + "/" + name + ".fmf", stagec::BuildFmf(stage)) ||
        !WriteWhole(outDir + "/" + name + ".txt", stagec::BuildText(stage))) {
      std::fprintf(stderr, "%s: cannot write into %s\n", path.c_str(), outDir.c_str());
      failed = 1;
    }
  }
  return failed;
}
