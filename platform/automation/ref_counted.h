#pragma once
// Reference-counted objects shared between a container and the objects it
// drives. Counting is atomic because a container may hand references to
// another thread; the objects themselves are used on one thread at a time.

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace platform {

class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    void addRef() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
    void release() const noexcept
    {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    long refCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

protected:
    virtual ~RefCounted() = default;

private:
    mutable std::atomic<long> refs_{0};
};

// Intrusive owning pointer for any type with addRef()/release().
template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* p) noexcept : p_(p) { if (p_) p_->addRef(); }
    Ref(const Ref& o) noexcept : p_(o.p_) { if (p_) p_->addRef(); }
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    Ref(const Ref<U>& o) noexcept : p_(o.get()) { if (p_) p_->addRef(); }
    ~Ref() { if (p_) p_->release(); }

    Ref& operator=(Ref o) noexcept { std::swap(p_, o.p_); return *this; }

    // Takes over a reference the caller already owns.
    static Ref adopt(T* p) noexcept { Ref r; r.p_ = p; return r; }
    T* detach() noexcept { return std::exchange(p_, nullptr); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

private:
    T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> makeRef(Args&&... args)
{
    return Ref<T>(new T(std::forward<Args>(args)...));
}

} // namespace platform
