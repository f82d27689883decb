// The texture set in a real GL context: names, sizes, parameters, contents,
// deletion and the allocation failure.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/posix/posix_host.h"
#include "common/resources.h"
#include "gl/gl_context.h"
#include "settings/settings.h"
#include "textures/textures.h"

namespace {

void reloadTextures(int32_t detail)
{
    deleteTextures();
    settings.textureDetail = detail;
    for (const TextureSpec& texture : textureSet)
        loadTexture(texture.resourceId, texture.slot, programModule, texture.width, texture.height,
                    texture.colourKey);
}

GLint textureParameter(GLenum name)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint levelParameter(GLint level, GLenum name)
{
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

class TextureSet : public ::testing::Test {
protected:
    void SetUp() override { startTestScene(); }
    void TearDown() override
    {
        deleteTextures();
        hostQuit = {};
    }
};

} // namespace

TEST_F(TextureSet, StartUpMakesSevenTexturesOfTheirSizesWithoutMipmaps)
{
    std::set<uint32_t> names;
    for (const TextureSpec& texture : textureSet) {
        SCOPED_TRACE(texture.slot);
        const uint32_t name = TextureNames[texture.slot];
        ASSERT_NE(name, 0u);
        EXPECT_EQ(glIsTexture(name), GL_TRUE);
        names.insert(name);
        glBindTexture(GL_TEXTURE_2D, name);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), texture.width);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), texture.height);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
        EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    }
    EXPECT_EQ(names.size(), 7u);
    // The last load leaves slot 6 bound.
    EXPECT_EQ(static_cast<uint32_t>(glInteger(GL_TEXTURE_BINDING_2D)), TextureNames[6]);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureSet, OnlyHighDetailFiltersLinearly)
{
    for (const int32_t detail : {0, 1, 2, 7}) {
        SCOPED_TRACE(detail);
        reloadTextures(detail);
        const GLint expected = detail == 2 ? GL_LINEAR : GL_NEAREST;
        for (const uint32_t name : TextureNames) {
            glBindTexture(GL_TEXTURE_2D, name);
            EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), expected);
            EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), expected);
        }
    }
}

TEST_F(TextureSet, UploadedTexelsAreTheBitmapTopRowFirst)
{
    for (const TextureSpec& texture : textureSet) {
        SCOPED_TRACE(texture.slot);
        std::vector<unsigned char> expected(static_cast<size_t>(texture.width) * texture.height * 4);
        ASSERT_TRUE(platformReadBitmap(programModule, texture.resourceId, texture.width, texture.height,
                                       texture.colourKey, expected.data()));
        std::vector<unsigned char> actual(expected.size());
        glBindTexture(GL_TEXTURE_2D, TextureNames[texture.slot]);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, actual.data());
        EXPECT_TRUE(actual == expected);
    }
    // Keyed: the caption's top-left texel (t = 0 is the picture's top) is clear.
    std::vector<unsigned char> caption(256 * 16 * 4);
    glBindTexture(GL_TEXTURE_2D, TextureNames[5]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, caption.data());
    EXPECT_EQ(caption[3], 0);
}

TEST_F(TextureSet, DeletingReleasesEveryNameOnce)
{
    uint32_t before[TextureCount];
    std::copy(std::begin(TextureNames), std::end(TextureNames), before);
    deleteTextures();
    for (int slot = 0; slot < TextureCount; ++slot) {
        EXPECT_EQ(glIsTexture(before[slot]), GL_FALSE);
        EXPECT_EQ(TextureNames[slot], 0u);
    }
    deleteTextures();  // nothing left to delete
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureSet, AFailedAllocationIsReportedAndConvertsNothing)
{
    const uint32_t before = TextureNames[0];
    testing::internal::CaptureStderr();
    loadTexture(IDB_CUBE, 0, programModule, 100000, 100000, false);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Error: Error alocating texture memory!!"), std::string::npos) << errors;
    EXPECT_TRUE(hostQuit.requested);
    EXPECT_EQ(hostQuit.exitCode, 0);
    EXPECT_EQ(TextureNames[0], before);
}

TEST_F(TextureSet, AMissingBitmapGivesAClearTexture)
{
    testing::internal::CaptureStderr();
    loadTexture(999, 3, programModule, 8, 8, false);
    testing::internal::GetCapturedStderr();
    glBindTexture(GL_TEXTURE_2D, TextureNames[3]);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 8);
    std::vector<unsigned char> texels(8 * 8 * 4, 0xEE);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, std::vector<unsigned char>(8 * 8 * 4, 0));
}
