#pragma once

#include <utility>

// Owns one reference to a COM object and releases it at the end of its life.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ~ComPtr()
    {
        if (pointer_)
            pointer_->Release();
    }

    Interface* Get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }
    // The place a COM call stores a new reference in; an earlier one is released first.
    Interface** Put() noexcept
    {
        if (pointer_)
            std::exchange(pointer_, nullptr)->Release();
        return &pointer_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

private:
    Interface* pointer_ = nullptr;
};
