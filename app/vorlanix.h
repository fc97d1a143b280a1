// SPDX-License-Identifier: GPL-3.0-or-later
// The game object: every field of the game and all its procedures. One object, as the game was
// designed; its member functions are defined in the files of the subsystem that owns them
// (app/, game/, gfx/, menu/, score/, sound/).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/numbers.h"
#include "base/mersenne_twister.h"
#include "platform/platform.h"

namespace vorlanix {

using Surf = std::unique_ptr<platform::Surface>;

class Vorlanix : public platform::WindowEvents {
  public:
    explicit Vorlanix(platform::Platform& platform);

    // ---- fields (listed in game_fields.inc) ----
#include "app/game_field_members.inc"

    // ---- surfaces ----
    Surf SurfBack, SurfStart, SurfTemp, SurfTemp2, SurfTempTxt;
    Surf SurfBurg, SurfIrone0, SurfIrone1, SurfIrone1Salto, SurfBrett1, SurfIrone2, SurfIrone2Salto, SurfBrett2;
    Surf SurfIrone3, SurfIrone3Salto, SurfBrett3, SurfRaumtank, SurfStoerung, SurfOben, SurfObenRot, SurfLinks;
    Surf SurfRechts, SurfUnten, SurfAltern, SurfScore, SurfRadar, SurfPointer, SurfExplosion, SurfKrater, SurfLupe;
    Surf SurfSatelit, SurfSatelitIrone, SurfSatelit2, SurfSatelit2Irone, SurfMond, SurfIroneStation, SurfMeteor;
    Surf SurfIroneMeteor, SurfZahlen, SurfMenue, SurfButton, SurfMenueSeite, SurfLogo, SurfErgebnisZahlen;
    Surf SurfSchriftSatz;
    Surf SurfStern0, SurfStern1, SurfStern2, SurfStern3, SurfStern4, SurfStern5;
    Surf SurfNebel1, SurfNebel2, SurfNebel3, SurfNebel4;

    // ---- sound copies: SoundPuffer[slot 1..15][copy 1..10] ----
    std::unique_ptr<platform::SoundBuffer> SoundPuffer[16][11];

    // ---- start-up, display set-up and shutdown ----
    void Form_Load();
    void Init();
    bool ExModeActive();
    void warte(int32_t z);
    [[noreturn]] void EndIt();
    [[noreturn]] void EndeDesSpiels();

    // window events
    void Form_Activate() override;
    void Form_GotFocus() override;
    void Form_LostFocus() override;
    void Form_KeyDown(int16_t keyCode) override;
    void Form_KeyUp(int16_t keyCode) override;
    void Form_KeyPress(int16_t character) override;
    void Form_MouseDown(int16_t button, int16_t shift, float x, float y) override;
    void Form_MouseUp(int16_t button, int16_t shift, float x, float y) override;
    void Form_MouseMove(int16_t button, int16_t shift, float x, float y) override;

    // ---- outer loop and game loop (app/) ----
    void StartSchleife();
    void Schleife();
    void SetUpGame();  // everything a game starts from, before its first frame
    bool GameFrame();  // one frame; false when the game's time has run out
    void EndGame();    // from the last frame to the result page

    // ---- world: player control, enemies, planets, moons, satellites (game/) ----
    void AngriffGI(float Schritt);
    void Feindposition(float Schritt);
    void PlanetenPositionen(float Schritt);
    void FillAngleTables();
    void SetUpObjects();
    void ChooseSatellitePath();
    void SetUpPlanets();
    void MoveBoardIrones();
    void MoveSatellites();

