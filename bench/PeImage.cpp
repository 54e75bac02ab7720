#include "bench/PeImage.h"

#include "bench/Measure.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

namespace bench {
namespace {

std::optional<std::vector<unsigned char>> ReadWholeFile(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    std::vector<unsigned char> data(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const bool ok = ::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                    read == data.size();
    ::CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return data;
}

} // namespace

ImageFacts InspectImage(const std::wstring& path)
{
    const std::optional<std::vector<unsigned char>> file = ReadWholeFile(path);
    if (!file)
        Abandon("cannot read " + Narrow(path));
    const std::vector<unsigned char>& data = *file;
    auto fits = [&](uint64_t offset, uint64_t length) { return offset <= data.size() && length <= data.size() - offset; };
    auto at = [&](uint64_t offset) { return data.data() + offset; };

    IMAGE_DOS_HEADER dos;
    if (!fits(0, sizeof dos))
        Abandon("not a PE file");
    std::memcpy(&dos, at(0), sizeof dos);
    IMAGE_NT_HEADERS64 nt;
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || !fits(static_cast<uint64_t>(dos.e_lfanew), sizeof nt))
        Abandon("not a PE file");
    std::memcpy(&nt, at(static_cast<uint64_t>(dos.e_lfanew)), sizeof nt);
    if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        Abandon("not a 64-bit PE file");

    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    const uint64_t sectionTable = static_cast<uint64_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                  nt.FileHeader.SizeOfOptionalHeader;
    if (!fits(sectionTable, sections.size() * sizeof(IMAGE_SECTION_HEADER)))
        Abandon("the section table is cut short");
    std::memcpy(sections.data(), at(sectionTable), sections.size() * sizeof(IMAGE_SECTION_HEADER));

    ImageFacts facts;
    facts.size = data.size();
    facts.stripped = nt.FileHeader.PointerToSymbolTable == 0 && nt.FileHeader.NumberOfSymbols == 0;
    for (const IMAGE_SECTION_HEADER& section : sections) {
        const std::string name(reinterpret_cast<const char*>(section.Name),
                               strnlen(reinterpret_cast<const char*>(section.Name), IMAGE_SIZEOF_SHORT_NAME));
        if (name.rfind(".debug", 0) == 0 || name.rfind("/", 0) == 0)  // "/n": a long name in the symbol strings
            facts.stripped = false;
    }

    auto offsetOf = [&](DWORD rva) -> std::optional<uint64_t> {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            const DWORD extent = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < extent &&
                rva - section.VirtualAddress < section.SizeOfRawData)
                return static_cast<uint64_t>(section.PointerToRawData) + (rva - section.VirtualAddress);
        }
        return std::nullopt;
    };
    auto nameAt = [&](DWORD rva) {
        const std::optional<uint64_t> offset = offsetOf(rva);
        if (!offset || !fits(*offset, 1))
            Abandon("an import names a DLL outside the file");
        const char* text = reinterpret_cast<const char*>(at(*offset));
        return std::string(text, strnlen(text, data.size() - *offset));
    };

    // Both tables are arrays of descriptors ended by one that names no DLL.
    auto listDlls = [&]<typename Descriptor>(int directory, DWORD Descriptor::*dllName, const char* table,
                                             const char* suffix) {
        const IMAGE_DATA_DIRECTORY& entries = nt.OptionalHeader.DataDirectory[directory];
        if (entries.VirtualAddress == 0)
            return;
        const std::optional<uint64_t> offset = offsetOf(entries.VirtualAddress);
        for (uint64_t entry = offset ? *offset : data.size();; entry += sizeof(Descriptor)) {
            Descriptor descriptor;
            if (!fits(entry, sizeof descriptor))
                Abandon(std::string("the ") + table + " is cut short");
            std::memcpy(&descriptor, at(entry), sizeof descriptor);
            if (descriptor.*dllName == 0)
                break;
            facts.imports.push_back(nameAt(descriptor.*dllName) + suffix);
        }
    };
    listDlls(IMAGE_DIRECTORY_ENTRY_IMPORT, &IMAGE_IMPORT_DESCRIPTOR::Name, "import table", "");
    listDlls(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT, &IMAGE_DELAYLOAD_DESCRIPTOR::DllNameRVA, "delay-load import table",
             " (delay-loaded)");
    return facts;
}

} // namespace bench
