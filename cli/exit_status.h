#pragma once

namespace vardelmo::cli {

// Exit statuses of the program; a stop asked by the system gives the shell's own (130, 143).
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;
inline constexpr int kBadUsage = 2;
// --reading: the scale answered, but with nothing that reads as a weight.
inline constexpr int kNotUnderstood = 3;

}  // namespace vardelmo::cli
