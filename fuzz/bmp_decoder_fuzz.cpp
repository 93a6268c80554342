// The BMP decoder alone behind the loader, so that every input reaches it.
#include "fuzz_image.h"
#include "fuzz_memory.h"
#include "image/bmp_decoder.h"
#include "image/decoder_registry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LimitFuzzMemory();
  InitDecoderRegistry();
  RegisterBmpDecoder();
  InitImageTable();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadedSize(data, size);
  return 0;
}
