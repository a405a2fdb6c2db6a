// A server's stream on any bytes, cut at any point: the decoder and the RFC 2217 client never
// crash, and data that survives decoding passes through escaping and decoding unchanged.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/expect.h"
#include "serial/rfc2217_session.h"
#include "serial/telnet_stream.h"

using namespace vardelmo::serial;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = data[0] % (bytes.size() + 1);

    telnet::Decoder decoder;
    std::string received;
    std::vector<telnet::Command> commands;
    const bool first = decoder.feed(bytes.substr(0, cut), received, commands);
    const bool whole = decoder.feed(bytes.substr(cut), received, commands) && first;
    FUZZ_EXPECT(whole == !decoder.broken());

    Rfc2217Session session;
    (void)session.start(LineSettings{});
    for (const auto& command : commands) {
        (void)session.handle(command);
    }
    FUZZ_EXPECT(!(session.ready() && session.failure()));

    telnet::Decoder again;
    std::string back;
    std::vector<telnet::Command> none;
    FUZZ_EXPECT(again.feed(telnet::escapeData(received), back, none));
    FUZZ_EXPECT(back == received && none.empty());
    return 0;
}
