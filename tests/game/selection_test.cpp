#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "simulation_fixture.h"

namespace {

typedef EmptyMapTest Selection;
typedef std::vector<Unit*> Units;

TEST_F(Selection, PickingFindsTheNearestBodyOrLiveCrystalWithinItsRadius) {
    // Picking radii: Blob 0.9 * 0.65 = 0.585, Monsterpillow 1.6 * 0.65 = 1.04, crystal 0.325.
    Unit* blob = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* pillow = spawn(kMonsterpillow, 11.0f, 10.0f, 1);
    EXPECT_EQ(blob, manager->unitAt(10.5f, 10.0f, 0.6f));    // 0.5 from the Blob
    EXPECT_EQ(pillow, manager->unitAt(10.6f, 10.0f, 0.6f));  // 0.4 from the pillow, 0.6 from the Blob
    EXPECT_EQ(pillow, manager->unitAt(11.0f, 11.0f, 0.6f));  // 1.0 from the pillow
    EXPECT_EQ(nullptr, manager->unitAt(10.0f, 10.6f, 0.6f));
    EXPECT_EQ(nullptr, manager->unitAt(10.0f, 10.0f, 1.6f));  // height counts
    blob->hidden = true;
    EXPECT_EQ(blob, manager->unitAt(10.0f, 10.0f, 0.6f));

    manager->crystals.push_back(new Crystal(20.0f, 20.0f, 0.2f));
    manager->crystals.push_back(new Crystal(20.2f, 20.0f, 0.2f));
    EXPECT_EQ(manager->crystals[0], manager->crystalAt(20.05f, 20.0f, 0.2f));
    EXPECT_EQ(manager->crystals[1], manager->crystalAt(20.15f, 20.0f, 0.2f));
    EXPECT_EQ(nullptr, manager->crystalAt(20.0f, 20.4f, 0.2f));
    manager->crystals[1]->amount = 0.0f;
    EXPECT_EQ(manager->crystals[0], manager->crystalAt(20.15f, 20.0f, 0.2f));
}

TEST_F(Selection, ClickReplacesOrTogglesAndSkipsHiddenUnits) {
    Unit* a = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* b = spawn(kBlob, 14.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 18.0f, 10.0f, 1);
    manager->clickSelect(10.0f, 10.0f, 0.6f, false);
    manager->clickSelect(14.0f, 10.0f, 0.6f, true);
    EXPECT_EQ(Units({a, b}), manager->selection);
    manager->clickSelect(10.0f, 10.0f, 0.6f, true);  // toggles a off
    manager->clickSelect(30.0f, 30.0f, 0.6f, false);  // nothing there
    enemy->hidden = true;
    manager->clickSelect(18.0f, 10.0f, 0.6f, false);
    EXPECT_EQ(Units({b}), manager->selection);
    enemy->hidden = false;
    manager->clickSelect(18.0f, 10.0f, 0.6f, false);  // enemies can be looked at
    EXPECT_EQ(Units({enemy}), manager->selection);
}

TEST_F(Selection, GroupsStoreAndRecallAndAnEmptyGroupChangesNothing) {
    Unit* a = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* b = spawn(kBlob, 14.0f, 10.0f, 0);
    manager->selection = Units({b, a});
    manager->storeGroup(2);
    manager->selection = Units({a});
    manager->recallGroup(5);
    EXPECT_EQ(Units({a}), manager->selection);
    manager->recallGroup(2);
    EXPECT_EQ(Units({b, a}), manager->selection);
    manager->selection.clear();
    manager->storeGroup(2);  // an empty selection empties the group
    manager->selection = Units({a});
    manager->recallGroup(2);
    EXPECT_EQ(Units({a}), manager->selection);
}

// A camera straight above the map through an orthographic box on a 640 x 480 window: a unit at map (x, y)
// shows at pixel (x * 10, y * 7.5).
TEST_F(Selection, BoxTakesUnitsWhoseScreenPointIsInsideOwnUnitsWinning) {
    int savedWidth = gScreenWidth, savedHeight = gScreenHeight;
    gScreenWidth = 640;
    gScreenHeight = 480;
    MatrixStack projection;
    MatrixStack modelview(4);
    projection.ortho(0.0f, 64.0f, 0.0f, 64.0f, -100.0f, 100.0f);
    modelview.loadIdentity();
    Frustum frustum;
    frustum.extract(projection, modelview);

    Unit* a = spawn(kBlob, 16.0f, 16.0f, 0);      // (160, 120)
    Unit* b = spawn(kBlob, 32.0f, 32.0f, 0);      // (320, 240)
    spawn(kBlob, 48.0f, 16.0f, 0);                // (480, 120)
    Unit* enemy = spawn(kBlob, 20.0f, 20.0f, 1);  // (200, 150)
    manager->boxSelect(330.0f, 250.0f, 150.0f, 110.0f, frustum, false);  // corners in any order
    EXPECT_EQ(Units({a, b}), manager->selection);
    manager->boxSelect(190.0f, 140.0f, 210.0f, 160.0f, frustum, false);  // only the enemy inside
    EXPECT_EQ(Units({enemy}), manager->selection);
    // Additive: a joins and the enemy already selected makes way for it; a is not taken twice.
    manager->boxSelect(150.0f, 110.0f, 210.0f, 160.0f, frustum, true);
    EXPECT_EQ(Units({a}), manager->selection);
    manager->boxSelect(150.0f, 110.0f, 330.0f, 250.0f, frustum, true);
    EXPECT_EQ(Units({a, b}), manager->selection);
    gScreenWidth = savedWidth;
    gScreenHeight = savedHeight;
}

}  // namespace
