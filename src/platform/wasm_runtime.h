// What the WebAssembly build (Emscripten, the wasm preset) does differently
// from a native one, in the few places where the runtime differs: no threads,
// files that live in the module's memory file system, and a clock whose local
// time is the zone of the browser or the Node process.
//
// The rest of the program asks these by name, so that the wasm build runs the
// batch's own code on its own road, never a copy of it.
#pragma once

#include <ctime>
#include <functional>

namespace grouper::platform {

// False in the WebAssembly build, which starts no thread (a page opened from
// the disk cannot have the shared memory that threads need): work that a
// native build hands to a second thread is done in line there.
#ifdef __EMSCRIPTEN__
inline constexpr bool kThreads = false;
#else
inline constexpr bool kThreads = true;
#endif

// The time value of a broken-down time `t` read as Korean local time
// (Asia/Seoul), with its daylight-saving flag as mktime takes it: seconds
// after 1 January 1970 00:00 UTC, 64 bits wide. Korea's offsets from UTC:
// +9 hours, but +8:30 from 21 March 1954 to 9 August 1961; a summer-time
// flag (tm_isdst > 0) adds an hour, as Korea's summers of 1987 and 1988 did.
// The WebAssembly build converts dates with it, because its mktime has a
// 32-bit time_t and reads the zone of the browser or the Node process, so
// that a date is valid there exactly when the batch run in Korea takes it.
long long KoreanTimeValue(const std::tm& t);

#ifdef __EMSCRIPTEN__
// Runs `work` with standard output written to the file `output` and standard
// error to the file `error` (both created or truncated, in the module's
// file system), then puts the standard streams back. Gives what `work`
// returns, or -1 (nothing run) when a file cannot be made.
int WithStandardStreams(const char* output, const char* error, const std::function<int()>& work);
#endif

}  // namespace grouper::platform
