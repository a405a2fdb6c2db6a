#pragma once

#include <string>
#include <vector>

namespace vardelmo::faults {

// Runs this test program again in a child process: as another user, or as a second program
// holding a port. The child learns its role from the environment given.
class OtherProcess {
public:
    // `prefix` goes before the program, e.g. {"setpriv", "--reuid=nobody", ...}; the program
    // is this one unless a copy of it is named.
    OtherProcess(const std::vector<std::string>& prefix, const std::vector<std::string>& env,
                 const std::string& gtestFilter, const std::string& program = {});
    ~OtherProcess();
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Blocks until the child writes this line on its standard output; false at its end.
    bool waitForLine(const std::string& expected);
    // Closes the child's standard input (its cue to end), passes on the rest of its output
    // and returns its exit status as waitpid() gives it.
    int finish();

private:
    int pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
};

// The program's own path, for running it again.
std::string selfPath();

}  // namespace vardelmo::faults
