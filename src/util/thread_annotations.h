// Annotations for Clang's thread-safety analysis (-Wthread-safety): which
// mutex guards a member, which functions need it held or take and let go of
// it. The clang build checks them and fails on a violation; other compilers
// see nothing. The standard mutex carries no annotations, so shared state is
// guarded by util/mutex.h's Mutex, which does.
#pragma once

#if defined(__clang__)
#define GROUPER_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define GROUPER_THREAD_ANNOTATION(x)
#endif

// A class whose objects are capabilities (a mutex, a turn), named for the
// analysis's messages.
#define CAPABILITY(x) GROUPER_THREAD_ANNOTATION(capability(x))
// A class that holds a capability for its own lifetime (a scoped lock).
#define SCOPED_CAPABILITY GROUPER_THREAD_ANNOTATION(scoped_lockable)
// A member read or written only with the capability held.
#define GUARDED_BY(x) GROUPER_THREAD_ANNOTATION(guarded_by(x))
// A pointer member whose target is read or written only with the capability held.
#define PT_GUARDED_BY(x) GROUPER_THREAD_ANNOTATION(pt_guarded_by(x))
// A function called only with the capabilities held, which it leaves held.
#define REQUIRES(...) GROUPER_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
// A function that takes the capabilities (the caller must not hold them) and
// returns with them held.
#define ACQUIRE(...) GROUPER_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
// A function that lets go of capabilities that the caller holds.
#define RELEASE(...) GROUPER_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
// A function that takes and lets go of the capabilities itself, so the caller
// must not hold them.
#define EXCLUDES(...) GROUPER_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
// A function whose locking the analysis cannot follow; say why beside it.
#define NO_THREAD_SAFETY_ANALYSIS GROUPER_THREAD_ANNOTATION(no_thread_safety_analysis)
