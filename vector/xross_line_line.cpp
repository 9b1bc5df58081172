#include "vector/vector_file.hpp"

namespace el::vec {

// Solves A1 + t (A2 - A1) = C1 + s (C2 - C1) and accepts both ends of both segments,
// with no tolerance, so touching segments meet and parallel ones never do.
int xross_line_line(double xa1, double ya1, double xa2, double ya2, double xc1, double yc1, double xc2, double yc2) {
    const double dxa = xa2 - xa1;
    const double dya = ya2 - ya1;
    const double dxc = xc2 - xc1;
    const double dyc = yc2 - yc1;
    const double det = dya * dxc - dyc * dxa;
    if (det == 0) return 0;
    const double s = (dya * xa1 - dxa * ya1 + dxa * yc1 - dya * xc1) / det;
    const double t = -(dyc * xc1 - dxc * yc1 + dxc * ya1 - dyc * xa1) / det;
    return (s >= 0 && s <= 1 && t >= 0 && t <= 1) ? 1 : 0;
}

}  // namespace el::vec
