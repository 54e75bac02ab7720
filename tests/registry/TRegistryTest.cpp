#include "registry/ERegistryException.h"
#include "registry/TRegistry.h"
#include "testkit/RegistryTestSupport.h"

#include <string>

namespace {

// Each key of the fixture carries a value "mark" naming it, so a read shows which key is current.
class TRegistryPaths : public RegistryTest {
protected:
    void SetUp() override
    {
        for (const char* path : {"Alpha", "Alpha\\Beta", "Alpha\\Beta\\Gamma", "Beta"})
            RegistrySandbox::SetText(HKEY_CURRENT_USER, path, "mark", path);
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, "Alpha", "mark", "machine Alpha");
    }

    TRegistry registry_;
};

template <typename Action>
std::string MessageOf(Action action)
{
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.Message();
    }
    return "(nothing raised)";
}

} // namespace

TEST_F(TRegistryPaths, NewObjectHasRootCurrentUserAndNoCurrentKey)
{
    EXPECT_EQ(registry_.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.ReadText("mark"), "");
}

TEST_F(TRegistryPaths, AbsolutePathsResolveFromTheRootEvenWhileAKeyIsCurrent)
{
    ASSERT_TRUE(registry_.OpenPath("\\Alpha\\Beta"));
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha\\Beta");
    ASSERT_TRUE(registry_.OpenPath("\\Beta"));
    EXPECT_EQ(registry_.ReadText("mark"), "Beta");
}

TEST_F(TRegistryPaths, RelativePathsResolveFromTheCurrentKeyOrElseFromTheRoot)
{
    ASSERT_TRUE(registry_.OpenPath("Alpha"));  // no key current: from the root
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha");
    ASSERT_TRUE(registry_.OpenPath("Beta"));  // from Alpha, not the root's Beta
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha\\Beta");
    ASSERT_TRUE(registry_.OpenPath("Gamma"));
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha\\Beta\\Gamma");
    EXPECT_FALSE(registry_.OpenPath("Alpha"));  // relative to Gamma, which has no such subkey
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha\\Beta\\Gamma");
}

TEST_F(TRegistryPaths, EmptyPathReopensTheCurrentKey)
{
    ASSERT_TRUE(registry_.OpenPath("\\Alpha\\Beta"));
    ASSERT_TRUE(registry_.OpenPath(""));
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha\\Beta");
}

TEST_F(TRegistryPaths, OnlyOneLeadingBackslashIsTakenAsTheRoot)
{
    EXPECT_FALSE(registry_.OpenPath("\\\\Alpha"));
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
}

TEST_F(TRegistryPaths, KeyAndValueNamesMatchWithoutRegardToCase)
{
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                             "RegisteredOwner", "Owner");
    registry_.SelectRoot(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry_.OpenPath("\\Software\\microsoft\\windows NT\\currentversion"));
    EXPECT_EQ(registry_.ReadText("registeredowner"), "Owner");
    EXPECT_EQ(registry_.ReadText("REGISTEREDOWNER"), "Owner");
}

TEST_F(TRegistryPaths, FailedOpenKeepsThePreviousKeyOpenAndCurrent)
{
    ASSERT_TRUE(registry_.OpenPath("\\Alpha"));
    HKEY before = registry_.CurrentKey();
    EXPECT_FALSE(registry_.OpenPath("\\Missing"));
    EXPECT_FALSE(registry_.OpenPath("\\Alpha\\Missing\\Deeper"));
    EXPECT_EQ(registry_.CurrentKey(), before);
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha");
}

TEST_F(TRegistryPaths, OpenPathNeverCreatesAKey)
{
    EXPECT_FALSE(registry_.OpenPath("\\Created"));
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, "Created"));
}

TEST_F(TRegistryPaths, SelectingTheSameRootKeepsTheCurrentKey)
{
    ASSERT_TRUE(registry_.OpenPath("\\Alpha"));
    HKEY before = registry_.CurrentKey();
    registry_.SelectRoot(HKEY_CURRENT_USER);
    EXPECT_EQ(registry_.CurrentKey(), before);
    EXPECT_EQ(registry_.ReadText("mark"), "Alpha");
}

