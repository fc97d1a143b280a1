// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score list and settings as the game object holds them, loaded from and saved to
// hiscore.dat in the data directory. A file that cannot be read or written leaves the list in
// memory as it is; the game goes on without the file and says so once. A file that stands there
// but cannot be read is never saved over: it may hold a player's list.
#include <cstdio>

#include "base/log.h"
#include "app/vorlanix.h"
#include "score/hiscore_file.h"

namespace vorlanix {

namespace {

score::HiscoreData fromFields(const Vorlanix& g) {
    score::HiscoreData d;
    for (int i = 1; i <= 8; ++i) {
        d.HSName[i] = g.HSName[i];
        d.HSTage[i] = g.HSTage[i];
        d.FeldText[i] = g.FeldText[i];
    }
    d.SpielerName = g.SpielerName;
    d.NebelAn = g.NebelAn;
    d.SoundAn = g.SoundAn;
    d.MusikAn = g.MusikAn;
    return d;
}

void toFields(const score::HiscoreData& d, Vorlanix& g) {
    for (int i = 1; i <= 8; ++i) {
        g.HSName[i] = d.HSName[i];
        g.HSTage[i] = d.HSTage[i];
        g.FeldText[i] = d.FeldText[i];
    }
    g.SpielerName = d.SpielerName;
    g.NebelAn = d.NebelAn;
    g.SoundAn = d.SoundAn;
    g.MusikAn = d.MusikAn;
}

}  // namespace

std::filesystem::path Vorlanix::HighscoreDatei() const { return platform_.DataDirectory() / score::hiscore_file_name; }

void Vorlanix::MeldeDateiFehler(const std::string& error) {
    if (dateiFehlerGemeldet_) return;
    dateiFehlerGemeldet_ = true;
    base::Log("%s; %s", error.c_str(),
              highscoreUnberuehrt_ ? "the file is left alone: the high scores and settings stay in memory and "
                                     "are not saved over it"
                                   : "the high scores and settings stay in memory only");
}

void Vorlanix::HighscoreLaden() {
    // Before the first load the fields hold nothing: start from a new file's content, so a
    // file that cannot be read still leaves a valid list.
    score::HiscoreData d = highscoreGeladen_ ? fromFields(*this) : score::HiscoreData();
    const score::HiscoreLoad load = score::load_hiscore(HighscoreDatei(), d, platform_.Files());
    highscoreUnberuehrt_ = load.left_alone;
    if (!load.ok()) MeldeDateiFehler(load.error);
    highscoreGeladen_ = true;
    toFields(d, *this);
}

void Vorlanix::HighscoreSpeichern() {
    if (highscoreUnberuehrt_) return;
    const base::FileStatus status = score::save_hiscore(HighscoreDatei(), fromFields(*this), platform_.Files());
    if (!status.ok()) MeldeDateiFehler(status.error);
}

int32_t Vorlanix::HighscoreRang(int32_t t) const { return score::rank_result(fromFields(*this), t); }

void Vorlanix::HighscoreEintragen() {
    if (NeuerRang > 8) return;
    score::HiscoreData d = fromFields(*this);
    score::enter_result(d, NeuerRang, Ergebnis / kScoreScale, SpielerName);
    toFields(d, *this);
    HighscoreSpeichern();
}

}  // namespace vorlanix
