// pelvoro-stagec OUTDIR FILE.stage...: compiles stage sources into OUTDIR/NAME.fmf and OUTDIR/NAME.txt.
// pelvoro-stagec --set OUT.plvsd FILE.stage...: compiles up to thirty sources (each at most 60 x 45) into one
// stage-set file; stages beyond the given ones stay empty with difficulty 3.
// Every error names its file and the line or cell; a stage with errors, or a file that cannot be read, writes
// nothing and the exit status is 2.
// Options may stand anywhere; --help prints the usage.
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/tool_args.h"
#include "media/media.h"
#include "setbuild.h"
#include "stagesource.h"

// A source is small text; anything larger is not one.
constexpr long MaxSourceBytes = 4 << 20;

static bool WriteWhole(const std::string& path, const std::string& bytes) {
  return ReplaceFileAtomically(path, bytes.data(), bytes.size());
}

// The source's text, or false with the reason: only a plain, readable file of text.
static bool ReadSource(const std::string& path, std::string* text, std::string* why) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    *why = "cannot read (no such file)";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *why = "cannot read (not a plain file)";
    return false;
  }
  if (st.st_size > MaxSourceBytes) {
    *why = "not a stage source (larger than 4 MiB)";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (in) text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    *why = "cannot read";
    return false;
  }
  std::u16string units;
  if (text->find('\0') != std::string::npos || !stagec::Utf8ToUtf16(*text, units)) {
    *why = "not a stage source (not UTF-8 text)";
    return false;
  }
  return true;
}

// The first errors of a stage; a file full of mistakes is summed up after them.
static void PrintErrors(const std::string& path, const stagec::StageSource& stage) {
  constexpr size_t Shown = 20;
  for (size_t i = 0; i < stage.Errors.size() && i < Shown; ++i)
    std::fprintf(stderr, "%s: %s\n", path.c_str(), stage.Errors[i].c_str());
  if (stage.Errors.size() > Shown)
    std::fprintf(stderr, "%s: %zu more errors\n", path.c_str(), stage.Errors.size() - Shown);
}

static constexpr char UsageText[] =
    "usage: pelvoro-stagec OUTDIR FILE.stage...\n"
    "       pelvoro-stagec --set OUT.plvsd FILE.stage...\n";

static constexpr char HelpText[] =
    "Compiles readable stage sources. Options may stand anywhere on the command line; \"--\" ends them.\n"
    "  OUTDIR FILE.stage...          each source into OUTDIR/NAME.fmf (map) and OUTDIR/NAME.txt (signboards)\n"
    "  --set OUT.plvsd FILE.stage... up to thirty sources, in order, into one stage-set file\n"
    "  --help                        print this help\n"
    "Every error names its file and line or cell; a stage with errors, or a file that cannot be read,\n"
    "writes nothing and the exit status is 2.\n";

static int CompileSet(const std::string& out, const std::vector<std::string>& sources) {
  if (sources.size() > static_cast<size_t>(CustomStageCount)) {
    std::fprintf(stderr, "a set holds at most %d stages, %zu given\n", CustomStageCount, sources.size());
    return 2;
  }
  auto set = std::make_unique<StageSet>();
  int failed = 0;
  for (size_t i = 0; i < sources.size(); i++) {
    const std::string& path = sources[i];
    std::string text, why;
    if (!ReadSource(path, &text, &why)) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
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
  if (failed) return 2;
  if (!WriteStageSetFile(out, *set)) {
    std::fprintf(stderr, "%s: cannot write\n", out.c_str());
    return 2;
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
    std::string text, why;
    if (!ReadSource(path, &text, &why)) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
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
  return failed ? 2 : 0;
}
