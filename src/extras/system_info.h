#pragma once

#include <array>
#include <string_view>

namespace orvex {

// Desktop programs that show the computer's hardware and system state, in order of
// preference: the About box starts the first one installed.
inline constexpr std::array<std::string_view, 7> kSystemInfoPrograms = {
    "hardinfo",
    "kinfocenter",
    "gnome-system-monitor",
    "plasma-systemmonitor",
    "mate-system-monitor",
    "xfce4-taskmanager",
    "lxtask",
};

} // namespace orvex
