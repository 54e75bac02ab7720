#include "actions/TuningActions.h"
#include "common/ProductInfo.h"
#include "registry/ERegistryException.h"
#include "testkit/RegistryTestSupport.h"

#include "testkit/TestDoubles.h"
#include "TuningRules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace tuning_rules;

template <typename Action>
std::string ErrorOf(Action action)
{
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.Message();
    }
    return "";
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> lines;
    for (const auto& part : parts)
        lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

std::optional<RegistrySandbox::Value> ValueOf(HKEY root, const std::string& key, const char* name)
{
    return RegistrySandbox::GetValue(root, key, name);
}

void ExpectValue(HKEY root, const std::string& key, const char* name, const RegistrySandbox::Value& expected)
{
    SCOPED_TRACE(key + " : " + name);
    auto value = ValueOf(root, key, name);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, expected.type);
    EXPECT_EQ(value->data, expected.data);
}

void ExpectNoValue(HKEY root, const std::string& key, const char* name)
{
    EXPECT_FALSE(ValueOf(root, key, name).has_value()) << key << " : " << name;
}

// Fails RegSetValueExA for one value name, as a key made read-only would.
std::string g_failingValue;
void FailWritesOf(const std::string& name)
{
    g_failingValue = name;
    ActiveRegistryApi().SetValueEx = [](HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                        DWORD size) -> LSTATUS {
        if (lstrcmpiA(valueName, g_failingValue.c_str()) == 0)
            return ERROR_ACCESS_DENIED;
        return SystemRegistryApi().SetValueEx(key, valueName, reserved, type, data, size);
    };
}

// ---- System optimisation ----

class TuningSystemOptimisation : public RegistryTest {
protected:
    MemoReport report_;
};

TEST_F(TuningSystemOptimisation, SetsMenuDelayToTextTwoAndReportsEveryLine)
{
    RegistrySandbox::SetText(HKEY_CURRENT_USER, kDesktopKey, "MenuShowDelay", "400");
    KeyHandleCounter::Install();
    RunSystemOptimisation(report_);
    ExpectValue(HKEY_CURRENT_USER, kDesktopKey, "menushowdelay", Sz("2"));
    EXPECT_EQ(report_.lines, Join({kDesktopLines, kOptimisationClosing}));
    EXPECT_EQ(KeyHandleCounter::opened, KeyHandleCounter::closed);

    RunSystemOptimisation(report_);  // again: the same report, not appended
    EXPECT_EQ(report_.lines, Join({kDesktopLines, kOptimisationClosing}));
    EXPECT_EQ(report_.clears, 2);
}

TEST_F(TuningSystemOptimisation, MissingDesktopKeyReportsTheLastNineLinesAndCreatesNothing)
{
    RunSystemOptimisation(report_);
    EXPECT_EQ(report_.lines, kOptimisationClosing);
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kDesktopKey));
}

TEST_F(TuningSystemOptimisation, FailedWriteEndsTheActionBeforeItsClosingLines)
{
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kDesktopKey);
    KeyHandleCounter::Install();
    FailWritesOf("menushowdelay");
    EXPECT_EQ(ErrorOf([&] { RunSystemOptimisation(report_); }), "Failed to set data for 'menushowdelay'");
    EXPECT_TRUE(report_.lines.empty());
    EXPECT_EQ(report_.clears, 1);
    EXPECT_EQ(KeyHandleCounter::opened, 1);
    EXPECT_EQ(KeyHandleCounter::closed, 1);
    ExpectNoValue(HKEY_CURRENT_USER, kDesktopKey, "menushowdelay");
}

// ---- Network acceleration ----

void ExpectValues(const char* key, const std::vector<NamedValue>& values, bool written)
{
    for (const NamedValue& value : values) {
        if (written)
            ExpectValue(HKEY_LOCAL_MACHINE, key, value.name, value.value);
        else
            ExpectNoValue(HKEY_LOCAL_MACHINE, key, value.name);
    }
}

