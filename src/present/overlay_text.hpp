#pragma once
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "present/surface.hpp"

typedef struct _TTF_Font TTF_Font;

namespace present {

// The diagnostic overlay's text: DejaVu Sans Mono drawn into a surface, clipped to it. Without the
// font file it draws nothing.
class OverlayFont {
  public:
    OverlayFont() = default;
    ~OverlayFont();
    OverlayFont(const OverlayFont&) = delete;
    OverlayFont& operator=(const OverlayFont&) = delete;

    bool open(const std::filesystem::path& fontFile, int pointSize);
    bool isOpen() const { return font_ != nullptr; }
    // Draws `text` with its top-left corner at (x, y), transparent background, in `colour` (0xRRGGBB).
    void draw(Surface& target, int x, int y, std::string_view text, uint32_t colour) const;

  private:
    TTF_Font* font_ = nullptr;
};

}  // namespace present