    // ---- shots, hits, craters and points (game/, gfx/score_display.cpp) ----
    void SchussAuswerten();
    void RechtsKlickAuswerten();
    bool PlanetTrefferLoch(int32_t Nr, int32_t RX, int32_t RY, Surf& Bild);
    bool LupeTrefferLoch();
    void NeuPunktDarstellung(int32_t Wert, int32_t PosX, int32_t PosY);
    void ZeichnePunktzahlen();
    // The steps of the shot evaluation; each returns true when it took the shot.
    bool HitBigIrone();
    bool HitRaumtank();
    bool HitFirstSatelliteIrones();
    bool HitFirstSatellite();
    bool HitSecondSatelliteIrone();
    bool HitSwitch();
    bool HitSecondSatellite();
    bool HitBoardIrones();
    bool HitMoons(bool behind);
    void RaumtankBlast();
    void StopBigIroneAlarm();
    // Points awarded where the shot fell.
    void AwardAtShot(int32_t Wert);

    // ---- the game frame: scene, stars, dying, cockpit (gfx/) ----
    void Zeichne();
    void Sterne();
    void MondSterben(int32_t Stufe, int32_t PosX, int32_t PosY);
    void MeteorSterben(int32_t Stufe, int32_t PosX, int32_t PosY);
    void Sterben_Brett(int32_t Nr, int32_t Typ);
    void Sterben_SatelitIrone(int32_t Nr);
    void Sterben_Satelit2Irone(int32_t Nr);
    void SterbenGI(int32_t Stufe, int32_t Seite, int32_t PosX, int32_t PosY, const Surf& Bild);
    // The layers of a frame, back to front, as Zeichne calls them.
    void SetPictureOffset();
    void DrawNebulae();
    void DrawMoons(int16_t behind);
    void DrawMoon(int32_t i, int32_t j);
    void DrawPlanets();
    void DrawCastleAndFlag(int32_t p, int32_t castleHeight, int32_t flagHeight);
    void DrawFragmentsInFront();
    void DrawFragments(int32_t i, int32_t j, const Surf& picture);
    void DrawFirstSatellite();
    void DrawSecondSatellite();
    void DrawIronesAndTanks();
    void DrawBigIrone();
    void DrawExplosion();
    void DrawDoors();
    void DrawPointer();
    // A picture eaten away by the interference pattern (the dying Irones and tanks).
    void Dissolve(const Surf& sheet, platform::Rect cell, int32_t s, int32_t T, int32_t R, int32_t LX, int32_t LY,
                  int32_t X, int32_t Y);
    void DissolveSatelliteIrone(float progress, int32_t Nr, int32_t X, int32_t Y);
    // The cockpit frame and its instruments; the counters go into SurfUnten only when they change.
    void ZeichneCockpit();
    void DrawAmmunitionBar();
    void DrawRadarMarks();
    void DrawRadarSweep();
    void UpdateAgeingPicture();
    void PaintAgeingStage();  // the portrait of AlterStufe, when it changed
    void UpdateTimeCounter();
    void UpdateScoreCounter();
    // The five score digits; lastRight is where the last digit's picture is cut off.
    void PaintScoreCounter(int32_t points, int32_t lastRight);

    // ---- menu pages, menu input, count-down (menu/) ----
    void MenuAusblenden(int32_t Alt, int32_t neu);
    void EndeAnimation();

    // ---- menu ----
    void Zeichne_Menue();
    void MenueMausBewegt(float x, float y);     // menu branch of the mouse move
    void MenueMausGedrueckt(float x, float y);  // menu branch of the mouse press
    void Init_AktMenue(int32_t neu);
    void ZeichneMenueRand();
    // True (-1) for the character codes that can be typed into a name or an upload field.
    static int16_t Erlaubt(int32_t Zahl);

    // bitmap font: texts are code page 1252 bytes; Laenge < 1 shows the whole line, else at most
    // Laenge pixels of it, from pixel column Start on when Start is not 0
    void SchriftAusgabe(int32_t PosX, int32_t PosY, std::string_view txt, int32_t Laenge, int32_t Start);
    void SchriftAusgabeMenueAusblenden(int32_t PosX, int32_t PosY, std::string_view txt, int32_t Laenge, int32_t Start);
    int32_t TextLaenge(std::string_view txt) const;