class TuningNetworkAcceleration : public RegistryTest {
protected:
    MemoReport report_;
};

// Every mix of the three keys: each step needs only its own key.
TEST_F(TuningNetworkAcceleration, EachStepWritesAndReportsOnlyWhenItsOwnKeyOpens)
{
    enum class Tcp { Absent, WithoutParameters, WithParameters };
    for (bool transport : {false, true}) {
        for (Tcp tcp : {Tcp::Absent, Tcp::WithoutParameters, Tcp::WithParameters}) {
            SCOPED_TRACE("transport " + std::to_string(transport) + ", tcp " + std::to_string(static_cast<int>(tcp)));
            ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "System");
            if (transport)
                RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTransportKey);
            if (tcp != Tcp::Absent)
                RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTcpKey);
            if (tcp == Tcp::WithParameters)
                RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTcpParametersKey);

            KeyHandleCounter::Install();
            RunNetworkAcceleration(report_);
            EXPECT_EQ(KeyHandleCounter::opened, KeyHandleCounter::closed);

            std::vector<std::string> expected;
            if (transport)
                expected = kTransportLines;
            if (tcp == Tcp::WithParameters)
                expected = Join({expected, kParametersLines});
            EXPECT_EQ(report_.lines, expected);
            if (transport)
                ExpectValues(kTransportKey, kTransportValues, true);
            if (tcp != Tcp::Absent)
                ExpectValues(kTcpKey, kTcpValues, true);
            if (tcp == Tcp::WithParameters)
                ExpectValues(kTcpParametersKey, kParametersValues, true);
            if (tcp == Tcp::WithoutParameters) {
                EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_LOCAL_MACHINE, kTcpParametersKey));
            }
            if (!transport) {
                EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_LOCAL_MACHINE, kTransportKey));
            }
        }
    }
}

TEST_F(TuningNetworkAcceleration, ValuesOfOtherTypesAreReplacedAndRunningTwiceWritesAgain)
{
    RegistrySandbox::SetValue(HKEY_LOCAL_MACHINE, kTcpKey, "DefaultTTL", REG_DWORD, Bytes({128, 0, 0, 0}));
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTcpParametersKey, "MaxDupAcks", "2");
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTransportKey, "IPMTU", "1500");
    RunNetworkAcceleration(report_);
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTransportKey, "maxmss", "1460");
    RunNetworkAcceleration(report_);

    EXPECT_EQ(report_.lines, Join({kTransportLines, kParametersLines}));
    EXPECT_EQ(report_.clears, 2);
    ExpectValues(kTransportKey, kTransportValues, true);
    ExpectValues(kTcpKey, kTcpValues, true);
    ExpectValues(kTcpParametersKey, kParametersValues, true);
}

// A write refused halfway: what was written stays, and so do the lines appended so far.
TEST_F(TuningNetworkAcceleration, FailedWriteStopsThereKeepingEarlierValuesAndLinesAndClosingTheKey)
{
    struct Case {
        const char* failing;
        size_t tcpValuesWritten;
        bool sackOptsWritten;
    };
    for (const Case& c : {Case{"DefaultTTL", 2, false}, Case{"MaxDupAcks", 7, true}}) {
        SCOPED_TRACE(c.failing);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "System");
        RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTransportKey);
        RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTcpParametersKey);
        KeyHandleCounter::Install();
        FailWritesOf(c.failing);

        EXPECT_EQ(ErrorOf([&] { RunNetworkAcceleration(report_); }),
                  std::string("Failed to set data for '") + c.failing + "'");
        EXPECT_EQ(report_.lines, kTransportLines);
        EXPECT_EQ(KeyHandleCounter::opened, KeyHandleCounter::closed);
        EXPECT_GE(KeyHandleCounter::opened, 2);

        ExpectValues(kTransportKey, kTransportValues, true);
        for (size_t i = 0; i < kTcpValues.size(); ++i) {
            if (i < c.tcpValuesWritten)
                ExpectValue(HKEY_LOCAL_MACHINE, kTcpKey, kTcpValues[i].name, kTcpValues[i].value);
            else
                ExpectNoValue(HKEY_LOCAL_MACHINE, kTcpKey, kTcpValues[i].name);
        }
        if (c.sackOptsWritten)
            ExpectValue(HKEY_LOCAL_MACHINE, kTcpParametersKey, "SackOpts", Sz("1"));
        else
            ExpectNoValue(HKEY_LOCAL_MACHINE, kTcpParametersKey, "SackOpts");
        ExpectNoValue(HKEY_LOCAL_MACHINE, kTcpParametersKey, "MaxDupAcks");
    }
}

