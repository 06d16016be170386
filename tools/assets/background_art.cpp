#include "background_art.h"

#include <array>

namespace mozhou::assets {

namespace {

constexpr Colour wallTop{219, 233, 244};
constexpr Colour wallBottom{246, 239, 229};
constexpr Colour deskTop{232, 218, 198};
constexpr Colour deskBottom{214, 197, 174};
constexpr Colour deskEdge{242, 232, 218};
constexpr Colour glow{255, 255, 255};
constexpr Colour shadow{70, 60, 55};
constexpr Colour paperTop{254, 254, 252};
constexpr Colour paperBottom{243, 243, 239};
constexpr Colour headingInk{142, 151, 165};
constexpr Colour textInk{194, 200, 209};
constexpr Colour sealRed{198, 46, 40};
constexpr Colour sealPaper{250, 236, 230};
constexpr Colour lidTop{236, 240, 245};
constexpr Colour lidBottom{208, 215, 224};
constexpr Colour bodyTop{226, 231, 238};
constexpr Colour bodyBottom{176, 186, 199};
constexpr Colour slotDark{62, 70, 85};
constexpr Colour trayTop{204, 211, 220};
constexpr Colour trayBottom{160, 170, 184};
constexpr Colour panelDark{56, 64, 79};
constexpr Colour lampGreen{96, 216, 136};
constexpr Colour buttonGrey{148, 158, 173};
constexpr Colour footDark{92, 100, 115};
constexpr Colour accentBlue{92, 142, 204};
constexpr Colour potTop{214, 128, 92};
constexpr Colour potBottom{172, 94, 66};
constexpr Colour potRim{226, 146, 110};
constexpr Colour leafLight{128, 192, 126};
constexpr Colour leafDark{74, 146, 96};
constexpr Colour cupTop{252, 252, 250};
constexpr Colour cupBottom{214, 222, 232};

constexpr double crispEdge = 1;
constexpr double softGlowEdge = 10;
constexpr double paperShadowEdge = 8;
constexpr double deskShadowEdge = 14;
constexpr double lampGlowEdge = 6;

constexpr double glowOpacity = 0.45;
constexpr double paperShadowOpacity = 0.16;
constexpr double deskShadowOpacity = 0.30;
constexpr double highlightOpacity = 0.55;
constexpr double lampGlowOpacity = 0.30;
constexpr double steamOpacity = 0.75;

struct Disc {
    Point centre;
    double radius;
};

constexpr double deskLine = 190;

void PaintRoom(Canvas& canvas)
{
    constexpr std::array<Disc, 3> glows = {{
        {{58, 60}, 36},
        {{334, 46}, 22},
        {{312, 100}, 9},
    }};
    constexpr double deskEdgeHeight = 2;

    canvas.PaintBackground(wallTop, wallBottom);
    for (const Disc& disc : glows) {
        canvas.PaintEllipse(disc.centre, disc.radius, disc.radius, Solid(glow, glowOpacity, softGlowEdge));
    }
    canvas.PaintRoundedBox({0, deskLine, backgroundWidth, backgroundHeight}, 0, Gradient(deskTop, deskBottom));
    canvas.PaintRoundedBox({0, deskLine, backgroundWidth, deskLine + deskEdgeHeight}, 0, Solid(deskEdge));

    constexpr Box printerShadow{94, 186, 290, 200};
    constexpr double printerShadowCorner = 7;
    canvas.PaintRoundedBox(printerShadow, printerShadowCorner, Solid(shadow, deskShadowOpacity, deskShadowEdge));
}

// The printed sheet stands out of the slot in the lid.
constexpr Box paper{140, 18, 244, 108};
constexpr double paperCorner = 2;

void PaintSeal(Canvas& canvas)
{
    constexpr Box seal{210, 70, 233, 93};
    constexpr double sealCorner = 2.5;
    canvas.PaintRoundedBox(seal, sealCorner, Solid(sealRed));

    // Four pale, stroke-like marks, one per character cell, the way a carved
    // name seal reads from a distance.
    constexpr double stroke = 1.6;
    constexpr std::array<Box, 14> strokes = {{
        {212.5, 73, 220, 73 + stroke},
        {212.5, 76.5, 220, 76.5 + stroke},
        {212.5, 80, 220, 80 + stroke},
        {215.5, 72.5, 215.5 + stroke, 81.5},
        {223, 72.5, 230.5, 72.5 + stroke},
        {223, 80, 230.5, 80 + stroke},
        {223, 72.5, 223 + stroke, 81.5},
        {228.9, 72.5, 228.9 + stroke, 81.5},
        {212.5, 86, 220, 86 + stroke},
        {215.5, 83, 215.5 + stroke, 91},
        {223, 83, 230.5, 83 + stroke},
        {223, 86.5, 230.5, 86.5 + stroke},
        {223, 89.5, 230.5, 89.5 + stroke},
        {226, 83, 226 + stroke, 91},
    }};
    for (const Box& mark : strokes) {
        canvas.PaintRoundedBox(mark, 0, Solid(sealPaper));
    }
}

void PaintPaper(Canvas& canvas)
{
    constexpr double shadowOffset = 4;
    constexpr Box paperShadow{paper.left + shadowOffset, paper.top + shadowOffset, paper.right + shadowOffset,
                              paper.bottom};
    canvas.PaintRoundedBox(paperShadow, paperCorner, Solid(shadow, paperShadowOpacity, paperShadowEdge));
    canvas.PaintRoundedBox(paper, paperCorner, Gradient(paperTop, paperBottom));

    constexpr double margin = 12;
    constexpr double lineLeft = paper.left + margin;
    constexpr double headingTop = paper.top + margin;
    constexpr double headingHeight = 5;
    constexpr double headingLength = 54;
    canvas.PaintRoundedBox({lineLeft, headingTop, lineLeft + headingLength, headingTop + headingHeight},
                           headingHeight / 2, Solid(headingInk));

    constexpr double firstLineTop = headingTop + 14;
    constexpr double lineHeight = 3.5;
    constexpr double linePitch = 9;
    constexpr std::array<double, 6> lineLengths = {80, 74, 80, 56, 50, 36};
    double lineTop = firstLineTop;
    for (const double length : lineLengths) {
        canvas.PaintRoundedBox({lineLeft, lineTop, lineLeft + length, lineTop + lineHeight}, lineHeight / 2,
                               Solid(textInk));
        lineTop += linePitch;
    }

    PaintSeal(canvas);
}

constexpr Box inputSlot{130, 103, 254, 113};

void PaintLid(Canvas& canvas)
{
    constexpr Box lid{104, 98, 280, 126};
    constexpr double lidCorner = 12;
    canvas.PaintRoundedBox(lid, lidCorner, Gradient(lidTop, lidBottom));
    canvas.PaintRoundedBox(inputSlot, (inputSlot.bottom - inputSlot.top) / 2, Solid(slotDark));
}

// Painted over the sheet's foot so that the sheet reads as going into the
// slot rather than standing in front of it.
void PaintSlotLip(Canvas& canvas)
{
    constexpr double lipCorner = 2;
    canvas.PaintRoundedBox({paper.left - lipCorner, paper.bottom - lipCorner, paper.right + lipCorner, inputSlot.bottom},
                           lipCorner, Solid(slotDark));
}

void PaintBody(Canvas& canvas)
{
    constexpr Box body{90, 118, 294, 190};
    constexpr double bodyCorner = 16;
    canvas.PaintRoundedBox(body, bodyCorner, Gradient(bodyTop, bodyBottom));

    constexpr Box highlight{104, 121, 280, 124};
    canvas.PaintRoundedBox(highlight, (highlight.bottom - highlight.top) / 2, Solid(glow, highlightOpacity));

    constexpr Box accent{92, 178, 292, 181};
    canvas.PaintRoundedBox(accent, 0, Solid(accentBlue));

    constexpr std::array<Box, 2> feet = {{
        {108, 189, 130, 194},
        {254, 189, 276, 194},
    }};
    constexpr double footCorner = 2;
    for (const Box& foot : feet) {
        canvas.PaintRoundedBox(foot, footCorner, Solid(footDark));
    }
}

void PaintOutput(Canvas& canvas)
{
    constexpr Box outputSlot{122, 150, 262, 160};
    canvas.PaintRoundedBox(outputSlot, (outputSlot.bottom - outputSlot.top) / 2, Solid(slotDark));

    constexpr Box leavingSheet{140, 155, 244, 170};
    canvas.PaintRoundedBox(leavingSheet, 0, Gradient(paperTop, paperBottom));

    constexpr Box tray{112, 166, 272, 175};
    constexpr double trayCorner = 4;
    canvas.PaintRoundedBox(tray, trayCorner, Gradient(trayTop, trayBottom));
}

void PaintControlPanel(Canvas& canvas)
{
    constexpr Box panel{232, 130, 280, 146};
    constexpr double panelCorner = 6;
    canvas.PaintRoundedBox(panel, panelCorner, Solid(panelDark));

    constexpr Point lamp{244, 138};
    constexpr double lampRadius = 3.6;
    constexpr double lampGlowRadius = 7;
    canvas.PaintEllipse(lamp, lampGlowRadius, lampGlowRadius, Solid(lampGreen, lampGlowOpacity, lampGlowEdge));
    canvas.PaintEllipse(lamp, lampRadius, lampRadius, Solid(lampGreen, 1, crispEdge));

    constexpr std::array<Point, 2> buttons = {{{257, 138}, {268, 138}}};
    constexpr double buttonRadius = 3.2;
    for (const Point& button : buttons) {
        canvas.PaintEllipse(button, buttonRadius, buttonRadius, Solid(buttonGrey));
    }
}

struct Leaf {
    Point centre;
    double radiusX;
    double radiusY;
    Colour colour;
};

void PaintPlant(Canvas& canvas)
{
    constexpr std::array<Leaf, 5> leaves = {{
        {{36, 146}, 6, 17, leafDark},
        {{62, 148}, 6, 15, leafDark},
        {{44, 134}, 7, 26, leafLight},
        {{55, 140}, 6, 21, leafLight},
        {{49, 150}, 5, 14, leafDark},
    }};
    for (const Leaf& leaf : leaves) {
        canvas.PaintEllipse(leaf.centre, leaf.radiusX, leaf.radiusY, Solid(leaf.colour));
    }

    constexpr Box potShadow{26, 186, 74, 196};
    constexpr double potShadowCorner = 5;
    canvas.PaintRoundedBox(potShadow, potShadowCorner, Solid(shadow, deskShadowOpacity, paperShadowEdge));

    constexpr Box pot{32, 160, 66, 193};
    constexpr double potCorner = 5;
    canvas.PaintRoundedBox(pot, potCorner, Gradient(potTop, potBottom));

    constexpr Box rim{28, 156, 70, 166};
    constexpr double rimCorner = 3;
    canvas.PaintRoundedBox(rim, rimCorner, Gradient(potRim, potTop));
}

void PaintTeacup(Canvas& canvas)
{
    constexpr Box cupShadow{314, 186, 360, 196};
    constexpr double cupShadowCorner = 5;
    canvas.PaintRoundedBox(cupShadow, cupShadowCorner, Solid(shadow, deskShadowOpacity, paperShadowEdge));

    constexpr Box cup{318, 162, 356, 193};
    constexpr double cupCorner = 10;
    canvas.PaintRoundedBox(cup, cupCorner, Gradient(cupTop, cupBottom));

    constexpr Box band{319, 170, 355, 173.5};
    canvas.PaintRoundedBox(band, 0, Solid(accentBlue));

    constexpr std::array<Leaf, 3> steam = {{
        {{329, 146}, 3, 8, glow},
        {{338, 139}, 3, 11, glow},
        {{347, 147}, 3, 7, glow},
    }};
    for (const Leaf& puff : steam) {
        canvas.PaintEllipse(puff.centre, puff.radiusX, puff.radiusY, Solid(puff.colour, steamOpacity, lampGlowEdge));
    }
}

} // namespace

RgbImage DrawBackground()
{
    Canvas canvas(backgroundWidth, backgroundHeight);
    PaintRoom(canvas);
    PaintPlant(canvas);
    PaintTeacup(canvas);
    PaintLid(canvas);
    PaintPaper(canvas);
    PaintSlotLip(canvas);
    PaintBody(canvas);
    PaintOutput(canvas);
    PaintControlPanel(canvas);
    return canvas.ToImage();
}

} // namespace mozhou::assets
