#include "tools/testimage/geometry.h"

#include <algorithm>
#include <cmath>

namespace testimage {

Rect Union(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

Homography::Homography() : m_{1, 0, 0, 0, 1, 0, 0, 0, 1} {}

Homography Homography::Translation(double dx, double dy) {
    Homography h;
    h.m_[2] = dx;
    h.m_[5] = dy;
    return h;
}

Homography Homography::Rotation(double radians) {
    Homography h;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    h.m_[0] = c;
    h.m_[1] = -s;
    h.m_[3] = s;
    h.m_[4] = c;
    return h;
}

Homography Homography::Keystone(double px, double py) {
    Homography h;
    h.m_[6] = px;
    h.m_[7] = py;
    return h;
}

Homography Homography::operator*(const Homography& right) const {
    Homography product;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) sum += m_[3 * r + k] * right.m_[3 * k + c];
            product.m_[3 * r + c] = sum;
        }
    }
    return product;
}

Homography Homography::Inverse() const {
    const double* a = m_;
    Homography inverse;
    double* b = inverse.m_;
    b[0] = a[4] * a[8] - a[5] * a[7];
    b[1] = a[2] * a[7] - a[1] * a[8];
    b[2] = a[1] * a[5] - a[2] * a[4];
    b[3] = a[5] * a[6] - a[3] * a[8];
    b[4] = a[0] * a[8] - a[2] * a[6];
    b[5] = a[2] * a[3] - a[0] * a[5];
    b[6] = a[3] * a[7] - a[4] * a[6];
    b[7] = a[1] * a[6] - a[0] * a[7];
    b[8] = a[0] * a[4] - a[1] * a[3];
    // The maps used here are near the identity, so the determinant is far from 0.
    const double determinant = a[0] * b[0] + a[1] * b[3] + a[2] * b[6];
    for (double& value : inverse.m_) value /= determinant;
    return inverse;
}

Point Homography::Map(double x, double y) const {
    const double w = m_[6] * x + m_[7] * y + m_[8];
    return {(m_[0] * x + m_[1] * y + m_[2]) / w, (m_[3] * x + m_[4] * y + m_[5]) / w};
}

}  // namespace testimage
