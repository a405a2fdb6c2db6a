#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vardelmo::test_support {

// A program run as its users run it, with its three standard streams on pipes. Every wait on
// it ends at its event or after the patience, so a child that hangs fails the test instead.
class ChildProcess {
public:
    // `command` starts with the program, looked up on PATH; `environment` holds NAME=value
    // entries that add to this program's environment or replace the same names in it, and bare
    // NAME entries that leave NAME out.
    explicit ChildProcess(std::vector<std::string> command,
                          const std::vector<std::string>& environment = {});
    ~ChildProcess();  // kills a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0 && pidfd_ >= 0; }
    void signal(int number) const;
    bool say(const std::string& text) const;
    void closeStdin();

    // The next line of standard output, without its newline; nothing if none comes.
    std::optional<std::string> outputLine();
    // Reads standard output up to the line `expected`, passing the lines before it on to this
    // program's output; false if it never comes.
    bool waitForOutputLine(const std::string& expected);
    // Standard error up to and including the first line holding `text`.
    bool errorLineWith(const std::string& text);
    std::string allErrors();
    // Standard output from here to its end, bytes unchanged.
    std::string allOutput();

    // The exit status (128 + the signal for a killed child) once the process has ended;
    // nothing if it keeps running.
    std::optional<int> exitStatus();
    // Closes standard input, the child's cue to end; passes on what it wrote that nobody
    // read, so a failing child explains itself in the log; and gives its exit status.
    std::optional<int> finish();

private:
    pid_t pid_ = -1;
    int pidfd_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    std::string outBuffer_;
    std::string errBuffer_;
    std::optional<int> status_;
};

// This program's own path, for running it again as a child.
std::string selfPath();

}  // namespace vardelmo::test_support
