#pragma once

#include <string>

#include "reading/reading.h"

namespace vardelmo::cli {

// The reading line, or for a reply that does not decode its hint in parentheses:
// "1,234 kg estável", "(sem resposta)".
std::string readingOrHint(const reading::Decoded& decoded);

// "1,234 kg estável (Toledo B)" or the hint alone: how a try of the settings search reads.
std::string readingWithFamily(const reading::Decoded& decoded);

}  // namespace vardelmo::cli
