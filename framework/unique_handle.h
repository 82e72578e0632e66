// Owning wrappers for the platform's handles. Each object closes what it
// holds exactly once, when it goes out of scope, so that "closed on every
// path" holds by construction. Objects declared later in a scope are destroyed
// first, which gives the closing order for free (a service handle declared
// after its manager handle is closed before it).
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, Type{})) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, Type{});
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Type{}; }

    void reset() noexcept
    {
        if (value_ != Type{}) {
            Traits::Close(std::exchange(value_, Type{}));
        }
    }

private:
    Type value_{};
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static void Close(SC_HANDLE handle) noexcept { CloseServiceHandle(handle); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static void Close(HMODULE module) noexcept { FreeLibrary(module); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueServiceHandle = UniqueResource<ServiceHandleTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
