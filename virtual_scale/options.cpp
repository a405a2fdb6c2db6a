#include "virtual_scale/options.h"

#include <getopt.h>

#include <charconv>
#include <string_view>

#include "virtual_scale/commands.h"
#include "virtual_scale/line_settings.h"
#include "virtual_scale/spelled.h"

namespace vardelmo::vscale {
namespace {

template <typename Number>
bool wholeNumber(std::string_view text, Number& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc{} && end == text.data() + text.size();
}

ParsedCommandLine refused(std::string reason) {
    ParsedCommandLine parsed;
    parsed.refusal = std::move(reason);
    return parsed;
}

// The option getopt_long complained about, as typed. A long one is the last argument it took;
// a short one may sit inside a group such as -wx, which only optopt names.
std::string offending(char** argv) {
    const std::string typed = argv[optind - 1];
    if (typed.rfind("--", 0) == 0) {
        return typed.substr(0, typed.find('='));
    }
    return std::string("-") + static_cast<char>(optopt);
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> storage{"vardelmo-virtual-scale"};
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(storage.size());

    enum { kNoPace = 256, kLink, kContinuous, kMismatch, kRequest, kFrame };
    enum { kVersion = 320 };
    const option longOptions[] = {
        {"format", required_argument, nullptr, 'f'},
        {"weight", required_argument, nullptr, 'w'},
        {"state", required_argument, nullptr, 's'},
        {"delay", required_argument, nullptr, 'd'},
        {"no-pace", no_argument, nullptr, kNoPace},
        {"line", required_argument, nullptr, 'l'},
        {"link", required_argument, nullptr, kLink},
        {"count", required_argument, nullptr, 'n'},
        {"continuous", required_argument, nullptr, kContinuous},
        {"mismatch", required_argument, nullptr, kMismatch},
        {"request", required_argument, nullptr, kRequest},
        {"frame", required_argument, nullptr, kFrame},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, kVersion},
        {nullptr, 0, nullptr, 0},
    };
    CommandLine line;
    Options& scale = line.scale;
    opterr = 0;
    optind = 0;  // 0, not 1: glibc then starts afresh, so a second call parses as the first
    for (int option;
         (option = getopt_long(argc, argv.data(), ":f:w:s:d:l:n:h", longOptions, nullptr)) != -1;) {
        const std::string value = optarg != nullptr ? optarg : "";
        switch (option) {
            case 'f':
                if (const auto format = parseFormat(value)) {
                    scale.format = *format;
                    break;
                }
                return refused("unknown format \"" + value + "\" (" + formatList() + ")");
            case 'w':
                if (const auto kg = parseWeight(value)) {
                    scale.weightKg = *kg;
                    break;
                }
                return refused("weight \"" + value + "\" is not a number of kilograms");
            case 's':
                if (const auto state = parseState(value)) {
                    scale.state = *state;
                    break;
                }
                return refused("unknown state \"" + value + "\" (" + stateList() + ")");
            case 'd': {
                unsigned ms = 0;
                if (!wholeNumber(value, ms) || ms > 60'000) {
                    return refused("delay \"" + value +
                                   "\" is not a whole number of ms up to 60000");
                }
                scale.delay = std::chrono::milliseconds(ms);
                break;
            }
            case kContinuous: {
                unsigned ms = 0;
                if (!wholeNumber(value, ms) || ms == 0 || ms > 60'000) {
                    return refused("continuous \"" + value +
                                   "\" is not a whole number of ms from 1 to 60000");
                }
                scale.continuous = std::chrono::milliseconds(ms);
                break;
            }
            case kMismatch:
                if (value != "wire" && value != "silent") {
                    return refused("unknown mismatch \"" + value + "\" (wire, silent)");
                }
                scale.mismatch = value == "wire" ? Mismatch::Wire : Mismatch::Silent;
                break;
            case kRequest:
            case kFrame: {
                std::string why;
                const auto bytes = unspell(value, why);
                const char* what = option == kRequest ? "request" : "frame";
                if (!bytes) {
                    return refused(std::string(what) + " \"" + value +
                                   "\" does not spell bytes: " + why);
                }
                if (option == kFrame && bytes->empty()) {
                    return refused("--frame needs bytes to send (--state silent sends none)");
                }
                (option == kRequest ? scale.request : scale.customFrame) = *bytes;
                break;
            }
            case kNoPace:
                scale.pace = false;
                break;
            case 'l': {
                std::string error;
                const auto settings = parseLineSettings(value, error);
                if (!settings) {
                    return refused(error);
                }
                scale.line = *settings;
                break;
            }
            case kLink:
                if (value.empty()) {
                    return refused("--link needs a path");
                }
                scale.linkPath = value;
                break;
            case 'n':
                if (!wholeNumber(value, line.count) || line.count == 0) {
                    return refused("count \"" + value + "\" is not a positive whole number");
                }
                break;
            case 'h':  // whatever follows: help asked for is help given
                line.help = true;
                return ParsedCommandLine{true, line, {}};
            case kVersion:  // as help: the version asked for is the version given
                line.version = true;
                return ParsedCommandLine{true, line, {}};
            case ':':
                return refused("option " + offending(argv.data()) + " needs a value");
            default:  // a long option given a value it takes none of also sets optopt
                return refused(optopt != 0 && argv[optind - 1][1] == '-'
                                   ? "option " + offending(argv.data()) + " takes no value"
                                   : "unknown option " + offending(argv.data()));
        }
    }
    if (optind < argc) {
        return refused(std::string("unexpected argument \"") + argv[optind] + "\"");
    }
    if (scale.request.empty() && scale.continuous.count() == 0) {
        return refused("--request '' answers nothing: it needs --continuous");
    }
    return ParsedCommandLine{true, line, {}};
}

}  // namespace vardelmo::vscale
