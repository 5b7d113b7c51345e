// libFuzzer target: a stage-set file image from arbitrary bytes is decoded, then encoded and decoded again;
// a decoded set must survive its own round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "stage/stageset.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Short inputs are padded to a full image so that the decoder gets past its size check.
  std::vector<uint8_t> bytes(data, data + size);
  if (bytes.size() < StageSetFileSize) bytes.resize(StageSetFileSize);
  auto set = std::make_unique<StageSet>();
  if (!DecodeStageSet(bytes.data(), bytes.size(), set.get())) return 0;
  std::vector<uint8_t> image(StageSetFileSize);
  EncodeStageSet(*set, image.data());
  auto again = std::make_unique<StageSet>();
  if (!DecodeStageSet(image.data(), image.size(), again.get())) abort();
  std::vector<uint8_t> second(StageSetFileSize);
  EncodeStageSet(*again, second.data());
  if (image != second) abort();
  return 0;
}
