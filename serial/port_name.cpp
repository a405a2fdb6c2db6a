#include "serial/port_name.h"

namespace vardelmo::serial {

Result<std::string> portDevice(const Port& port, Platform platform) {
    if (const auto* address = std::get_if<NetworkAddress>(&port)) {
        return addressText(*address);
    }
    if (const auto* path = std::get_if<std::string>(&port)) {
        if (path->empty()) {
            return Failure{"Porta inválida: o caminho do dispositivo está vazio."};
        }
        return *path;
    }
    const int number = std::get<std::int16_t>(port);
    if (number < 1) {
        return Failure{"Porta inválida: " + std::to_string(number) +
                       " não é o número de uma porta; as portas são numeradas a partir de 1."};
    }
    if (platform == Platform::Windows) {
        return "COM" + std::to_string(number);
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::string portLabel(const Port& port, Platform platform) {
    if (const auto* address = std::get_if<NetworkAddress>(&port)) {
        return "porta " + addressText(*address);
    }
    if (const auto* path = std::get_if<std::string>(&port)) {
        return "porta " + *path;
    }
    std::string label = "porta " + std::to_string(std::get<std::int16_t>(port));
    if (const auto device = portDevice(port, platform)) {
        label += " (" + device.value() + ")";
    }
    return label;
}

}  // namespace vardelmo::serial
