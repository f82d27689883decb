#include "common/random.h"
#include "ship/ship.h"
#include "surface/gl.h"

Debris debris;
bool debrisActive = false;

namespace {

constexpr double SpeedPerNormal = 0.1;    // outward speed: a tenth of the hull normal
constexpr double JitterStep = 0.0001;    // per unit of (draw % 1000 - 500)
constexpr double SlowestFade = 0.005;
constexpr double FadeStep = 0.0002;      // per unit of (draw % 50)
constexpr float SpinPerFrame = 10;
constexpr float HalfSide = 0.075f;       // squares 0.15 units on a side

// Every corner of `faces` at `vertex` takes the damage code.
void markCorners(MeshFace* faces, int count, int vertex)
{
    for (int i = 0; i < count; ++i) {
        MeshFace& face = faces[i];
        if (face.a == vertex)
            face.codeA = DamageMark;
        if (face.b == vertex)
            face.codeB = DamageMark;
        if (face.c == vertex)
            face.codeC = DamageMark;
    }
}

} // namespace

void hitHull(int vertex)
{
    debrisActive = true;
    ++debris.hullHits;
    const float* position = shipMesh.meshVertices[vertex];
    const float* normal = shipMesh.hullNormals[vertex];  // zero off the hull
    for (DebrisParticle& p : debris.particles) {
        for (int axis = 0; axis < 3; ++axis) {
            p.position[axis] = position[axis];
            p.velocity[axis] = static_cast<float>(normal[axis] * SpeedPerNormal);
        }
        for (float& v : p.velocity)
            v = static_cast<float>(v + (sceneRand() % 1000 - 500) * JitterStep);
        p.spin = 0;
        p.angleX = static_cast<float>(sceneRand() % 360);
        p.angleY = static_cast<float>(sceneRand() % 360);
        p.angleZ = static_cast<float>(sceneRand() % 360);
        p.alpha = 1;
        p.fade = static_cast<float>(SlowestFade + (sceneRand() % 50) * FadeStep);
    }
    // The rear panel is never marked.
    markCorners(shipMesh.hullFaces, HullFaceCount, vertex);
    markCorners(shipMesh.underPanelFaces, UnderPanelFaceCount, vertex);
    markCorners(shipMesh.podFacesA, PodFaceCount, vertex);
    markCorners(shipMesh.podFacesB, PodFaceCount, vertex);
}

void drawDebris()
{
    bool anyVisible = false;
    for (DebrisParticle& p : debris.particles) {  // faded ones move too
        for (int axis = 0; axis < 3; ++axis)
            p.position[axis] += p.velocity[axis];
        p.spin += SpinPerFrame;
        p.alpha -= p.fade;
        anyVisible = anyVisible || p.alpha > 0;
    }
    if (!anyVisible)
        debrisActive = false;  // still drawn in this frame

    setMaterial(WhiteLight);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    for (const DebrisParticle& p : debris.particles) {
        glPushMatrix();
        glTranslatef(p.position[0], p.position[1], p.position[2]);
        glRotatef(p.angleX, 1, 0, 0);
        glRotatef(p.angleY, 0, 1, 0);
        glRotatef(p.angleZ, 0, 0, 1);
        glRotatef(p.spin, 1, 1, 1);
        glColor4f(1, 1, 1, p.alpha);
        glNormal3f(0, 0, 1);
        glBegin(GL_QUADS);
        glVertex3f(-HalfSide, HalfSide, 0);
        glVertex3f(HalfSide, HalfSide, 0);
        glVertex3f(HalfSide, -HalfSide, 0);
        glVertex3f(-HalfSide, -HalfSide, 0);
        glEnd();
        glPopMatrix();
    }
    glDisable(GL_BLEND);
}
