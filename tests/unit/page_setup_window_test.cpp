#include <gtest/gtest.h>

#include <set>

#include "app/page_setup_description.h"

namespace {

using app::PlaceSample;

TEST(PageSetupFields, MarginsAreWholeMillimetresHeldInRange) {
    EXPECT_EQ(app::MarginMillimetres(155), 16);
    EXPECT_EQ(app::MarginUnitsFromText(u"25"), 250);
    EXPECT_EQ(app::MarginUnitsFromText(u"12 mm"), 120);
    EXPECT_EQ(app::MarginUnitsFromText(u"abc"), 0);
    EXPECT_EQ(app::MarginUnitsFromText(u""), 0);
    EXPECT_EQ(app::MarginUnitsFromText(u"-5"), 0);
    EXPECT_EQ(app::MarginUnitsFromText(u"999"), text::maxMargin);
}

TEST(PageSetupFields, AnUnlistedPaperIsKeptUntilTheUserChoosesAnother) {
    const int listed[] = {9, 1, 11};
    EXPECT_EQ(app::PaperItemIndex(0, listed), 0);
    EXPECT_EQ(app::PaperItemIndex(1, listed), 2);
    EXPECT_EQ(app::PaperItemIndex(70, listed), 0);
    EXPECT_EQ(app::ChosenPaperSize(70, listed, 0, false), 70);
    EXPECT_EQ(app::ChosenPaperSize(70, listed, 0, true), 0);
    EXPECT_EQ(app::ChosenPaperSize(70, listed, 2, true), 1);
    EXPECT_EQ(app::ChosenPaperSize(9, listed, 7, true), 0);
}

TEST(PlaceSample, TurnsThePaperAndDrawsTheMarginsToScale) {
    text::PageSetup setup;
    setup.marginLeft = 200;
    const app::SampleRects portrait = PlaceSample(setup, 0, 0, 232, 306);  // A4 when unknown
    EXPECT_EQ(portrait.paper, (ui::Rect{13, 8, 205, 290}));
    EXPECT_EQ(portrait.inside, (ui::Rect{13 + 20, 8, 205 - 20, 290}));

    setup.landscape = true;
    const app::SampleRects landscape = PlaceSample(setup, 2100, 2970, 232, 306);
    EXPECT_EQ(landscape.paper.width, 232 - 2 * app::sampleGap);
    EXPECT_NEAR(landscape.paper.height, landscape.paper.width * 2100.0 / 2970, 1);

    setup.marginRight = text::maxMargin;
    setup.marginLeft = text::maxMargin;
    EXPECT_EQ(PlaceSample(setup, 2100, 2970, 232, 306).inside.width, 0);
    EXPECT_EQ(PlaceSample(setup, 2100, 2970, 4, 4).paper.width, 0);
}

TEST(PageSetupDescription, ControlsAreUniqueAndInsideTheirGroupBoxes) {
    const ui::WindowSpec window{"", "", app::pageSetupWindowWidth, app::pageSetupWindowHeight, ui::noFlags,
                                app::PageSetupControls(), {}, {}};
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const ui::ControlSpec& control : app::PageSetupControls()) {
        EXPECT_TRUE(ids.insert(control.id).second && names.insert(control.name).second) << control.name;
        const ui::Rect inner = ui::ClientRect(window, control);
        const ui::ControlSpec* box = ui::FindControl(window, control.parent);
        const ui::Rect outer = box != nullptr ? ui::ClientRect(window, *box)
                                              : ui::Rect{0, 0, app::pageSetupWindowWidth - 8, app::pageSetupWindowHeight - 34};
        EXPECT_TRUE(inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
                    inner.y + inner.height <= outer.y + outer.height)
            << control.name;
    }
}

}  // namespace
