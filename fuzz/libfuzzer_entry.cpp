// One libFuzzer program: QUILLFEN_FUZZ_TARGET names the target function it drives.

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quillfen::fuzz::QUILLFEN_FUZZ_TARGET(data, size);
}
