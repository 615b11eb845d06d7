#pragma once

#if defined(__SANITIZE_THREAD__)
#define QUILLO_TSAN_BUILD 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUILLO_TSAN_BUILD 1
#endif
#endif

#ifdef QUILLO_TSAN_BUILD
#include <sanitizer/tsan_interface.h>
#endif

// Qt's event queue orders a post on one thread before its delivery on another with locks
// that ThreadSanitizer cannot see, Qt not being built with it. The poster releases the object
// it hands over and the receiver acquires it, which tells ThreadSanitizer of that order and
// of nothing more. Both do nothing in other builds.
namespace ThreadHandover {

inline void release([[maybe_unused]] const void *object)
{
#ifdef QUILLO_TSAN_BUILD
    __tsan_release(const_cast<void *>(object));
#endif
}

inline void acquire([[maybe_unused]] const void *object)
{
#ifdef QUILLO_TSAN_BUILD
    __tsan_acquire(const_cast<void *>(object));
#endif
}

} // namespace ThreadHandover
