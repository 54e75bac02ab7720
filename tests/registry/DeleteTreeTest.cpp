#include "registry/TRegistry.h"
#include "testkit/RegistryTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class DeleteTree : public RegistryTest {
protected:
    static bool Exists(const std::string& path) { return RegistrySandbox::KeyExists(HKEY_CURRENT_USER, path); }
    static void Create(const std::string& path) { RegistrySandbox::CreateKey(HKEY_CURRENT_USER, path); }

    TRegistry registry_;
};

} // namespace

TEST_F(DeleteTree, RemovesAWholeTreeSeveralLevelsDeepAndNothingBeside)
{
    for (const char* path : {"Explorer\\RunMRU\\a\\b\\c", "Explorer\\RunMRU\\a\\d", "Explorer\\RunMRU\\e",
                             "Explorer\\RunMRUx", "Explorer\\Other\\f"})
        Create(path);
    RegistrySandbox::SetText(HKEY_CURRENT_USER, "Explorer\\RunMRU\\a\\b", "MRUList", "ab");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, "Explorer\\RunMRU", "a", "cmd\\1");

    ASSERT_TRUE(registry_.OpenPath("\\Explorer"));
    EXPECT_TRUE(registry_.DeleteTree("runmru"));

    EXPECT_FALSE(Exists("Explorer\\RunMRU"));
    EXPECT_TRUE(Exists("Explorer\\RunMRUx"));
    EXPECT_TRUE(Exists("Explorer\\Other\\f"));
    EXPECT_EQ(RegistrySandbox::SubkeyCount(HKEY_CURRENT_USER, "Explorer"), 2u);
}

TEST_F(DeleteTree, MissingKeyGivesFalseAndChangesNothing)
{
    Create("Explorer\\Kept");
    ASSERT_TRUE(registry_.OpenPath("\\Explorer"));
    EXPECT_FALSE(registry_.DeleteTree("Doc Find Spec MRU"));
    EXPECT_FALSE(registry_.DeleteTree("\\Nowhere\\At\\All"));
    EXPECT_EQ(registry_.DeleteTreeOutcome("Doc Find Spec MRU"), TreeDeletion::NotFound);
    EXPECT_TRUE(Exists("Explorer\\Kept"));
    EXPECT_EQ(RegistrySandbox::SubkeyCount(HKEY_CURRENT_USER, "Explorer"), 1u);
}

TEST_F(DeleteTree, PathNamingNoSubkeyDeletesNothing)
{
    Create("Explorer\\RunMRU\\a");
    const RegistrySandbox::Snapshot before = RegistrySandbox::Export();
    for (const char* path : {"", "\\", "\\\\", "\\\\\\"}) {
        SCOPED_TRACE(testing::PrintToString(path));
        EXPECT_FALSE(registry_.DeleteTree(path));  // from the root
        ASSERT_TRUE(registry_.OpenPath("\\Explorer"));
        EXPECT_FALSE(registry_.DeleteTree(path));  // from the current key
        registry_.CloseCurrent();
    }
    EXPECT_EQ(RegistrySandbox::Export(), before);
}

TEST_F(DeleteTree, RelativeDeletionKeepsTheCurrentKeyOpenAndCurrent)
{
    Create("Explorer\\RunMRU\\deep");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, "Explorer", "mark", "explorer");
    KeyHandleCounter::Install();
    ASSERT_TRUE(registry_.OpenPath("\\Explorer"));
    HKEY current = registry_.CurrentKey();

    EXPECT_TRUE(registry_.DeleteTree("RunMRU"));

    EXPECT_EQ(registry_.CurrentKey(), current);
    EXPECT_EQ(registry_.ReadText("mark"), "explorer");
    registry_.WriteText("after", "still writable");
    EXPECT_TRUE(RegistrySandbox::GetValue(HKEY_CURRENT_USER, "Explorer", "after").has_value());
    // Every key opened for the deletion is closed again; only the current key stays open.
    EXPECT_EQ(KeyHandleCounter::opened - KeyHandleCounter::closed, 1);
}

TEST_F(DeleteTree, AbsolutePathResolvesFromTheRootWhileAKeyIsCurrent)
{
    Create("Explorer\\Target");
    Create("Target\\child");
    ASSERT_TRUE(registry_.OpenPath("\\Explorer"));
    EXPECT_TRUE(registry_.DeleteTree("\\Target"));
    EXPECT_FALSE(Exists("Target"));
    EXPECT_TRUE(Exists("Explorer\\Target"));
}

TEST_F(DeleteTree, WithNoCurrentKeyARelativePathResolvesFromTheRoot)
{
    Create("TypedURLs\\x");
    EXPECT_TRUE(registry_.DeleteTree("typedurls"));
    EXPECT_FALSE(Exists("TypedURLs"));
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
}