// ---- Cleanup ----

// A recently-used list with values and two levels of subkeys below it.
void BuildList(const std::string& list)
{
    RegistrySandbox::SetText(HKEY_CURRENT_USER, list, "a", "notepad\\1");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, list, "MRUList", "a");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, list + "\\Nested", "url1", "http://a.example/");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, list + "\\Nested\\Deeper\\Deepest", "x", "y");
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, list + "\\Nested\\Sibling");
}

class TuningCleanup : public RegistryTest {
protected:
    // The four lists, and around them what must survive: the opened keys' own values and
    // their other subkeys, some with names that begin like a list's.
    void BuildAll(bool explorer, bool browser, bool player)
    {
        if (explorer) {
            BuildList(std::string(kExplorerKey) + "\\RunMRU");
            BuildList(std::string(kExplorerKey) + "\\Doc Find Spec MRU");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRUKeep", "k", "v");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, kExplorerKey, "ShellState", "keep");
        }
        if (browser) {
            BuildList(std::string(kBrowserKey) + "\\TypedURLs");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, std::string(kBrowserKey) + "\\Main", "Start Page", "keep");
        }
        if (player) {
            BuildList(std::string(kPlayerKey) + "\\RecentURLList");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, std::string(kPlayerKey) + "\\Settings", "k", "v");
        }
    }

    void ExpectSurvivorsOf(bool explorer, bool browser, bool player)
    {
        if (explorer) {
            EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRU"));
            EXPECT_FALSE(
                RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\Doc Find Spec MRU"));
            EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRUKeep"));
            ExpectValue(HKEY_CURRENT_USER, kExplorerKey, "ShellState", Sz("keep"));
            EXPECT_EQ(RegistrySandbox::SubkeyCount(HKEY_CURRENT_USER, kExplorerKey), 1u);
        }
        if (browser) {
            EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kBrowserKey) + "\\TypedURLs"));
            ExpectValue(HKEY_CURRENT_USER, std::string(kBrowserKey) + "\\Main", "Start Page", Sz("keep"));
        }
        if (player) {
            EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kPlayerKey) + "\\RecentURLList"));
            EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kPlayerKey) + "\\Settings"));
        }
    }

    MemoReport report_;
};

TEST_F(TuningCleanup, DeletesTheFourListsWithEverythingBelowThemAndNothingElse)
{
    BuildAll(true, true, true);
    KeyHandleCounter::Install();
    RunCleanup(report_);
    EXPECT_EQ(report_.lines, Join({kCleanupOpening, kExplorerLines, kBrowserLines, kPlayerLines, kCleanupClosing}));
    ExpectSurvivorsOf(true, true, true);
    EXPECT_EQ(KeyHandleCounter::opened, KeyHandleCounter::closed);
}

