#include "ui/GdiSurfaceWin32.h"

namespace {

COLORREF ToColorref(Colour c) { return RGB(c.r, c.g, c.b); }

}  // namespace

GdiSurface::GdiSurface(HDC dc, const UniqueBrush* brushes, const UniqueFont* fonts, HBITMAP banner,
                       const Rect& bannerSource)
    : dc_(dc), brushes_(brushes), fonts_(fonts), banner_(banner), bannerSource_(bannerSource) {}

GdiSurface::~GdiSurface() {
    ReleasePen();
    if (originalFont_) SelectObject(dc_, originalFont_);
}

void GdiSurface::FillRect(const Rect& rect, BrushIndex brush) {
    const RECT r = ToRECT(rect);
    ::FillRect(dc_, &r, brushes_[brush].get());
}

void GdiSurface::SelectPen(Colour colour, int width) {
    UniquePen pen(CreatePen(PS_SOLID, width, ToColorref(colour)));
    if (!pen) return;
    HGDIOBJ previous = SelectObject(dc_, pen.get());
    if (!originalPen_) originalPen_ = previous;
    pen_ = std::move(pen);  // the pen it replaces is no longer selected
}

void GdiSurface::ReleasePen() {
    if (originalPen_) SelectObject(dc_, originalPen_);
    originalPen_ = nullptr;
    pen_.reset();
}

void GdiSurface::Line(Point from, Point to) {
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
}

void GdiSurface::Polyline(const Point* points, int count) {
    if (count <= 0) return;
    MoveToEx(dc_, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < count; ++i) LineTo(dc_, points[i].x, points[i].y);
}

void GdiSurface::Text(const Rect& rect, const std::wstring& text, PaintFont font, Colour colour, TextAlign align) {
    if (HFONT f = fonts_[font].get()) {
        HGDIOBJ previous = SelectObject(dc_, f);
        if (!originalFont_) originalFont_ = previous;
    }
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, ToColorref(colour));
    RECT r = ToRECT(rect);
    UINT flags = align & ~wrapUpward;
    if (align & wrapUpward) {
        flags |= DT_WORDBREAK;
        RECT needed = r;
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &needed, flags | DT_CALCRECT);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        const LONG extraLines = (needed.bottom - needed.top) - metrics.tmHeight;
        if (extraLines > 0) r.top -= extraLines;
    }
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void GdiSurface::StretchBanner(const Rect& dest) {
    if (!banner_) return;
    UniqueMemoryDc source(CreateCompatibleDC(dc_));
    if (!source) return;
    SelectionGuard selected(source.get(), banner_);
    SetStretchBltMode(dc_, HALFTONE);
    SetBrushOrgEx(dc_, 0, 0, nullptr);
    StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), source.get(), bannerSource_.left,
               bannerSource_.top, bannerSource_.Width(), bannerSource_.Height(), SRCCOPY);
}
