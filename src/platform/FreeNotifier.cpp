#include "platform/FreeNotifier.h"

TFreeNotifier::~TFreeNotifier()
{
    FDestroying = true;
    // Callbacks may remove other observers; take them one at a time.
    while (!FObservers.empty()) {
        auto it = FObservers.begin();
        TCallback callback = std::move(it->second);
        FObservers.erase(it);
        callback(this);
    }
}

TFreeNotifier::TToken TFreeNotifier::AddFreeNotification(TCallback callback)
{
    if (FDestroying)
        return 0;   // the object is going away; there is nothing left to observe
    TToken token = FNextToken++;
    FObservers.emplace(token, std::move(callback));
    return token;
}

void TFreeNotifier::RemoveFreeNotification(TToken token)
{
    FObservers.erase(token);
}
