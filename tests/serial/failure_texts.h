#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "serial/failure_text.h"

namespace vardelmo::serial {

// Every failure text of the serial lines, word for word as the operator reads it, with
// "{porta}" for the port's label and "{config}" for the settings text. Both lines' tests
// take their expected texts from here.
struct FailureTextCase {
    const char* name;
    Step step;
    Reason reason;
    std::string text;
};

inline const std::string kLostDevice = "o dispositivo foi desconectado ou deixou de responder";
inline const std::string kDeviceFailure =
    "o dispositivo não está funcionando, provavelmente por um problema no adaptador ou no seu "
    "driver";
inline const std::string kNoAnswer =
    "o dispositivo não respondeu a tempo; se for uma porta Bluetooth, o aparelho pode não estar "
    "pareado ou estar fora do alcance";

inline const std::vector<FailureTextCase> kFailureTexts{
    {"StillOpen", Step::ChoosePort, Reason::StillOpen,
     "A {porta} está aberta; feche-a antes de escolher outra porta."},
    {"Missing", Step::Open, Reason::Missing,
     "Não foi possível abrir a {porta}: dispositivo não encontrado."},
    {"InUse", Step::Open, Reason::InUse, "A {porta} está em uso por outro programa."},
    {"NoPermission", Step::Open, Reason::NoPermission, "Sem permissão para abrir a {porta}."},
    {"OpeningRefused", Step::Open, Reason::Refused,
     "Não foi possível abrir a {porta}: o sistema recusou a abertura."},
    {"OpeningDeviceFailure", Step::Open, Reason::DeviceFailure,
     "Não foi possível abrir a {porta}: " + kDeviceFailure + "."},
    {"OpeningNoAnswer", Step::Open, Reason::NoAnswer,
     "Não foi possível abrir a {porta}: " + kNoAnswer + "."},
    {"SettingsUnsupported", Step::Configure, Reason::Unsupported,
     "Não foi possível abrir a {porta}: o dispositivo não aceita a configuração \"{config}\" ou "
     "não é uma porta serial."},
    {"SettingsDeviceFailure", Step::Configure, Reason::DeviceFailure,
     "Não foi possível abrir a {porta}: " + kDeviceFailure + "."},
    {"SettingsNoAnswer", Step::Configure, Reason::NoAnswer,
     "Não foi possível abrir a {porta}: " + kNoAnswer + "."},
    {"NotApplied", Step::Reconfigure, Reason::Unknown,
     "Não foi possível aplicar a configuração \"{config}\" à {porta}."},
    {"NotAppliedDeviceFailure", Step::Reconfigure, Reason::DeviceFailure,
     "Não foi possível aplicar a configuração \"{config}\" à {porta}: " + kDeviceFailure + "."},
    {"NotAppliedNoAnswer", Step::Reconfigure, Reason::NoAnswer,
     "Não foi possível aplicar a configuração \"{config}\" à {porta}: " + kNoAnswer + "."},
    {"NotCleared", Step::Purge, Reason::Unknown, "Não foi possível limpar a entrada da {porta}."},
    {"NotClearedDeviceFailure", Step::Purge, Reason::DeviceFailure,
     "Não foi possível limpar a entrada da {porta}: " + kDeviceFailure + "."},
    {"NotClearedNoAnswer", Step::Purge, Reason::NoAnswer,
     "Não foi possível limpar a entrada da {porta}: " + kNoAnswer + "."},
    {"WriteNotOpen", Step::Write, Reason::NotOpen, "A {porta} não está aberta."},
    {"WriteTimedOut", Step::Write, Reason::TimedOut,
     "A {porta} não conseguiu enviar os dados a tempo."},
    {"WriteLost", Step::Write, Reason::Lost,
     "Não foi possível enviar dados para a {porta}: " + kLostDevice + "."},
    {"WriteDeviceFailure", Step::Write, Reason::DeviceFailure,
     "Não foi possível enviar dados para a {porta}: " + kDeviceFailure + "."},
    {"ReadNotOpen", Step::Read, Reason::NotOpen, "A {porta} não está aberta."},
    {"ReadLost", Step::Read, Reason::Lost, "Não foi possível ler da {porta}: " + kLostDevice + "."},
    {"ReadDeviceFailure", Step::Read, Reason::DeviceFailure,
     "Não foi possível ler da {porta}: " + kDeviceFailure + "."},
    {"ReadNoAnswer", Step::Read, Reason::NoAnswer,
     "Não foi possível ler da {porta}: " + kNoAnswer + "."},
    // A scale behind a serial device server.
    {"NameNotFound", Step::Open, Reason::NameNotFound,
     "Não foi possível abrir a {porta}: o nome do servidor não foi encontrado; confira o nome ou "
     "use o endereço IP."},
    {"ConnectionRefused", Step::Open, Reason::ConnectionRefused,
     "Não foi possível abrir a {porta}: o servidor recusou a conexão; nada atende nessa porta "
     "TCP."},
    {"NoConnection", Step::Open, Reason::NoConnection,
     "Não foi possível abrir a {porta}: o servidor não respondeu a tempo; confira o endereço e se "
     "ele está ligado à rede."},
    {"OpeningDisconnected", Step::Open, Reason::Disconnected,
     "Não foi possível abrir a {porta}: a conexão com o servidor foi encerrada."},
    {"NegotiationDisconnected", Step::Configure, Reason::Disconnected,
     "Não foi possível abrir a {porta}: a conexão com o servidor foi encerrada."},
    {"NegotiationNoAnswer", Step::Configure, Reason::NoConnection,
     "Não foi possível abrir a {porta}: o servidor não respondeu a tempo; confira o endereço e se "
     "ele está ligado à rede."},
    {"NotRfc2217", Step::Configure, Reason::NotRfc2217,
     "Não foi possível abrir a {porta}: o servidor não fala RFC 2217; se ele passa os bytes como "
     "estão, use socket://."},
    {"MalformedTelnet", Step::Configure, Reason::MalformedTelnet,
     "Não foi possível abrir a {porta}: o servidor enviou uma sequência Telnet malformada; ele não "
     "fala RFC 2217."},
    {"BaudRefused", Step::Configure, Reason::BaudRefused,
     "Não foi possível abrir a {porta}: o servidor não aceitou a velocidade {baud}."},
    {"ParityRefused", Step::Configure, Reason::ParityRefused,
     "Não foi possível abrir a {porta}: o servidor não aceitou a paridade {parity}."},
    {"DataBitsRefused", Step::Configure, Reason::DataBitsRefused,
     "Não foi possível abrir a {porta}: o servidor não aceitou {data} bits de dados."},
    {"StopBitsRefused", Step::Configure, Reason::StopBitsRefused,
     "Não foi possível abrir a {porta}: o servidor não aceitou {stop} bits de parada."},
    {"ReapplyBaudRefused", Step::Reconfigure, Reason::BaudRefused,
     "Não foi possível aplicar a configuração \"{config}\" à {porta}: o servidor não aceitou a "
     "velocidade {baud}."},
    {"WriteDisconnected", Step::Write, Reason::Disconnected,
     "Não foi possível enviar dados para a {porta}: a conexão com o servidor foi encerrada."},
    {"ReadDisconnected", Step::Read, Reason::Disconnected,
     "Não foi possível ler da {porta}: a conexão com o servidor foi encerrada."},
    {"ReadMalformedTelnet", Step::Read, Reason::MalformedTelnet,
     "Não foi possível ler da {porta}: o servidor enviou uma sequência Telnet malformada; ele não "
     "fala RFC 2217."},
};

inline std::string replaced(std::string text, std::string_view mark, const std::string& by) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size())) {
        text.replace(at, mark.size(), by);
    }
    return text;
}

// The table's text for a step and a reason, for the port `label` and the settings `config`.
inline std::string expectedText(Step step, Reason reason, const std::string& label,
                                const std::string& config = "2400,n,8,1") {
    for (const auto& c : kFailureTexts) {
        if (c.step == step && c.reason == reason) {
            std::string text = replaced(replaced(c.text, "{porta}", label), "{config}", config);
            std::string_view rest = config;
            for (const char* mark : {"{baud}", "{parity}", "{data}", "{stop}"}) {
                const auto comma = rest.find(',');
                text = replaced(text, mark, std::string(rest.substr(0, comma)));
                rest =
                    comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            }
            return text;
        }
    }
    return "(no such text in tests/serial/failure_texts.h)";
}

}  // namespace vardelmo::serial
