#include "win/AccessibleItems.h"

#include "common/SystemLibrary.h"
#include "common/Variant.h"
#include "win/UiLibraries.h"

namespace {

const VARIANT kSelf = LongVariant(CHILDID_SELF);

// A reader's out-parameters, each checked and emptied before anything else: whatever the
// answer, a caller never reads what it was not given.
template <typename... Out>
bool Emptied(Out*... out)
{
    if (((out == nullptr) || ...))
        return false;
    ((*out = Out{}), ...);
    return true;
}

// `result` has been emptied by the caller.
HRESULT Text(const std::wstring& text, BSTR* result)
{
    if (text.empty())
        return S_FALSE;
    *result = late::SysAllocString(text.c_str());
    return *result ? S_OK : E_OUTOFMEMORY;
}

} // namespace

bool PrepareAccessibility()
{
    static const bool ready = SUCCEEDED(late::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return ready;
}

AccessibleItems::AccessibleItems(HWND window, AccessibleItemSource& source) : source_(&source)
{
    late::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, standard_.PutVoid());
}

AccessibleItems::Target AccessibleItems::Resolve(const VARIANT& child) const
{
    if (!source_)
        return {Target::Disconnected, 0};
    if (child.vt != VT_I4)
        return {Target::Invalid, 0};
    if (child.lVal == CHILDID_SELF)
        return {Target::Self, 0};
    const long items = source_->ItemCount();
    const long windows = static_cast<long>(source_->ChildWindows().size());
    if (child.lVal >= 1 && child.lVal <= items)
        return {Target::Item, static_cast<int>(child.lVal - 1)};
    if (child.lVal > items && child.lVal <= items + windows)
        return {Target::Window, static_cast<int>(child.lVal - 1 - items)};
    return {Target::Invalid, 0};
}

ComPtr<IAccessible> AccessibleItems::WindowObject(int index) const
{
    ComPtr<IAccessible> object;
    const std::vector<HWND> windows = source_->ChildWindows();
    late::AccessibleObjectFromWindow(windows.at(static_cast<size_t>(index)), static_cast<DWORD>(OBJID_WINDOW),
                                     IID_IAccessible, object.PutVoid());
    return object;
}

// ---- IUnknown and IDispatch ----

std::optional<LRESULT> AccessibleObject::Answer(HWND window, AccessibleItemSource& source, WPARAM flags,
                                                LPARAM objectId)
{
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || closed_ || !PrepareAccessibility())
        return std::nullopt;
    if (!object_)
        *object_.Put() = new AccessibleItems(window, source);
    return late::LresultFromObject(IID_IAccessible, flags, object_.Get());
}

void AccessibleObject::Close() noexcept
{
    closed_ = true;
    if (object_)
        object_->Disconnect();
}

HRESULT AccessibleItems::QueryInterface(REFIID id, void** object)
{
    if (!object)
        return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleItems::AddRef()
{
    return ++references_;
}

ULONG AccessibleItems::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT AccessibleItems::GetTypeInfoCount(UINT* count)
{
    if (!Emptied(count))
        return E_INVALIDARG;
    return S_OK;
}

HRESULT AccessibleItems::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (!Emptied(info))
        return E_INVALIDARG;
    return E_NOTIMPL;
}

HRESULT AccessibleItems::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT AccessibleItems::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// ---- The tree ----

HRESULT AccessibleItems::get_accParent(IDispatch** parent)
{
    if (!Emptied(parent))
        return E_INVALIDARG;
    if (!source_)
        return CO_E_OBJNOTCONNECTED;
    return standard_ ? standard_->get_accParent(parent) : E_FAIL;
}

HRESULT AccessibleItems::get_accChildCount(long* count)
{
    if (!Emptied(count))
        return E_INVALIDARG;
    if (!source_)
        return CO_E_OBJNOTCONNECTED;
    *count = source_->ItemCount() + static_cast<long>(source_->ChildWindows().size());
    return S_OK;
}

