// Picture loading, drawing and capture (to be filled in).
#include "graphics/picture.h"

Picture::Picture(const char* name) { load(name); }
void Picture::load(const String&) { bitmap_.reset(); }
void Picture::draw_to_window(platform::Window& window, int x, int y, std::uint32_t rop) const {
    draw_to_dc(window.dc(), x, y, rop);
}
void Picture::draw_to_dc(platform::DrawContext& context, int x, int y, std::uint32_t rop) const {
    if (bitmap_) platform::blit(context, x, y, bitmap_->width, bitmap_->height, *bitmap_, 0, 0, rop);
}
void Picture::capture_window(platform::Window& window, int x, int y, int w, int h,
                             std::uint32_t rop) {
    capture_dc(window.dc(), x, y, w, h, rop);
}
void Picture::capture_dc(const platform::DrawContext&, int, int, int, int, std::uint32_t) {
    bitmap_.reset();
}
void jpeg_to_bmp(const char*, const char*) {}
