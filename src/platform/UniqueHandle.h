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

}  // namespace quorvel