HRESULT AccessibleItems::get_accChild(VARIANT child, IDispatch** object)
{
    if (!Emptied(object))
        return E_INVALIDARG;
    const Target target = Resolve(child);
    switch (target.kind) {
    case Target::Item:
        return S_FALSE;  // a simple element: its parent answers for it
    case Target::Window: {
        ComPtr<IAccessible> window = WindowObject(target.index);
        return window ? window->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object)) : E_FAIL;
    }
    case Target::Disconnected:
        return CO_E_OBJNOTCONNECTED;
    default:
        return E_INVALIDARG;
    }
}

HRESULT AccessibleItems::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!Emptied(end))
        return E_INVALIDARG;
    const Target target = Resolve(start);
    if (target.kind == Target::Disconnected)
        return CO_E_OBJNOTCONNECTED;
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    long count = 0;
    get_accChildCount(&count);
    long next = 0;
    if (target.kind == Target::Self) {
        if (direction == NAVDIR_FIRSTCHILD)
            next = 1;
        else if (direction == NAVDIR_LASTCHILD)
            next = count;
        else
            return standard_ ? standard_->accNavigate(direction, start, end) : E_FAIL;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        next = start.lVal + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        next = start.lVal - 1;
    } else {
        return S_FALSE;
    }
    if (next < 1 || next > count)
        return S_FALSE;
    if (Resolve(LongVariant(next)).kind == Target::Window) {
        IDispatch* window = nullptr;
        if (get_accChild(LongVariant(next), &window) != S_OK)
            return S_FALSE;
        end->vt = VT_DISPATCH;
        end->pdispVal = window;
        return S_OK;
    }
    *end = LongVariant(next);
    return S_OK;
}

HRESULT AccessibleItems::accHitTest(long x, long y, VARIANT* child)
{
    if (!Emptied(child))
        return E_INVALIDARG;
    if (!source_)
        return CO_E_OBJNOTCONNECTED;
    const POINT point{x, y};
    for (int i = 0; i < source_->ItemCount(); ++i) {
        const RECT screen = source_->ItemAt(i).screen;
        if (::PtInRect(&screen, point)) {
            *child = LongVariant(i + 1);
            return S_OK;
        }
    }
    return standard_ ? standard_->accHitTest(x, y, child) : S_FALSE;
}

HRESULT AccessibleItems::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!Emptied(left, top, width, height))
        return E_INVALIDARG;
    const Target target = Resolve(child);
    RECT screen{};
    switch (target.kind) {
    case Target::Self:
        return standard_ ? standard_->accLocation(left, top, width, height, child) : E_FAIL;
    case Target::Item:
        screen = source_->ItemAt(target.index).screen;
        break;
    case Target::Window:
        ::GetWindowRect(source_->ChildWindows().at(static_cast<size_t>(target.index)), &screen);
        break;
    case Target::Disconnected:
        return CO_E_OBJNOTCONNECTED;
    default:
        return E_INVALIDARG;
    }
    *left = screen.left;
    *top = screen.top;
    *width = screen.right - screen.left;
    *height = screen.bottom - screen.top;
    return S_OK;
}

// ---- What each child says: the items answer here, the rest through their own objects ----

template <typename Forward, typename ItemAnswer>
HRESULT AccessibleItems::Answer(const VARIANT& child, Forward forward, ItemAnswer answer) const
{
    const Target target = Resolve(child);
    switch (target.kind) {
    case Target::Self:
        return standard_ ? forward(standard_.Get(), child) : E_FAIL;
    case Target::Window: {
        const ComPtr<IAccessible> window = WindowObject(target.index);
        return window ? forward(window.Get(), kSelf) : E_FAIL;
    }
    case Target::Item:
        return answer(target.index);
    case Target::Disconnected:
        return CO_E_OBJNOTCONNECTED;
    default:
        return E_INVALIDARG;
    }
}

HRESULT AccessibleItems::get_accName(VARIANT child, BSTR* name)
{
    if (!Emptied(name))
        return E_INVALIDARG;
    return Answer(
        child, [name](IAccessible* object, VARIANT id) { return object->get_accName(id, name); },
        [this, name](int item) { return Text(source_->ItemAt(item).name, name); });
}

