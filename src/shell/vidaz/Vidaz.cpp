// The customisation library shipped with the program. It carries the
// workshop-specific content: the list of call states (string 1000) and the
// banner printed at the top of the call card and the item history (bitmap
// "Banner", PNG data). The program loads it afresh for every use.

#include "VidazBanner.h" // generated: g_VidazBanner, g_VidazBannerSize

#include <cstring>

namespace {
// One state per line, in the order the call editor offers them.
const char* const StatusList = "New\r\nBusy\r\nPending\r\nAwaiting Parts\r\nComplete\r\n";
} // namespace

extern "C" {

// Copies string `id` into `buffer` (at most `size` - 1 bytes of UTF-8 and a
// terminating zero) and returns the number of bytes copied; 0 when there is
// no such string.
__attribute__((visibility("default"))) int VidazLoadString(unsigned id, char* buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = '\0';
    if (id != 1000)
        return 0;
    const size_t length = std::strlen(StatusList);
    const size_t copied = length < size_t(size - 1) ? length : size_t(size - 1);
    std::memcpy(buffer, StatusList, copied);
    buffer[copied] = '\0';
    return int(copied);
}

// Points `data` and `size` at the image data of bitmap `name`; returns 1 when
// found and 0 when the library has no such bitmap.
__attribute__((visibility("default"))) int VidazLoadBitmap(const char* name,
                                                           const unsigned char** data, int* size) {
    if (!name || !data || !size || std::strcmp(name, "Banner") != 0)
        return 0;
    *data = g_VidazBanner;
    *size = int(g_VidazBannerSize);
    return 1;
}
}
