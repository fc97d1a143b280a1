// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of the game in three kinds: those a START may find with any value, the switches, and
// the rest, which hold at every START what the program's start gave them.
#include "replay/start_check.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>
#include <string_view>
#include <type_traits>

#include "app/program_tables.h"

namespace replay {

namespace {

// Fields START sets again before play reads them (the game's set-up and its first frame), and the
// fields of the menu, the lists, the texts, the sounds' files and the clock of the last focus loss,
// which play does not read or cannot profit from (time away counts from the game's start at most).
// clang-format off
const std::set<std::string_view> kSetAgainOrNotPlayed = {
    "Modus", "AktMenue", "MenuePunktMaus", "MenuePunktGedrueckt", "ErgebnisOffen", "Ergebnis", "NeuerRang",
    "AktFeld", "HilfeSeite", "MeldungZeile", "MeldungZurueck", "SpielerName", "FeldText", "HSName", "HSTage",
    "SpielStartTick", "Spielzeit", "Zeitversatz", "TickJetzt", "TickVorher", "FrameDauer", "Schritt", "Pause",
    "PauseBeginn", "MausPos", "ScrollX1024", "ScrollY1024", "SichtX", "SichtY", "TasteOben", "TasteUnten",
    "TasteRechts", "TasteLinks", "SchussTimer", "SchussX", "SchussY", "RechtsKlickX", "RechtsKlickY", "Munition",
    "Punktzahl", "Kombi", "PunktzahlAnzeige", "LetzterTreffer", "RestSekunden", "RestSekundenAnzeige", "AlterStufe",
    "AlterStufeAnzeige", "ObjX", "ObjY", "ObjBasisX", "ObjBasisY", "ObjVX", "ObjVY", "ObjBild", "ObjZeit",
    "ObjWeltX", "ObjWeltY", "ObjTot", "AngriffUhr", "AngriffUhrVorher", "AlarmLaeuft", "RaumtanksUebrig",
    "Endphase", "PlanetX", "PlanetY", "PlanetSchirmX", "PlanetSchirmY", "BurgTot", "BurgBlitz", "LupeZerstoert",
    "SpielUngueltig", "ExplosionZeit", "ExplosionX", "ExplosionY", "ExplosionSchirmX", "ExplosionSchirmY",
    "MondArt", "MondX", "MondY", "MondSchirmX", "MondSchirmY", "MondTot", "MondHinten", "MondTiefe",
    "MondGroesse", "OrbitDX", "OrbitDY", "SplitterStartX", "SplitterStartY", "SplitterVX", "SplitterVY",
    "SplitterZeit", "SplitterX", "SplitterY", "SplitterSchirmX", "SplitterSchirmY", "SplitterTot", "MeteorBild",
    "SatelitStartX", "SatelitStartY", "SatelitX", "SatelitY", "SatelitZerstoert", "SatelitZerstoertZeit",
    "SatelitWeg", "SatelitIroneTot", "SatelitIroneX", "SatelitIroneY", "Satelit2X", "Satelit2Y",
    "Satelit2Zerstoert", "Satelit2ZerstoertZeit", "Satelit2Weg", "Satelit2IroneTot", "Satelit2IroneX",
    "Satelit2IroneY", "Schalter", "SchalterZeit", "CosTab", "SinTab", "CosTab1024", "SinTab1024", "SternX",
    "SternY", "SoundPfad", "SoundDatei", "EndeAnimationLaeuft", "PunktAktiv", "PunktZeit", "PunktWert", "PunktX",
    "PunktY",
};
// clang-format on

// The menu's switches and the machine's yes-or-no answers at start-up: True or False, nothing else.
const std::set<std::string_view> kSwitches = {"SoundAn",     "MusikAn",      "NebelAn",
                                              "SoundBereit", "SurfVerloren", "SoundGeladen"};

// The fields alone, as the game object declares them, for the state of a program at its START.
struct Fields {
#include "app/game_field_members.inc"
};

// White on the program's 16-bit display, as the title picture gives it.
constexpr int32_t kWhite = 0xffff;

std::unique_ptr<Fields> atStart() {
    auto f = std::make_unique<Fields>();
    std::copy(std::begin(vorlanix::kPosGross), std::end(vorlanix::kPosGross), f->PosGross);
    std::copy(std::begin(vorlanix::kPosKlein), std::end(vorlanix::kPosKlein), f->PosKlein);
    std::copy(std::begin(vorlanix::kPosZeichen), std::end(vorlanix::kPosZeichen), f->PosZeichen);
    std::copy(std::begin(vorlanix::kFeldX), std::end(vorlanix::kFeldX), f->FeldX);
    std::copy(std::begin(vorlanix::kFeldY), std::end(vorlanix::kFeldY), f->FeldY);
    std::copy(std::begin(vorlanix::kFeldBreite), std::end(vorlanix::kFeldBreite), f->FeldBreite);
    // The display was set up and the title shown before any START.
    f->DDBereit = vorlanix::True;
    f->ErsterStart = vorlanix::False;
    f->FarbeWeiss = kWhite;
    return f;
}

// Texts are built by appending: GCC 12 warns falsely (-Wrestrict) about "text" + std::string
// wherever that is inlined, and the Windows build treats warnings as errors.
std::string quoted(const std::string& v) {
    std::string out = "\"";
    out += v;
    out += '"';
    return out;
}

template <typename T>
std::string shown(const T& v) {
    if constexpr (std::is_same_v<T, std::string>)
        return quoted(v);
    else if constexpr (std::is_floating_point_v<T>)
        return std::to_string(v);
    else
        return std::to_string(static_cast<int64_t>(v));
}

// The first element of `value` that differs from `fresh` (bit for bit) or, for a switch, is
// neither True nor False; `where` collects its indices.
template <typename T>
bool wrong(const T& value, const T& fresh, bool isSwitch, std::string& where) {
    if constexpr (std::is_array_v<T>) {
        for (size_t i = 0; i < std::extent_v<T>; ++i)
            if (wrong(value[i], fresh[i], isSwitch, where)) {
                std::string index = "[";
                index += std::to_string(i);
                index += ']';
                where.insert(0, index);
                return true;
            }
        return false;
    } else {
        bool bad = false;
        if (isSwitch) {
            if constexpr (std::is_integral_v<T>) bad = value != vorlanix::True && value != vorlanix::False;
        } else if constexpr (std::is_same_v<T, std::string>) {
            bad = value != fresh;
        } else {
            bad = std::memcmp(&value, &fresh, sizeof(T)) != 0;
        }
        if (bad) {
            where = " holds ";
            where += shown(value);
        }
        return bad;
    }
}

}  // namespace

std::string ImpossibleAtStart(const vorlanix::Vorlanix& game) {
    static const std::unique_ptr<Fields> fresh = atStart();
    std::string where;
    auto check = [&](std::string_view name, const auto& value, const auto& expected) {
        if (!where.empty() || kSetAgainOrNotPlayed.contains(name)) return;
        std::string at;
        if (wrong(value, expected, kSwitches.contains(name), at)) where = std::string(name) + at;
    };
#define FIELD(type, name, start) check(#name, game.name, fresh->name);
#define ARRAY(type, name, n) check(#name, game.name, fresh->name);
#define ARRAY2(type, name, n, m) check(#name, game.name, fresh->name);
#define ARRAY3(type, name, n, m, k) check(#name, game.name, fresh->name);
#include "app/game_fields.inc"
#undef FIELD
#undef ARRAY
#undef ARRAY2
#undef ARRAY3
    return where;
}

}  // namespace replay
