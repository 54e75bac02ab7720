#pragma once

#include "common/ComPtr.h"

#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>
#include <vector>

// What a window draws itself but a screen reader cannot see: push buttons painted on its
// client area. The window describes them through this interface; AccessibleItems presents them.
class AccessibleItemSource {
public:
    struct Item {
        std::wstring name;
        std::wstring description;
        std::wstring shortcut;  // empty: none
        RECT screen;
        bool hot;  // under the pointer, highlighted
    };

    virtual int ItemCount() const = 0;
    virtual Item ItemAt(int index) const = 0;
    // Runs what a click on the item runs, after the caller has been answered.
    virtual void Press(int index) = 0;
    // The window's child windows that follow the items, in the order a reader meets them.
    virtual std::vector<HWND> ChildWindows() const = 0;

protected:
    ~AccessibleItemSource() = default;
};

// The client area of a window as Microsoft Active Accessibility (and through it UI Automation)
// sees it: first the painted items as push buttons (children 1 to n, default action "press"),
// then the child windows as their own objects. The client area itself is left to the system's
// standard object. A window answers WM_GETOBJECT for OBJID_CLIENT with it through an
// AccessibleObject, which disconnects it when the window or its C++ object goes, since a reader
// may hold it longer. Every out-parameter is checked (E_INVALIDARG) and emptied before any answer;
// once disconnected, every question fails with CO_E_OBJNOTCONNECTED.
// A COM object deletes itself in Release, never through an interface pointer, so the interface's
// destructor need not be virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleItems final : public IAccessible {
public:
    AccessibleItems(HWND window, AccessibleItemSource& source);
    AccessibleItems(const AccessibleItems&) = delete;
    AccessibleItems& operator=(const AccessibleItems&) = delete;

    void Disconnect() noexcept { source_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    ~AccessibleItems() = default;

    // What a child id names: the client area itself, an item, a child window, or nothing.
    struct Target {
        enum Kind { Self, Item, Window, Invalid, Disconnected } kind;
        int index;
    };
    Target Resolve(const VARIANT& child) const;
    ComPtr<IAccessible> WindowObject(int index) const;
    // The client area itself and the child windows answer through their own objects
    // (`forward`), the items here (`answer`, given the item's index).
    template <typename Forward, typename ItemAnswer>
    HRESULT Answer(const VARIANT& child, Forward forward, ItemAnswer answer) const;

    ULONG references_ = 1;
    AccessibleItemSource* source_;
    ComPtr<IAccessible> standard_;
};
#pragma GCC diagnostic pop

// The object one window hands to screen readers: made when a reader first asks, disconnected by
// Close or by the holder's end, whichever comes first; none is made after that.
class AccessibleObject {
public:
    AccessibleObject() = default;
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;
    ~AccessibleObject() { Close(); }

    // The answer to WM_GETOBJECT on `window` for the client area; nothing for any other object
    // and once closed, which the window leaves to its default handling.
    std::optional<LRESULT> Answer(HWND window, AccessibleItemSource& source, WPARAM flags, LPARAM objectId);
    void Close() noexcept;

private:
    ComPtr<AccessibleItems> object_;
    bool closed_ = false;
};

// Makes COM ready on the window thread for answering WM_GETOBJECT; the thread keeps it until
// the process ends.
bool PrepareAccessibility();
