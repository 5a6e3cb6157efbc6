// Integer rectangle with exclusive right and bottom, as the dialog's geometry uses it.
// Converted to the platform's RECT only at the boundary.
#pragma once

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Strict on all four sides: the left column and top row are outside too.
    bool ContainsStrict(int x, int y) const { return left < x && x < right && top < y && y < bottom; }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};
