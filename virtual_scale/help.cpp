#include "virtual_scale/help.h"

namespace vardelmo::vscale {

std::string_view helpText() {
    return R"(Usage: vardelmo-virtual-scale [OPTION]...
A weighing scale on a pseudo-terminal. Prints the terminal's path alone on the first line of
standard output, then answers each ENQ (0x05) written to it with one frame. Other bytes are
logged and ignored.

  -f, --format NAME   stx5 (default): STX, five digits of grams, ETX; IIIII in motion,
                        NNNNN below zero, SSSSS above 99.999 kg
                      status: STX, sign, weight as "  1.234", letter G/M/O/U, ETX
                        (stable, motion, overload, underload)
                      line: "+  1.234 kg G" CR LF
                      ack: a single ACK (0x06)
  -w, --weight KG     the weight in kilograms, point as decimal separator (default 1.234)
  -s, --state NAME    stable (default), motion, negative, overload, or silent (never answers)
  -d, --delay MS      milliseconds from the enquiry to the first byte of the reply (default 3)
      --no-pace       send the reply at once instead of one byte per byte time
  -l, --line SETTINGS the scale's own line, "baud,parity,data,stop" (default "2400,n,8,1");
                        parity n, e, o, m or s; data bits 5 to 8; stop bits 1, 1.5 or 2.
                        Replies are paced at this line's byte time. A client whose baud
                        differs is not understood and gets no answer. A pseudo-terminal keeps
                        no parity or data bits, so only the baud is compared.
      --link PATH     also make a symbolic link PATH to the terminal, removed on exit
  -n, --count N       exit 0 once N enquiries have been handled (answered or left silent)
  -h, --help          show this help and exit

While it runs, standard input takes one change a line, applied from the next enquiry on:
  weight KG | state NAME | format NAME
A bad line is reported on standard error and changes nothing. The end of standard input does
not stop the scale; SIGINT and SIGTERM do, with exit status 0.

Each enquiry is logged on standard error: monotonic time, the client's line as the terminal
holds it, the bytes received and sent in hex.
)";
}

}  // namespace vardelmo::vscale
