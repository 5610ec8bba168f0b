#include "announcement.h"

#include "form.h"

namespace velandra::ui {

std::string ResultAnnouncement(std::string_view result) {
    constexpr std::string_view kBlanks = " \t\n";
    const auto first = result.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = result.find_last_not_of(kBlanks);
    std::string announcement(kResultAnnouncementBefore);
    announcement += result.substr(first, last - first + 1);
    announcement += kResultAnnouncementAfter;
    return announcement;
}

}  // namespace velandra::ui
