// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap font of the menus: a text is set glyph by glyph on the text line SurfTempTxt, then
// copied out in one keyed blit to the screen or onto the menu page canvas.
#include <algorithm>

#include "app/vorlanix.h"

namespace vorlanix {

namespace {

constexpr int32_t kLineWidth = 640;  // the text line SurfTempTxt
constexpr int32_t kGlyphHeight = 16;
constexpr int32_t kSpaceAdvance = 6;
// Neighbouring glyphs overlap by two columns; only their non-black pixels show.
constexpr int32_t kOverlap = 2;

struct Glyph {
    int32_t left = 0, width = 0, row = 0;  // width 0: nothing to draw
    int32_t advance = 0;                   // how far the pen moves
};

Glyph fromTable(const int32_t* table, int32_t n, int32_t row) {
    const int32_t width = table[n + 1] - table[n];
    return {table[n], width, row, width - kOverlap};
}

// The font knows exactly the characters that can be typed; everything else is dropped
// without leaving a gap.
Glyph glyphOf(const Vorlanix& g, uint8_t c) {
    if (c >= 'A' && c <= 'Z') return fromTable(g.PosGross, c - 64, 0);
    if (c >= 'a' && c <= 'z') return fromTable(g.PosKlein, c - 96, 16);
    if (c >= '0' && c <= '9') return fromTable(g.PosZeichen, c - 47, 32);
    switch (c) {
        case ' ': return {0, 0, 0, kSpaceAdvance};
        case 0xC4: return fromTable(g.PosGross, 27, 0);   // Ä
        case 0xD6: return fromTable(g.PosGross, 28, 0);   // Ö
        case 0xDC: return fromTable(g.PosGross, 29, 0);   // Ü
        case 0xE4: return fromTable(g.PosKlein, 27, 16);  // ä
        case 0xF6: return fromTable(g.PosKlein, 28, 16);  // ö
        case 0xFC: return fromTable(g.PosKlein, 29, 16);  // ü
        case '@': return fromTable(g.PosZeichen, 11, 32);
        case ',': return fromTable(g.PosZeichen, 12, 32);
        case '.': return fromTable(g.PosZeichen, 13, 32);
        case '-': return fromTable(g.PosZeichen, 14, 32);
        case ':': return fromTable(g.PosZeichen, 15, 32);
        case ';': return fromTable(g.PosZeichen, 16, 32);
        case '_': return fromTable(g.PosZeichen, 17, 32);
        case '/': return fromTable(g.PosZeichen, 18, 32);
        default: return {};
    }
}

struct LinePart {
    int32_t left = 0, width = 0;
};

// Which columns of the composed line of width w are copied out. The copy never reads beyond
// the 640 columns of the line, so a text that is long or shifted far still shows what fits
// instead of the whole copy being refused.
LinePart shownPart(int32_t w, int32_t Laenge, int32_t Start) {
    LinePart part{0, w};
    if (Laenge >= 1) {
        if (Start != 0)
            part.left = Start;
        else
            part.width = std::min(w, Laenge);
    }
    if (part.left < 0) return {};
    part.width = std::min(part.width, kLineWidth - part.left);
    return part;
}

}  // namespace

int32_t Vorlanix::TextLaenge(std::string_view txt) const {
    int32_t x = 0;
    for (char c : txt) x += glyphOf(*this, static_cast<uint8_t>(c)).advance;
    return x;
}

int32_t Vorlanix::ComposeTextLine(std::string_view txt) {
    if (!SurfTempTxt) return 0;
    SurfTempTxt->BltColorFill(platform::Rect{0, 0, kLineWidth, 20}, 0);
    int32_t x = 0;
    for (char c : txt) {
        const Glyph g = glyphOf(*this, static_cast<uint8_t>(c));
        if (g.width > 0) ddBitBltTempTxt(x, 0, g.width, kGlyphHeight, SurfSchriftSatz, g.left, g.row);
        x += g.advance;
    }
    return x;
}

void Vorlanix::SchriftAusgabe(int32_t PosX, int32_t PosY, std::string_view txt, int32_t Laenge, int32_t Start) {
    const LinePart part = shownPart(ComposeTextLine(txt), Laenge, Start);
    if (part.width > 0) ddBitBltAlles(PosX, PosY, part.width, kGlyphHeight, SurfTempTxt, part.left, 0);
}

void Vorlanix::SchriftAusgabeMenueAusblenden(int32_t PosX, int32_t PosY, std::string_view txt, int32_t Laenge,
                                             int32_t Start) {
    const LinePart part = shownPart(ComposeTextLine(txt), Laenge, Start);
    if (part.width > 0) ddBitBltTemp2(PosX, PosY, part.width, kGlyphHeight, SurfTempTxt, part.left, 0);
}

}  // namespace vorlanix
