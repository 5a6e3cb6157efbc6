#include "ui/Painting.h"

#include <algorithm>

#include "ui/Chrome.h"
#include "ui/Layout.h"

const Colour brushColours[brushCount] = {{255, 170, 85}, {153, 176, 208}, {232, 17, 35},
                                         {25, 121, 202}, {255, 138, 21},  {255, 255, 0}};

void DrawCloseGlyph(DrawingSurface& surface, const Rect& b, bool hovered, double scale) {
    const int d = Scaled(scale, 6);
    surface.SelectPen(PaintColour::white, Scaled(scale, 3));
    if (hovered) surface.FillRect(b, brushCloseHover);
    surface.Line({b.left + d, b.top + d}, {b.right - d, b.bottom - d});
    surface.Line({b.left + d, b.bottom - d}, {b.right - d, b.top + d});
    surface.ReleasePen();
}

void DrawMinimizeGlyph(DrawingSurface& surface, const Rect& b, bool hovered, bool scaleMode, double scale) {
    const int d = Scaled(scale, 6);
    if (hovered && !scaleMode) surface.FillRect(b, brushMinimizeHover);
    if (scaleMode) {
        surface.SelectPen(PaintColour::autoScaleGlyph, Scaled(scale, 3));
        surface.FillRect(b, brushAutoScale);
        const Point square[5] = {{b.left + d, b.top + d},
                                 {b.right - d, b.top + d},
                                 {b.right - d, b.bottom - d},
                                 {b.left + d, b.bottom - d},
                                 {b.left + d, b.top + d}};
        surface.Polyline(square, 5);
    } else {
        surface.SelectPen(PaintColour::white, Scaled(scale, 3));
        surface.Line({b.left + d, b.bottom - d}, {b.right - d, b.bottom - d});
    }
    surface.ReleasePen();
}

void PaintChrome(DrawingSurface& surface, const PaintInputs& in) {
    static const std::wstring none;
    const bool* over = in.mouseOverArea;
    const auto hovered = [over](HoverArea area) { return over != nullptr && over[area]; };

    surface.FillRect(in.dragFlipArea, hovered(overDragBar) ? brushDragBarHover : brushDragBar);
    surface.FillRect(in.titleBarRect, brushPanel);
    surface.FillRect(in.bodyRect, brushPanel);
    DrawCloseGlyph(surface, in.closeButtonRect, hovered(overCloseButton), in.scale);
    DrawMinimizeGlyph(surface, in.minimizeButtonRect, hovered(overMinimizeButton), in.ctrlKeyDown, in.scale);

    if (in.ledLabel && in.ledLabelRect)
        for (int k = 0; k < 10; ++k)
            surface.Text(in.ledLabelRect[k], in.ledLabel[k], fontLedCaption, PaintColour::white, alignCenter);

    const TextAlign align = in.standardLayout ? alignLeft : alignRight;
    // The hint line ends where the banner begins: a longer hint (an LED's, with its
    // right-click sentence) goes on in a line above instead of under the banner.
    Rect hint = in.hintTextRect;
    if (in.standardLayout)
        hint.right = std::min(hint.right, in.bannerRect.left);
    else
        hint.left = std::max(hint.left, in.bannerRect.right);
    surface.Text(hint, in.hintText ? *in.hintText : none, fontTitle, PaintColour::hint,
                 static_cast<TextAlign>(align | wrapUpward));
    surface.Text(in.titleTextRect, in.titleText ? *in.titleText : none, fontTitle, PaintColour::title, align);
    // Last: the banner covers any hint text that reaches into its corner.
    surface.StretchBanner(in.bannerRect);
}
