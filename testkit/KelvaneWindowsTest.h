#pragma once

#include "actions/Machine.h"
#include "app/ErrorReport.h"
#include "app/TApplication.h"
#include "win/WindowFailure.h"
#include "registry/RegistryApi.h"
#include "testkit/RegistrySandbox.h"
#include "testkit/TestDoubles.h"
#include "testkit/WindowProbes.h"
#include "ui/help/TForm3.h"
#include "ui/main/TForm1.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// What the error report handed to the message box, and what held while it was up.
struct ErrorBoxCall {
    HWND owner;
    std::string text;     // GBK
    std::string caption;  // GBK
    UINT flags;
    bool programWindowsDisabled;  // the application window and both forms
    HWND capture;
};

// Every error box shown since the fixture was set up.
std::vector<ErrorBoxCall>& RecordedErrorBoxes();

// The application object, the main window and the help window as the program builds them at
// start, on a sandboxed registry and a machine double; the main window shown as after a normal
// start. Every plain message dialog and error box is recorded instead of shown, unless a test
// puts the real one back.
class KelvaneWindowsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TApplication& Application() { return *application_; }
    TForm1& Form1() { return *form1_; }
    TForm3& Form3() { return *form3_; }
    HWND AppWindow() const { return application_->Handle(); }
    HWND Main() const { return form1_->Handle(); }
    HWND Help() const { return form3_->Handle(); }

    // Dispatches whatever is queued, as the program's loop would (shortcut keys included). A
    // quit message is noted, not acted on.
    void Pump();
    bool QuitPosted() const { return quitPosted_; }
    // Dispatches messages until `condition` holds or `limit` milliseconds have passed; whether
    // it held.
    template <typename Condition>
    bool WaitUntil(Condition condition, DWORD limit = 5000)
    {
        const ULONGLONG deadline = ::GetTickCount64() + limit;
        for (;;) {
            Pump();
            if (condition())
                return true;
            if (::GetTickCount64() >= deadline)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    // Pointer messages at a client point of the main window, sent to whichever window is
    // there (the main window itself, the tool bar, the status bar or the report area), in that
    // window's client coordinates, as the system would address them.
    HWND WindowAt(POINT client) const;
    void MoveTo(int x, int y);
    void ClickAt(int x, int y);
    void PressAt(int x, int y);
    void ReleaseAt(int x, int y);
    void RightClickAt(int x, int y);
    // A pointer move straight at a tool-bar point (tool-bar client coordinates).
    void MoveOnToolBar(int x, int y);
    // A tool button by its hint (常见问题, 给我写信, 退出): its command, its rectangle, and a press
    // and release at its centre.
    static UINT ToolButtonCommand(const char* hint);
    RECT ToolButtonRect(const char* hint) const;
    void ClickToolButton(const char* hint);

    // Chooses a help topic from the help window's menu bar, by position.
    void ChooseHelpMenuItem(int position);

    std::string Status() const { return probe::StatusText(form1_->StatusBar1(), 0); }
    std::vector<std::string> ReportLines() const { return form1_->Report().Lines(); }
    std::vector<std::string> HelpLines() const { return form3_->Lines(); }
    // Which of the five frames the hover state holds highlighted, e.g. "01000". What the screen
    // shows is read from its pixels where a test needs that.
    std::string Frames() const;

    // Ends the main window's C++ object while its window stays, as a failed start does.
    void DestroyForm1Object() { form1_.reset(); }

    // Puts the system's message box back in place of the recorder.
    void UseRealErrorBox() { ErrorBox() = realErrorBox_; }
    // Lets TearDown accept error boxes the test expected.
    void ExpectErrorBoxes() { errorBoxesExpected_ = true; }

    static std::vector<ErrorBoxCall>& ErrorBoxCalls() { return RecordedErrorBoxes(); }
    std::vector<std::string> messagesShown_;
    RegistrySandbox sandbox_;
    FakeMachine machine_;

private:
    std::unique_ptr<TApplication> application_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm3> form3_;
    ErrorBoxFunction realErrorBox_ = nullptr;
    RegistryApi savedRegistryApi_{};
    bool quitPosted_ = false;
    bool errorBoxesExpected_ = false;
};

// The five tiles by the design: where to click a label clear of its icon, a point of its icon
// over the label, and the frame that belongs to it.
struct TilePoints {
    const char* name;
    POINT label;
    POINT iconOverLabel;
};
inline constexpr TilePoints kTilePoints[5] = {
    {"Label2", {90, 94}, {30, 95}},
    {"Label3", {90, 126}, {30, 125}},
    {"Label4", {90, 158}, {30, 157}},
    {"Label5", {90, 190}, {30, 189}},
    {"Label6", {90, 222}, {30, 221}},
};
