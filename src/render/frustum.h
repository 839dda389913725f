#ifndef GELMARCH_RENDER_FRUSTUM_H
#define GELMARCH_RENDER_FRUSTUM_H

class MatrixStack;

enum FrustumPlane { kPlaneRight = 0, kPlaneLeft, kPlaneBottom, kPlaneTop, kPlaneFar, kPlaneNear };

// The six normalised view planes (a, b, c, d); a*x + b*y + c*z + d is positive inside.
class Frustum {
public:
    float planes[6][4];

    Frustum();
    // Rebuild from clip = projection * modelview.
    void extract(const MatrixStack& projection, const MatrixStack& modelview);
    float distance(float x, float y, float z, int plane) const;
    // False as soon as one plane has the whole sphere outside (a touching sphere counts as outside).
    bool sphereVisible(float x, float y, float z, float radius) const;
    // Window pixels from the bottom-left, truncated; size is always 50.
    void toScreen(float x, float y, float z, int& screenX, int& screenY, int& size, int width, int height) const;
};

#endif
