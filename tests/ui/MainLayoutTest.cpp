// Layout of the main window: every control placed once inside its frame, the
// Tab order complete, and the resize rules with their refused steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "ui/MainLayout.h"

namespace zelto {
namespace {

bool Inside(const TwipRect& inner, const TwipRect& outer) {
  return inner.Left >= 0 && inner.Top >= 0 && inner.Right() <= outer.Width && inner.Bottom() <= outer.Height;
}

bool Overlap(const TwipRect& a, const TwipRect& b) {
  return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Bottom() && b.Top < a.Bottom();
}

std::pair<int, int> Key(FocusId id) { return {static_cast<int>(id.Kind), id.Index}; }

TEST(MainLayout, EveryControlPlacedOnceInsideItsFrameWithoutOverlap) {
  std::map<Container, TwipRect> frames;
  for (const FramePlace& f : MainFrames()) frames[f.Frame] = f.Rect;
  std::map<Container, std::vector<TwipRect>> taken;
  std::set<std::pair<int, int>> placed;
  for (const ControlPlace& c : MainControls()) {
    EXPECT_TRUE(placed.insert(Key(c.Control)).second) << "placed twice: " << c.Control.Index;
    EXPECT_TRUE(Inside(c.Rect, frames.at(c.In))) << "outside its frame: " << c.Control.Index;
    taken[c.In].push_back(c.Rect);
  }
  for (const LabelPlace& l : MainLabels()) taken[l.In].push_back(l.Rect);
  for (const StatusPlace& s : MainStatusLines()) {
    EXPECT_TRUE(Inside(s.Rect, frames.at(s.In)));
    taken[s.In].push_back(s.Rect);
  }
  // 26 boxes, 9 lists, the check box, the point list, the results, 3 + 3 buttons.
  EXPECT_EQ(placed.size(), 26u + 9u + 1u + 1u + 1u + 3u + 3u);
  for (const auto& [frame, rects] : taken) {
    for (size_t i = 0; i < rects.size(); ++i) {
      for (size_t j = i + 1; j < rects.size(); ++j) {
        EXPECT_FALSE(Overlap(rects[i], rects[j])) << "frame " << int(frame) << ": " << i << ", " << j;
      }
    }
  }
  // The Tab key reaches every placed control exactly once.
  std::set<std::pair<int, int>> inOrder;
  for (FocusId id : MainTabOrder()) EXPECT_TRUE(inOrder.insert(Key(id)).second) << id.Index;
  EXPECT_EQ(inOrder, placed);
}

TEST(MainLayout, TabOrderFollowsTheFramesWithUnitListsAfterTheirBoxes) {
  const std::vector<FocusId>& order = MainTabOrder();
  auto box = [](int i) { return FocusId{ControlKind::Text1, i}; };
  auto list = [](int i) { return FocusId{ControlKind::Combo1, i}; };
  auto control = [](ControlKind kind, int i) { return FocusId{kind, i}; };
  ASSERT_EQ(order.size(), 44u);
  EXPECT_EQ(order.front(), box(0));
  // Weather frame ends with list 3 and box 12; the source frame follows.
  auto source = std::find(order.begin(), order.end(), list(4));
  ASSERT_EQ(source - order.begin(), 17);
  EXPECT_EQ(std::vector<FocusId>(source - 2, source + 16),
            (std::vector<FocusId>{list(3), box(12), list(4), box(13), list(5), list(6),
                                  control(ControlKind::Command1, 0), box(16), list(7), box(14), box(15),
                                  box(17), box(18), box(19), box(20), box(21), box(22), box(23)}));
  EXPECT_EQ(std::vector<FocusId>(order.end() - 10, order.end()),
            (std::vector<FocusId>{box(25), list(8), control(ControlKind::Check1, 0), control(ControlKind::Text2, 0),
                                  control(ControlKind::Command1, 2), control(ControlKind::Text3, 0),
                                  control(ControlKind::Cmd, 0), control(ControlKind::Cmd, 1),
                                  control(ControlKind::Cmd, 2), control(ControlKind::Command1, 1)}));
}

TEST(MainLayout, ResizeAtDesignSize) {
  ResizableRects r = DesignResizableRects();
  FormResize(r, kDesignClientWidth, kDesignClientHeight);
  // Bar: 8700 - 495 = 8205 down, (11820 - 6000) / 2 = 2910 across.
  EXPECT_EQ(r.CommandBar, (TwipRect{2910, 8205, 6000, 495}));
  // Frame: 11820 - 2 x 120 = 11580 wide, 8700 - 3840 - 50 - 495 = 4315 high.
  EXPECT_EQ(r.ComputeFrame, (TwipRect{120, 3840, 11580, 4315}));
  // Point list 4315 - 1740 - 100 = 2475 high; results 4315 - 675 - 100 = 3540
  // high and 11580 - 4380 - 150 = 7050 wide.
  EXPECT_EQ(r.Text2.Height, 2475);
  EXPECT_EQ(r.Text3.Height, 3540);
  EXPECT_EQ(r.Text3.Width, 7050);
}

TEST(MainLayout, NothingOverlapsAtTheMinimumSize) {
  ResizableRects r = DesignResizableRects();
  FormResize(r, kMinClientWidth, kMinClientHeight);
  // Frame 7800 - 3840 - 50 - 495 = 3415 high, ending 50 above the bar at
  // 7800 - 495 = 7305; its controls all inside it.
  EXPECT_EQ(r.ComputeFrame.Height, 3415);
  EXPECT_EQ(r.CommandBar.Top, 7305);
  EXPECT_LE(r.ComputeFrame.Bottom(), r.CommandBar.Top);
  for (const FramePlace& f : MainFrames()) {
    if (f.Frame != Container::CommandBar) EXPECT_LE(f.Rect.Right(), kMinClientWidth);
  }
  for (const ControlPlace& c : MainControls()) {
    if (c.In != Container::ComputeFrame) continue;
    const TwipRect rect = c.Control.Kind == ControlKind::Text2   ? r.Text2
                          : c.Control.Kind == ControlKind::Text3 ? r.Text3
                                                                 : c.Rect;
    EXPECT_TRUE(Inside(rect, r.ComputeFrame)) << int(c.Control.Kind) << " " << c.Control.Index;
  }
  // Point list 3415 - 1740 - 100 = 1575 twips = 105 pixels: four lines of 16
  // pixels beside a scroll bar and the frame; results 3415 - 675 - 100 = 2640
  // twips = 176 pixels, ten lines.
  EXPECT_EQ(r.Text2.Height, 1575);
  EXPECT_EQ(r.Text3.Height, 2640);
  // The command bar fits across.
  EXPECT_GE(r.CommandBar.Left, 0);
}

TEST(MainLayout, RefusedStepsAreSkipped) {
  ResizableRects r = DesignResizableRects();
  FormResize(r, kDesignClientWidth, kDesignClientHeight);
  // Below the upper frames: the frame height 3000 - 3840 - 50 - 495 < 0 is
  // refused and the frame keeps 4315; the bar still moves up to 3000 - 495.
  FormResize(r, 9000, 3000);
  EXPECT_EQ(r.CommandBar.Top, 2505);
  EXPECT_EQ(r.CommandBar.Left, 1500);
  EXPECT_EQ(r.ComputeFrame.Height, 4315);
  EXPECT_EQ(r.ComputeFrame.Width, 8760);
  EXPECT_EQ(r.Text3.Width, 8760 - 4380 - 150);
  // Narrower than the results' left edge: the results keep their width; and
  // narrower than the frame margins: the frame keeps its width too.
  FormResize(r, 200, 3000);
  EXPECT_EQ(r.CommandBar.Left, -2900);
  EXPECT_EQ(r.ComputeFrame.Width, 8760);
  EXPECT_EQ(r.Text3.Width, 8760 - 4380 - 150);
  FormResize(r, 4500, 3000);
  EXPECT_EQ(r.ComputeFrame.Width, 4260);
  EXPECT_EQ(r.Text3.Width, 8760 - 4380 - 150);  // 4260 - 4380 - 150 < 0
  // Grown past the design size: every step runs again, from the new size.
  // Frame 14000 - 240 = 13760 by 10000 - 3840 - 50 - 495 = 5615; results
  // 13760 - 4380 - 150 = 9230 by 5615 - 675 - 100 = 4840; points 5615 - 1740 - 100.
  FormResize(r, 14000, 10000);
  EXPECT_EQ(r.CommandBar, (TwipRect{4000, 9505, 6000, 495}));
  EXPECT_EQ(r.ComputeFrame, (TwipRect{120, 3840, 13760, 5615}));
  EXPECT_EQ(r.Text3, (TwipRect{4380, 675, 9230, 4840}));
  EXPECT_EQ(r.Text2.Height, 3775);
}

}  // namespace
}  // namespace zelto
