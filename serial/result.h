#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

// In the lowest layer, and in the project's own namespace, so every layer says it alike.
namespace vardelmo {

// Why an operation did not succeed, in the words shown to the operator.
struct Failure {
    std::string description;
};

// The outcome of an operation of the line or the request: a value (nothing for
// Result<void>) or a Failure. The two are separate states, so a failure reads as
// a failure whatever its description holds, even none. Returned, never thrown,
// so callers decide; asking a success for its description, or a failure for its
// value, throws std::bad_variant_access instead of making one up.
template <class T>
class [[nodiscard]] Result {
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

public:
    // A success without a value.
    Result() requires std::is_void_v<T>
    = default;
    Result(Value value) requires(!std::is_void_v<T>)
        : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const Value& value() const& requires(!std::is_void_v<T>) { return std::get<0>(state_); }
    Value value() && requires(!std::is_void_v<T>) { return std::get<0>(std::move(state_)); }
    const std::string& description() const { return std::get<1>(state_).description; }

private:
    std::variant<Value, Failure> state_;
};

}  // namespace vardelmo
