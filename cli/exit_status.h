#pragma once

namespace vardelmo::cli {

// Exit statuses of the program, the contract a script relies on; a stop asked by the system
// gives the shell's own (130, 143).
inline constexpr int kSucceeded = 0;  // a reply read (and decoded, where --reading asks)
inline constexpr int kFailed = 1;     // a failure, named on standard error
inline constexpr int kBadUsage = 2;   // the command line was refused before anything was sent
// --reading: the scale answered, but with nothing that reads as a weight.
inline constexpr int kNotUnderstood = 3;
// Nothing arrived within the wait: a dead scale is no success.
inline constexpr int kNoReply = 4;

}  // namespace vardelmo::cli
