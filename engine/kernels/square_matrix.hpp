#pragma once
// A dense n-by-n matrix of doubles, row-major and contiguous, indexed from 0.

#include <cstddef>
#include <vector>

namespace el::engine {

template <typename T>
class Square {
public:
    Square() = default;
    explicit Square(int n, T fill = T{}) : n_(n), cells_(static_cast<std::size_t>(n) * n, fill) {}

    int size() const { return n_; }
    // Makes the matrix n by n, keeping the storage it has: cells are left as they were, to
    // be overwritten by the caller.
    void resize(int n) {
        n_ = n;
        cells_.resize(static_cast<std::size_t>(n) * n);
    }
    T& operator()(int i, int j) { return cells_[static_cast<std::size_t>(i) * n_ + j]; }
    const T& operator()(int i, int j) const { return cells_[static_cast<std::size_t>(i) * n_ + j]; }
    T* row(int i) { return cells_.data() + static_cast<std::size_t>(i) * n_; }
    const T* row(int i) const { return cells_.data() + static_cast<std::size_t>(i) * n_; }
    std::vector<T>& cells() { return cells_; }
    const std::vector<T>& cells() const { return cells_; }

private:
    int n_ = 0;
    std::vector<T> cells_;
};

using SquareMatrix = Square<double>;
using CountMatrix = Square<int>;

}  // namespace el::engine
