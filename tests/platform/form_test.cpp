#include "platform/form.h"

#include "platform/controls.h"

#include <QTest>

#include <gtest/gtest.h>

namespace quorix {
namespace {

// A window that counts the runs of its resize handler.
class CountingForm : public Form {
public:
    int resizes = 0;

protected:
    void Form_Resize() override { ++resizes; }
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
    button.SetFont({"MS Sans Serif", 8.25, true});
    button.SetCaption("Update O-C plot");
    EXPECT_EQ(button.Caption(), "Update O-C plot");
    EXPECT_TRUE(button.Button()->text().contains('\n')) << "a caption wider than its button wraps";
    button.SetWidth(4000);
    EXPECT_EQ(button.Button()->text(), "Update O-C plot");
}

} // namespace
} // namespace quorix
