#pragma once

#include "actions/Machine.h"
#include "actions/Report.h"

#include <string>
#include <vector>

// Behaves as the report area does: Clear removes every line. Optionally writes what happens to
// a shared log, so tests can see the order of reads and lines.
class MemoReport : public Report {
public:
    void Clear() override
    {
        lines.clear();
        ++clears;
        if (log)
            log->push_back("clear");
    }
    void AppendLine(const std::string& line) override
    {
        lines.push_back(line);
        if (log)
            log->push_back("line:" + line);
    }
    // The parts joined as bytes: what the report area shows where the ANSI code page is GBK.
    void AppendValueLine(const std::string& label, const std::string& value, const std::string& suffix) override
    {
        AppendLine(label + value + suffix);
    }

    std::vector<std::string> lines;
    int clears = 0;
    std::vector<std::string>* log = nullptr;
};

// A machine with any drive, temporary folder and separator, recording what it hands the shell
// and, in `log`, every call it gets. Its calls are numbered from 0 in the order they come; the
// one numbered `failingCall` fails as the real machine's would: no counts, no folder, the
// default separator, no hand-off.
class FakeMachine : public Machine {
public:
    struct ShellCall {
        HWND owner;
        std::string file;
    };

    DiskCounts QueryDriveC() override
    {
        ++diskQueries;
        Log("drive C:");
        return Fails() ? DiskCounts{} : disk;
    }
    std::string QueryTempPath() override
    {
        ++tempPathQueries;
        Log("temporary folder");
        return Fails() ? std::string() : tempPath;
    }
    char QueryThousandsSeparator() override
    {
        Log("thousands separator");
        return Fails() ? ',' : separator;
    }
    bool OpenWithShell(HWND owner, const std::string& file) override
    {
        Log("shell:" + file);
        if (!Fails() && !refusesHandOff)
            shellCalls.push_back({owner, file});
        return !refusesHandOff;
    }

    DiskCounts disk;
    std::string tempPath;
    char separator = ',';
    int diskQueries = 0;
    int tempPathQueries = 0;
    std::vector<ShellCall> shellCalls;
    bool refusesHandOff = false;  // as an elevated program whose desktop shell cannot be asked
    std::vector<std::string>* log = nullptr;
    int calls = 0;
    int failingCall = -1;

private:
    bool Fails() { return calls++ == failingCall; }
    void Log(const std::string& call)
    {
        if (log)
            log->push_back(call);
    }
};
