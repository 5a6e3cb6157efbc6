// The painting sequence recorded on a fake surface: order, colours by hover and scale mode,
// glyph insets and pen widths by scale, text alignment by orientation.
#include <gtest/gtest.h>

#include <sstream>

#include "ui/Chrome.h"
#include "ui/Layout.h"
#include "ui/Painting.h"

namespace {

std::string Str(const Rect& r) {
    std::ostringstream s;
    s << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return s.str();
}
std::string Str(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string Str(Colour c) { return std::to_string(c.r) + "/" + std::to_string(c.g) + "/" + std::to_string(c.b); }

class RecordingSurface : public DrawingSurface {
public:
    std::vector<std::string> ops;
    int pensHeld = 0;

    void FillRect(const Rect& rect, BrushIndex brush) override {
        ops.push_back("fill " + Str(rect) + " " + Str(brushColours[brush]));
    }
    void SelectPen(Colour colour, int width) override {
        ++pensHeld;
        ops.push_back("pen " + Str(colour) + " w" + std::to_string(width));
    }
    void ReleasePen() override {
        --pensHeld;
        ops.push_back("unpen");
    }
    void Line(Point from, Point to) override { ops.push_back("line " + Str(from) + " " + Str(to)); }
    void Polyline(const Point* points, int count) override {
        std::string op = "poly";
        for (int i = 0; i < count; ++i) op += " " + Str(points[i]);
        ops.push_back(op);
    }
    void Text(const Rect& rect, const std::wstring& text, PaintFont font, Colour colour, TextAlign align) override {
        ops.push_back("text " + Str(rect) + " f" + std::to_string(font) + " " + Str(colour) + " a" +
                      std::to_string(align) + " '" + std::string(text.begin(), text.end()) + "'");
    }
    void StretchBanner(const Rect& dest) override { ops.push_back("banner " + Str(dest)); }

    bool Has(const std::string& op) const { return std::find(ops.begin(), ops.end(), op) != ops.end(); }
    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& op : ops)
            if (op.rfind(prefix, 0) == 0) out.push_back(op);
        return out;
    }
};

struct Scene {
    DialogGeometry g;
    bool over[4] = {};
    std::wstring hint = L"Click to exit.";
    std::wstring title = L"brisvale";
    PaintInputs in;

    Scene(double s, bool standard) : g(ComputeDialogGeometry(s, standard)) {
        in.scale = s;
        in.dragFlipArea = g.dragFlipArea;
        in.titleBarRect = g.titleBarRect;
        in.bodyRect = g.bodyRect;
        in.closeButtonRect = g.closeButtonRect;
        in.minimizeButtonRect = g.minimizeButtonRect;
        in.bannerRect = g.bannerRect;
        in.hintTextRect = g.hintTextRect;
        in.titleTextRect = g.titleTextRect;
        in.ledLabelRect = g.ledLabelRect;
        in.ledLabel = g.ledLabel;
        in.hintText = &hint;
        in.titleText = &title;
        in.mouseOverArea = over;
        in.standardLayout = standard;
    }
    RecordingSurface Paint() {
        RecordingSurface surface;
        PaintChrome(surface, in);
        return surface;
    }
};

TEST(PaintChrome, FullSequenceAtScaleOne) {
    Scene scene(1.0, true);
    const RecordingSurface s = scene.Paint();
    const std::vector<std::string> expected = {
        "fill 0,0,30,550 255/170/85",
        "fill 35,0,850,25 153/176/208",
        "fill 35,30,850,550 153/176/208",
        "pen 255/255/255 w3",
        "line 831,6 844,19",
        "line 831,19 844,6",
        "unpen",
        "pen 255/255/255 w3",
        "line 804,19 817,19",
        "unpen",
        "text 43,422,77,438 f0 255/255/255 a1 'QEL 1'",
    };
    ASSERT_GE(s.ops.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(s.ops[i], expected[i]) << i;
    EXPECT_EQ(s.Starting("text").size(), 12u);
    EXPECT_TRUE(s.Has("text 808,422,842,438 f0 255/255/255 a1 'QEL 10'"));
    const size_t n = s.ops.size();
    // The hint line stops where the banner begins and may wrap upward (a1048576: left, wrapping).
    EXPECT_EQ(s.ops[n - 3], "text 40,520,613,545 f1 15/17/217 a1048576 'Click to exit.'");
    EXPECT_EQ(s.ops[n - 2], "text 40,0,845,25 f1 222/222/222 a0 'brisvale'");
    EXPECT_EQ(s.ops[n - 1], "banner 613,490,848,548");  // last, over any hint text
    EXPECT_EQ(s.pensHeld, 0);
}

TEST(PaintChrome, GlyphInsetAndPenWidthFollowTheScale) {
    Scene scene(2.0, true);
    scene.over[overCloseButton] = true;
    const RecordingSurface s = scene.Paint();
    // Close button at s = 2: (1650, 0, 1700, 50); inset 12, pen 6.
    EXPECT_TRUE(s.Has("fill 1650,0,1700,50 232/17/35"));
    EXPECT_TRUE(s.Has("line 1662,12 1688,38"));
    EXPECT_TRUE(s.Has("line 1662,38 1688,12"));
    EXPECT_EQ(s.Starting("pen").front(), "pen 255/255/255 w6");
    EXPECT_TRUE(s.Has("banner 1226,980,1696,1096"));
}

TEST(PaintChrome, ColoursFollowHoverAndScaleMode) {
    {
        Scene scene(1.0, true);
        scene.over[overDragBar] = true;
        scene.over[overMinimizeButton] = true;
        const RecordingSurface s = scene.Paint();
        EXPECT_EQ(s.ops[0], "fill 0,0,30,550 255/138/21");
        EXPECT_TRUE(s.Has("fill 798,0,823,25 25/121/202"));
        EXPECT_FALSE(s.Has("fill 825,0,850,25 232/17/35"));  // close not hovered: panel shows
    }
    for (bool hovered : {false, true}) {
        Scene scene(1.0, true);
        scene.over[overMinimizeButton] = hovered;
        scene.in.ctrlKeyDown = true;
        const RecordingSurface s = scene.Paint();
        EXPECT_TRUE(s.Has("fill 798,0,823,25 255/255/0")) << hovered;
        EXPECT_FALSE(s.Has("fill 798,0,823,25 25/121/202")) << hovered;
        EXPECT_TRUE(s.Has("pen 100/100/100 w3"));
        EXPECT_TRUE(s.Has("poly 804,6 817,6 817,19 804,19 804,6"));
        EXPECT_FALSE(s.Has("line 804,19 817,19"));
    }
}

TEST(PaintChrome, FlippedLayoutRightAlignsTextsAndMovesTheBanner) {
    Scene scene(1.0, false);
    scene.hint.clear();
    const RecordingSurface s = scene.Paint();
    EXPECT_EQ(s.ops[0], "fill 820,0,850,550 255/170/85");
    EXPECT_TRUE(s.Has("text 237,520,810,545 f1 15/17/217 a1048578 ''"));  // right of the banner
    EXPECT_TRUE(s.Has("text 5,0,810,25 f1 222/222/222 a2 'brisvale'"));
    EXPECT_EQ(s.ops.back(), "banner 2,490,237,548");
    EXPECT_TRUE(s.Has("line 6,6 19,19"));  // close button now at the left end
}

}  // namespace