TEST_F(TuningCleanup, ReportsOnlyTheKeysThatOpenBetweenItsFixedLines)
{
    for (int mask = 0; mask < 8; ++mask) {
        const bool explorer = mask & 1, browser = mask & 2, player = mask & 4;
        SCOPED_TRACE(mask);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software");
        BuildAll(explorer, browser, player);
        RunCleanup(report_);
        EXPECT_EQ(report_.lines, Join({kCleanupOpening, explorer ? kExplorerLines : std::vector<std::string>{},
                                       browser ? kBrowserLines : std::vector<std::string>{},
                                       player ? kPlayerLines : std::vector<std::string>{}, kCleanupClosing}));
        ExpectSurvivorsOf(explorer, browser, player);
    }
}

// Its "已清除" line is written before the deletion, so a list still there afterwards is named
// again after its step's lines; one that was not there counts as cleared.
TEST_F(TuningCleanup, ListStillThereIsNamedAfterItsStepAndOneAlreadyGoneCountsAsCleared)
{
    for (const ListRule* list : {&kRunList, &kFindList, &kPlayerList})
        BuildList(list->Path());
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kBrowserKey);  // no address list under it
    ActiveRegistryApi().DeleteOpenedKey = [](HKEY) -> LSTATUS { return ERROR_ACCESS_DENIED; };
    const auto expected = Join({kCleanupOpening, kExplorerLines, {kRunList.NotCleared(), kFindList.NotCleared()},
                                kBrowserLines, kPlayerLines, {kPlayerList.NotCleared()}, kCleanupClosing});
    EXPECT_EQ(ErrorOf([&] { RunCleanup(report_); }), "");
    EXPECT_EQ(report_.lines, expected);
    for (const ListRule* list : {&kRunList, &kFindList, &kPlayerList})
        EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, list->Path())) << list->subkey;

    RunCleanup(report_);  // twice: the same report
    EXPECT_EQ(report_.lines, expected);
    EXPECT_EQ(report_.clears, 2);
}

// ---- Online repair ----

TEST(TuningOnlineRepair, AsksTheUserFirstThenHandsExactlyThePageAndOwnerToTheShell)
{
    std::vector<std::string> log;
    FakeMachine machine;
    machine.log = &log;
    const HWND owner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234));

    RunOnlineRepair(machine, owner, [&](const std::string& text) { log.push_back("message:" + text); },
                    [&] { log.push_back("goes on?"); return true; });

    EXPECT_EQ(log, (std::vector<std::string>{"message:确保已经连到网上！在线自动修复！", "goes on?",
                                             std::string("shell:") + product::kOnlineRepairPage}));
    ASSERT_EQ(machine.shellCalls.size(), 1u);
    EXPECT_EQ(machine.shellCalls[0].owner, owner);
    EXPECT_EQ(machine.shellCalls[0].file, "https://www.kelvane.example/ie.htm");
    EXPECT_EQ(machine.diskQueries + machine.tempPathQueries, 0);

    // Ended while the notice was up: nothing is started on the way out.
    RunOnlineRepair(machine, owner, [](const std::string&) {}, [] { return false; });
    EXPECT_EQ(machine.shellCalls.size(), 1u);
}

// Elevated, with the desktop's shell not to be asked, nothing is started: the user is told where
// the page is, or where to write.
TEST(TuningOnlineRepair, WhereNothingMayBeStartedTheUserIsToldWhereThePageIs)
{
    std::vector<std::string> messages;
    FakeMachine machine;
    machine.refusesHandOff = true;
    const auto show = [&](const std::string& text) { messages.push_back(text); };

    RunOnlineRepair(machine, nullptr, show, [] { return true; });
    OpenOrSayWhere(machine, nullptr, std::string("mailto:") + product::kSupportEmail, show);

    EXPECT_TRUE(machine.shellCalls.empty());
    EXPECT_EQ(messages, (std::vector<std::string>{"确保已经连到网上！在线自动修复！",
                                                  "无法打开网页。请在浏览器中打开：https://www.kelvane.example/ie.htm",
                                                  "无法打开邮件程序。请把邮件发送到：support@kelvane.example"}));
}

} // namespace