TEST_F(TRegistryPaths, SelectingAnotherRootClosesTheCurrentKey)
{
    KeyHandleCounter::Install();
    ASSERT_TRUE(registry_.OpenPath("\\Alpha"));
    registry_.SelectRoot(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(KeyHandleCounter::closed, 1);
    ASSERT_TRUE(registry_.OpenPath("Alpha"));  // relative, no key current: from the new root
    EXPECT_EQ(registry_.ReadText("mark"), "machine Alpha");
}

TEST_F(TRegistryPaths, OpeningAnotherKeyClosesThePreviousOneAndFreeingClosesTheLast)
{
    KeyHandleCounter::Install();
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenPath("\\Alpha"));
        ASSERT_TRUE(registry.OpenPath("\\Beta"));
        EXPECT_EQ(KeyHandleCounter::closed, 1);
        registry.CloseCurrent();
        registry.CloseCurrent();  // nothing current: nothing to close
        EXPECT_EQ(KeyHandleCounter::closed, 2);
        ASSERT_TRUE(registry.OpenPath("\\Alpha\\Beta"));
    }
    EXPECT_EQ(KeyHandleCounter::opened, 3);
    EXPECT_EQ(KeyHandleCounter::closed, 3);
}

TEST_F(TRegistryPaths, EveryKeyIsOpenedWithFullAccessAndPlainOptions)
{
    static REGSAM seenAccess;
    static DWORD seenOptions;
    seenAccess = 0;
    seenOptions = 1;
    ActiveRegistryApi().OpenKeyEx = [](HKEY base, LPCSTR path, DWORD options, REGSAM access,
                                       PHKEY result) -> LSTATUS {
        seenAccess = access;
        seenOptions = options;
        return SystemRegistryApi().OpenKeyEx(base, path, options, access, result);
    };
    ASSERT_TRUE(registry_.OpenPath("\\Alpha"));
    EXPECT_EQ(seenAccess, static_cast<REGSAM>(0xF003F));
    EXPECT_EQ(seenOptions, 0u);
}

// ---- Reading text ----

class TRegistryReadText : public RegistryTest {
protected:
    void SetUp() override
    {
        RegistrySandbox::CreateKey(HKEY_CURRENT_USER, "Values");
        ASSERT_TRUE(registry_.OpenPath("\\Values"));
    }
    void Store(const std::string& name, DWORD type, const std::string& data)
    {
        RegistrySandbox::SetValue(HKEY_CURRENT_USER, "Values", name, type, data);
    }

    TRegistry registry_;
};

TEST_F(TRegistryReadText, MissingValueOrNoCurrentKeyReadsEmpty)
{
    EXPECT_EQ(registry_.ReadText("absent"), "");
    Store("present", REG_SZ, std::string("text", 5));
    registry_.CloseCurrent();
    EXPECT_EQ(registry_.ReadText("present"), "");
}

TEST_F(TRegistryReadText, StringDataIsReturnedUpToItsTerminator)
{
    Store("plain", REG_SZ, std::string("Windows 98", 11));
    Store("empty", REG_SZ, std::string("", 1));
    EXPECT_EQ(registry_.ReadText("plain"), "Windows 98");
    EXPECT_EQ(registry_.ReadText("empty"), "");
}

TEST_F(TRegistryReadText, ZeroByteInsideEndsTheText)
{
    Store("inner", REG_SZ, std::string("abc\0def\0", 8));
    EXPECT_EQ(registry_.ReadText("inner"), "abc");
}

TEST_F(TRegistryReadText, DataWithoutTerminatorIsReturnedWhole)
{
    Store("unterminated", REG_SZ, "C:\\Temp");
    Store("one byte", REG_SZ, "x");
    EXPECT_EQ(registry_.ReadText("unterminated"), "C:\\Temp");
    EXPECT_EQ(registry_.ReadText("one byte"), "x");
}

TEST_F(TRegistryReadText, ExpandStringIsReturnedUnexpanded)
{
    Store("path", REG_EXPAND_SZ, std::string("%SystemRoot%\\inf", 17));
    EXPECT_EQ(registry_.ReadText("path"), "%SystemRoot%\\inf");
}

TEST_F(TRegistryReadText, ZeroLengthDataOfAnyTypeReadsEmptyWithoutError)
{
    for (DWORD type : {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD}) {
        SCOPED_TRACE(type);
        Store("zero", type, "");
        EXPECT_EQ(registry_.ReadText("zero"), "");
    }
}

