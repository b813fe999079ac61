#include "platform/form.h"

#include "platform/controls.h"

#include <QTest>

#include <gtest/gtest.h>

namespace quorix {
namespace {

// A window that counts its events and keeps the last mouse press it was told.
class CountingForm : public Form {
public:
    int loads = 0, resizes = 0, unloads = 0;
    int lastButton = 0;
    float lastX = 0, lastY = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Resize() override { ++resizes; }
    void Form_Unload() override { ++unloads; }
    void Form_MouseDown(int button, float x, float y) override {
        lastButton = button;
        lastX = x;
        lastY = y;
    }
};

TEST(FormTest, KeepsTheTwipsItWasGivenResizesOnceAndReportsEventsInTwips) {
    CountingForm form;
    bool released = false;
    form.onUnloaded = [&released] { released = true; };
    form.Load();
    EXPECT_EQ(form.loads, 1);
    form.SetTop(50);
    form.SetWidth(14900);
    EXPECT_EQ(form.resizes, 1) << "the resize handler runs inside the assignment";
    form.SetHeight(5055);
    EXPECT_EQ(form.resizes, 2);
    form.SetWidth(14900);
    EXPECT_EQ(form.resizes, 2) << "no change, no resize";
    EXPECT_DOUBLE_EQ(form.Width(), 14900) << "14900 is not a whole number of pixels at every dpi";
    EXPECT_DOUBLE_EQ(form.Height(), 5055);
    EXPECT_DOUBLE_EQ(form.Top(), 50);
    form.Show();
    EXPECT_EQ(form.resizes, 3) << "the first showing after a load runs it once more";
    form.resize(form.width() + 20, form.height());
    EXPECT_EQ(form.resizes, 4) << "a size change from outside runs it once";
    EXPECT_DOUBLE_EQ(form.Width(), PixelsToTwips(form.frameGeometry().width()));

    QTest::mouseClick(&form.DrawingSurface(), Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(form.lastButton, kRightButton);
    EXPECT_FLOAT_EQ(form.lastX, static_cast<float>(PixelsToTwips(20)));
    EXPECT_FLOAT_EQ(form.lastY, static_cast<float>(PixelsToTwips(10)));
    form.close();
    EXPECT_EQ(form.unloads, 1) << "closing by the frame unloads";
    EXPECT_TRUE(released) << "and tells the owner";
}

TEST(ControlsTest, PlacedInTwipsClickableWhileEnabledAndWrapped) {
    CountingForm form;
    CommandButton button(&form.DrawingSurface());
    button.Place(360, 840, 1815, 495);
    EXPECT_DOUBLE_EQ(button.Left(), 360);
    EXPECT_DOUBLE_EQ(button.Width(), 1815);
    EXPECT_EQ(button.Widget()->geometry().left(), TwipsToPixels(360));
    int clicks = 0;
    button.OnClick([&clicks] { ++clicks; });
    form.Show();
    QTest::mouseClick(button.Button(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    button.SetEnabled(false);
    QTest::mouseClick(button.Button(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    button.Place(4800, 10320, 975, 615);
    button.SetFont({"MS Sans Serif", 8.25, true});
    button.SetCaption("Update O-C plot");
    EXPECT_EQ(button.Caption(), "Update O-C plot");
    EXPECT_TRUE(button.Button()->text().contains('\n')) << "a caption wider than its button wraps";
    button.SetWidth(4000);
    EXPECT_EQ(button.Button()->text(), "Update O-C plot");
}

} // namespace
} // namespace quorix
