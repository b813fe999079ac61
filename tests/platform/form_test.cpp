#include "platform/form.h"

#include "platform/controls.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace quorix {
namespace {

// A window that counts its events and keeps the last mouse position it was told.
class CountingForm : public Form {
public:
    int loads = 0, resizes = 0, unloads = 0, focusGains = 0;
    int lastButton = 0;
    float lastX = 0, lastY = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Resize() override { ++resizes; }
    void Form_Unload() override { ++unloads; }
    void Form_GotFocus() override { ++focusGains; }
    void Form_MouseDown(int button, float x, float y) override {
        lastButton = button;
        lastX = x;
        lastY = y;
    }
};

TEST(FormTest, ReportsTheTwipsItWasGivenAndResizesInsideTheSetter) {
    CountingForm form;
    form.Load();
    EXPECT_EQ(form.loads, 1);
    form.SetTop(50);
    form.SetLeft(50);
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
}

TEST(FormTest, ClosingByTheFrameUnloadsAndTellsTheOwner) {
    CountingForm form;
    bool released = false;
    form.onUnloaded = [&released] { released = true; };
    form.Show();
    form.close();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_TRUE(released);
}

TEST(FormTest, MousePressArrivesInTwipsOfTheSurface) {
    CountingForm form;
    form.SetWidth(6000);
    form.SetHeight(4000);
    form.Show();
    QTest::mouseClick(&form.DrawingSurface(), Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(form.lastButton, kRightButton);
    EXPECT_FLOAT_EQ(form.lastX, static_cast<float>(PixelsToTwips(20)));
    EXPECT_FLOAT_EQ(form.lastY, static_cast<float>(PixelsToTwips(10)));
}

TEST(ControlsTest, PlacedInTwipsAndClickable) {
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
    CommandButton narrow(&form.DrawingSurface());
    narrow.Place(4800, 10320, 975, 615);
    narrow.SetFont({"MS Sans Serif", 8.25, true});
    narrow.SetCaption("Update O-C plot");
    EXPECT_EQ(narrow.Caption(), "Update O-C plot");
    EXPECT_TRUE(narrow.Button()->text().contains('\n')) << "a caption wider than its button wraps";
    narrow.SetWidth(4000);
    EXPECT_EQ(narrow.Button()->text(), "Update O-C plot");
    ComboBox combo(&form.DrawingSurface());
    int chosen = 0;
    combo.OnClick([&chosen] { ++chosen; });
    combo.AddItem("*.csv");
    combo.AddItem("*.txt");
    combo.SetListIndex(1);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(combo.Text(), "*.txt");
}

TEST(MessageBoxTest, RecorderTakesTheMessagesInsteadOfAModalBox) {
    MessageRecorder recorder;
    MessageBox("Minimum period must be between 0.05 and 100 days.");
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_EQ(recorder.Messages()[0], "Minimum period must be between 0.05 and 100 days.");
    ProcessEndRecorder ends;
    EndProcess();
    EXPECT_EQ(ends.Requests(), 1);
}

} // namespace
} // namespace quorix