TEST_F(TRegistryReadText, DataOfAnotherTypeRaisesInvalidDataTypeWithTheNameAsPassed)
{
    Store("BitsPerPixel", REG_DWORD, Bytes({32, 0, 0, 0}));
    Store("blob", REG_BINARY, Bytes({1, 2, 3}));
    Store("list", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    EXPECT_EQ(MessageOf([&] { registry_.ReadText("bitsperpixel"); }), "Invalid data type for 'bitsperpixel'");
    EXPECT_EQ(MessageOf([&] { registry_.ReadText("blob"); }), "Invalid data type for 'blob'");
    EXPECT_EQ(MessageOf([&] { registry_.ReadText("list"); }), "Invalid data type for 'list'");
}

TEST_F(TRegistryReadText, RaisingLeavesTheObjectUsable)
{
    Store("number", REG_DWORD, Bytes({1, 0, 0, 0}));
    Store("text", REG_SZ, std::string("ok", 3));
    HKEY before = registry_.CurrentKey();
    EXPECT_THROW(registry_.ReadText("number"), ERegistryException);
    EXPECT_EQ(registry_.CurrentKey(), before);
    EXPECT_EQ(registry_.ReadText("text"), "ok");
}

TEST_F(TRegistryReadText, OneMebibyteStringIsReadWhole)
{
    std::string big(1 << 20, 'k');
    for (size_t i = 0; i < big.size(); i += 97)
        big[i] = static_cast<char>('a' + i % 26);
    Store("big", REG_SZ, big + '\0');
    EXPECT_EQ(registry_.ReadText("big"), big);
}

TEST_F(TRegistryReadText, GbkTextComesBackAsTheSameBytes)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936";
    Store("owner", REG_SZ, std::string("张三的电脑", 11));
    EXPECT_EQ(registry_.ReadText("owner"), "张三的电脑");
}

TEST_F(TRegistryReadText, FailedDataFetchRaisesFailedToGetData)
{
    Store("grows", REG_SZ, std::string("value", 6));
    // The size query succeeds; the fetch finds the value grown meanwhile.
    ActiveRegistryApi().QueryValueEx = [](HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                          LPDWORD size) -> LSTATUS {
        if (data)
            return ERROR_MORE_DATA;
        return SystemRegistryApi().QueryValueEx(key, name, reserved, type, data, size);
    };
    HKEY before = registry_.CurrentKey();
    EXPECT_EQ(MessageOf([&] { registry_.ReadText("Grows"); }), "Failed to get data for 'Grows'");
    EXPECT_EQ(registry_.CurrentKey(), before);
}

TEST_F(TRegistryReadText, FailedSizeQueryReadsEmptyWithoutError)
{
    Store("value", REG_SZ, std::string("text", 5));
    ActiveRegistryApi().QueryValueEx = [](HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) -> LSTATUS {
        return ERROR_ACCESS_DENIED;
    };
    EXPECT_EQ(registry_.ReadText("value"), "");
}

// ---- Writing ----

class TRegistryWrite : public RegistryTest {
protected:
    void SetUp() override
    {
        RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, "Net");
        registry_.SelectRoot(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry_.OpenPath("\\Net"));
    }
    static RegistrySandbox::Value Stored(const std::string& name)
    {
        auto value = RegistrySandbox::GetValue(HKEY_LOCAL_MACHINE, "Net", name);
        return value ? *value : RegistrySandbox::Value{REG_NONE, "(missing)"};
    }

    TRegistry registry_;
};

TEST_F(TRegistryWrite, WriteTextStoresTheTextAndOneZeroByte)
{
    registry_.WriteText("ipmtu", "576");
    EXPECT_EQ(Stored("ipmtu").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Stored("ipmtu").data, std::string("576\0", 4));
    registry_.WriteText("empty", "");
    EXPECT_EQ(Stored("empty").data, std::string("\0", 1));
}

