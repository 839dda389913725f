#include <gtest/gtest.h>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "simulation_fixture.h"

namespace {

class Selection : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
    }
};

TEST_F(Selection, UnitAtFindsTheNearestBodyWithinItsPickingRadius) {
    // Blob picking radius 0.9 * 0.65 = 0.585; Monsterpillow 1.6 * 0.65 = 1.04.
    Unit* blob = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* pillow = spawn(kMonsterpillow, 11.0f, 10.0f, 1);
    EXPECT_EQ(blob, manager->unitAt(10.5f, 10.0f, 0.6f));   // 0.5 from the Blob
    EXPECT_EQ(pillow, manager->unitAt(10.6f, 10.0f, 0.6f)); // 0.4 from the pillow, 0.6 from the Blob
    EXPECT_EQ(nullptr, manager->unitAt(10.0f, 10.6f, 0.6f));
    EXPECT_EQ(pillow, manager->unitAt(11.0f, 11.0f, 0.6f)); // 1.0 from the pillow
    // Height counts: the same ground point 1 unit above the Blob misses it.
    EXPECT_EQ(nullptr, manager->unitAt(10.0f, 10.0f, 1.6f));
    // Hidden units are still found.
    blob->hidden = true;
    EXPECT_EQ(blob, manager->unitAt(10.0f, 10.0f, 0.6f));
}

TEST_F(Selection, CrystalAtSkipsExhaustedCrystals) {
    manager->crystals.push_back(new Crystal(20.0f, 20.0f, 0.2f));
    manager->crystals.push_back(new Crystal(20.2f, 20.0f, 0.2f));
    EXPECT_EQ(manager->crystals[0], manager->crystalAt(20.05f, 20.0f, 0.2f));
    EXPECT_EQ(manager->crystals[1], manager->crystalAt(20.15f, 20.0f, 0.2f));
    EXPECT_EQ(nullptr, manager->crystalAt(20.0f, 20.4f, 0.2f));
    manager->crystals[1]->amount = 0.0f;
    EXPECT_EQ(manager->crystals[0], manager->crystalAt(20.15f, 20.0f, 0.2f));
    EXPECT_EQ(manager->crystals[0], manager->nearestCrystal(20.3f, 20.0f, 0.2f));
}

TEST_F(Selection, ClickReplacesOrTogglesAndIgnoresHiddenUnits) {
    Unit* a = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* b = spawn(kBlob, 14.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 18.0f, 10.0f, 1);
    manager->clickSelect(10.0f, 10.0f, 0.6f, false);
    manager->clickSelect(14.0f, 10.0f, 0.6f, true);
    ASSERT_EQ(2u, manager->selection.size());
    EXPECT_EQ(a, manager->selection[0]);
    EXPECT_EQ(b, manager->selection[1]);
    manager->clickSelect(10.0f, 10.0f, 0.6f, true);  // toggles a off
    ASSERT_EQ(1u, manager->selection.size());
    EXPECT_EQ(b, manager->selection[0]);
    manager->clickSelect(30.0f, 30.0f, 0.6f, false);  // nothing there: unchanged
    EXPECT_EQ(1u, manager->selection.size());
    enemy->hidden = true;
    manager->clickSelect(18.0f, 10.0f, 0.6f, false);
    EXPECT_EQ(b, manager->selection[0]);
    enemy->hidden = false;
    manager->clickSelect(18.0f, 10.0f, 0.6f, false);  // enemies can be looked at
    ASSERT_EQ(1u, manager->selection.size());
    EXPECT_EQ(enemy, manager->selection[0]);
}

// A camera looking straight down on the whole map through an orthographic box: screen x = map x / 64 of
// the window width, screen y = map y / 64 of its height.
class BoxSelection : public Selection {
protected:
    void SetUp() override {
        Selection::SetUp();
        savedWidth = gScreenWidth;
        savedHeight = gScreenHeight;
        gScreenWidth = 640;
        gScreenHeight = 480;
        MatrixStack projection;
        MatrixStack modelview(4);
        projection.ortho(0.0f, 64.0f, 0.0f, 64.0f, -100.0f, 100.0f);
        modelview.loadIdentity();
        frustum.extract(projection, modelview);
    }
    void TearDown() override {
        gScreenWidth = savedWidth;
        gScreenHeight = savedHeight;
        Selection::TearDown();
    }
    Frustum frustum;
    int savedWidth;
    int savedHeight;
};

TEST_F(BoxSelection, SelectsUnitsWhoseScreenPointIsInsideTheRectangle) {
    Unit* a = spawn(kBlob, 16.0f, 16.0f, 0);  // screen (160, 120)
    Unit* b = spawn(kBlob, 32.0f, 32.0f, 0);  // screen (320, 240)
    spawn(kBlob, 48.0f, 16.0f, 0);            // screen (480, 120)
    manager->boxSelect(330.0f, 250.0f, 150.0f, 110.0f, frustum, false);  // corners in any order
    ASSERT_EQ(2u, manager->selection.size());
    EXPECT_EQ(a, manager->selection[0]);
    EXPECT_EQ(b, manager->selection[1]);
    manager->boxSelect(150.0f, 110.0f, 170.0f, 130.0f, frustum, false);
    ASSERT_EQ(1u, manager->selection.size());
    EXPECT_EQ(a, manager->selection[0]);
    // Additive: b joins, a is not added twice.
    manager->boxSelect(150.0f, 110.0f, 330.0f, 250.0f, frustum, true);
    ASSERT_EQ(2u, manager->selection.size());
    EXPECT_EQ(b, manager->selection[1]);
}

TEST_F(BoxSelection, OwnUnitsWinOverEnemies) {
    spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* own = spawn(kBlob, 22.0f, 20.0f, 0);
    spawn(kBlob, 24.0f, 20.0f, 2);
    manager->boxSelect(0.0f, 0.0f, 640.0f, 480.0f, frustum, false);
    ASSERT_EQ(1u, manager->selection.size());
    EXPECT_EQ(own, manager->selection[0]);

    // Only enemies in the box: they are selected.
    manager->boxSelect(190.0f, 140.0f, 210.0f, 160.0f, frustum, false);
    ASSERT_EQ(1u, manager->selection.size());
    EXPECT_EQ(1, manager->selection[0]->player);
}

TEST_F(Selection, GroupsStoreAndRecallAndAnEmptyGroupChangesNothing) {
    Unit* a = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* b = spawn(kBlob, 14.0f, 10.0f, 0);
    manager->selection.push_back(b);
    manager->selection.push_back(a);
    manager->storeGroup(2);
    manager->selection.clear();
    manager->selection.push_back(a);
    manager->recallGroup(5);  // empty
    ASSERT_EQ(1u, manager->selection.size());
    manager->recallGroup(2);
    ASSERT_EQ(2u, manager->selection.size());
    EXPECT_EQ(b, manager->selection[0]);
    EXPECT_EQ(a, manager->selection[1]);
    // Storing an empty selection empties the group.
    manager->selection.clear();
    manager->storeGroup(2);
    manager->selection.push_back(a);
    manager->recallGroup(2);
    EXPECT_EQ(1u, manager->selection.size());
}

}  // namespace
