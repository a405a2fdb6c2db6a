#pragma once

#include <span>
#include <string_view>

// Every family the tool reads: its id, the name a technician knows it by, and how its frames
// start, for telling a frame cut short from bytes of no family.
namespace vardelmo::reading::detail {

struct FamilyInfo {
    std::string_view id;
    std::string_view name;
    // Whole frames of the family, each as it starts and ends. Empty where a frame has no mark
    // at its start: a cut one cannot be told from anything else.
    std::span<const std::string_view> starts;
};

std::span<const FamilyInfo> familyInfos();

}  // namespace vardelmo::reading::detail
