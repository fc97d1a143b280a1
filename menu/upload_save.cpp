// SPDX-License-Identifier: GPL-3.0-or-later
// SICHERN with every field filled: the upload file is written and the message page tells where
// it went and where to send it, or why it could not be written.
#include "app/vorlanix.h"
#include "score/upload_file.h"
#include "score/upload_message.h"

namespace vorlanix {

void Vorlanix::SaveUploadFile() {
    score::UploadEntry entry;
    entry.S = static_cast<int32_t>(platform_.GetTickCount());
    entry.t = Ergebnis / kScoreScale;
    for (int i = 1; i <= 8; ++i) entry.FeldText[i] = FeldText[i];
    const score::UploadWrite written = score::write_upload_file(platform_.DataDirectory(), entry, platform_.Files());

    const auto lines = score::upload_message(written, [this](std::string_view txt) { return TextLaenge(txt); });
    for (int i = 1; i <= 12; ++i) MeldungZeile[i] = lines[i];
    // After a failed write, OK leads back to the form, whose entries are all still there, so
    // the player can change the nickname or free the directory and try again.
    OpenMessagePage(9, written.status.ok() ? 4 : 9);
    HighscoreSpeichern();
}

}  // namespace vorlanix
