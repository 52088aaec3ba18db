#pragma once

#include <concepts>
#include <functional>
#include <utility>

// The one boundary between the model's exceptions and the event loop: no exception may
// leave a slot or an event handler (Qt does not unwind through its own frames). Every
// handler runs through RunGuarded, which shows the message of whatever was raised in the
// error box (captioned with the program's name, text 131) and lets the program carry on.

// Runs handler; true when it finished without raising. Whatever it raised has been shown
// (one box; a failure while that box is open goes to standard error instead).
bool RunGuarded(const std::function<void()> &handler);
// For paints and other code that runs inside Qt's own frames, where a modal box would run an
// event loop in the middle of a paint: whatever was raised goes to standard error.
bool RunQuietly(const std::function<void()> &handler);

// A slot for connect() that calls receiver->method(signal arguments...) through RunGuarded.
// Qt offers the signal's arguments from all of them downwards; the call operator accepts
// only what the method takes, so extra arguments are dropped as for a plain member slot.
template <typename Receiver, typename Method> struct TGuardedSlot
{
    Receiver *receiver;
    Method method;

    template <typename... Args>
    requires std::invocable<Method, Receiver *, Args...>
    void operator()(Args &&...args) const
    {
        RunGuarded([&] { std::invoke(method, receiver, std::forward<Args>(args)...); });
    }
};

template <typename Receiver, typename Method>
TGuardedSlot<Receiver, Method> Guarded(Receiver *receiver, Method method)
{
    return {receiver, method};
}
