#include "serial/failure_text.h"

namespace vardelmo::serial {
namespace {

// What could not be done, the start of the text when the reason completes it.
std::string attempt(Step step, const std::string& label, std::string_view settings) {
    switch (step) {
        case Step::Reconfigure:
            return "Não foi possível aplicar a configuração \"" + std::string(settings) + "\" à " +
                   label;
        case Step::Purge:
            return "Não foi possível limpar a entrada da " + label;
        case Step::Write:
            return "Não foi possível enviar dados para a " + label;
        case Step::Read:
            return "Não foi possível ler da " + label;
        case Step::ChoosePort:
        case Step::Open:
        case Step::Configure:
            break;
    }
    // Choosing a port only fails while one is open, which has a text of its own.
    return "Não foi possível abrir a " + label;
}

// Field `index` of the settings text: "9600" of "9600,n,8,1" for 0.
std::string settingsField(std::string_view settings, int index) {
    for (; index > 0; --index) {
        const auto comma = settings.find(',');
        settings =
            comma == std::string_view::npos ? std::string_view{} : settings.substr(comma + 1);
    }
    return std::string(settings.substr(0, settings.find(',')));
}

// Why, after the attempt; empty when the system said no more.
std::string cause(Reason reason, std::string_view settings) {
    switch (reason) {
        case Reason::Refused:
            return ": o sistema recusou a abertura";
        case Reason::Missing:
            return ": dispositivo não encontrado";
        case Reason::Unsupported:
            return ": o dispositivo não aceita a configuração \"" + std::string(settings) +
                   "\" ou não é uma porta serial";
        case Reason::Lost:
            return ": o dispositivo foi desconectado ou deixou de responder";
        case Reason::DeviceFailure:
            return ": o dispositivo não está funcionando, provavelmente por um problema no "
                   "adaptador ou no seu driver";
        case Reason::NoAnswer:
            return ": o dispositivo não respondeu a tempo; se for uma porta Bluetooth, o aparelho "
                   "pode não estar pareado ou estar fora do alcance";
        case Reason::NameNotFound:
            return ": o nome do servidor não foi encontrado; confira o nome ou use o endereço IP";
        case Reason::ConnectionRefused:
            return ": o servidor recusou a conexão; nada atende nessa porta TCP";
        case Reason::NoConnection:
            return ": o servidor não respondeu a tempo; confira o endereço e se ele está ligado "
                   "à rede";
        case Reason::Disconnected:
            return ": a conexão com o servidor foi encerrada";
        case Reason::NotRfc2217:
            return ": o servidor não fala RFC 2217; se ele passa os bytes como estão, use "
                   "socket://";
        case Reason::MalformedTelnet:
            return ": o servidor enviou uma sequência Telnet malformada; ele não fala RFC 2217";
        case Reason::BaudRefused:
            return ": o servidor não aceitou a velocidade " + settingsField(settings, 0);
        case Reason::ParityRefused:
            return ": o servidor não aceitou a paridade " + settingsField(settings, 1);
        case Reason::DataBitsRefused:
            return ": o servidor não aceitou " + settingsField(settings, 2) + " bits de dados";
        case Reason::StopBitsRefused:
            return ": o servidor não aceitou " + settingsField(settings, 3) + " bits de parada";
        default:
            return {};
    }
}

}  // namespace

std::string failureText(Step step, Reason reason, const std::string& label,
                        std::string_view settings) {
    // The reasons that make a sentence of their own, whatever the step.
    switch (reason) {
        case Reason::InUse:
            return "A " + label + " está em uso por outro programa.";
        case Reason::NoPermission:
            return "Sem permissão para abrir a " + label + ".";
        case Reason::TimedOut:
            return "A " + label + " não conseguiu enviar os dados a tempo.";
        case Reason::NotOpen:
            return "A " + label + " não está aberta.";
        case Reason::StillOpen:
            return "A " + label + " está aberta; feche-a antes de escolher outra porta.";
        default:
            return attempt(step, label, settings) + cause(reason, settings) + ".";
    }
}

}  // namespace vardelmo::serial
