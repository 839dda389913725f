#ifndef GELMARCH_RENDER_MATRIX_STACK_H
#define GELMARCH_RENDER_MATRIX_STACK_H

// 16 floats, column-major: row r, column c at m[c*4 + r]. Uploaded with transpose false.
struct Matrix4 {
    float m[16];
};

// Degrees to radians the way every caller in the game does it: the float constant, the product in double,
// rounded to float before the trig call.
float degToRad(float degrees);

// A current matrix plus a bounded save stack. `current` is the first member so the object's address is the
// address of the 16 floats handed to glUniformMatrix4fv.
class MatrixStack {
public:
    Matrix4 current;
    int capacity;
    int depth;
    Matrix4* saved;

    MatrixStack();
    explicit MatrixStack(int capacity);
    ~MatrixStack();

    void loadIdentity();
    // current = current * m; m may alias current.
    void multiply(const Matrix4& m);
    void translate(float x, float y, float z);
    void scale(float x, float y, float z);
    // Rotation by degrees about an axis that is used as given (not normalised), as glRotate.
    void rotate(float angle, float x, float y, float z);
    // Replace current; they do not compose.
    void perspective(float fovy, float aspect, float zNear, float zFar);
    void ortho(float left, float right, float bottom, float top, float zNear, float zFar);
    // Full push and empty pop do nothing.
    void push();
    void pop();

private:
    MatrixStack(const MatrixStack&);
    MatrixStack& operator=(const MatrixStack&);
};

#endif
