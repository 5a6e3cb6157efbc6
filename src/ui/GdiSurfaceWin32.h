// The drawing surface of the painting sequence on a GDI device context. Objects it selects
// are put back and its pen deleted when it goes.
#pragma once

#include <windows.h>

#include "ui/Painting.h"
#include "win32/Handles.h"

class GdiSurface : public DrawingSurface {
public:
    // brushes: the dialog's six brushes; fonts: its four fonts; banner may be null.
    GdiSurface(HDC dc, const UniqueBrush* brushes, const UniqueFont* fonts, HBITMAP banner, const Rect& bannerSource);
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;
    ~GdiSurface() override;

    void FillRect(const Rect& rect, BrushIndex brush) override;
    void SelectPen(Colour colour, int width) override;
    void ReleasePen() override;
    void Line(Point from, Point to) override;
    void Polyline(const Point* points, int count) override;
    void Text(const Rect& rect, const std::wstring& text, PaintFont font, Colour colour, TextAlign align) override;
    void StretchBanner(const Rect& dest) override;

private:
    HDC dc_;
    const UniqueBrush* brushes_;
    const UniqueFont* fonts_;
    HBITMAP banner_;
    Rect bannerSource_;
    UniquePen pen_;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
};

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
