// Helpers for the ship's GL tests: the ship alone under a chosen camera, and
// GL's feedback mode, which reports each primitive's vertices as drawn.
#pragma once

#include <vector>

#include "surface/gl.h"

struct FeedbackVertex {
    float x, y, z;  // object coordinates under feedbackView()
    float r, g, b, a;
    float s, t;
};

struct FeedbackPrimitive {
    GLenum kind;  // GL_POLYGON_TOKEN, GL_LINE_TOKEN (or _RESET_), GL_POINT_TOKEN
    std::vector<FeedbackVertex> vertices;
};

// Clears the frame and draws only the ship, seen from eye towards look
// under the scene's perspective.
void drawShipFrom(float eyeX, float eyeY, float eyeZ, float lookX, float lookY, float lookZ);

// An orthographic projection of the box x -20..20, y -15..15, z -50..50 onto
// the whole test frame, identity modelview: feedback coordinates map straight
// back to object coordinates.
void feedbackView();

// Runs `draw` in feedback mode and returns what it drew.
template <typename Draw>
std::vector<FeedbackPrimitive> feedbackOf(Draw draw);

// Implementation detail of feedbackOf.
std::vector<FeedbackPrimitive> parseFeedback(const std::vector<GLfloat>& buffer, GLint count);
std::vector<GLfloat>& feedbackBuffer();

template <typename Draw>
std::vector<FeedbackPrimitive> feedbackOf(Draw draw)
{
    std::vector<GLfloat>& buffer = feedbackBuffer();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);
    return parseFeedback(buffer, count);
}

// The primitives of one kind (lines with or without a reset), in order.
std::vector<FeedbackPrimitive> primitivesOf(const std::vector<FeedbackPrimitive>& all, GLenum kind);
