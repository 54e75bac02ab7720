#pragma once

#include <string>

#ifndef KELVANE_PROJECT_VERSION
#error "KELVANE_PROJECT_VERSION is the project version CMake has"
#endif

// The project's version as CMakeLists.txt gives it: "2.6" as users see it, "2.6.0.0" as the
// version resource gives it, major and minor as numbers.
struct ProjectVersion {
    static std::string Full() { return std::string(KELVANE_PROJECT_VERSION) + ".0"; }
    static std::string Short()
    {
        const std::string full = KELVANE_PROJECT_VERSION;
        return full.substr(0, full.find('.', full.find('.') + 1));
    }
    static unsigned Major() { return static_cast<unsigned>(std::stoul(KELVANE_PROJECT_VERSION)); }
    static unsigned Minor() { return static_cast<unsigned>(std::stoul(Short().substr(Short().find('.') + 1))); }
};
