// Plane projective maps: the small rotation and keystone of the camera's view.
#pragma once

namespace testimage {

inline constexpr double Pi = 3.14159265358979323846;

struct Point {
    double x = 0;
    double y = 0;
};

// Rectangle in continuous coordinates; right and bottom are the far edges.
struct Rect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    double CentreX() const { return (left + right) / 2; }
    Rect Grown(double by) const { return {left - by, top - by, right + by, bottom + by}; }
    bool Overlaps(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Smallest rectangle holding both.
Rect Union(const Rect& a, const Rect& b);

// 3 x 3 matrix acting on (x, y, 1), row-major.
class Homography {
public:
    Homography();  // identity
    static Homography Translation(double dx, double dy);
    static Homography Rotation(double radians);
    // Keystone: the far side of the view shrinks by (px x + py y).
    static Homography Keystone(double px, double py);

    Homography operator*(const Homography& right) const;
    Homography Inverse() const;
    Point Map(double x, double y) const;

private:
    double m_[9];
};

}  // namespace testimage
