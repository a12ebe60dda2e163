// Fonts and text output (to be filled in).
#include "platform/text.h"

namespace platform {
class FontObject {};
FontHandle create_font(const FontRequest&) { return nullptr; }
FontHandle stock_font() { return nullptr; }
FontMetrics font_metrics(const FontObject&) { return {}; }
int text_advance(const FontObject&, std::string_view) { return 0; }
void text_out(DrawContext&, int, int, std::string_view) {}
void reset_font_cache() {}
}  // namespace platform
