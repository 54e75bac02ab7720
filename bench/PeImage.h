#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// What the PE headers of a program file say about its size, symbols and imports.
struct ImageFacts {
    uint64_t size = 0;
    bool stripped = false;
    std::vector<std::string> imports;
};

// Reads the PE headers of the 64-bit program at `path`: whether symbols or debug sections are
// left, and the DLLs named by the import and delay-load import tables. A file that cannot be
// read as one ends the run.
ImageFacts InspectImage(const std::wstring& path);

} // namespace bench
