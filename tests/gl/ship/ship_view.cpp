#include "gl/ship/ship_view.h"

#include <cstddef>

#include "gl/gl_context.h"
#include "ship/ship.h"
#include "surface/surface.h"

namespace {

constexpr float BoxX = 20, BoxY = 15, BoxZ = 50;

} // namespace

void drawShipFrom(float eyeX, float eyeY, float eyeZ, float lookX, float lookY, float lookZ)
{
    ResizeView(TestWidth, TestHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, eyeZ, lookX, lookY, lookZ, 0, 1, 0);
    drawShip();
}

void feedbackView()
{
    glViewport(0, 0, TestWidth, TestHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-BoxX, BoxX, -BoxY, BoxY, -BoxZ, BoxZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::vector<GLfloat>& feedbackBuffer()
{
    static std::vector<GLfloat> buffer(1 << 20);
    return buffer;
}

std::vector<FeedbackPrimitive> parseFeedback(const std::vector<GLfloat>& buffer, GLint count)
{
    std::vector<FeedbackPrimitive> out;
    GLint i = 0;
    auto vertex = [&] {
        const GLfloat* v = &buffer[static_cast<size_t>(i)];
        i += 11;  // x y z, r g b a, s t r q
        return FeedbackVertex{v[0] / TestWidth * 2 * BoxX - BoxX,
                              v[1] / TestHeight * 2 * BoxY - BoxY,
                              (0.5f - v[2]) * 2 * BoxZ,
                              v[3], v[4], v[5], v[6], v[7], v[8]};
    };
    while (i < count) {
        const auto token = static_cast<GLenum>(buffer[static_cast<size_t>(i++)]);
        FeedbackPrimitive primitive{token, {}};
        int vertices = 0;
        if (token == GL_POLYGON_TOKEN)
            vertices = static_cast<int>(buffer[static_cast<size_t>(i++)]);
        else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
            vertices = 2;
        else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                 token == GL_COPY_PIXEL_TOKEN)
            vertices = 1;
        else if (token == GL_PASS_THROUGH_TOKEN)
            ++i;
        for (int k = 0; k < vertices; ++k)
            primitive.vertices.push_back(vertex());
        out.push_back(primitive);
    }
    return out;
}

std::vector<FeedbackPrimitive> primitivesOf(const std::vector<FeedbackPrimitive>& all, GLenum kind)
{
    std::vector<FeedbackPrimitive> out;
    for (const FeedbackPrimitive& p : all)
        if (p.kind == kind || (kind == GL_LINE_TOKEN && p.kind == GL_LINE_RESET_TOKEN))
            out.push_back(p);
    return out;
}
