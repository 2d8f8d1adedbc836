// Preloaded into a Qt program under X11: at the first image the program puts
// on the screen it writes the nanoseconds since FIRST_PAINT_START_NS (the
// CLOCK_MONOTONIC time of its exec) to file descriptor FIRST_PAINT_FD, and
// ends the process, so that its peak memory is that of its start-up.
#include <dlfcn.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

void reportFirstPaint()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* start = std::getenv("FIRST_PAINT_START_NS");
    const char* fd = std::getenv("FIRST_PAINT_FD");
    if (start == nullptr || fd == nullptr) {
        return;
    }
    const long long elapsed = now.tv_sec * 1'000'000'000LL + now.tv_nsec - std::atoll(start);
    dprintf(std::atoi(fd), "%lld\n", elapsed);
    _exit(0);
}

// Qt loads libxcb through its platform plugin, out of the global scope that
// RTLD_NEXT searches, so the real functions are looked up in their libraries.
template <typename Function>
Function real(const char* library, const char* name)
{
    return reinterpret_cast<Function>(dlsym(dlopen(library, RTLD_LAZY), name));
}

void flush(xcb_connection_t* c)
{
    static const auto function = real<decltype(&xcb_flush)>("libxcb.so.1", "xcb_flush");
    function(c);
}

} // namespace

// The three ways Qt's xcb backing store puts its pixels on the screen.
extern "C" xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t* c, xcb_drawable_t drawable, xcb_gcontext_t gc,
                                               uint16_t totalWidth, uint16_t totalHeight, uint16_t srcX,
                                               uint16_t srcY, uint16_t srcWidth, uint16_t srcHeight,
                                               int16_t dstX, int16_t dstY, uint8_t depth, uint8_t format,
                                               uint8_t sendEvent, uint32_t segment, uint32_t offset)
{
    using Function = decltype(&xcb_shm_put_image);
    static const auto function = real<Function>("libxcb-shm.so.0", "xcb_shm_put_image");
    const auto cookie = function(c, drawable, gc, totalWidth, totalHeight, srcX, srcY, srcWidth, srcHeight, dstX,
                                 dstY, depth, format, sendEvent, segment, offset);
    flush(c);
    reportFirstPaint();
    return cookie;
}

extern "C" xcb_void_cookie_t xcb_image_put(xcb_connection_t* c, xcb_drawable_t drawable, xcb_gcontext_t gc,
                                           void* image, int16_t x, int16_t y, uint8_t leftPad)
{
    using Function = decltype(&xcb_image_put);
    static const auto function = real<Function>("libxcb-image.so.0", "xcb_image_put");
    const auto cookie = function(c, drawable, gc, image, x, y, leftPad);
    flush(c);
    reportFirstPaint();
    return cookie;
}

// The parameters keep libxcb's names.
extern "C" xcb_void_cookie_t xcb_copy_area(xcb_connection_t* c, xcb_drawable_t src_drawable,
                                           xcb_drawable_t dst_drawable, xcb_gcontext_t gc, int16_t src_x,
                                           int16_t src_y, int16_t dst_x, int16_t dst_y, uint16_t width,
                                           uint16_t height)
{
    using Function = decltype(&xcb_copy_area);
    static const auto function = real<Function>("libxcb.so.1", "xcb_copy_area");
    const auto cookie = function(c, src_drawable, dst_drawable, gc, src_x, src_y, dst_x, dst_y, width, height);
    flush(c);
    reportFirstPaint();
    return cookie;
}
