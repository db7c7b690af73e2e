#pragma once

#include <utility>

namespace quorvel {

// Owns one handle and closes it once, through Traits::Close; Traits::Invalid() is the value
// that means "no handle". Traits may carry what closing needs (the interface that opened the
// handle, say); stateless traits cost nothing.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Traits traits = {}) : handle_(handle), traits_(traits) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()), traits_(other.traits_) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            traits_ = other.traits_;
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) traits_.Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
    [[no_unique_address]] Traits traits_{};
};

// Owns a handle that the seam interface which opened it must close, e.g. a registry key that
// Registry::CloseKey closes.
template <typename Seam, typename H, H kInvalid, void (Seam::*CloseFn)(H)>
struct ClosedThroughSeam {
    using Handle = H;
    Seam* seam = nullptr;
    static Handle Invalid() { return kInvalid; }
    void Close(Handle handle) const { (seam->*CloseFn)(handle); }
};

template <typename Seam, typename H, H kInvalid, void (Seam::*CloseFn)(H)>
class SeamHandle : public UniqueHandle<ClosedThroughSeam<Seam, H, kInvalid, CloseFn>> {
public:
    SeamHandle() = default;
    SeamHandle(Seam& seam, H handle)
        : UniqueHandle<ClosedThroughSeam<Seam, H, kInvalid, CloseFn>>(handle, {&seam}) {}
};

}  // namespace quorvel