HRESULT AccessibleItems::get_accValue(VARIANT child, BSTR* value)
{
    if (!Emptied(value))
        return E_INVALIDARG;
    return Answer(
        child, [value](IAccessible* object, VARIANT id) { return object->get_accValue(id, value); },
        [value](int) { return Text({}, value); });
}

HRESULT AccessibleItems::get_accDescription(VARIANT child, BSTR* description)
{
    if (!Emptied(description))
        return E_INVALIDARG;
    return Answer(
        child, [description](IAccessible* object, VARIANT id) { return object->get_accDescription(id, description); },
        [this, description](int item) { return Text(source_->ItemAt(item).description, description); });
}

HRESULT AccessibleItems::get_accRole(VARIANT child, VARIANT* role)
{
    if (!Emptied(role))
        return E_INVALIDARG;
    return Answer(
        child, [role](IAccessible* object, VARIANT id) { return object->get_accRole(id, role); },
        [role](int) {
            *role = LongVariant(ROLE_SYSTEM_PUSHBUTTON);
            return S_OK;
        });
}

HRESULT AccessibleItems::get_accState(VARIANT child, VARIANT* state)
{
    if (!Emptied(state))
        return E_INVALIDARG;
    return Answer(
        child, [state](IAccessible* object, VARIANT id) { return object->get_accState(id, state); },
        [this, state](int item) {
            *state = LongVariant(source_->ItemAt(item).hot ? STATE_SYSTEM_HOTTRACKED : 0);
            return S_OK;
        });
}

HRESULT AccessibleItems::get_accHelp(VARIANT child, BSTR* help)
{
    if (!Emptied(help))
        return E_INVALIDARG;
    return Answer(
        child, [help](IAccessible* object, VARIANT id) { return object->get_accHelp(id, help); },
        [help](int) { return Text({}, help); });
}

HRESULT AccessibleItems::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    if (!Emptied(file, topic))
        return E_INVALIDARG;
    return Answer(
        child, [file, topic](IAccessible* object, VARIANT id) { return object->get_accHelpTopic(file, id, topic); },
        [](int) { return S_FALSE; });
}

HRESULT AccessibleItems::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    if (!Emptied(shortcut))
        return E_INVALIDARG;
    return Answer(
        child, [shortcut](IAccessible* object, VARIANT id) { return object->get_accKeyboardShortcut(id, shortcut); },
        [this, shortcut](int item) { return Text(source_->ItemAt(item).shortcut, shortcut); });
}

HRESULT AccessibleItems::get_accDefaultAction(VARIANT child, BSTR* action)
{
    if (!Emptied(action))
        return E_INVALIDARG;
    return Answer(
        child, [action](IAccessible* object, VARIANT id) { return object->get_accDefaultAction(id, action); },
        [action](int) { return Text(L"press", action); });
}

HRESULT AccessibleItems::accDoDefaultAction(VARIANT child)
{
    return Answer(
        child, [](IAccessible* object, VARIANT id) { return object->accDoDefaultAction(id); },
        [this](int item) {
            source_->Press(item);
            return S_OK;
        });
}

HRESULT AccessibleItems::accSelect(long flags, VARIANT child)
{
    return Answer(
        child, [flags](IAccessible* object, VARIANT id) { return object->accSelect(flags, id); },
        [](int) { return S_FALSE; });
}

HRESULT AccessibleItems::get_accFocus(VARIANT* focus)
{
    if (!Emptied(focus))
        return E_INVALIDARG;
    if (!source_)
        return CO_E_OBJNOTCONNECTED;
    return standard_ ? standard_->get_accFocus(focus) : E_FAIL;
}

HRESULT AccessibleItems::get_accSelection(VARIANT* selection)
{
    if (!Emptied(selection))
        return E_INVALIDARG;
    return source_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleItems::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT AccessibleItems::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}
