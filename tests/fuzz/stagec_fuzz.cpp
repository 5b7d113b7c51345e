// libFuzzer target: stage source text from arbitrary bytes is parsed, checked and, when clean, compiled to
// its FMF and stage text; nothing may crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "stagesource.h"

using namespace stagec;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  StageSource s = ParseStage(text);
  if (!s.Errors.empty()) return 0;
  CheckStage(s);
  if (!s.Errors.empty()) return 0;
  BuildFmf(s);
  BuildText(s);
  return 0;
}
