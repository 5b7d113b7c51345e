// pelvoro-stagec OUTDIR FILE.stage...: compiles stage sources into OUTDIR/NAME.fmf and OUTDIR/NAME.txt.
// pelvoro-stagec --set OUT.plvsd FILE.stage...: compiles up to thirty sources (each at most 60 x 45) into one
// stage-set file; stages beyond the given ones stay empty with difficulty 3.
// Every error names its file and the line or cell; a stage with errors writes nothing and the exit status is 1.
// Options may stand anywhere; --help prints the usage.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/tool_args.h"
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

static constexpr char UsageText[] =
    "usage: pelvoro-stagec OUTDIR FILE.stage...\n"
    "       pelvoro-stagec --set OUT.plvsd FILE.stage...\n";

static constexpr char HelpText[] =
    "Compiles readable stage sources. Options may stand anywhere on the command line; \"--\" ends them.\n"
    "  OUTDIR FILE.stage...          each source into OUTDIR/NAME.fmf (map) and OUTDIR/NAME.txt (signboards)\n"
    "  --set OUT.plvsd FILE.stage... up to thirty sources, in order, into one stage-set file\n"
    "  --help                        print this help\n"
    "Every error names its file and line or cell; a stage with errors writes nothing and the exit status is 1.\n";

static int CompileSet(const std::string& out, const std::vector<std::string>& sources) {
  if (sources.size() > static_cast<size_t>(CustomStageCount)) {
    std::fprintf(stderr, "a set holds at most %d stages, %zu given\n", CustomStageCount, sources.size());
    return 1;
  }
  auto set = std::make_unique<StageSet>();
  int failed = 0;
  for (size_t i = 0; i < sources.size(); i++) {
    const std::string& path = sources[i];
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
    stagec::PutStageIntoSet(stage, static_cast<int>(i), set.get());
  }
  if (failed) return 1;
  if (!WriteStageSetFile(out, *set)) {
    std::fprintf(stderr, "%s: cannot write\n", out.c_str());
    return 1;
  }
  return 0;
}

int main(int argc, char** argv) {
  const ToolArgs args = ParseToolArgs(argc, argv, {"--set"}, {});
  if (!args.Error.empty()) return ToolUsageError("pelvoro-stagec", args.Error, UsageText);
  if (args.Help) {
    std::fputs(UsageText, stdout);
    std::fputs(HelpText, stdout);
    return 0;
  }
  std::vector<std::string> sources = args.Positional;
  if (const char* out = args.Value("--set")) {
    if (sources.empty()) return ToolUsageError("pelvoro-stagec", "no stage source given", UsageText);
    return CompileSet(out, sources);
  }
  if (sources.size() < 2) return ToolUsageError("pelvoro-stagec", "give OUTDIR and at least one stage source", UsageText);
  const std::string outDir = sources.front();
  sources.erase(sources.begin());
  std::error_code ignored;
  std::filesystem::create_directories(outDir, ignored);
  int failed = 0;
  for (const std::string& path : sources) {
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
