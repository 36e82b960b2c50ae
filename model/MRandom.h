#pragma once

// The program's one uniform random generator. It starts from a fixed seed and
// is never reseeded, so the first flight sampled after start-up always draws
// the same wiggle and later samplings continue the same sequence. Only the
// windows' event loop calls it: it is not guarded against concurrent callers.
namespace MRandom
{
// The next number of the sequence, in [0, 1).
double NextUniform();

// Puts the sequence back to its start, as at program start. For tests only:
// the program itself never calls it.
void Reset();
}