TEST_F(DeleteTree, RemovesFiveThousandSubkeys)
{
    HKEY parent = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Wide", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    for (int i = 0; i < 5000; ++i) {
        HKEY child = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(parent, ("url" + std::to_string(i)).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &child, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(child);
    }
    ::RegCloseKey(parent);
    EXPECT_TRUE(registry_.DeleteTree("\\Wide"));
    EXPECT_FALSE(Exists("Wide"));
}

TEST_F(DeleteTree, RemovesAChainAHundredLevelsDeep)
{
    std::string path = "Chain";
    for (int level = 1; level < 100; ++level)
        path += "\\k" + std::to_string(level);
    Create(path);
    ASSERT_TRUE(Exists(path));
    EXPECT_TRUE(registry_.DeleteTree("\\Chain"));
    EXPECT_FALSE(Exists("Chain"));
}

TEST_F(DeleteTree, EnumeratesEachKeyFromTheHighestIndexDownAndDescendsFirst)
{
    for (const char* path : {"Order\\a\\x", "Order\\a\\y", "Order\\b", "Order\\c\\z"})
        Create(path);
    static std::vector<std::pair<DWORD, std::string>> enumerated;
    enumerated.clear();
    ActiveRegistryApi().EnumKeyEx = [](HKEY key, DWORD index, LPSTR name, LPDWORD size, LPDWORD reserved,
                                       LPSTR className, LPDWORD classSize, PFILETIME written) -> LSTATUS {
        LSTATUS status = SystemRegistryApi().EnumKeyEx(key, index, name, size, reserved, className, classSize,
                                                       written);
        enumerated.emplace_back(index, status == ERROR_SUCCESS ? name : "(failed)");
        return status;
    };
    EXPECT_TRUE(registry_.DeleteTree("\\Order"));
    EXPECT_FALSE(Exists("Order"));
    // Subkeys enumerate in name order; each subkey's own tree goes before its next sibling.
    const std::vector<std::pair<DWORD, std::string>> expected{
        {2, "c"}, {0, "z"}, {1, "b"}, {0, "a"}, {1, "y"}, {0, "x"}};
    EXPECT_EQ(enumerated, expected);
}

TEST_F(DeleteTree, SubkeyThatCannotBeEnumeratedIsSkippedAndTheRestDeleted)
{
    for (const char* path : {"Mru\\a", "Mru\\b", "Mru\\c"})
        Create(path);
    ActiveRegistryApi().EnumKeyEx = [](HKEY key, DWORD index, LPSTR name, LPDWORD size, LPDWORD reserved,
                                       LPSTR className, LPDWORD classSize, PFILETIME written) -> LSTATUS {
        if (index == 1)
            return ERROR_MORE_DATA;
        return SystemRegistryApi().EnumKeyEx(key, index, name, size, reserved, className, classSize, written);
    };
    EXPECT_FALSE(registry_.DeleteTree("\\Mru"));  // b is left, so Mru itself cannot go
    EXPECT_TRUE(Exists("Mru\\b"));
    EXPECT_FALSE(Exists("Mru\\a"));
    EXPECT_FALSE(Exists("Mru\\c"));
}

TEST_F(DeleteTree, NeverRaisesWhenTheRegistryRefusesEverything)
{
    Create("Locked\\child");
    ActiveRegistryApi().DeleteOpenedKey = [](HKEY) -> LSTATUS { return ERROR_ACCESS_DENIED; };
    EXPECT_NO_THROW(EXPECT_FALSE(registry_.DeleteTree("\\Locked")));
    EXPECT_EQ(registry_.DeleteTreeOutcome("\\Locked"), TreeDeletion::Refused);
    EXPECT_TRUE(Exists("Locked\\child"));
}

// The ANSI calls as a system with the UTF-8 code page (65001) answers them: names in UTF-8
// bytes, the longest subkey name counted in characters, and a name whose bytes do not fit the
// buffer refused with ERROR_MORE_DATA. Wine follows the locale's code page, so this stands in.
struct Utf8Registry {
    static std::wstring Wide(const char* utf8)
    {
        std::wstring wide(256, L'\0');
        wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), 256) - 1));
        return wide;
    }

    static void Install()
    {
        RegistryApi& api = ActiveRegistryApi();
        api.OpenKeyEx = [](HKEY base, LPCSTR path, DWORD options, REGSAM access, PHKEY result) -> LSTATUS {
            return ::RegOpenKeyExW(base, Wide(path).c_str(), options, access, result);
        };
        api.QueryInfoKey = [](HKEY key, LPSTR, LPDWORD, LPDWORD, LPDWORD subkeys, LPDWORD longest, LPDWORD,
                              LPDWORD, LPDWORD, LPDWORD, LPDWORD, PFILETIME) -> LSTATUS {
            return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, subkeys, longest, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr);
        };
        api.EnumKeyEx = [](HKEY key, DWORD index, LPSTR name, LPDWORD size, LPDWORD, LPSTR, LPDWORD,
                           PFILETIME) -> LSTATUS {
            wchar_t wide[256];
            DWORD length = 256;
            if (const LSTATUS status = ::RegEnumKeyExW(key, index, wide, &length, nullptr, nullptr, nullptr, nullptr))
                return status;
            char utf8[1024];
            const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), utf8, 1024, nullptr,
                                                    nullptr);
            if (static_cast<DWORD>(bytes) + 1 > *size)
                return ERROR_MORE_DATA;
            std::copy(utf8, utf8 + bytes, name);
            name[bytes] = '\0';
            *size = static_cast<DWORD>(bytes);
            return ERROR_SUCCESS;
        };
    }
};

