// siciliano: the two formats of Siciliano indicators.
//   IP09  STX "SIC" sign weight(6) "kg" 'B' ETX checksum LF
//   IP10  STX "BR" sign gross(6) "kg" "TR" sign tare(6) "kg" ETX checksum LF
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {
namespace {

// A sign (' ' or '-') and six characters of kg with three decimals ("01.234"), or nothing
// when the weight does not fit them.
std::optional<std::string> field(long long grams) {
    const long long magnitude = grams < 0 ? -grams : grams;
    if (magnitude > 99'999) {
        return std::nullopt;
    }
    std::string text = kg(magnitude);
    // Built by appending: GCC 12 at -O3 warns falsely of overlapping copies in operator+ here.
    std::string out(1, grams < 0 ? '-' : ' ');
    out.append(6 - text.size(), '0').append(text);
    return out;
}

// How the checksum is made is not described: the XOR of the bytes after STX up to the ETX,
// a common way. Readers must take any byte there.
std::string closed(std::string frame) {
    char check = 0;
    for (std::size_t i = 1; i < frame.size(); ++i) {
        check = static_cast<char>(check ^ frame[i]);
    }
    frame += kEtx;
    return frame + static_cast<char>(check ^ kEtx) + kLf;
}

long long signedGrams(const Reading& reading) {
    return reading.condition == Condition::Underload && reading.grams > 0 ? -reading.grams
                                                                          : reading.grams;
}

}  // namespace

// Neither format tells motion or overload: in motion the frame is the same, above the
// capacity the scale sends nothing.
std::string siciliano(const Reading& reading) {
    const auto weight = field(signedGrams(reading));
    if (reading.condition == Condition::Overload || !weight) {
        return {};
    }
    return closed(kStx + std::string("SIC") + *weight + "kgB");
}

// The weight given is the net: the gross is the net and the tare on the plate.
std::string sicilianoIp10(const Reading& reading) {
    const auto gross = field(signedGrams(reading) + kTareGrams);
    if (reading.condition == Condition::Overload || !gross) {
        return {};
    }
    return closed(kStx + std::string("BR") + *gross + "kgTR" + *field(kTareGrams) + "kg");
}

}  // namespace vardelmo::vscale::frames
