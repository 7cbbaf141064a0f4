// A view of a column-major matrix of doubles: the row (judge) index varies fastest and
// columns lie `ld` elements apart. Indices are 1-based, as judges and objects are
// numbered in the report.
#pragma once

#include <cstddef>

namespace rankora {

class MatrixView {
 public:
  MatrixView(double* data, int ld) : data_(data), ld_(ld) {}

  double& operator()(int row, int col) const {
    return data_[static_cast<std::ptrdiff_t>(col - 1) * ld_ + (row - 1)];
  }
  // The first element of column `col`.
  double* column(int col) const { return &(*this)(1, col); }
  double* data() const { return data_; }
  // How far apart a row's elements lie.
  int ld() const { return ld_; }

 private:
  double* data_;
  int ld_;
};

}  // namespace rankora
