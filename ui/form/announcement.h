// What a screen reader is told when the result box changes.
#pragma once

#include <string>
#include <string_view>

namespace velandra::ui {

// The announcement of a result box that now holds `result` ("Superficie corporea: 2 metri
// quadrati"), or nothing when the box holds only blanks, as after Cancella.
std::string ResultAnnouncement(std::string_view result);

}  // namespace velandra::ui
