#include <algorithm>
#include <cmath>

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "surface/gl.h"

StarField starField;

void rotatePoint(float p[3], float ax, float ay, float az)
{
    if (ax == 0 && ay == 0 && az == 0)
        return;
    constexpr double DegreesToRadians = 0.017453292519943295;
    const float x = p[0];
    const float y = p[1];
    const float z = p[2];

    const double a = ax * DegreesToRadians;
    const auto y1 = static_cast<float>(y * std::cos(a) - z * std::sin(a));
    const auto z1 = static_cast<float>(y * std::sin(a) + z * std::cos(a));

    float x2 = x;
    float z2 = z1;
    if (ay > 0) {
        const double b = ay * DegreesToRadians;
        x2 = static_cast<float>(x * std::cos(b) + z1 * std::sin(b));
        z2 = static_cast<float>(z1 * std::cos(b) - x * std::sin(b));
    }

    float x3 = x2;
    float y3 = y1;
    if (az > 0) {
        const double c = az * DegreesToRadians;
        x3 = static_cast<float>(x2 * std::cos(c) - y1 * std::sin(c));
        y3 = static_cast<float>(x2 * std::sin(c) + y1 * std::cos(c));
    }
    p[0] = x3;
    p[1] = y3;
    p[2] = z2;
}

void initStars()
{
    for (int i = 0; i < settings.activeStarCount; ++i) {
        float* star = starField.stars[i];
        star[0] = star[1] = star[2] = 120.0f;
        const int az = sceneRand() % 360;
        const int ay = sceneRand() % 360;
        const int ax = sceneRand() % 360;
        rotatePoint(star, static_cast<float>(ax), static_cast<float>(ay), static_cast<float>(az));
    }
}

void starBatchEnds(int count, int ends[3])
{
    const double limits[2] = {0.33 * count, 0.66 * count};
    for (int batch = 0; batch < 2; ++batch)
        ends[batch] = std::min(count, static_cast<int>(std::ceil(limits[batch])));
    ends[2] = count;
}

void drawStars()
{
    static const GLfloat emission[] = {0.5f, 0.5f, 0.5f, 1.0f};
    int batchEnd[3];
    starBatchEnds(settings.activeStarCount, batchEnd);

    glPushMatrix();
    glHint(GL_POINT_SMOOTH_HINT, GL_DONT_CARE);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_BLEND);
    int i = 0;
    for (int batch = 0; batch < 3; ++batch) {
        glPointSize(static_cast<GLfloat>(batch + 1));
        glBegin(GL_POINTS);
        glMaterialfv(GL_FRONT, GL_EMISSION, emission);
        glColor4f(1, 1, 1, 1);
        for (; i < batchEnd[batch]; ++i)
            glVertex3fv(starField.stars[i]);
        glEnd();
    }
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SMOOTH);
    glPopMatrix();
}