TEST_F(TRegistryWrite, WriteTextPassesTheByteCountOfTextPlusTerminator)
{
    static DWORD seenSize;
    static DWORD seenType;
    ActiveRegistryApi().SetValueEx = [](HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                                        DWORD size) -> LSTATUS {
        seenSize = size;
        seenType = type;
        return SystemRegistryApi().SetValueEx(key, name, reserved, type, data, size);
    };
    registry_.WriteText("DefaultRcvWindow", "7168");
    EXPECT_EQ(seenSize, 5u);
    EXPECT_EQ(seenType, static_cast<DWORD>(REG_SZ));
}

TEST_F(TRegistryWrite, WriteTextReplacesAValueOfAnotherType)
{
    RegistrySandbox::SetValue(HKEY_LOCAL_MACHINE, "Net", "maxmss", REG_DWORD, Bytes({1, 2, 0, 0}));
    registry_.WriteText("maxmss", "536");
    EXPECT_EQ(Stored("maxmss").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Stored("maxmss").data, std::string("536\0", 4));
}

TEST_F(TRegistryWrite, WriteDwordStoresFourLittleEndianBytes)
{
    registry_.WriteDword("MaxDupAcks", 3);
    EXPECT_EQ(Stored("MaxDupAcks").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Stored("MaxDupAcks").data, Bytes({3, 0, 0, 0}));
    registry_.WriteDword("negative", -2);
    EXPECT_EQ(Stored("negative").data, Bytes({0xFE, 0xFF, 0xFF, 0xFF}));
    registry_.WriteDword("big", 0x12345678);
    EXPECT_EQ(Stored("big").data, Bytes({0x78, 0x56, 0x34, 0x12}));
}

TEST_F(TRegistryWrite, WritesWithNoCurrentKeyRaiseFailedToSetData)
{
    registry_.CloseCurrent();
    EXPECT_EQ(MessageOf([&] { registry_.WriteText("menushowdelay", "2"); }),
              "Failed to set data for 'menushowdelay'");
    EXPECT_EQ(MessageOf([&] { registry_.WriteDword("MaxDupAcks", 3); }), "Failed to set data for 'MaxDupAcks'");
}

TEST_F(TRegistryWrite, FailedWriteRaisesAndLeavesTheObjectUsable)
{
    // Refuse one chosen value, as a protected key would.
    ActiveRegistryApi().SetValueEx = [](HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                                        DWORD size) -> LSTATUS {
        if (std::string(name) == "maxmss")
            return ERROR_ACCESS_DENIED;
        return SystemRegistryApi().SetValueEx(key, name, reserved, type, data, size);
    };
    registry_.WriteText("ipmtu", "576");
    HKEY before = registry_.CurrentKey();
    EXPECT_EQ(MessageOf([&] { registry_.WriteText("maxmss", "536"); }), "Failed to set data for 'maxmss'");
    EXPECT_EQ(registry_.CurrentKey(), before);
    registry_.WriteText("maxmtu", "576");
    EXPECT_EQ(Stored("ipmtu").data, std::string("576\0", 4));
    EXPECT_EQ(Stored("maxmss").data, "(missing)");
    EXPECT_EQ(Stored("maxmtu").data, std::string("576\0", 4));
}

TEST_F(TRegistryWrite, GbkNameAndTextAreStoredAsTheSameBytes)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936";
    registry_.WriteText("说明", "网络加速");
    EXPECT_EQ(Stored("说明").data, std::string("网络加速", 9));
}

TEST(ERegistryExceptionTest, IsAnExceptionThatNamesItsClass)
{
    try {
        throw ERegistryException::FailedToSetData("x");
    } catch (const Exception& error) {
        EXPECT_STREQ(error.ClassName(), "ERegistryException");
        EXPECT_STREQ(error.what(), "Failed to set data for 'x'");
    }
}

// The sandbox itself: each redirected root is a scratch key of its own under the real
// HKEY_CURRENT_USER, so a test that empties one root leaves the others' fixtures alone.
class RegistrySandboxRoots : public RegistryTest {};

TEST_F(RegistrySandboxRoots, EmptyingOneRootLeavesTheOthers)
{
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, "Software\\Kept", "mark", "machine");
    RegistrySandbox::SetText(HKEY_USERS, ".DEFAULT\\Kept", "mark", "users");
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, "Software\\Gone");
    ASSERT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, nullptr), ERROR_SUCCESS);
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, "Software"));
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Kept"));
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_USERS, ".DEFAULT\\Kept"));
}
