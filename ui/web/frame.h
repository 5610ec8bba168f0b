// The page's frame around the client area, in CSS pixels at scale 1: the caption's height (the
// style sheet's, scaled with the rest) and the border on each side (which stays one pixel).
#pragma once

namespace velandra::web {

inline constexpr double kCaptionHeight = 29;
inline constexpr double kBorder = 1;

}  // namespace velandra::web
