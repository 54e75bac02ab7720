// TRegistry::DeleteTree against RegDeleteTreeA on trees of 1,000 and 10,000 keys in the registry
// sandbox, and the calls DeleteTree makes for each key.
#include "bench/CallCounts.h"
#include "bench/Figures.h"
#include "bench/Measure.h"
#include "registry/TRegistry.h"
#include "testkit/RegistrySandbox.h"

#include <iterator>

namespace bench {
namespace {

constexpr char kTreeName[] = "KelvaneBenchTree";

// Creates HKCU\KelvaneBenchTree with `keys` keys in all, itself included, filled breadth first
// with 10 subkeys to a key.
void BuildTree(int keys)
{
    std::vector<HKEY> level(1);
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kTreeName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &level[0],
                          nullptr) != ERROR_SUCCESS)
        Abandon("cannot create the tree's root");
    int created = 1;
    while (created < keys) {
        std::vector<HKEY> next;
        for (HKEY parent : level) {
            for (int child = 0; child < 10 && created < keys; ++child, ++created) {
                HKEY key = nullptr;
                const std::string name = "Key" + std::to_string(child);
                if (::RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                      nullptr) != ERROR_SUCCESS)
                    Abandon("cannot create a key of the tree");
                next.push_back(key);
            }
        }
        for (HKEY parent : level)
            ::RegCloseKey(parent);
        level = std::move(next);
    }
    for (HKEY key : level)
        ::RegCloseKey(key);
}

void ExpectTreeGone(const char* deleter)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTreeName, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegCloseKey(key);
        Abandon(std::string(deleter) + " left the tree behind");
    }
}

double TimeDeleteTree(int keys)
{
    BuildTree(keys);
    TRegistry registry;
    registry.SelectRoot(HKEY_CURRENT_USER);
    const double start = Now();
    const bool deleted = registry.DeleteTree(std::string("\\") + kTreeName);
    const double elapsed = Now() - start;
    if (!deleted)
        Abandon("TRegistry::DeleteTree failed");
    ExpectTreeGone("TRegistry::DeleteTree");
    return elapsed;
}

double TimeRegDeleteTree(int keys)
{
    BuildTree(keys);
    const double start = Now();
    const LSTATUS status = ::RegDeleteTreeA(HKEY_CURRENT_USER, kTreeName);
    const double elapsed = Now() - start;
    if (status != ERROR_SUCCESS)
        Abandon("RegDeleteTreeA failed with " + std::to_string(status));
    ExpectTreeGone("RegDeleteTreeA");
    return elapsed;
}

} // namespace

void BenchDeleteTree()
{
    RegistrySandbox sandbox;

    // One counted deletion: the calls TRegistry makes for each key.
    const int countedKeys = 1000;
    BuildTree(countedKeys);
    CallCounts calls;
    {
        CountedRegistryCalls counting;
        {
            TRegistry registry;
            registry.SelectRoot(HKEY_CURRENT_USER);
            registry.DeleteTree(std::string("\\") + kTreeName);
        }
        calls = counting.counts;
    }
    ExpectTreeGone("TRegistry::DeleteTree");

    // Both sizes and both deleters take turns within every round, the order turning each round,
    // so that a change in the machine's load during the run reaches all four series alike. The
    // small tree, quick to build and delete and so the more easily disturbed, is timed three times
    // a round.
    const int rounds = 13;
    const int smallPerRound = 3;
    std::vector<double> small, smallBaseline, large, largeBaseline;
    const std::function<void()> runs[] = {
        [&] {
            for (int run = 0; run < smallPerRound; ++run)
                small.push_back(TimeDeleteTree(1000));
        },
        [&] {
            for (int run = 0; run < smallPerRound; ++run)
                smallBaseline.push_back(TimeRegDeleteTree(1000));
        },
        [&] { large.push_back(TimeDeleteTree(10000)); },
        [&] { largeBaseline.push_back(TimeRegDeleteTree(10000)); },
    };
    for (int round = 0; round < rounds; ++round)
        for (size_t run = 0; run < std::size(runs); ++run)
            runs[(run + static_cast<size_t>(round)) % std::size(runs)]();

    for (const int keys : {1000, 10000}) {
        const double measured = Median(keys == 1000 ? small : large);
        const double baseline = Median(keys == 1000 ? smallBaseline : largeBaseline);
        const double ratio = measured / baseline;
        std::printf("DeleteTree, %d keys: TRegistry::DeleteTree %.1f ms, RegDeleteTreeA %.1f ms (medians of %d): "
                    "ratio %.2f, target <= 1.30 %s\n",
                    keys, measured, baseline, keys == 1000 ? rounds * smallPerRound : rounds, ratio,
                    Verdict(ratio <= 1.3));
    }
    const double growth = Median(large) / Median(small);
    std::printf("DeleteTree, 10,000 keys against 1,000: %.2f times as long (RegDeleteTreeA: %.2f), "
                "target <= 11 %s\n",
                growth, Median(largeBaseline) / Median(smallBaseline), Verdict(growth <= 11.0));
    std::printf("  TRegistry::DeleteTree, registry calls per key: %.2f (open %.2f, query info %.2f, enumerate "
                "%.2f, delete %.2f, close %.2f)\n",
                static_cast<double>(calls.Total()) / countedKeys, static_cast<double>(calls.open) / countedKeys,
                static_cast<double>(calls.info) / countedKeys, static_cast<double>(calls.enumerate) / countedKeys,
                static_cast<double>(calls.remove) / countedKeys, static_cast<double>(calls.close) / countedKeys);
}

} // namespace bench
