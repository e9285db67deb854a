#include "bench/sample_gedcom.h"

#include <array>
#include <string_view>

namespace stambrix::bench {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

// Windows-1252 bytes; a hex escape is closed by splitting the literal where a hex digit follows.
constexpr std::array<std::string_view, 20> kGivenMale = {"Jan",
                                                         "Pieter",
                                                         "Cornelis",
                                                         "Hendrik",
                                                         "Willem",
                                                         "Johannes",
                                                         "Gerrit",
                                                         "Dirk",
                                                         "Klaas",
                                                         "Adriaan",
                                                         "Jacob",
                                                         "Teunis",
                                                         "Arie",
                                                         "Bastiaan",
                                                         "Maarten",
                                                         "Huub",
                                                         "Jo\xEBl",
                                                         "Ren\xE9",
                                                         "J\xFCrgen",
                                                         "\xC7"
                                                         "etin"};
constexpr std::array<std::string_view, 18> kGivenFemale = {"Maria",
                                                           "Anna",
                                                           "Johanna",
                                                           "Cornelia",
                                                           "Grietje",
                                                           "Neeltje",
                                                           "Aaltje",
                                                           "Hendrika",
                                                           "Willemijn",
                                                           "Geertruida",
                                                           "Trijntje",
                                                           "Elisabeth",
                                                           "No\xEBlle",
                                                           "Ren\xE9"
                                                           "e",
                                                           "Zo\xEB",
                                                           "Ilse",
                                                           "D\xF6rte",
                                                           "\xC5got"};
constexpr std::array<std::string_view, 36> kSurnames = {"Berg",
                                                        "Vries",
                                                        "Jong",
                                                        "Bakker",
                                                        "Visser",
                                                        "Smit",
                                                        "Meijer",
                                                        "Mulder",
                                                        "Bos",
                                                        "Vos",
                                                        "Peters",
                                                        "Dekker",
                                                        "Brouwer",
                                                        "Dijk",
                                                        "Wit",
                                                        "Graaf",
                                                        "Leeuwen",
                                                        "Linden",
                                                        "Heuvel",
                                                        "Broek",
                                                        "Hart",
                                                        "Ancona",
                                                        "Boer",
                                                        "Jansen",
                                                        "Groot",
                                                        "Veen",
                                                        "Horst",
                                                        "IJzerman",
                                                        "Ruyter",
                                                        "Oosterhout",
                                                        "Nijhuis",
                                                        "\xC9"
                                                        "mile",
                                                        "\xD6zt\xFCrk",
                                                        "Eijk",
                                                        "Kuipers",
                                                        "Schouten"};
// Most surnames have no prefix; the rest mix the common Dutch ones, in the cases people type them.
constexpr std::array<std::string_view, 18> kPrefixes = {"",     "",         "",    "",         "",        "",
                                                        "van ", "van der ", "de ", "van den ", "van de ", "'t ",
                                                        "ter ", "ten ",     "d'",  "Van ",     "De ",     "op den "};
constexpr std::array<std::string_view, 20> kPlaces = {
    "Amsterdam", "Rotterdam", "Leiden",     "Utrecht",          "Haarlem",  "Delft",      "Gouda",
    "Zwolle",    "Groningen", "Maastricht", "'s-Hertogenbosch", "Den Haag", "Leeuwarden", "Middelburg",
    "Arnhem",    "Nijmegen",  "Breda",      "Alkmaar",          "Kampen",   "Deventer"};
constexpr std::array<std::string_view, 8> kProvinces = {"Noord-Holland", "Zuid-Holland", "Utrecht",       "Gelderland",
                                                        "Friesland",     "Zeeland",      "Noord-Brabant", "Overijssel"};
constexpr std::array<std::string_view, 16> kOccupations = {
    "landbouwer", "arbeider",  "timmerman",     "smid",     "bakker",       "schipper",   "koopman",    "dienstbode",
    "naaister",   "predikant", "schoolmeester", "molenaar", "boerenknecht", "herbergier", "kleermaker", "metselaar"};
constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// splitmix64: small, fast and the same on every platform, unlike the standard distributions.
class Random
{
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    /// A number from `low` to `high`, both included.
    std::size_t Between(std::size_t low, std::size_t high) { return low + Next() % (high - low + 1); }
    bool Percent(std::size_t percent) { return Next() % 100 < percent; }
    template <std::size_t N> std::string_view Pick(const std::array<std::string_view, N>& choices)
    {
        return choices[Next() % N];
    }

private:
    std::uint64_t state_;
};

class Writer
{
public:
    explicit Writer(std::string& out) : out_(out) {}

