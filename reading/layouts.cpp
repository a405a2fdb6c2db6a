// The families whose frames are a run of fields with no status bits or checksum: one row
// each, or one a form where a family has two. A row is tried before the rows below it. A new
// family of this kind is its rows here and its line in families.cpp (id, name, a whole frame).
#include "reading/layout.h"

namespace vardelmo::reading::detail {

namespace {

using enum State;

// "As written": a decimal number with its own point or comma; digits alone do not read.
constexpr Number written{};
constexpr Number writtenOrGrams{.scale = 3};  // and six digits alone are grams
constexpr Number grams{.points = "", .scale = 3};

// Toledo BCS21: STX "S+0001.234" CR.
constexpr Code bcs21States[] = {{"S", Stable}, {"D", Motion}};
constexpr Field bcs21[] = {text("\x02"), status(1, bcs21States), sign("+"), weight(8, written),
                           text("\r")};

// Trentin in the Condec format: STX " 001.234KG " CR LF. Digits alone are not described (one
// reading takes them as grams, another as whole units): they do not read.
constexpr Code condecUnits[] = {{.bytes = "K", .unit = "kg"}, {.bytes = "L", .unit = "lb"}};
constexpr Code condecNet[] = {{.bytes = "G", .net = false}, {.bytes = "N", .net = true}};
constexpr Code condecStates[] = {{" ", Stable}, {"M", Motion}, {"O", Overload}};
constexpr Field condec[] = {text("\x02"),      sign(" "),      weight(7, written),
                            unit(condecUnits), net(condecNet), status(1, condecStates),
                            text("\r\n")};

// Lenke LK2500: STX "0001234MP" CR. The pair of a stable weight is not named: any pair but
// the two described leaves the state untold.
constexpr Code lenkeStates[] = {{"MP", Motion}, {"MN", Negative}, {""}};
constexpr Field lenke[] = {text("\x02"), weight(7, writtenOrGrams), status(2, lenkeStates),
                           text("\r")};

// Siciliano IP09: STX "SIC 01.234kgB" ETX, a checksum computed no one says how, LF.
constexpr Field sicilianoIp09[] = {text("\x02"),       any(3),     sign(" "),
                                   weight(6, written), text("kg"), any(1),
                                   text("\x03"),       any(1),     text("\n")};

// Weightech WT1000: "0,  1.500,  0.266,  1.234" CR LF, the net last.
constexpr Number signedWritten{.signInside = true};
constexpr Code wt1000States[] = {{"0", Stable}, {"1", Motion}};
constexpr Field wt1000[] = {
    status(1, wt1000States), text(","), gross(7, signedWritten),  text(","),
    tare(7, signedWritten),  text(","), weight(7, signedWritten), text("\r\n")};

// Muller and Rinnert: "+01.234" ETX, an STX before it or not.
constexpr Field muller[] = {text("+"), weight(6, written), text("\x03")};

// Precision: a letter, six digits of grams, CR. With an STX first any letter is Precision's
// (the letter of a stable weight is not named, so the others leave the state untold); without
// one only the named letters are (the others are el05's, below). Below zero the digits are
// most likely the amount below zero, which no description states: no weight.
constexpr Code precisionNamed[] = {
    {"A@", Motion}, {"HTMLI", Negative}, {.bytes = "GF", .noReading = true}};
constexpr Code precisionAfterStx[] = {{"A@", Motion},
                                      {"HTMLI", Negative},
                                      {.bytes = "GF", .noReading = true},
                                      {"BCDEJKNOPQRSUVWXYZ"}};
constexpr Field precisionStx[] = {text("\x02"), status(1, precisionAfterStx), weight(6, grams),
                                  text("\r")};
constexpr Field precision[] = {status(1, precisionNamed), weight(6, grams), text("\r")};

// Weigh TRU-Test: "[U102.5]" in motion, "[102.5]" stable; the unit is not sent.
constexpr Code truTestMoving[] = {{"U", Motion}};
constexpr Field truTestMotion[] = {text("["), status(1, truTestMoving), weight(0, written),
                                   text("]")};
constexpr Field truTest[] = {text("["), weight(0, written), text("]")};

// Lider: SOH "001.234 E" STX, sent all the time; the point sits anywhere.
constexpr Number liderNumber{.points = ".", .spacesAsZeros = true};
constexpr Code liderStates[] = {{"E", Stable}, {"I", Motion}};
constexpr Field lider[] = {text("\x01"), weight(0, liderNumber), text(" "), status(1, liderStates),
                           text("\x02")};

// Urano: the printed "* PESO: 5,10kg" among printer controls; a space for '*' in motion. How
// a line below zero is spaced is not described: what follows the '-' is the weight.
constexpr Code uranoStates[] = {{"*", Stable}, {" ", Motion}};
constexpr Field uranoNegative[] = {any(1), text(" PESO:"), sign("-"), weight(0, written),
                                   text("kg")};
constexpr Field urano[] = {status(1, uranoStates), text(" PESO:"), weight(0, written), text("kg")};

// Urano POP: "PESO L: 1,234kg", all within 16 bytes; its unlabelled form is among the
// unmarked rows.
constexpr Field uranoPop[] = {text("PESO L:"), weight(0, Number{.scale = 3, .longest = 7}),
                              text("kg")};

// Capital: 'E', the weight, a byte that is never part of it, CR.
constexpr Field capital[] = {text("E"), weight(0, Number{.padRight = true}), any(1), text("\r")};

// Digitron UL: "E1234.5" weighing; 'D' counting gives a count, not a weight. Other first
// bytes ('@' and 'F' are seen) are not described. How a frame ends is not described either:
// the reply is the frame.
constexpr Code digitronModes[] = {{"E"}, {.bytes = "D", .noReading = true}};
constexpr Field digitron[] = {status(1, digitronModes), weight(0, written)};

// Trentin EL05: a status byte, six digits of grams, CR. With no mark at its start, it starts
// the reply or follows the line end of the one before.
constexpr Field el05[] = {after("\r\n"), any(1), weight(6, grams), text("\r")};

// Saturno: "01.234E" stable, 'O' in motion; CR LF after it or nothing. No start byte: the
// weight starts the reply or follows the end of the frame before.
constexpr Code saturnoStates[] = {{"E", Stable}, {"O", Motion}};
constexpr Field saturnoLine[] = {after("\r\nEO"), weight(0, Number{.points = "."}),
                                 status(1, saturnoStates), text("\r\n")};
constexpr Field saturno[] = {after("\nEO"), weight(0, Number{.points = "."}),
                             status(1, saturnoStates)};

// No marks of their own: tried only when nothing above fits the reply.
// Alfa: four bytes of no described meaning, then six characters; digits alone hundredths.
constexpr Field alfa[] = {any(4), weight(6, Number{.scale = 2})};
// AFTS: a byte, then the weight written backwards.
constexpr Field afts[] = {any(1), weight(7, Number{.reversed = true})};
// Marel CG62XL: STX, 13 bytes, nine characters of weight, more bytes. Digits without a point
// count a unit no one states: they do not read.
constexpr Field marel[] = {text("\x02"), any(13), weight(9, written), rest()};
// Urano POP unlabelled: " 1,234 kg", six characters, a byte, "kg"; at a line's start only, as
// such pieces stand inside other families' lines too.
constexpr Field uranoPopPlain[] = {after("\r\n"), weight(6, writtenOrGrams), any(1), text("kg")};

constexpr Layout table[] = {
    {"bcs21", bcs21},
    {"condec", condec},
    {"lenke", lenke},
    {"siciliano", sicilianoIp09},
    {"wt1000", wt1000},
    {"muller", muller},
    {"precision", precisionStx},
    {"precision", precision},
    {"tru-test", truTestMotion},
    {"tru-test", truTest, Place::Anywhere, false, Stable},
    {"lider", lider},
    {"urano", uranoNegative},
    {"urano", urano},
    {"urano-pop", uranoPop},
    {"capital", capital},
    {"digitron-ul", digitron, Place::WholeReply},
    {"el05", el05},
    {"saturno", saturnoLine},
    {"saturno", saturno},
    {"alfa", alfa, Place::WholeReply, true},
    {"afts", afts, Place::WholeReply, true},
    {"marel", marel, Place::Anywhere, true},
    {"urano-pop", uranoPopPlain, Place::Anywhere, true},
};

}  // namespace

std::span<const Layout> layouts() {
    return table;
}

}  // namespace vardelmo::reading::detail
