#include "serial/network_address.h"

#include <algorithm>
#include <array>

namespace vardelmo::serial {
namespace {

struct SchemeName {
    NetworkScheme scheme;
    std::string_view prefix;
};

constexpr std::array<SchemeName, 2> kSchemes{
    {{NetworkScheme::Socket, "socket://"}, {NetworkScheme::Rfc2217, "rfc2217://"}}};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (lower(c) >= 'a' && lower(c) <= 'f');
}

bool isLetter(char c) {
    return lower(c) >= 'a' && lower(c) <= 'z';
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char p, char t) { return p == lower(t); });
}

const SchemeName* schemeOf(std::string_view text) {
    for (const auto& scheme : kSchemes) {
        if (startsWith(text, scheme.prefix)) {
            return &scheme;
        }
    }
    return nullptr;
}

std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 60;
    std::string shownText(text.substr(0, shown));
    if (text.size() > shown) {
        while (!shownText.empty() && (static_cast<unsigned char>(shownText.back()) & 0x80) != 0) {
            shownText.pop_back();  // never half a UTF-8 character
        }
        shownText += "...";
    }
    return '"' + shownText + '"';
}

// A decimal number of 0-255 without leading zeros, which some systems would read as octal.
bool isIpv4Part(std::string_view part) {
    if (part.empty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), isDigit) ||
        (part.size() > 1 && part.front() == '0')) {
        return false;
    }
    return std::stoi(std::string(part)) <= 255;
}

bool isIpv4(std::string_view text) {
    int parts = 0;
    while (true) {
        const auto dot = text.find('.');
        if (!isIpv4Part(text.substr(0, dot))) {
            return false;
        }
        ++parts;
        if (dot == std::string_view::npos) {
            return parts == 4;
        }
        text.remove_prefix(dot + 1);
    }
}

// Groups of 1-4 hex digits separated by ":", eight of them, or fewer with one "::" standing for
// the missing zeros; the last two may be written as an IPv4 address.
bool isIpv6(std::string_view text) {
    const auto gap = text.find("::");
    if (gap != std::string_view::npos && text.find("::", gap + 1) != std::string_view::npos) {
        return false;
    }
    const auto countGroups = [](std::string_view run, bool last, int& groups) {
        if (run.empty()) {
            return true;
        }
        while (true) {
            const auto colon = run.find(':');
            const auto group = run.substr(0, colon);
            if (colon == std::string_view::npos && last &&
                group.find('.') != std::string_view::npos) {
                groups += 2;
                return isIpv4(group);
            }
            if (group.empty() || group.size() > 4 ||
                !std::all_of(group.begin(), group.end(), isHexDigit)) {
                return false;
            }
            ++groups;
            if (colon == std::string_view::npos) {
                return true;
            }
            run.remove_prefix(colon + 1);
        }
    };
    int groups = 0;
    if (gap == std::string_view::npos) {
        return countGroups(text, true, groups) && groups == 8;
    }
    const auto before = text.substr(0, gap);
    const auto after = text.substr(gap + 2);
    return countGroups(before, after.empty(), groups) && countGroups(after, true, groups) &&
           groups <= 7;
}

// Labels of letters, digits and hyphens, none empty, none longer than 63, none starting or
// ending with a hyphen; at most 253 characters; one final dot allowed.
bool isHostName(std::string_view text) {
    if (!text.empty() && text.back() == '.') {
        text.remove_suffix(1);
    }
    if (text.empty() || text.size() > 253) {
        return false;
    }
    while (true) {
        const auto dot = text.find('.');
        const auto label = text.substr(0, dot);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-' ||
            !std::all_of(label.begin(), label.end(),
                         [](char c) { return isLetter(c) || isDigit(c) || c == '-'; })) {
            return false;
        }
        if (dot == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(dot + 1);
    }
}

// A text of digits and dots alone is meant as an IPv4 address, never taken as a name.
bool looksNumeric(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '.'; });
}

Result<std::uint16_t> portOf(std::string_view text) {
    const Failure refused{"Porta inválida: a porta TCP " + quoted(text) +
                          " não é um número de 1 a 65535."};
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), isDigit)) {
        return refused;
    }
    const int value = std::stoi(std::string(text));
    if (value < 1 || value > 65535) {
        return refused;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

bool namesNetworkPort(std::string_view text) {
    return schemeOf(text) != nullptr;
}

std::optional<NetworkScheme> networkSchemeOf(std::string_view text) {
    const SchemeName* scheme = schemeOf(text);
    return scheme != nullptr ? std::optional(scheme->scheme) : std::nullopt;
}

Result<NetworkAddress> parseNetworkAddress(std::string_view text) {
    const SchemeName* scheme = schemeOf(text);
    if (scheme == nullptr) {
        return Failure{"Porta inválida: " + quoted(text) +
                       " não começa com socket:// nem com rfc2217://."};
    }
    const std::string_view rest = text.substr(scheme->prefix.size());
    NetworkAddress address;
    address.scheme = scheme->scheme;
    std::string_view host;
    std::string_view afterHost;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string_view::npos) {
            return Failure{"Porta inválida: falta o \"]\" que fecha o endereço IPv6 em " +
                           quoted(text) + "."};
        }
        host = rest.substr(1, close - 1);
        if (!isIpv6(host)) {
            return Failure{"Porta inválida: " + quoted(rest.substr(0, close + 1)) +
                           " não é um endereço IPv6."};
        }
        afterHost = rest.substr(close + 1);
    } else {
        const auto colon = rest.find(':');
        host = rest.substr(0, colon);
        afterHost = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon);
        if (host.empty()) {
            return Failure{"Porta inválida: falta o endereço do servidor em " + quoted(text) + "."};
        }
        if (looksNumeric(host) && !isIpv4(host)) {
            return Failure{"Porta inválida: " + quoted(host) +
                           " não é um endereço IPv4 (quatro números de 0 a 255 separados por "
                           "pontos)."};
        }
        if (!looksNumeric(host) && !isHostName(host)) {
            return Failure{"Porta inválida: " + quoted(host) +
                           " não é um nome de servidor, um endereço IPv4 nem um endereço IPv6 "
                           "entre colchetes."};
        }
    }
    if (afterHost.empty() || afterHost.front() != ':') {
        return Failure{"Porta inválida: falta \":PORTA\" (a porta TCP) depois do servidor em " +
                       quoted(text) + "."};
    }
    auto port = portOf(afterHost.substr(1));
    if (!port) {
        return Failure{port.description()};
    }
    address.host = std::string(host);
    address.port = port.value();
    return address;
}

std::string addressText(const NetworkAddress& address) {
    const auto& prefix = kSchemes[address.scheme == NetworkScheme::Socket ? 0 : 1].prefix;
    const bool v6 = address.host.find(':') != std::string::npos;
    return std::string(prefix) + (v6 ? "[" + address.host + "]" : address.host) + ':' +
           std::to_string(address.port);
}

}  // namespace vardelmo::serial
