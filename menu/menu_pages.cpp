// SPDX-License-Identifier: GPL-3.0-or-later
// Building a menu page: its picture into SurfMenueSeite, and the page as it looks when it opens
// (picture and live elements) onto the canvas SurfTemp2 for the opening animation.
#include <cstdio>
#include <exception>

#include "base/log.h"
#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

namespace {

const char* pagePicture(int32_t page) {
    switch (page) {
        case 2: return "menue_story.bmp";
        case 3: return "menue_preferences.bmp";
        case 4: return "menue_highscore.bmp";
        case 5: return "menue_impressum.bmp";
        case 6:
        case 61: return "menue_hilfe1.bmp";
        case 62: return "menue_hilfe2.bmp";
        case 63: return "menue_hilfe3.bmp";
        case 8: return "menue_ergebnis.bmp";
        case 9: return "menue_upload.bmp";
        case 10: return "menue_idiot.bmp";
        case 11: return "menue_msg.bmp";
        default: return nullptr;  // 0, 1 and 7 keep the start picture
    }
}

}  // namespace

void Vorlanix::Init_AktMenue(int32_t neu) {
    const char* picture = pagePicture(neu);
    if (!picture) return;
    // A page whose picture cannot be loaded is shown without it, as a missing picture of the
    // set loaded at start is; its texts and buttons still work.
    try {
        LadeBild(SurfMenueSeite, picture, 0);
        CopyUnclipped(SurfTemp2, 0, 0, SurfMenueSeite, platform::Rect{0, 0, 320, 240}, false);
    } catch (const std::exception& e) {
        base::Log("%s; the page is shown without its picture", e.what());
        FillRect(SurfTemp2, platform::Rect{0, 0, 320, 240}, 0);
    }
    switch (neu) {
        case 3: DrawSettingsLamps(PageTarget::Canvas); break;
        case 4: DrawHighscoreList(PageTarget::Canvas); break;
        case 9: DrawUploadFields(PageTarget::Canvas); break;
        case 11: DrawMessageLines(PageTarget::Canvas); break;
        default: break;  // the result digits of page 8 appear only in the live frames
    }
}

}  // namespace vorlanix
