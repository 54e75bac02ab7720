#include "testkit/ProjectVersion.h"
#include "common/Text.h"
#include "resources/ResourceIds.h"
#include "ui/Form1Tiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The built program; a path of the build machine becomes Wine's view of it.
std::wstring ProgramPath()
{
    std::string path = KELVANE_EXE_PATH;
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return WideFromGbk(path);
}

class ProgramResources : public testing::Test {
protected:
    void SetUp() override
    {
        module_ = ::LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot load the program's resources";
    }
    void TearDown() override
    {
        if (module_)
            ::FreeLibrary(module_);
    }

    std::string Resource(LPCWSTR type, LPCWSTR name) const
    {
        HRSRC found = ::FindResourceW(module_, name, type);
        if (!found)
            return {};
        HGLOBAL loaded = ::LoadResource(module_, found);
        return std::string(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module_, found));
    }

    struct IconImage {
        int width;
        int height;
        int bitCount;
    };
    // The images of an icon group, as its directory lists them.
    std::vector<IconImage> IconImages(const wchar_t* name) const
    {
        const std::string group = Resource(RT_GROUP_ICON, name);
        std::vector<IconImage> images;
        if (group.size() < 6)
            return images;
        const auto* bytes = reinterpret_cast<const unsigned char*>(group.data());
        const int count = bytes[4] | bytes[5] << 8;
        for (int i = 0; i < count && 6 + (i + 1) * 14 <= static_cast<int>(group.size()); ++i) {
            const unsigned char* entry = bytes + 6 + i * 14;
            images.push_back({entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256, entry[6] | entry[7] << 8});
        }
        return images;
    }

    HMODULE module_ = nullptr;
};

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!::VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value)
        return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value));
}

} // namespace

TEST(ProgramVersion, CarriesProductCompanyAndVersionInChinese)
{
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    EXPECT_EQ(VersionString(block, L"ProductName"), WideFromGbk("系统优化Kelvane"));
    EXPECT_EQ(VersionString(block, L"CompanyName"), WideFromGbk("Tavrin软件"));
    const std::wstring version = WideFromGbk(ProjectVersion::Full());
    EXPECT_EQ(VersionString(block, L"FileVersion"), version);
    EXPECT_EQ(VersionString(block, L"ProductVersion"), version);
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Kelvane.exe");
    EXPECT_NE(VersionString(block, L"FileDescription"), L"(missing)");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const DWORD majorMinor = MAKELONG(ProjectVersion::Minor(), ProjectVersion::Major());
    EXPECT_EQ(fixed->dwFileVersionMS, majorMinor);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, majorMinor);
}

TEST(ProgramSize, StaysWithin300KiB)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(::GetFileAttributesExW(ProgramPath().c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(attributes.nFileSizeHigh, 0u);
    EXPECT_LE(attributes.nFileSizeLow, 300u * 1024u);
}

TEST_F(ProgramResources, ManifestAsksForCommonControls6ElevationDpiAwarenessAndWindows7To11)
{
    const std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Tavrin.Kelvane\" version=\"" + ProjectVersion::Full() + "\""), std::string::npos);
    // Per monitor (v2) where Windows has it, else the system's dpi.
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
}

TEST_F(ProgramResources, ApplicationIconHasA32By32ImageOf256Colours)
{
    bool found = false;
    for (const IconImage& image : IconImages(MAKEINTRESOURCEW(IDI_APPLICATION_ICON)))
        found = found || (image.width == 32 && image.height == 32 && image.bitCount == 8);
    EXPECT_TRUE(found);
}

TEST_F(ProgramResources, CategoryIconsAndToolGlyphsAreDrawnForEveryCommonScale)
{
    std::vector<std::wstring> icons;
    for (const form1::ToolButton& button : form1::kToolButtons)
        icons.push_back(WideFromGbk(button.glyph));
    for (const form1::Tile& tile : form1::kTiles)
        icons.push_back(WideFromGbk(tile.iconResource));
    for (size_t id = 0; id < icons.size(); ++id) {
        std::vector<int> sizes;
        for (const IconImage& image : IconImages(icons[id].c_str())) {
            EXPECT_EQ(image.width, image.height) << id;
            sizes.push_back(image.width);
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32})) << id;
    }
}

TEST_F(ProgramResources, BannerIsDrawnFor100And200PercentWithTheBandsTopEdge)
{
    const struct {
        int id;
        int width;
        int height;
    } banners[] = {{IDB_BANNER, 469, 50}, {IDB_BANNER_2X, 938, 100}};
    for (const auto& expected : banners) {
        SCOPED_TRACE(expected.width);
        HBITMAP banner =
            static_cast<HBITMAP>(::LoadImageW(module_, MAKEINTRESOURCEW(expected.id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(banner, nullptr);
        BITMAP info{};
        ::GetObjectW(banner, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, expected.width);
        EXPECT_EQ(info.bmHeight, expected.height);
        // The band's top edge is the light blue RGB(126, 178, 229), from end to end.
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, banner);
        EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(126, 178, 229));
        EXPECT_EQ(::GetPixel(dc, expected.width - 1, 0), RGB(126, 178, 229));
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        ::DeleteObject(banner);
    }
}