    Writer& operator<<(std::string_view text)
    {
        out_ += text;
        return *this;
    }
    Writer& operator<<(std::size_t number)
    {
        out_ += std::to_string(number);
        return *this;
    }
    void EndLine() { out_ += kLineEnd; }

private:
    std::string& out_;
};

void WriteDate(Writer& w, Random& random, std::size_t year)
{
    const std::size_t form = random.Between(1, 100);
    const std::size_t day = random.Between(1, 28);
    const std::string_view month = kMonths[random.Between(0, 11)];
    if (form <= 65)
        w << day << " " << month << " " << year;
    else if (form <= 75)
        w << "ABT " << year;
    else if (form <= 80)
        w << "BEF " << day << " " << month << " " << year;
    else if (form <= 88)
        w << month << " " << year;
    else
        w << year;
}

void WritePlace(Writer& w, Random& random)
{
    w << random.Pick(kPlaces);
    if (random.Percent(60))
        w << ", " << random.Pick(kProvinces);
}

void WriteEvent(Writer& w, Random& random, std::string_view tag, std::size_t year)
{
    w << "1 " << tag;
    w.EndLine();
    const std::size_t shape = random.Between(1, 100);
    if (shape <= 8)
        return;
    if (shape <= 60) {
        w << "2 DATE ";
        WriteDate(w, random, year);
        w.EndLine();
    }
    w << "2 PLAC ";
    WritePlace(w, random);
    w.EndLine();
    if (shape > 60 && shape <= 92) {
        w << "2 DATE ";
        WriteDate(w, random, year);
        w.EndLine();
    }
}

void WritePerson(Writer& w, Random& random, std::size_t id, std::size_t families)
{
    const bool male = random.Percent(50);
    w << "0 @I" << id << "@ INDI";
    w.EndLine();
    w << "1 NAME ";
    const std::size_t givenCount = random.Between(1, 3);
    for (std::size_t i = 0; i < givenCount; ++i)
        w << (i == 0 ? "" : " ") << (male ? random.Pick(kGivenMale) : random.Pick(kGivenFemale));
    w << " /" << random.Pick(kPrefixes) << random.Pick(kSurnames) << "/";
    w.EndLine();
    if (random.Percent(97)) {
        w << "1 SEX " << (male ? "M" : "F");
        w.EndLine();
    }
    const std::size_t born = random.Between(1600, 1950);
    if (random.Percent(80))
        WriteEvent(w, random, "BIRT", born);
    if (random.Percent(40))
        WriteEvent(w, random, "CHR", born);
    const std::size_t died = born + random.Between(1, 90);
    if (random.Percent(60))
        WriteEvent(w, random, "DEAT", died);
    if (random.Percent(30))
        WriteEvent(w, random, "BURI", died);
    if (random.Percent(55)) {
        w << "1 OCCU " << random.Pick(kOccupations);
        w.EndLine();
    }
    if (families != 0 && random.Percent(70)) {
        w << "1 FAMC @F" << random.Between(1, families) << "@";
        w.EndLine();
    }
    if (families != 0 && random.Percent(50)) {
        w << "1 FAMS @F" << random.Between(1, families) << "@";
        w.EndLine();
    }
    w << "1 CHAN";
    w.EndLine();
    w << "2 DATE " << random.Between(1, 28) << " " << random.Pick(kMonths) << " 2006";
    w.EndLine();
}

void WriteFamily(Writer& w, Random& random, std::size_t id, std::size_t persons)
{
    w << "0 @F" << id << "@ FAM";
    w.EndLine();
    w << "1 HUSB @I" << random.Between(1, persons) << "@";
    w.EndLine();
    w << "1 WIFE @I" << random.Between(1, persons) << "@";
    w.EndLine();
    const std::size_t children = random.Between(0, 4);
    for (std::size_t i = 0; i < children; ++i) {
        w << "1 CHIL @I" << random.Between(1, persons) << "@";
        w.EndLine();
    }
    if (random.Percent(80))
        WriteEvent(w, random, "MARR", random.Between(1620, 1970));
}
} // namespace

std::string SampleGedcom(std::size_t persons, std::uint64_t seed)
{
    std::string out;
    out.reserve(persons * 280 + 256);
    Writer w(out);
    Random random(seed);
    for (const std::string_view line : {"0 HEAD", "1 SOUR BENCH", "1 GEDC", "2 VERS 5.5.1", "2 FORM LINEAGE-LINKED",
                                        "1 CHAR ANSI", "1 SUBM @U1@", "0 @U1@ SUBM", "1 NAME Inzender"}) {
        w << line;
        w.EndLine();
    }
    const std::size_t families = persons / 3;
    for (std::size_t id = 1; id <= persons; ++id)
        WritePerson(w, random, id, families);
    for (std::size_t id = 1; id <= families; ++id)
        WriteFamily(w, random, id, persons);
    w << "0 TRLR";
    w.EndLine();
    return out;
}

} // namespace stambrix::bench
