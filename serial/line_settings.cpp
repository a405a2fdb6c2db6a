#include "serial/line_settings.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace vardelmo::serial {
namespace {

Failure refusal(std::string_view text, const std::string& reason) {
    std::string message = "Configuração inválida \"";
    message += text;
    message += "\": ";
    message += reason;
    message += '.';
    return Failure{std::move(message)};
}

std::optional<std::int32_t> parseBaud(std::string_view field) {
    // from_chars alone would accept a leading '-'; only digits are a rate.
    if (field.empty() || field.front() < '0' || field.front() > '9') {
        return std::nullopt;
    }
    std::int32_t baud = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), baud);
    if (error != std::errc{} || end != field.data() + field.size() || baud <= 0) {
        return std::nullopt;
    }
    return baud;
}

std::optional<Parity> parseParity(std::string_view field) {
    if (field.size() != 1) {
        return std::nullopt;
    }
    switch (field.front()) {
        case 'n':
        case 'N':
            return Parity::None;
        case 'e':
        case 'E':
            return Parity::Even;
        case 'o':
        case 'O':
            return Parity::Odd;
        case 'm':
        case 'M':
            return Parity::Mark;
        case 's':
        case 'S':
            return Parity::Space;
        default:
            return std::nullopt;
    }
}

std::optional<int> parseDataBits(std::string_view field) {
    if (field.size() != 1 || field.front() < '5' || field.front() > '8') {
        return std::nullopt;
    }
    return field.front() - '0';
}

std::optional<StopBits> parseStopBits(std::string_view field) {
    if (field == "1") {
        return StopBits::One;
    }
    if (field == "1.5") {
        return StopBits::OneAndHalf;
    }
    if (field == "2") {
        return StopBits::Two;
    }
    return std::nullopt;
}

}  // namespace

Result<LineSettings> parseLineSettings(std::string_view text, Platform platform) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = text.find(',', start);
        fields.push_back(
            text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (fields.size() != 4) {
        return refusal(text,
                       "deve ter a forma velocidade,paridade,bits de dados,bits de parada "
                       "(por exemplo 2400,n,8,1)");
    }

    const auto baud = parseBaud(fields[0]);
    if (!baud) {
        return refusal(text, "a velocidade deve ser um número inteiro positivo");
    }
    const auto parity = parseParity(fields[1]);
    if (!parity) {
        return refusal(text, "a paridade deve ser n, e, o, m ou s");
    }
    const auto dataBits = parseDataBits(fields[2]);
    if (!dataBits) {
        return refusal(text, "os bits de dados devem ser 5, 6, 7 ou 8");
    }
    const auto stopBits = parseStopBits(fields[3]);
    if (!stopBits) {
        return refusal(text, "os bits de parada devem ser 1, 1.5 ou 2");
    }
    // POSIX terminals know only one or two stop bits; silently sending two
    // would make the line differ from what the operator asked for.
    if (*stopBits == StopBits::OneAndHalf && platform != Platform::Windows) {
        return refusal(text, "1.5 bits de parada não são suportados neste sistema");
    }
    // Windows' serial driver refuses these with no more than "invalid parameter": a UART
    // sends 1.5 stop bits only after 5 data bits, and for 2 stop bits it needs 6 or more.
    if (platform == Platform::Windows && *stopBits == StopBits::OneAndHalf && *dataBits != 5) {
        return refusal(text, "o Windows não aceita 1.5 bits de parada com " +
                                 std::to_string(*dataBits) +
                                 " bits de dados (1.5 só com 5 bits de dados)");
    }
    if (platform == Platform::Windows && *stopBits == StopBits::Two && *dataBits == 5) {
        return refusal(text,
                       "o Windows não aceita 2 bits de parada com 5 bits de dados (com 5 bits de "
                       "dados, use 1 ou 1.5)");
    }
    return LineSettings{*baud, *parity, *dataBits, *stopBits};
}

}  // namespace vardelmo::serial
