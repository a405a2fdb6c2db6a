// A --request text on any bytes: bytes or a reason, never both; the bytes spell back to a text
// that reads as them again; and any bytes, spelled as a reply, read back as themselves. The
// virtual scale, which links nothing of the tool, reads every text as the tool does.
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/reply_bytes.h"
#include "fuzz/expect.h"
#include "virtual_scale/spelled.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto bytes = vardelmo::cli::unspellReply(input, error);
    FUZZ_EXPECT(bytes.has_value() == error.empty());
    std::string scaleError;
    FUZZ_EXPECT(vardelmo::vscale::unspell(input, scaleError) == bytes);
    FUZZ_EXPECT(scaleError == error);
    if (bytes) {
        std::string again;
        FUZZ_EXPECT(vardelmo::cli::unspellReply(vardelmo::cli::spellReply(*bytes), again) == bytes);
    }
    std::string reason;
    FUZZ_EXPECT(vardelmo::cli::unspellReply(vardelmo::cli::spellReply(input), reason) ==
                std::string(input));
    return 0;
}