    // Texts and button pieces of a page go to the screen in the live frame, and onto the page
    // canvas SurfTemp2 (in page coordinates) when a page is built for its opening animation.
    enum class PageTarget { Screen, Canvas };
    enum class ButtonPiece { BigLit, SmallLit, SmallDimmed, InfoLit };
    int32_t ComposeTextLine(std::string_view txt);
    void PageText(PageTarget target, int32_t x, int32_t y, std::string_view txt, int32_t Laenge, int32_t Start);
    void DrawButtonPiece(ButtonPiece piece, int32_t x, int32_t y, PageTarget target);
    void DrawMainButtonLamp(int32_t piece, int32_t place);
    void DrawSettingsLamps(PageTarget target);
    void DrawHighscoreList(PageTarget target);
    void DrawHelpDots();
    void DrawResultButtonLamps();
    void DrawResultDigits(int32_t t);
    void DrawResultPage();
    void DrawUploadFields(PageTarget target);
    void DrawMessageLines(PageTarget target);
    bool CursorPhaseOn();
    int32_t EntryFieldAt(float x, float y) const;
    void OpenMessagePage(int32_t Alt, int32_t zurueck);
    void SaveUploadFile();

    // ---- high-score file ----
    void HighscoreLaden();
    void HighscoreSpeichern();
    void HighscoreEintragen();
    int32_t HighscoreRang(int32_t t) const;  // the rank a result of t days takes, 80 = none
    std::filesystem::path HighscoreDatei() const;

    // ---- sound slots ----
    void InitSound();
    void SoundSpielen(int32_t i, int32_t PosX);
    void MusikSpielen(int32_t i, int32_t PosX);
    void LoadWave(int32_t i, int32_t j, const std::string& Datei);

    // ---- surfaces, blitting, asset loading ----
    void ddBitBlt(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltOCK(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltAlles(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltAllesOCK(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltTemp(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltTempOCK(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltTemp2(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);
    void ddBitBltTempTxt(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy);

    // The load step: a bitmap into a surface with a black (0) or the white key.
    void LadeBild(Surf& field, const char* name, uint16_t key);
    void InitSurfaces();
    void InitPlanetSurfaces();
    void InitNebelSurfaces();
    // The check every drawing procedure begins with: waits for the display while it is lost
    // and returns true when it had been lost (the caller then reloads what it needs).
    bool WarteAufAnzeige();
    void Flip();

    // ---- title and closing ----
    void Zeichne_Start();
    void Zeichne_Ende();

    // ---- random numbers: rnd is uniform in [0, 1) ----
    float rnd();
    void Randomize(uint32_t seed) { random_.Seed(seed); }
    // A fixed seed (--seed) replaces the clock's, so a seed and a script replay a game.
    void SetzeFestenStartwert(uint32_t seed);
    // The generator's state as text, and back (false when the text is no such state).
    std::string RandomState() const;
    bool SetRandomState(const std::string& state);

    // A game begun from the program's state at its START (set beforehand, as a replay does): the
    // back buffer, the pictures and the sound copies that were loaded are made again, then the
    // game and the outer loop run on as they would have.
    void SpielAmStart();

  private:
    void ZeichneVollbild(const char* bildName);
    void SpieleKopie(int32_t i, int32_t PosX, bool musik);
    void MeldeDateiFehler(const std::string& error);
    void ddBitBltClipped(platform::Surface* target, int32_t L, int32_t T, int32_t R, int32_t B, int32_t sx, int32_t sy,
                         int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy, bool keyed);

    platform::Platform& platform_;
    base::MersenneTwister random_;
    std::optional<uint32_t> festerStartwert_;
    // Set when a game has ended inside the menu loop, so the outer loop starts over from its
    // first step instead of nesting a new outer loop inside the game.
    bool spielBeendet_ = false;
    bool highscoreGeladen_ = false;
    bool dateiFehlerGemeldet_ = false;
    // hiscore.dat stands there but could not be read at the last load: saves leave it alone.
    bool highscoreUnberuehrt_ = false;
};

}  // namespace vorlanix
