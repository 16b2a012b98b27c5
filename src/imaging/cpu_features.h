#pragma once
// What the processor offers beyond the compiler's baseline, for kernels that have a faster
// build for it and choose it at run time.

namespace quillfen {

/// True on an x86-64 processor with AVX2 (which implies SSSE3); false elsewhere. Asked once.
bool cpuHasAvx2();

}  // namespace quillfen
