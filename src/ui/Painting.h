// What the dialog paints, in which order and colour, against a small drawing surface that
// GDI implements for the screen and tests implement as a recorder.
#pragma once

#include <string>

#include "common/Rect.h"

struct Colour {
    unsigned char r, g, b;
    friend bool operator==(Colour a, Colour b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
    friend bool operator!=(Colour a, Colour b) { return !(a == b); }
};

struct Point {
    int x, y;
    friend bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
};

// The dialog's six brushes, created once and kept for the dialog's life.
enum BrushIndex {
    brushDragBar = 0,          // (255, 170, 85)
    brushPanel = 1,            // (153, 176, 208): title bar and body
    brushCloseHover = 2,       // (232, 17, 35)
    brushMinimizeHover = 3,    // (25, 121, 202)
    brushDragBarHover = 4,     // (255, 138, 21)
    brushAutoScale = 5,        // (255, 255, 0): minimize button in scale mode
    brushCount = 6
};
extern const Colour brushColours[brushCount];

namespace PaintColour {
constexpr Colour white{255, 255, 255};
constexpr Colour autoScaleGlyph{100, 100, 100};
constexpr Colour hint{15, 17, 217};
constexpr Colour title{222, 222, 222};
}  // namespace PaintColour

// Horizontal alignment of a text in its box (top-aligned, the values of the platform's
// text-drawing flags).
enum TextAlign : unsigned { alignLeft = 0x0, alignCenter = 0x1, alignRight = 0x2 };
// With an alignment: a text too wide for the rectangle breaks between words, and the lines
// beyond the first grow upward, so that its last line stands where a single line would.
constexpr unsigned wrapUpward = 0x100000;

// Font indices: the dialog's fonts[0] (LED captions) and fonts[1] (title and hint line).
enum PaintFont { fontLedCaption = 0, fontTitle = 1 };

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual void FillRect(const Rect& rect, BrushIndex brush) = 0;
    // A solid pen for the lines that follow, until ReleasePen.
    virtual void SelectPen(Colour colour, int width) = 0;
    virtual void ReleasePen() = 0;
    // From one point to another, the end point itself not drawn.
    virtual void Line(Point from, Point to) = 0;
    virtual void Polyline(const Point* points, int count) = 0;
    // Transparent background.
    virtual void Text(const Rect& rect, const std::wstring& text, PaintFont font, Colour colour, TextAlign align) = 0;
    // The whole banner image, stretched into the rectangle.
    virtual void StretchBanner(const Rect& dest) = 0;
};

// Everything a paint reads.
struct PaintInputs {
    double scale = 1.0;
    Rect dragFlipArea, titleBarRect, bodyRect, closeButtonRect, minimizeButtonRect;
    Rect bannerRect, hintTextRect, titleTextRect;
    const Rect* ledLabelRect = nullptr;        // 10 entries
    const std::wstring* ledLabel = nullptr;    // 10 entries
    const std::wstring* hintText = nullptr;
    const std::wstring* titleText = nullptr;
    const bool* mouseOverArea = nullptr;       // 4 entries
    bool ctrlKeyDown = false;
    bool standardLayout = true;
};

// The whole dialog surface: panels, the two buttons, LED captions, hint line, title, banner.
void PaintChrome(DrawingSurface& surface, const PaintInputs& in);
// A white cross S(6) inside the corners, S(3) wide; on red while hovered.
void DrawCloseGlyph(DrawingSurface& surface, const Rect& button, bool hovered, double scale);
// A white bar along the bottom (on blue while hovered), or in scale mode a grey square on
// yellow whether hovered or not.
void DrawMinimizeGlyph(DrawingSurface& surface, const Rect& button, bool hovered, bool scaleMode, double scale);
