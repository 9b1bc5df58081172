#pragma once
// A dense n-by-n matrix of doubles, row-major and contiguous, indexed from 0.

#include <cstddef>
#include <vector>

namespace el::engine {

template <typename T>
class Square {
public:
    Square() = default;
    explicit Square(int n, T fill = T{})
        : n_(n), cells_(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), fill) {}

    int size() const { return n_; }
    // Makes the matrix n by n, keeping the storage it has: cells are left as they were, to
    // be overwritten by the caller.
    void resize(int n) {
        n_ = n;
        cells_.resize(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    }
    T& operator()(int i, int j) { return cells_[at(i, j)]; }
    const T& operator()(int i, int j) const { return cells_[at(i, j)]; }
    T* row(int i) { return cells_.data() + at(i, 0); }
    const T* row(int i) const { return cells_.data() + at(i, 0); }
    std::vector<T>& cells() { return cells_; }
    const std::vector<T>& cells() const { return cells_; }

private:
    std::size_t at(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(n_) + static_cast<std::size_t>(j);
    }

    int n_ = 0;
    std::vector<T> cells_;
};

using SquareMatrix = Square<double>;
using CountMatrix = Square<int>;

}  // namespace el::engine
