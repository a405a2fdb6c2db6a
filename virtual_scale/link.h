#pragma once

#include <optional>
#include <string>

namespace vardelmo::vscale {

// The link a scale makes with --link, and whose it is. A running scale holds a lock on its
// terminal (a write lock of fcntl's, which the kernel drops when the scale ends, however it
// ends), so that another scale can tell a live scale's link from a stale one.

// Marks `slave`, the terminal a scale answers on, as a live scale's. The lock is the
// process's: closing any other descriptor of the terminal in the same process drops it.
bool claimTerminal(int slave);

// The running scale that `link` is the link of, "pid 1234 on /dev/pts/5"; nothing when the
// link is missing, is no symbolic link, or is stale: its terminal is gone, or no scale holds
// it (a terminal number the system gave to someone else since).
std::optional<std::string> scaleBehind(const std::string& link);

// Points the symbolic link `link` at `target`. A stale link is replaced, a live scale's is
// refused, anything that is no link is kept; `error` says why when it returns false.
bool makeLink(const std::string& link, const std::string& target, std::string& error);

// Where `link` points; empty when it is no link.
std::string linkTarget(const std::string& link);

}  // namespace vardelmo::vscale
