#include "cli/reading_output.h"

namespace vardelmo::cli {

std::string readingOrHint(const reading::Decoded& decoded) {
    return decoded.reading ? reading::readingLine(*decoded.reading)
                           : '(' + reading::hintText(decoded.hint) + ')';
}

std::string readingWithFamily(const reading::Decoded& decoded) {
    return decoded.reading ? reading::readingLine(*decoded.reading) + " (" +
                                 reading::familyName(decoded.reading->protocol) + ')'
                           : reading::hintText(decoded.hint);
}

}  // namespace vardelmo::cli
