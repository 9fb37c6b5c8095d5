#pragma once
// Free notification: an object announces that it is being destroyed, so
// whoever keeps a plain pointer to it can clear that pointer.  TFreeRef is
// such a pointer that clears itself.

#include <cstdint>
#include <functional>
#include <map>

class TFreeNotifier {
public:
    using TToken = uint64_t;
    using TCallback = std::function<void(TFreeNotifier*)>;

    TFreeNotifier() = default;
    TFreeNotifier(const TFreeNotifier&) = delete;
    TFreeNotifier& operator=(const TFreeNotifier&) = delete;
    virtual ~TFreeNotifier();

    TToken AddFreeNotification(TCallback callback);
    void RemoveFreeNotification(TToken token);

private:
    std::map<TToken, TCallback> FObservers;
    TToken FNextToken = 1;
    bool FDestroying = false;
};

// A pointer to a TFreeNotifier-derived object that becomes null when the
// object is destroyed; an optional callback runs then.
template <typename T>
class TFreeRef {
public:
    TFreeRef() = default;
    explicit TFreeRef(T* target, std::function<void()> onFree = {}) { Reset(target, std::move(onFree)); }
    TFreeRef(const TFreeRef&) = delete;
    TFreeRef& operator=(const TFreeRef&) = delete;
    ~TFreeRef() { Detach(); }

    void Reset(T* target = nullptr, std::function<void()> onFree = {})
    {
        Detach();
        FTarget = target;
        FOnFree = std::move(onFree);
        if (FTarget)
            FToken = static_cast<TFreeNotifier*>(FTarget)->AddFreeNotification([this](TFreeNotifier*) {
                FTarget = nullptr;
                FToken = 0;
                if (FOnFree) {
                    auto callback = FOnFree;
                    callback();
                }
            });
    }
    T* Get() const { return FTarget; }
    T* operator->() const { return FTarget; }
    T& operator*() const { return *FTarget; }
    explicit operator bool() const { return FTarget != nullptr; }
    bool operator==(const T* other) const { return FTarget == other; }

private:
    void Detach()
    {
        if (FTarget && FToken)
            static_cast<TFreeNotifier*>(FTarget)->RemoveFreeNotification(FToken);
        FTarget = nullptr;
        FToken = 0;
    }

    T* FTarget = nullptr;
    TFreeNotifier::TToken FToken = 0;
    std::function<void()> FOnFree;
};
