// Every function the host hands the module runs through HostGuard: a C++ exception must never
// unwind into the module's C frames. An exception becomes the function's failure value, and the
// host's own message (which file, which layer, why) is kept in the active services, so that the
// user sees the cause and not only the error code the effect passes on.
#pragma once

#include "suites/host_services.h"

#include <exception>
#include <new>
#include <string>

namespace plurion::host {

// Keeps the message in the services of the module call running on this thread, if any.
void NoteHostFailure(const std::string& message) noexcept;

template <auto Fn>
struct HostGuard;

template <class R, class... Args, R (*Fn)(Args...)>
struct HostGuard<Fn> {
    template <R kFailure, R kOutOfMemory = kFailure>
    static R Call(Args... args) noexcept {
        try {
            return Fn(args...);
        } catch (const std::bad_alloc&) {
            NoteHostFailure("out of memory");
            return kOutOfMemory;
        } catch (const std::exception& error) {
            NoteHostFailure(error.what());
            return kFailure;
        } catch (...) {
            NoteHostFailure("an unknown failure in the host");
            return kFailure;
        }
    }
};

// The same for functions that return nothing.
template <auto Fn>
struct VoidHostGuard;

template <class... Args, void (*Fn)(Args...)>
struct VoidHostGuard<Fn> {
    static void Call(Args... args) noexcept {
        try {
            Fn(args...);
        } catch (const std::bad_alloc&) {
            NoteHostFailure("out of memory");
        } catch (const std::exception& error) {
            NoteHostFailure(error.what());
        } catch (...) {
            NoteHostFailure("an unknown failure in the host");
        }
    }
};

// A callback of the effect interface: PF_Err_OUT_OF_MEMORY for a failed allocation, and
// PF_Err_INTERNAL_STRUCT_DAMAGED (the host could not do its part) for anything else.
template <auto Fn>
inline constexpr auto kGuardedCallback =
    HostGuard<Fn>::template Call<PF_Err_INTERNAL_STRUCT_DAMAGED, PF_Err_OUT_OF_MEMORY>;

} // namespace plurion::host
