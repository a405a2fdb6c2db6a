#include "serial/port_name.h"

namespace vardelmo::serial {

std::optional<std::string> portDevice(const Port& port, Platform platform) {
    if (const auto* path = std::get_if<std::string>(&port)) {
        if (path->empty()) {
            return std::nullopt;
        }
        return *path;
    }
    const int number = std::get<std::int16_t>(port);
    if (number < 1) {
        return std::nullopt;
    }
    if (platform == Platform::Windows) {
        return "COM" + std::to_string(number);
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::string portLabel(const Port& port, Platform platform) {
    if (const auto* path = std::get_if<std::string>(&port)) {
        return "porta " + *path;
    }
    std::string label = "porta " + std::to_string(std::get<std::int16_t>(port));
    if (const auto device = portDevice(port, platform)) {
        label += " (" + *device + ")";
    }
    return label;
}

std::string noDeviceDescription(const Port& port) {
    if (std::holds_alternative<std::string>(port)) {
        return "Porta inválida: o caminho do dispositivo está vazio.";
    }
    return "Porta inválida: " + std::to_string(std::get<std::int16_t>(port)) +
           " não é o número de uma porta; as portas são numeradas a partir de 1.";
}

}  // namespace vardelmo::serial
