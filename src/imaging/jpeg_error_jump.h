#pragma once
// libjpeg ends a fatal error by calling error_exit, which must not return. These send it back
// to the caller's setjmp instead, and keep the library's messages off the terminal.

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace quillfen {

struct JpegErrorJump {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

/// Sets up `errors` and returns the manager for a libjpeg struct's `err`; the caller then
/// calls setjmp(errors.jump) before any other library call.
inline jpeg_error_mgr* quietJpegErrors(JpegErrorJump& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr info) {
        std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->jump, 1);
    };
    errors.base.output_message = [](j_common_ptr) {};
    return &errors.base;
}

}  // namespace quillfen
