// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the bitmaps into their surfaces with their colour keys, and the display check every
// drawing procedure begins with.
#include <cstdio>
#include <exception>

#include "base/log.h"
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::LadeBild(Surf& field, const char* name, uint16_t key) {
    field.reset();
    field = platform_.CreateSurfaceFromResource(name);
    field->SetColorKey(key);
}

void Vorlanix::InitSurfaces() {
    Surf* owned[] = {&SurfTemp,        &SurfTemp2,          &SurfTempTxt,     &SurfBurg,         &SurfIrone0,
                     &SurfIrone1,      &SurfIrone1Salto,    &SurfBrett1,      &SurfIrone2,       &SurfIrone2Salto,
                     &SurfBrett2,      &SurfIrone3,         &SurfIrone3Salto, &SurfBrett3,       &SurfRaumtank,
                     &SurfStoerung,    &SurfOben,           &SurfObenRot,     &SurfLinks,        &SurfRechts,
                     &SurfUnten,       &SurfAltern,         &SurfScore,       &SurfRadar,        &SurfPointer,
                     &SurfExplosion,   &SurfKrater,         &SurfLupe,        &SurfSatelit,      &SurfSatelitIrone,
                     &SurfSatelit2,    &SurfSatelit2Irone,  &SurfMond,        &SurfIroneStation, &SurfMeteor,
                     &SurfIroneMeteor, &SurfZahlen,         &SurfMenue,       &SurfButton,       &SurfMenueSeite,
                     &SurfLogo,        &SurfErgebnisZahlen, &SurfSchriftSatz};
    for (Surf* s : owned) s->reset();
    // The nebulae are loaded last; released now, a load that fails before them leaves none of
    // the old ones to be drawn.
    for (Surf* s : {&SurfNebel1, &SurfNebel2, &SurfNebel3, &SurfNebel4}) s->reset();

    const uint16_t weiss = static_cast<uint16_t>(FarbeWeiss);
    // A picture that cannot be loaded stops the loading here; the game runs on with the
    // pictures it has, and the missing ones are simply absent from the frames.
    try {
        LadeBild(SurfTemp, "temp.bmp", 0);
        LadeBild(SurfTemp2, "temp.bmp", 0);
        LadeBild(SurfTempTxt, "temptxt.bmp", 0);
        LadeBild(SurfBurg, "Burg.bmp", 0);
        LadeBild(SurfIrone0, "Irone0.bmp", 0);
        LadeBild(SurfIrone1, "Irone1.bmp", 0);
        LadeBild(SurfIrone1Salto, "irone1_salto.bmp", 0);
        LadeBild(SurfBrett1, "Brett1.bmp", 0);
        LadeBild(SurfIrone2, "Irone2.bmp", 0);
        LadeBild(SurfIrone2Salto, "irone2_salto.bmp", 0);
        LadeBild(SurfBrett2, "Brett2.bmp", 0);
        LadeBild(SurfIrone3, "Irone3.bmp", 0);
        LadeBild(SurfIrone3Salto, "irone3_salto.bmp", 0);
        LadeBild(SurfBrett3, "Brett3.bmp", 0);
        LadeBild(SurfRaumtank, "raumtank.bmp", 0);
        LadeBild(SurfStoerung, "Stoerung.bmp", weiss);
        LadeBild(SurfOben, "oben.bmp", 0);
        LadeBild(SurfObenRot, "oben_rot.bmp", 0);
        LadeBild(SurfLinks, "links.bmp", weiss);
        LadeBild(SurfRechts, "rechts.bmp", weiss);
        LadeBild(SurfUnten, "unten.bmp", weiss);
        LadeBild(SurfAltern, "altern.bmp", weiss);
        LadeBild(SurfScore, "Score.bmp", 0);
        LadeBild(SurfRadar, "radar.bmp", 0);
        LadeBild(SurfPointer, "pointer.bmp", 0);
        LadeBild(SurfExplosion, "explosion.bmp", 0);
        LadeBild(SurfKrater, "krater.bmp", weiss);
        LadeBild(SurfLupe, "lupe.bmp", 0);
        LadeBild(SurfSatelit, "satelit.bmp", 0);
        LadeBild(SurfSatelitIrone, "satelitirone.bmp", 0);
        LadeBild(SurfSatelit2, "satelit2.bmp", 0);
        LadeBild(SurfSatelit2Irone, "satelit2irone.bmp", 0);
        LadeBild(SurfMond, "mond.bmp", 0);
        LadeBild(SurfIroneStation, "irone_station.bmp", 0);
        LadeBild(SurfMeteor, "meteor.bmp", 0);
        LadeBild(SurfIroneMeteor, "irone_meteor.bmp", 0);
        LadeBild(SurfZahlen, "zahlen.bmp", 0);
        LadeBild(SurfMenue, "menue.bmp", 0);
        LadeBild(SurfButton, "button.bmp", 0);
        LadeBild(SurfMenueSeite, "menue_start.bmp", 0);
        LadeBild(SurfLogo, "logo.bmp", 0);
        LadeBild(SurfErgebnisZahlen, "ergebniszahlen.bmp", 0);
        LadeBild(SurfSchriftSatz, "SchriftSatz.bmp", 0);
        InitNebelSurfaces();
    } catch (const std::exception& e) {
        base::Log("%s; the remaining pictures are not loaded", e.what());
    }
}

void Vorlanix::InitPlanetSurfaces() {
    for (Surf* s : {&SurfStern0, &SurfStern1, &SurfStern2, &SurfStern3, &SurfStern4, &SurfStern5}) s->reset();
    LadeBild(SurfStern0, "Stern0.bmp", 0);
    LadeBild(SurfStern1, "Stern1.bmp", 0);
    LadeBild(SurfStern2, "Stern2.bmp", 0);
    LadeBild(SurfStern3, "Stern3.bmp", 0);
    LadeBild(SurfStern4, "Stern4.bmp", 0);
    LadeBild(SurfStern5, "Stern5.bmp", 0);
}

void Vorlanix::InitNebelSurfaces() {
    for (Surf* s : {&SurfNebel1, &SurfNebel2, &SurfNebel3, &SurfNebel4}) s->reset();
    if (NebelAn == False) return;
    LadeBild(SurfNebel1, "Nebel1.bmp", 0);
    LadeBild(SurfNebel2, "Nebel2.bmp", 0);
    LadeBild(SurfNebel3, "Nebel3.bmp", 0);
    LadeBild(SurfNebel4, "Nebel4.bmp", 0);
}

bool Vorlanix::WarteAufAnzeige() {
    SurfVerloren = False;
    while (!ExModeActive()) {
        platform_.DoEvents();
        SurfVerloren = True;
    }
    platform_.DoEvents();
    if (SurfVerloren == False) return false;
    SurfVerloren = False;
    platform_.RestoreAllSurfaces();
    return true;
}

void Vorlanix::Flip() { platform_.Flip(*SurfBack); }

}  // namespace vorlanix
