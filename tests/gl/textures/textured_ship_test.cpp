// The ship's textured faces show the texture set's pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gl/gl_context.h"
#include "gl/golden.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/surface.h"

TEST(TexturedShip, FacesShowTheirPicturesUnlessTextureDetailIsNone)
{
    // Above the bow (the name and the windows), and behind the stern (the
    // maker's mark on the rear panel, an arrow stripe below).
    const struct {
        const char* golden;
        float eye[3], target[3];
    } views[] = {{"textured_ship_above", {13, 12, 15}, {3, 0, 0}},
                 {"textured_ship_stern", {-24, -6, 5}, {-10, -1, 0}}};
    const auto drawShipAlone = [](const auto& view, int32_t detail) {
        settings.textureDetail = detail;
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ResizeView(TestWidth, TestHeight);
        glLoadIdentity();
        gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1], view.target[2], 0, 1, 0);
        drawShip();
        return readFrame();
    };
    startTestScene();
    for (const auto& view : views) {
        const std::vector<Pixel> plain = drawShipAlone(view, 0);
        const std::vector<Pixel> high = drawShipAlone(view, 2);
        EXPECT_TRUE(matchesGolden(view.golden));
        int textured = 0;
        for (size_t i = 0; i < plain.size(); ++i)
            textured += std::abs(plain[i].r - high[i].r) + std::abs(plain[i].g - high[i].g) +
                            std::abs(plain[i].b - high[i].b) > 24;
        EXPECT_GT(textured, 200) << view.golden << ": pixels that the textures change";
    }
}