TEST_F(DeleteTree, ChineseNamesOfThreeBytesACharacterAreDeletedUnderTheUtf8CodePage)
{
    // Seven characters: 21 bytes in UTF-8, though the longest name is reported as 7.
    Create("History\\最近打开的文件夹\\子项");
    Create("History\\网址\\最近打开的文件夹");
    Create("History\\abc");
    Utf8Registry::Install();
    EXPECT_TRUE(registry_.DeleteTree("\\History"));
    EXPECT_FALSE(Exists("History"));
}

// A name that comes back with a backslash is not the key's own (best-fit conversion makes one
// of "＼"); opened as a path it would reach into another key.
TEST_F(DeleteTree, EnumeratedNameHoldingABackslashIsNeverOpened)
{
    for (const char* path : {"Mru\\a", "Mru\\b\\c"})
        Create(path);
    ActiveRegistryApi().EnumKeyEx = [](HKEY key, DWORD index, LPSTR name, LPDWORD size, LPDWORD reserved,
                                       LPSTR className, LPDWORD classSize, PFILETIME written) -> LSTATUS {
        const LSTATUS status =
            SystemRegistryApi().EnumKeyEx(key, index, name, size, reserved, className, classSize, written);
        if (status != ERROR_SUCCESS || std::string(name) != "b")
            return status;
        if (*size < 4) {
            *size = 3;
            return ERROR_MORE_DATA;
        }
        std::copy_n("b\\c", 4, name);
        return ERROR_SUCCESS;
    };
    EXPECT_FALSE(registry_.DeleteTree("\\Mru"));
    EXPECT_FALSE(Exists("Mru\\a"));
    EXPECT_TRUE(Exists("Mru\\b\\c"));
}

TEST_F(DeleteTree, GbkSubkeyNamesAreDeletedUnderCodePage936)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936";
    // Seven double-byte characters: 14 bytes, though the longest name is reported as 7.
    Create("History\\最近打开的文件夹\\子项");
    Create("History\\网址");
    Create("History\\abc");
    EXPECT_TRUE(registry_.DeleteTree("\\History"));
    EXPECT_FALSE(Exists("History"));
}

// A link at or below the deleted key goes as a link; the key it points at stays whole.
TEST_F(DeleteTree, SymbolicLinkBelowTheKeyIsRemovedWithoutTouchingItsTarget)
{
    Create("Precious\\child\\grandchild");
    Create("Precious\\second");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, "Precious", "keep", "me");
    Create("Explorer\\ordinary");
    RegistrySandbox::CreateLink(HKEY_CURRENT_USER, "Explorer\\RunMRU",
                                RegistrySandbox::KernelPathOf(HKEY_CURRENT_USER, "Precious"));
    ASSERT_TRUE(Exists("Explorer\\RunMRU\\child"));  // the link really leads to Precious

    EXPECT_TRUE(registry_.DeleteTree("\\Explorer"));

    EXPECT_FALSE(Exists("Explorer"));
    EXPECT_TRUE(Exists("Precious\\child\\grandchild"));
    EXPECT_TRUE(Exists("Precious\\second"));
    EXPECT_EQ(RegistrySandbox::SubkeyCount(HKEY_CURRENT_USER, "Precious"), 2u);
    EXPECT_TRUE(RegistrySandbox::GetValue(HKEY_CURRENT_USER, "Precious", "keep").has_value());
}

// The target is a leaf with a value: deleting through a handle opened once more (as advapi32's
// RegDeleteKeyA(key, "") does) could take the target itself, values and all.
TEST_F(DeleteTree, SymbolicLinkNamedDirectlyIsRemovedAsTheLink)
{
    RegistrySandbox::SetText(HKEY_CURRENT_USER, "Precious", "keep", "me");
    Create("Explorer");
    RegistrySandbox::CreateLink(HKEY_CURRENT_USER, "Explorer\\RunMRU",
                                RegistrySandbox::KernelPathOf(HKEY_CURRENT_USER, "Precious"));
    ASSERT_TRUE(registry_.OpenPath("\\Explorer"));

    EXPECT_TRUE(registry_.DeleteTree("runmru"));

    EXPECT_FALSE(Exists("Explorer\\RunMRU"));
    ASSERT_TRUE(Exists("Precious"));
    EXPECT_TRUE(RegistrySandbox::GetValue(HKEY_CURRENT_USER, "Precious", "keep").has_value());
}
