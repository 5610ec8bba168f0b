// A face as the page's style names it: the named family first, then its stand-in served with the
// page, used where the first is not installed.
#pragma once

#include <string>

#include "appearance.h"

namespace velandra::web {

inline std::string CssFamilies(const ui::FontFace& face) {
    return "\"" + std::string(face.family) + "\", \"" + std::string(face.substitute) + "\"";
}

}  // namespace velandra::web
