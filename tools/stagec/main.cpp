// pelvoro-stagec OUTDIR FILE.stage...: compiles stage sources into OUTDIR/NAME.fmf and OUTDIR/NAME.txt.
// Every error names its file and the line or cell; a stage with errors writes nothing and the exit status is 1.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "stagesource.h"

static bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pelvoro-stagec OUTDIR FILE.stage...\n");
    return 2;
  }
  std::string outDir = argv[1];
  std::error_code ignored;
  std::filesystem::create_directories(outDir, ignored);
  int failed = 0;
  for (int i = 2; i < argc; i++) {
    std::string path = argv[i];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "%s: cannot read\n", path.c_str());
      failed = 1;
      continue;
    }
    std::stringstream text;
    text << in.rdbuf();
    stagec::StageSource stage = stagec::ParseStage(text.str());
    if (stage.Errors.empty()) stagec::CheckStage(stage);
    if (!stage.Errors.empty()) {
      for (auto& e : stage.Errors) std::fprintf(stderr, "%s: %s\n", path.c_str(), e.c_str());
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
