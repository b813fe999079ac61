#include "platform/form.h"

#include "platform/controls.h"

#include <QApplication>
#include <QTest>

#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace quorix {
namespace {

// A window that counts the runs of its resize and focus handlers.
class CountingForm : public Form {
public:
    int resizes = 0;
    int focuses = 0;

protected:
    void Form_Resize() override { ++resizes; }
    void Form_GotFocus() override { ++focuses; }
};

TEST(FormTest, RunsTheResizeHandlerOncePerChangeAndPlacesItsControlsInTwips) {
    CountingForm form;
    CommandButton button(&form.DrawingSurface());
    form.Load();
    form.SetWidth(14900);
    EXPECT_EQ(form.resizes, 1) << "the resize handler runs inside the assignment";
    form.SetHeight(5055);
    form.SetWidth(14900);
    EXPECT_EQ(form.resizes, 2) << "no change, no resize";
    form.Show();
    EXPECT_EQ(form.resizes, 3) << "the first showing after a load runs it once more";
    form.resize(form.width() + 20, form.height());
    EXPECT_EQ(form.resizes, 4) << "a size change from outside runs it once";

    button.Place(360, 840, 975, 615);
    EXPECT_EQ(button.Widget()->geometry().topLeft(), QPoint(TwipsToPixels(360), TwipsToPixels(840)));
    int clicks = 0;
    button.OnClick([&clicks] { ++clicks; });
    QTest::mouseClick(button.Button(), Qt::LeftButton);
    button.SetEnabled(false);
    QTest::mouseClick(button.Button(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1) << "a disabled button takes no click";
    button.SetFont(kWindowFont);
    button.SetCaption("Update O-C plot");
    EXPECT_EQ(button.Caption(), "Update O-C plot");
    EXPECT_TRUE(button.Button()->text().contains('\n')) << "a caption wider than its button wraps";
    button.SetWidth(4000);
    EXPECT_EQ(button.Button()->text(), "Update O-C plot");
}

// The offscreen platform frames a window once it is shown, 2 pixels on each side, as a window manager
// does: before the first showing the frame is not known, afterwards it is.
TEST(FormTest, KeepsItsOuterSizeAndPlaceThroughCloseAndReopen) {
    std::int16_t top = 50, left = 14950, height = 5055, width = 14900;
    const QRect outer(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
    for (int cycle = 0; cycle < 4; ++cycle) {
        SCOPED_TRACE(cycle);
        auto form = std::make_unique<CountingForm>();
        form->Load();
        form->ApplyPlacement(top, left, height, width); // as each window's load does, before it is shown
        form->Show();
        ASSERT_NE(form->frameGeometry(), form->geometry()) << "the window has a frame";
        EXPECT_EQ(form->frameGeometry(), outer) << "the frame, not the inside, has the size given";
        form->StorePlacement(top, left, height, width); // as each window's unload does
        EXPECT_EQ(std::vector<int>({top, left, height, width}), std::vector<int>({50, 14950, 5055, 14900}));
    }
    Form shown;
    shown.Show();
    shown.SetHeight(3000);
    shown.SetWidth(4500);
    EXPECT_EQ(shown.frameGeometry().size(), QSize(300, 200)) << "sizes set on screen are outer sizes too";
    EXPECT_EQ(std::make_pair(shown.Width(), shown.Height()), std::make_pair(4500.0, 3000.0));
}

TEST(FormTest, AHiddenWindowTakesNoFocusAndAMinimisedOneComesBackWhenShown) {
    CountingForm form;
    form.Show();
    QApplication::setActiveWindow(&form);
    ASSERT_EQ(form.focuses, 1);
    form.Hide();
    // The activation a window's own menu hands back after its "Exit" has hidden it.
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&form, &activation);
    EXPECT_EQ(form.focuses, 1)
        << "a hidden window's focus handler, which may redraw and so show it, stays idle";
    EXPECT_FALSE(form.IsShown());

    form.Show();
    form.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(form.isMinimized());
    form.Show();
    EXPECT_FALSE(form.isMinimized()) << "showing it, as a drawing into it does, brings it back";
    EXPECT_TRUE(form.IsShown());
}

} // namespace
} // namespace quorix
