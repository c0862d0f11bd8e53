#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector.h"
#include "render/Matrix3D.h"

// The camera of the 3D view and the frame that carries the map's objects, in map
// coordinates. The camera has a position and three axes: right, up and forward (the
// direction it looks). The objects frame turns the whole map about the map's origin (Ctrl with
// the turning keys). The viewport keeps the front and back planes and the field of view: the
// half size of the picture's larger side at distance 1 from the eye.
class Camera3D {
public:
    // Where a new view looks from: this high above the centre of the world, straight down,
    // with the map's y axis pointing up on screen (as the top 2D view shows it).
    static constexpr float kStartHeight = 2000.0f;
    static constexpr float kStartBack = 5000.0f;
    static constexpr float kStartFront = 1.0f;
    static constexpr float kStartField = 0.5f;
    // One press of a moving key moves this far, one press of a turning key turns this much.
    static constexpr float kMoveStep = 50.0f;
    static constexpr float kTurnStep = 0.05f;

    // The camera keys: arrows (turn, or move with Shift), D forward, C backward, F and S roll,
    // Escape stops.
    enum class Key { Left, Right, Up, Down, Forward, Backward, RollLeft, RollRight, Stop };

    Camera3D();

    // Puts the camera at (cx, cy, 2000) for the centre (cx, cy) of bounds (the origin for an
    // empty box), looking down, and turns the map back to its own orientation.
    void PlaceOverCenter(const BoundBox& bounds);
    // One key press. A turn is about one of the camera's own axes; with turnMap it turns the
    // objects frame about that axis through the map's origin instead of the camera. Shift
    // makes the arrows move the camera instead of turning it.
    void Press(Key key, bool shift, bool turnMap);
    // Viewport keys 1 to 6 (back plane, front plane, field of view, each with its limits).
    // False for any other digit.
    bool PressViewportKey(int digit);
    // The Camera tool's mouse, for a pointer move of dx, dy pixels (y down). A move drag moves
    // the camera 2 units a pixel across and up the view, or with pull across and along the
    // view. A look drag turns it about its own horizontal axis (the other way with reverseY)
    // and about the map's up axis, 0.006 radian a pixel.
    static constexpr float kMouseMoveStep = 2.0f;
    static constexpr float kMouseTurnStep = 0.006f;
    void MouseMove(float dx, float dy, bool pull);
    void MouseLook(float dx, float dy, bool reverseY);
    // Puts the camera at position looking at target with a level horizon: the map's z axis as
    // near to up as the direction allows, or the map's y axis when looking straight down or
    // up (the camera tool's placement); the map turns back to its own orientation.
    void LookFrom(const Vector& position, const Vector& target);

    const Vector& Position() const { return m_position; }
    void SetPosition(const Vector& position) { m_position = position; }
    const Vector& Forward() const { return m_forward; }
    const Vector& Up() const { return m_up; }
    Vector Right() const { return CrossProduct(m_forward, m_up); }
    // Map coordinates to scene coordinates (the turn of the objects frame).
    const Matrix3D& ObjectsMatrix() const { return m_objects; }

    float Back() const { return m_back; }
    float Front() const { return m_front; }
    float Field() const { return m_field; }
    void SetBack(float back) { m_back = back; }
    void SetFront(float front) { m_front = front; }
    void SetField(float field) { m_field = field; }

    // Scene coordinates to eye coordinates (x right, y up, looking along -z).
    Matrix3D ViewMatrix() const;
    // Eye coordinates to clip coordinates for a picture of width x height pixels.
    Matrix3D Projection(int width, int height) const;

private:
    void Turn(const Vector& localAxis, bool turnMap);
    void TurnAbout(const Vector& axis, float angle);
    void Orthonormalize();

    Vector m_position{0.0f, 0.0f, kStartHeight};
    Vector m_forward{0.0f, 0.0f, -1.0f};
    Vector m_up{0.0f, 1.0f, 0.0f};
    Matrix3D m_objects;
    float m_back = kStartBack;
    float m_front = kStartFront;
    float m_field = kStartField;
};
