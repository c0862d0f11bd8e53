#include "render/Camera3D.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kFieldStep = 0.05f;
constexpr float kFieldLow = 0.05f;
constexpr float kFieldHigh = 9.5f;
// Rounding can leave the field a hair above its lower limit; one more step must still leave a
// usable (positive) field.
constexpr float kFieldFloor = 0.01f;
constexpr float kFrontStep = 64.0f;
constexpr float kFrontHigh = 512.0f;
constexpr float kFrontLow = 1.0f;

Vector Normalized(Vector v) {
    const float length = VectorLength(v);
    return length > 0.0f ? v * (1.0f / length) : v;
}
} // namespace

Camera3D::Camera3D() = default;

void Camera3D::PlaceOverCenter(const BoundBox& bounds) {
    const Vector center = bounds.IsEmpty() ? Vector{} : bounds.Center();
    m_position = {center.x, center.y, kStartHeight};
    m_forward = {0.0f, 0.0f, -1.0f};
    m_up = {0.0f, 1.0f, 0.0f};
    m_objects = Matrix3D::Identity();
}

void Camera3D::Orthonormalize() {
    m_forward = Normalized(m_forward);
    m_up = Normalized(m_up - m_forward * DotProduct(m_up, m_forward));
}

void Camera3D::Turn(const Vector& localAxis, bool turnMap) {
    const Vector right = Right();
    const Vector axis = right * localAxis.x + m_up * localAxis.y + m_forward * localAxis.z;
    const Matrix3D rotation = Matrix3D::Rotation(axis, kTurnStep);
    if (turnMap) {
        m_objects = rotation * m_objects;
        return;
    }
    m_forward = rotation.TransformDirection(m_forward);
    m_up = rotation.TransformDirection(m_up);
    Orthonormalize();
}

void Camera3D::TurnAbout(const Vector& axis, float angle) {
    const Matrix3D rotation = Matrix3D::Rotation(axis, angle);
    m_forward = rotation.TransformDirection(m_forward);
    m_up = rotation.TransformDirection(m_up);
    Orthonormalize();
}

void Camera3D::MouseMove(float dx, float dy, bool pull) {
    m_position += Right() * (kMouseMoveStep * dx);
    if (pull) {
        m_position -= m_forward * (kMouseMoveStep * dy);
    } else {
        m_position -= m_up * (kMouseMoveStep * dy);
    }
}

void Camera3D::MouseLook(float dx, float dy, bool reverseY) {
    if (dy != 0.0f) {
        float sign = dy > 0.0f ? -1.0f : 1.0f;
        if (reverseY) {
            sign = -sign;
        }
        TurnAbout(Right() * sign, std::fabs(dy) * kMouseTurnStep);
    }
    if (dx != 0.0f) {
        // The map's up axis as the scene shows it (the objects frame may turn the map).
        const Vector mapUp = m_objects.TransformDirection({0.0f, 0.0f, 1.0f});
        TurnAbout(mapUp * (dx > 0.0f ? -1.0f : 1.0f), std::fabs(dx) * kMouseTurnStep);
    }
}

void Camera3D::Press(Key key, bool shift, bool turnMap) {
    const Vector right = Right();
    switch (key) {
    case Key::Left:
        if (shift) {
            m_position -= right * kMoveStep;
        } else {
            Turn({0.0f, 1.0f, 0.0f}, turnMap);
        }
        break;
    case Key::Right:
        if (shift) {
            m_position += right * kMoveStep;
        } else {
            Turn({0.0f, -1.0f, 0.0f}, turnMap);
        }
        break;
    case Key::Up:
        if (shift) {
            m_position += m_up * kMoveStep;
        } else {
            Turn({1.0f, 0.0f, 0.0f}, turnMap);
        }
        break;
    case Key::Down:
        if (shift) {
            m_position -= m_up * kMoveStep;
        } else {
            Turn({-1.0f, 0.0f, 0.0f}, turnMap);
        }
        break;
    case Key::Forward:
        m_position += m_forward * kMoveStep;
        break;
    case Key::Backward:
        m_position -= m_forward * kMoveStep;
        break;
    case Key::RollLeft:
        Turn({0.0f, 0.0f, 1.0f}, turnMap);
        break;
    case Key::RollRight:
        Turn({0.0f, 0.0f, -1.0f}, turnMap);
        break;
    case Key::Stop:
        // Moves and turns are applied once per key press, so nothing keeps going.
        break;
    }
}

bool Camera3D::PressViewportKey(int digit) {
    switch (digit) {
    case 1:
        if (m_back >= 2000.0f) {
            m_back -= 1000.0f;
        } else if (m_back > 500.0f) {
            m_back -= 250.0f;
        }
        return true;
    case 2:
        if (m_back > 1000.0f && m_back < 5000.0f) {
            m_back += 1000.0f;
        } else if (m_back < 5000.0f) {
            m_back += 250.0f;
        }
        return true;
    case 3:
        if (m_front > kFrontLow) {
            m_front = std::max(m_front - kFrontStep, kFrontLow);
        }
        return true;
    case 4:
        if (m_front < kFrontHigh) {
            m_front = m_front == kFrontLow ? kFrontStep : m_front + kFrontStep;
        }
        return true;
    case 5:
        if (m_field > kFieldLow) {
            m_field = std::max(m_field - kFieldStep, kFieldFloor);
        }
        return true;
    case 6:
        if (m_field < kFieldHigh) {
            m_field += kFieldStep;
        }
        return true;
    default:
        return false;
    }
}

void Camera3D::LookFrom(const Vector& position, const Vector& target) {
    m_objects = Matrix3D::Identity();
    m_position = position;
    Vector forward = target - position;
    if (VectorLength(forward) == 0.0f) {
        forward = {0.0f, 0.0f, -1.0f};
    }
    m_forward = Normalized(forward);
    // A level horizon: up is the map's z axis turned to be square to the view. Looking
    // straight down or up there is no horizon; the view's up is then the map's y axis, as the
    // top 2D view shows it.
    Vector up{0.0f, 0.0f, 1.0f};
    if (std::fabs(DotProduct(up, m_forward)) > 0.9999f) {
        up = {0.0f, m_forward.z < 0.0f ? 1.0f : -1.0f, 0.0f};
    }
    m_up = up;
    Orthonormalize();
}

Matrix3D Camera3D::ViewMatrix() const {
    const Vector right = Right();
    Matrix3D view;
    const Vector rows[3] = {right, m_up, -m_forward};
    for (int row = 0; row < 3; ++row) {
        view.At(row, 0) = rows[row].x;
        view.At(row, 1) = rows[row].y;
        view.At(row, 2) = rows[row].z;
        view.At(row, 3) = -DotProduct(rows[row], m_position);
    }
    return view;
}

Matrix3D Camera3D::Projection(int width, int height) const {
    const float w = static_cast<float>(std::max(width, 1));
    const float h = static_cast<float>(std::max(height, 1));
    // The field applies to the larger side of the picture.
    float halfWidth = m_field;
    float halfHeight = m_field;
    if (w >= h) {
        halfHeight = m_field * h / w;
    } else {
        halfWidth = m_field * w / h;
    }
    const float n = m_front;
    const float f = std::max(m_back, m_front + 1.0f);
    Matrix3D p;
    p.m.fill(0.0f);
    p.At(0, 0) = 1.0f / halfWidth;
    p.At(1, 1) = 1.0f / halfHeight;
    p.At(2, 2) = -(f + n) / (f - n);
    p.At(2, 3) = -2.0f * f * n / (f - n);
    p.At(3, 2) = -1.0f;
    return p;
}
