// The one list of families: names as technicians know the scales, the families with files of
// their own in the order they are tried, and a whole frame of each to tell a cut one by. A new
// family with a file of its own is that file (listed in CMakeLists.txt), its line here and
// its parser's in `files`.
#include "reading/families.h"

#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

using namespace std::literals;

constexpr std::string_view toledoBStarts[] = {
    "\x02"
    "01234\x03"sv,
    "\x02+001,234\x03"sv};
constexpr std::string_view toledoCStarts[] = {
    "\x02"
    "01234\r"sv,
    "\x02"
    "01234kg\r"sv};
constexpr std::string_view toledoAStarts[] = {
    "\x02\x00"
    "001234\x00"
    "000000000000\r\x87"sv};
constexpr std::string_view p03Starts[] = {
    "\x02\x2d\x30\x20"
    "001234000000\r"sv,
    "\x02\x2d\x30\x20"
    " 001234000000\r"sv};
constexpr std::string_view toledoEthStarts[] = {
    "\x02"
    "02\x2d\x30\x20"
    "00123400000000000000000000000000000000P00000000000100\x10\x03\x06"sv};
constexpr std::string_view stGsStarts[] = {"ST,GS,+  1.234kg\r\n"sv, "ST,GS,+   1.234  kg\r\n"sv,
                                           "US,GS,+  1.234kg\r\n"sv, "OL,GS,+  1.234kg\r\n"sv};
constexpr std::string_view michelettiStarts[] = {"\x02  0800  99999  79999\x03"sv};
constexpr std::string_view bcs21Starts[] = {"\x02S+0001.234\r"sv};
constexpr std::string_view liderStarts[] = {
    "\x01"
    "001.234 E\x02"sv};
constexpr std::string_view uranoStarts[] = {"* PESO: 5,10kg"sv, "  PESO: 5,10kg"sv};
constexpr std::string_view uranoPopStarts[] = {"PESO L: 1,234kg"sv};
constexpr std::string_view magnaStarts[] = {"\t 1,234kg"sv};
constexpr std::string_view digitronStarts[] = {"E1234.5"sv};
constexpr std::string_view mullerStarts[] = {"+01.234\x03"sv};
constexpr std::string_view precisionStarts[] = {"A001234\r"sv,
                                                "@001234\r"sv,
                                                "H001234\r"sv,
                                                "T001234\r"sv,
                                                "M001234\r"sv,
                                                "L001234\r"sv,
                                                "I001234\r"sv,
                                                "G001234\r"sv,
                                                "F001234\r"sv,
                                                "\x02"
                                                "H001234\r"sv};
constexpr std::string_view lenkeStarts[] = {
    "\x02"
    "0001234  \r"sv};
constexpr std::string_view wt1000Starts[] = {"0,  1.500,  0.266,  1.234\r\n"sv,
                                             "1,  1.234,  0.000,  1.234\r\n"sv};
constexpr std::string_view wt27rStarts[] = {"EB,kg,B: 001234,T:000000,L: 001234\r\n"sv,
                                            "IB,kg,B: 001234,T:000000,L: 001234\r\n"sv};
constexpr std::string_view capitalStarts[] = {"E01.234 \r"sv};
constexpr std::string_view sicilianoStarts[] = {"\x02SIC 01.234kgB\x03\x00\n"sv,
                                                "\x02"
                                                "BR 01.500kgTR 00.266kg\x03\x00\n"sv};
constexpr std::string_view condecStarts[] = {"\x02 001.234KG \r\n"sv};
constexpr std::string_view truTestStarts[] = {"[102.5]"sv};

constexpr FamilyInfo infos[] = {
    {"toledo-b", "Toledo B", toledoBStarts},
    {"toledo-c", "Toledo C", toledoCStarts},
    {"toledo-a", "Toledo A", toledoAStarts},
    {"p03", "P03", p03Starts},
    {"st-gs", "ST,GS", stGsStarts},
    {"micheletti", "Micheletti", michelettiStarts},
    {"toledo-eth", "Toledo Ethernet", toledoEthStarts},
    {"bcs21", "Toledo BCS21", bcs21Starts},
    {"lider", "Lider", liderStarts},
    {"urano", "Urano", uranoStarts},
    {"urano-pop", "Urano POP", uranoPopStarts},
    {"magna", "Magna", magnaStarts},
    {"digitron-ul", "Digitron UL", digitronStarts},
    {"alfa", "Alfa", {}},
    {"afts", "AFTS", {}},
    {"muller", "Muller", mullerStarts},
    {"saturno", "Saturno", {}},
    // STX, then text of any value: whatever follows an STX would fit a LucasTec line's start.
    {"lucastec", "LucasTec", {}},
    {"precision", "Precision", precisionStarts},
    {"lenke", "Lenke LK2500", lenkeStarts},
    {"wt1000", "Weightech WT1000", wt1000Starts},
    {"wt27r", "Weightech WT27R", wt27rStarts},
    {"marel", "Marel CG62XL", {}},
    {"capital", "Capital", capitalStarts},
    {"siciliano", "Siciliano", sicilianoStarts},
    {"condec", "Trentin Condec", condecStarts},
    {"el05", "Trentin EL05", {}},
    {"tru-test", "Weigh TRU-Test", truTestStarts},
};

// Checksums first, so that a frame that carries one is never read as a shorter family's.
constexpr FileFamily files[] = {
    {cr, 2, toledoA},      {cr, 2, p03Checked},    {etx, 2, toledoEth}, {cr, 2, lucastec},
    {cr, 1, p03},          {etx, 1, micheletti},   {etx, 1, toledoB},   {cr, 1, toledoC},
    {lf, 1, stGs},         {lf, 1, sicilianoIp10}, {lf, 1, wt27r},      {'g', 1, magna},
    {cr, 1, lucastecAtCr},
};

}  // namespace

std::span<const FamilyInfo> familyInfos() {
    return infos;
}

std::span<const FileFamily> fileFamilies() {
    return files;
}

}  // namespace vardelmo::reading::detail
