#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace vardelmo::serial {

// The outcome of one operation on the line: empty on success, otherwise the
// description shown to the operator. Returned, never thrown, so callers decide.
class [[nodiscard]] Status {
public:
    Status() = default;
    static Status failure(std::string description) { return Status(std::move(description)); }

    bool ok() const { return description_.empty(); }
    explicit operator bool() const { return ok(); }
    const std::string& description() const { return description_; }

private:
    explicit Status(std::string description) : description_(std::move(description)) {}
    std::string description_;
};

// A port is either the number typed by the operator or, on POSIX systems, a
// device path used as it stands (USB adapters and pseudo-terminals have no number).
using Port = std::variant<std::int16_t, std::string>;

// The operations a weight request needs from a serial line. Each may fail with
// a description that names the port and the reason.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // "baud,parity,data bits,stop bits", used by the next opening.
    virtual Status setSettings(std::string_view settings) = 0;
    // The port the next opening uses.
    virtual Status setPort(const Port& port) = 0;
    // Opening discards whatever input was held from before it.
    virtual Status setPortOpen(bool open) = 0;
    // The bytes are handed to the system before this returns.
    virtual Status setOutput(std::string_view bytes) = 0;
    // Every byte held at this moment, unchanged, in one read; empty when none arrived.
    virtual Status getInput(std::string& bytes) = 0;
};

}  // namespace vardelmo::serial
