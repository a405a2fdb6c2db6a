#include "serial/port_list.h"

#include <array>

namespace vardelmo::serial {
namespace {

std::string hex4(std::uint16_t value) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out(4, '0');
    for (int i = 3; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kDigits[value & 0x0F];
        value = static_cast<std::uint16_t>(value >> 4);
    }
    return out;
}

// "COM5" is typed as 5; any other name (COM0, a virtual port's own name) as it stands.
std::string windowsText(const std::string& name) {
    constexpr std::string_view kPrefix = "COM";
    if (name.size() > kPrefix.size() && name.compare(0, kPrefix.size(), kPrefix) == 0 &&
        name[kPrefix.size()] != '0' &&
        name.find_first_not_of("0123456789", kPrefix.size()) == std::string::npos) {
        return name.substr(kPrefix.size());
    }
    return name;
}

}  // namespace

PortEntry portEntry(const PortFacts& facts, Platform platform) {
    PortEntry entry;
    entry.text = platform == Platform::Windows ? windowsText(facts.name) : facts.location;

    // Drivers often repeat the maker at the start of the product's name.
    const bool repeated = !facts.maker.empty() && facts.product.rfind(facts.maker, 0) == 0;
    for (const std::string* part : std::array{&facts.maker, &facts.product}) {
        if (part->empty() || (repeated && part == &facts.maker)) {
            continue;
        }
        if (!entry.description.empty()) {
            entry.description += ' ';
        }
        entry.description += *part;
    }
    if (facts.vendorId && facts.productId) {
        if (!entry.description.empty()) {
            entry.description += ' ';
        }
        entry.description += '(' + hex4(*facts.vendorId) + ':' + hex4(*facts.productId) + ')';
    }
    return entry;
}

}  // namespace vardelmo::serial
