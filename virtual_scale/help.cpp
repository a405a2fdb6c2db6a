#include "virtual_scale/help.h"

namespace vardelmo::vscale {

std::string_view helpText() {
    return R"(Usage: vardelmo-virtual-scale [OPTION]...
A weighing scale on a pseudo-terminal. Prints the terminal's path alone on the first line of
standard output, then answers each ENQ (0x05) written to it, or the request set, with one
frame. Other bytes are logged and ignored.

  -f, --format NAME   the frame family, each shown for 1.234 kg, stable (hex where not text):
        toledo-b        (default; stx5 is its other name) STX "01234" ETX: grams;
                          "IIIII" in motion, "NNNNN" below zero, "SSSSS" above 99.999 kg
        toledo-c        STX "01234" CR: toledo-b's body ended by CR
        toledo-a        STX 00 "001234" 00 "002468" "002000" CR 71: status S1, weight,
                          status S2, total, price per kg (always 20.00), and the checksum
                          that makes the 23 bytes add up to 0; S1 01 in motion, 08 below zero
                          or above capacity (total 0)
        p03             STX 2D 30 20 "001234" "000000" CR: status words, weight, tare;
                          the second word is 38 in motion, 32 below zero, 34 above capacity
        st-gs           "ST,GS,+  1.234kg" CR LF: US in motion, OL above capacity, "-" below
                          zero
        micheletti      STX "  1234   2000   2468" ETX: weight, price per kg (20.00), total;
                          it has no status: the same in motion, nothing below zero or above
                          capacity
        status          STX "+  1.234G" ETX: letter G, M, O or U (stable, motion, overload,
                          underload)
        line            "+  1.234 kg G" CR LF: as status
        ack             a single ACK (06)
        toledo-b-self   STX "+001,234" ETX: toledo-b's self-checkout body; "+III,III" in
                          motion, "-III,III" below zero, "+SSS,SSS" above capacity
        st-gs-19        "ST,GS,+   1.234  kg" CR LF: st-gs's 19-character form
        st-gs-tr        "ST,TR,+  1.234kg" CR LF: st-gs with the tare in use as its weight
        toledo-eth      STX "02" 2D 30 20 "001234" "000000", 41 bytes more, DLE ETX 06 (the
                          checksum): 62 bytes; 38 for 30 in motion
        bcs21           STX "S+0001.234" CR: D in motion, '-' below zero
        lider           SOH "001.234 E" STX: I in motion (a continuous scale: --request '')
        urano           ESC "T1" ... ESC "B * PESO: 1,234kg" ESC "E" ESC "P01": ' ' for '*'
                          in motion, "PESO:-1,234kg" below zero (the UDC's request is <EOT>)
        urano-pop       "PESO L: 1,234kg"
        urano-pop-bare  " 1,234 kg": Urano POP's unlabelled form
        magna           HT " 1,234kg" CR: "NNNNN" below zero (its request is P)
        digitron-ul     "E01.234"
        alfa            "    01.234": four bytes, then the weight
        afts            "=432.100": a byte, then the weight written backwards
        muller          STX "+01.234" ETX
        saturno         "01.234E" CR LF: O in motion
        lucastec        STX "0000 000001 20/06/05 1.500 kg B  0.266 kg T  1.234 kg L" CR B4:
                          gross, tare and net; below zero the gross is less than the tare
        precision       STX "S001234" CR: grams; A in motion, H below zero
        lenke           STX "0001234  " CR: grams; MP in motion, MN below zero
        wt1000          "0,  1.500,  0.266,  1.234" CR LF: state, gross, tare, net; 1 in
                          motion, '-' below zero
        wt27r           "EB,kg,B: 001234,T:000000,L: 001234" CR LF: I in motion, '-' below
                          zero, 999999 above capacity; its digits have no point, so no weight
        marel           STX "0000000000000    1.234" CR LF
        capital         "E01.2345" CR: the byte before the CR is no part of the weight
        siciliano       STX "SIC 01.234kgB" ETX 2E LF (IP09): '-' for ' ' below zero
        siciliano-ip10  STX "BR 01.500kgTR 00.266kg" ETX 13 LF: gross and tare
        condec          STX " 001.234KG " CR LF: M in motion, O above capacity, '-' below zero
        el05            "D001234" CR: grams
        tru-test        "[1.234]": "[U1.234]" in motion (its request is {RW})
                      The weight given is the net where a frame has a tare: it is always
                      0.266 kg. A frame that says nothing of a state sends a moving weight as
                      a stable one, and nothing below zero or above capacity.
  -w, --weight KG     the weight in kilograms, point as decimal separator (default 1.234)
  -s, --state NAME    stable (default), motion, negative, overload, or silent (never answers)
  -d, --delay MS      milliseconds from the enquiry to the first byte of the reply (default 3)
      --no-pace       send the reply at once instead of one byte per byte time
      --continuous MS also send a frame every MS milliseconds (1 to 60000), asked or not, as a
                        continuous scale does; enquiries are still answered
  -l, --line SETTINGS the scale's own line, "baud,parity,data,stop" (default "2400,n,8,1");
                        parity n, e, o, m or s; data bits 5 to 8; stop bits 1, 1.5 or 2.
                        Replies are paced at this line's byte time.
      --mismatch MODE what passes between the scale and a client whose line differs:
                        wire (default): each end gets what its UART samples of the other's
                          bits, as on a cable: an enquiry at another baud is not heard, so not
                          answered; frames arrive garbled (framing errors as 00), spread over
                          the scale's wire time. The same settings pass bytes unchanged.
                        silent: only the baud counts; a client at another baud gets nothing.
                        A pseudo-terminal keeps the client's baud and stop bits but not its
                        data bits or parity (the kernel forces 8 data bits, no parity), so the
                        client is taken as 8 data bits, no parity: a 7E1 scale reaches it with
                        bit 7 set on the bytes of odd parity, whatever the client set.
      --request TEXT  the bytes the scale answers (default <ENQ>), spelled as vardelmo
                        spells a reply: P, <EOT>, {RW}, <ENQ>D05; other bytes are logged and
                        ignored. '' answers nothing, for a scale that only talks on its own
                        (it needs --continuous)
      --frame TEXT    answer with exactly these bytes, spelled alike ("<STX>12,5kg<CR>"),
                        instead of the format's frame; --state silent still silences it
      --link PATH     also make a symbolic link PATH to the terminal, removed on exit; a
                        running scale's link is not taken over (exit 2), a stale one is
                        replaced
  -n, --count N       exit 0 once N enquiries have been handled (answered or left silent)
  -h, --help          show this help and exit
      --version       show the version and exit

While it runs, standard input takes one change a line, applied from the next frame on:
  weight KG | state NAME | format NAME
A bad line is reported on standard error and changes nothing. The end of standard input does
not stop the scale; SIGINT and SIGTERM do, with exit status 0.

Each enquiry is logged on standard error: monotonic time, the client's line as the terminal
holds it, the bytes received and sent in hex, and the family, state and weight of the frame
(and, when the client got it garbled, the frame as sent). Bytes the scale heard otherwise than
they were sent are logged with what it heard. Frames sent unasked are logged when they change.
)";
}

}  // namespace vardelmo::vscale
