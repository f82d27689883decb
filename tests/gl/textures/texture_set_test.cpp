// The texture set in a real GL context, and on the ship.
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "common/posix/posix_host.h"
#include "common/resources.h"
#include "settings/settings.h"
#include "support/gl_fixture.h"
#include "surface/surface.h"
#include "textures/textures.h"

namespace {

// A parameter of the bound texture or, given a level, of that level.
GLint parameter(GLenum name, GLint level = -1)
{
    GLint value = -1;
    level < 0 ? glGetTexParameteriv(GL_TEXTURE_2D, name, &value) : glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

std::vector<unsigned char> texels(int width, int height)
{
    std::vector<unsigned char> out(static_cast<size_t>(width) * height * 4, 0xEE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
}

} // namespace

TEST(TextureSet, SevenClampedTexturesOfTheBitmapsFilteredByDetailThenDeleted)
{
    startTestScene();  // texture detail 2
    for (const int32_t detail : {2, 0, 1, 7}) {
        if (detail != 2) {
            deleteTextures();
            settings.textureDetail = detail;
            for (const TextureSpec& t : textureSet)
                loadTexture(t.resourceId, t.slot, programModule, t.width, t.height, t.colourKey);
        }
        EXPECT_EQ(static_cast<uint32_t>(glInteger(GL_TEXTURE_BINDING_2D)), TextureNames[6]) << "the last one bound";
        EXPECT_EQ(std::set<uint32_t>(std::begin(TextureNames), std::end(TextureNames)).size(), 7u) << "seven names";
        const GLint filter = detail == 2 ? GL_LINEAR : GL_NEAREST;
        for (const TextureSpec& t : textureSet) {
            SCOPED_TRACE(testing::Message() << "detail " << detail << ", slot " << t.slot);
            ASSERT_EQ(glIsTexture(TextureNames[t.slot]), GL_TRUE);
            glBindTexture(GL_TEXTURE_2D, TextureNames[t.slot]);
            EXPECT_EQ(std::tuple(parameter(GL_TEXTURE_WIDTH, 0), parameter(GL_TEXTURE_HEIGHT, 0),
                                 parameter(GL_TEXTURE_INTERNAL_FORMAT, 0), parameter(GL_TEXTURE_WIDTH, 1),
                                 parameter(GL_TEXTURE_WRAP_S), parameter(GL_TEXTURE_WRAP_T),
                                 parameter(GL_TEXTURE_MIN_FILTER), parameter(GL_TEXTURE_MAG_FILTER)),
                      std::tuple(t.width, t.height, GL_RGBA, 0, GL_CLAMP, GL_CLAMP, filter, filter))
                << "width, height, format, no mipmap, wrap s, t, filter min, mag";
            std::vector<unsigned char> bitmap(static_cast<size_t>(t.width) * t.height * 4);
            ASSERT_TRUE(platformReadBitmap(programModule, t.resourceId, t.width, t.height, t.colourKey, bitmap.data()));
            const std::vector<unsigned char> actual = texels(t.width, t.height);
            EXPECT_TRUE(actual == bitmap) << "the bitmap, top row first";
            EXPECT_EQ(actual[3], t.slot >= 5 ? 0 : 255);  // the caption and the panel are keyed: top-left is clear
        }
    }
    const std::vector<uint32_t> before(std::begin(TextureNames), std::end(TextureNames));
    deleteTextures();
    deleteTextures();  // nothing left to delete
    for (int slot = 0; slot < TextureCount; ++slot)
        EXPECT_TRUE(glIsTexture(before[slot]) == GL_FALSE && TextureNames[slot] == 0) << "slot " << slot;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TextureSet, FailedAllocationIsReportedAndAMissingBitmapGivesAClearTexture)
{
    startTestScene();
    const uint32_t cube = TextureNames[0];
    testing::internal::CaptureStderr();
    loadTexture(IDB_CUBE, 0, programModule, 100000, 100000, false);
    loadTexture(999, 3, programModule, 8, 8, false);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Error: Error alocating texture memory!!"), std::string::npos) << errors;
    EXPECT_NE(errors.find("bitmap 999: no such bitmap"), std::string::npos) << errors;
    EXPECT_TRUE(hostQuit.requested && hostQuit.exitCode == 0);
    EXPECT_EQ(TextureNames[0], cube) << "nothing converted";
    glBindTexture(GL_TEXTURE_2D, TextureNames[3]);
    EXPECT_EQ(parameter(GL_TEXTURE_WIDTH, 0), 8);
    EXPECT_EQ(texels(8, 8), std::vector<unsigned char>(8 * 8 * 4, 0));
    deleteTextures();
    hostQuit = {};
}

