#pragma once

#include <concepts>
#include <exception>
#include <utility>

#include "framework/core/abort.h"

// Every handler that Qt calls runs through guard(): the silent abort ends it quietly, any other
// exception is shown to the user as an error, and nothing reaches the event loop.
void showHandlerFailure(const std::exception &failure) noexcept;
void showUnknownHandlerFailure() noexcept;

template <typename Handler> void guard(Handler &&handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const SilentAbort &) {
    } catch (const std::exception &failure) {
        showHandlerFailure(failure);
    } catch (...) {
        showUnknownHandlerFailure();
    }
}

// Runs handler through guard() and tells whether it ran to its end (false after any exception).
template <typename Handler> bool guardCompleted(Handler &&handler) noexcept {
    bool completed = false;
    guard([&] {
        std::forward<Handler>(handler)();
        completed = true;
    });
    return completed;
}

// Wraps a callable for connect(): connect(button, &QAbstractButton::clicked, this, guarded([this] {...})).
template <typename Handler> auto guarded(Handler handler) {
    return [handler = std::move(handler)]<typename... Args>(
        Args && ...args) mutable requires std::invocable<Handler &, Args...> {
        guard([&] { handler(std::forward<Args>(args)...); });
    };
}
