#pragma once

#include <cstddef>
#include <functional>

// Independent pieces of one job spread over the processor's cores, for
// the few places where a user waits on work that splits cleanly (reading
// the curves of a project).
namespace MParallel {

// The threads worth using on this machine: its hardware threads, at
// least 1.
size_t HardwareWorkers();

// Runs work(i) once for every i in [0, count), on up to `workers` threads
// of which the calling thread is one; with 1 worker or a single piece
// everything runs on the caller. Returns when every piece has finished.
// When pieces throw, the exception of the lowest index is rethrown (so
// that the caller sees the same failure a loop in order would give first)
// and the others are dropped. The helper threads are kept from call to
// call; when the system refuses one, those already running share the rest.
// Calls from several threads at once are safe.
void ForEachIndex(size_t count, size_t workers, const std::function<void(size_t)>& work);

// Announces a ForEachIndex with `workers` to come soon (after a file is
// read, say): up to workers - 1 helper threads wake now and wait awake for
// a short while, so that the job starts on all of them at once instead of
// waiting for each to wake. Costs the caller about one wake-up.
void ExpectWork(size_t workers);

} // namespace MParallel
