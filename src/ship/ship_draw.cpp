#include <cmath>

#include "backdrop/backdrop.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/gl.h"
#include "textures/textures.h"

namespace {

constexpr float LineLift = 0.05f;     // scene units off the hull, away from y = 0
constexpr GLfloat LineWidth = 3.0f;
constexpr GLfloat LightPointSize = 5.0f;
constexpr double BlinkPeriod = 3.0;   // the lights show in every third whole second

bool textured(const MeshFace& face)
{
    return face.codeC == TexturedGrey || face.codeB == TexturedGrey || face.codeA == TexturedGrey;
}

// The texture setting is fixed for the frame, so it picks the loop once.
template <bool Texturing>
void drawRecords(const MeshFace* faces, int count, const float (*normals)[3])
{
    const float(*vertices)[3] = shipMesh.meshVertices;
    for (int i = 0; i < count; ++i) {
        const MeshFace& face = faces[i];
        const bool withTexture = Texturing && textured(face);
        if (withTexture) {
            glBindTexture(GL_TEXTURE_2D, TextureNames[face.slot]);
            glEnable(GL_TEXTURE_2D);
        }
        glBegin(GL_POLYGON);
        setMaterial(face.codeC);
        glNormal3fv(normals[face.c]);
        if (withTexture)
            glTexCoord2f(face.sC, face.tC);
        glVertex3fv(vertices[face.c]);
        setMaterial(face.codeB);
        glNormal3fv(normals[face.b]);
        if (withTexture)
            glTexCoord2f(face.sB, face.tB);
        glVertex3fv(vertices[face.b]);
        setMaterial(face.codeA);
        glNormal3fv(normals[face.a]);
        if (withTexture)
            glTexCoord2f(face.sA, face.tA);
        glVertex3fv(vertices[face.a]);
        glEnd();
        if (withTexture)
            glDisable(GL_TEXTURE_2D);
    }
}

void podCorner(int code, const float* normal, const float* position, const float* pivot)
{
    setMaterial(code);
    glNormal3fv(normal);
    glVertex3f(position[0] - pivot[0], position[1] - pivot[1], position[2] - pivot[2]);
}

// A pod turned about the line through its pivot vertex, parallel to x.
void drawPod(const MeshFace* faces, int pivotVertex, float angle)
{
    const float* pivot = shipMesh.meshVertices[pivotVertex];
    glPushMatrix();
    glTranslatef(pivot[0], pivot[1], pivot[2]);
    glRotatef(angle, 1, 0, 0);
    drawPodFaces(faces, PodFaceCount, shipMesh.partNormals, pivot);
    glPopMatrix();
}

float liftedOffPlane(float y) { return y > 0 ? y + LineLift : y - LineLift; }

void lineEnd(int code, int vertex)
{
    const float* p = shipMesh.meshVertices[vertex];
    setMaterial(code);
    glNormal3fv(shipMesh.hullNormals[vertex]);
    glVertex3f(p[0], liftedOffPlane(p[1]), p[2]);
}

// On during every whole second of T that is a multiple of 3; the truncation
// stays in floating point, so no value of T overflows an integer.
bool lightsShowAt(float t) { return std::fmod(std::trunc(static_cast<double>(t)), BlinkPeriod) == 0.0; }

} // namespace

void drawFaces(const MeshFace* faces, int count, const float (*normals)[3])
{
    if (settings.textureDetail != NoTextureDetail)
        drawRecords<true>(faces, count, normals);
    else
        drawRecords<false>(faces, count, normals);
}

void drawPodFaces(const MeshFace* faces, int count, const float (*normals)[3], const float pivot[3])
{
    const float(*vertices)[3] = shipMesh.meshVertices;
    for (int i = 0; i < count; ++i) {
        const MeshFace& face = faces[i];
        glBegin(GL_POLYGON);
        podCorner(face.codeC, normals[face.c], vertices[face.c], pivot);
        podCorner(face.codeB, normals[face.b], vertices[face.b], pivot);
        podCorner(face.codeA, normals[face.a], vertices[face.a], pivot);
        glEnd();
    }
}

void drawMeshLines(const MeshLine* lines, int count)
{
    glPushMatrix();
    glLineWidth(LineWidth);
    glEnable(GL_BLEND);
    glBegin(GL_LINES);
    for (int i = 0; i < count; ++i) {
        lineEnd(lines[i].codeFrom, lines[i].from);
        lineEnd(lines[i].codeTo, lines[i].to);
    }
    glEnd();
    glDisable(GL_BLEND);
    glPopMatrix();
}

void drawLightPoints()
{
    glPushMatrix();
    glHint(GL_POINT_SMOOTH_HINT, GL_DONT_CARE);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_BLEND);
    glPointSize(LightPointSize);
    glBegin(GL_POINTS);
    setMaterial(WhiteLight);
    for (int vertex : shipMesh.lightPoints)
        glVertex3fv(shipMesh.meshVertices[vertex]);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SMOOTH);
    glPopMatrix();
}

void drawShip()
{
    glPushMatrix();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setMaterial(NoMaterial);  // the first corner's code is then always applied
    drawFaces(shipMesh.hullFaces, HullFaceCount, shipMesh.hullNormals);
    drawFaces(shipMesh.underPanelFaces, UnderPanelFaceCount, shipMesh.partNormals);
    drawPod(shipMesh.podFacesA, PodPivotA, warp.podAngle);   // both swing upward
    drawPod(shipMesh.podFacesB, PodPivotB, -warp.podAngle);
    drawFaces(shipMesh.rearPanelFaces, RearPanelFaceCount, shipMesh.partNormals);
    drawMeshLines(shipMesh.meshLines, MeshLineCount);
    if (lightsShowAt(SceneClock))
        drawLightPoints();
    glDisable(GL_BLEND);
    glPopMatrix();
}
