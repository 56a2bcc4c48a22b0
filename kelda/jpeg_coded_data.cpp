#include "jpeg_coded_data.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg's error manager first, so that the library's pointer to it is one
// to the whole.
struct Errors {
    jpeg_error_mgr manager;
    jmp_buf stop;
};

[[noreturn]] void Stop(j_common_ptr info)
{
    longjmp(reinterpret_cast<Errors*>(info->err)->stop, 1);
}

// A warning that the coded data ran out: a marker where a scan still needed
// data, or the end of the bytes, where libjpeg would make up the rest. The
// decode stops there; other warnings and the trace are left unsaid.
void Message(j_common_ptr info, int level)
{
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF))
        Stop(info);
}

void Quiet(j_common_ptr) {}

// Creates the decompressor and reads every scanline into one row from
// libjpeg's own pool. The jump target is set before the creation, whose
// allocations can fail as well as any later step's; an error or a shortage
// jumps back here, and the caller destroys what was made.
bool DecodeAll(jpeg_decompress_struct& info, Errors& errors, const uint8_t* data, size_t size)
{
    if (setjmp(errors.stop))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    // Arithmetic coding lets the data stop before its end: encoders leave
    // the trailing zero bytes out, and at a marker the decoder reads zeros
    // on without a word. Data cut anywhere decodes as a whole picture of
    // something else, so only the end marker can vouch for such a picture.
    if (info.arith_code)
        return false;
    if (!jpeg_start_decompress(&info))
        return false;
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              info.output_width * info.output_components, 1);
    while (info.output_scanline < info.output_height)
        if (jpeg_read_scanlines(&info, row, 1) != 1)
            return false;
    return jpeg_finish_decompress(&info);
}

}  // namespace

bool JpegCodedDataWhole(const uint8_t* data, size_t size)
{
    jpeg_decompress_struct info;
    Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Stop;
    errors.manager.emit_message = Message;
    errors.manager.output_message = Quiet;
    // Destroying is safe after a failed creation too: libjpeg clears the
    // memory manager's pointer before its first step that can fail.
    const bool whole = DecodeAll(info, errors, data, size);
    jpeg_destroy_decompress(&info);
    return whole;
}
