#pragma once

// The screen as the program's twip geometry sees it.
namespace Screen {

// Width of one logical pixel of the primary screen in twips (15 at 96 dpi);
// 15 when there is no screen.
[[nodiscard]] float TwipsPerPixelX();

} // namespace Screen
