#include "input/lecture.hpp"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "report/records.hpp"
#include "report/screen.hpp"
#include "runtime/list_read.hpp"
#include "runtime/process.hpp"
#include "runtime/units.hpp"

namespace rankora {
namespace {

constexpr std::size_t kNameLength = 79;
using FileName = std::array<char, kNameLength>;

// Loops until the size is one we can analyse; too large a table stops the run.
void ask_size(std::int32_t& njudge, std::int32_t& nobj, std::int32_t maxobj, std::int32_t maxj,
              std::int32_t lang) {
  for (;;) {
    report::show_size_question(lang);
    rt::ListRead answer(rt::kKeyboardUnit);
    answer.read(njudge);
    answer.read(nobj);
    answer.finish();
    if (nobj > maxobj) {
      report::show_too_many_objects(lang);
      rt::stop("2");
    }
    if (njudge > maxj) {
      report::show_too_many_judges(lang);
      rt::stop("3");
    }
    // Fewer than two of either leaves every statistic a division by zero.
    if (njudge >= 2 && nobj >= 2) return;
    report::show_too_few(lang);
  }
}

std::int32_t ask_orientation(std::int32_t lang) {
  std::int32_t orient = 1;
  report::show_orientation_question(lang);
  rt::ListRead answer(rt::kKeyboardUnit);
  answer.read(orient);
  answer.finish();
  return orient;
}

FileName ask_file_name(std::int32_t lang) {
  FileName fname;
  fname.fill(' ');
  report::show_file_name_question(lang);
  rt::ListRead answer(rt::kKeyboardUnit);
  answer.read(std::span<char>(fname));
  answer.finish();
  return fname;
}

// One read statement per record: each record starts on a new line.
void read_table(MatrixView mat, std::int32_t njudge, std::int32_t nobj, bool judges_are_rows) {
  const std::int32_t records = judges_are_rows ? njudge : nobj;
  const std::int32_t values = judges_are_rows ? nobj : njudge;
  for (std::int32_t r = 1; r <= records; ++r) {
    rt::ListRead record(rt::kDataUnit);
    for (std::int32_t v = 1; v <= values; ++v) {
      record.read(judges_are_rows ? mat(r, v) : mat(v, r));
    }
    record.finish();
  }
}

}  // namespace

void lecture(std::int32_t& nobj, std::int32_t& njudge, std::int32_t& nobj2, MatrixView mat,
             MatrixView table, std::int32_t maxobj, std::int32_t maxj, std::int32_t lang) {
  ask_size(njudge, nobj, maxobj, maxj, lang);
  nobj2 = nobj;
  report::show_empty_line();
  const std::int32_t orient = ask_orientation(lang);
  report::show_empty_line();
  const FileName fname = ask_file_name(lang);
  const std::string_view name(fname.data(), fname.size());

  rt::open_old(rt::kDataUnit, name);
  report::write_data_file_line(rt::kScreenUnit, lang, name);
  report::write_data_file_line(rt::kReportUnit, lang, name);
  read_table(mat, njudge, nobj, orient == 1);
  rt::close_unit(rt::kDataUnit);
  report::write_blank_line(rt::kReportUnit);

  for (std::int32_t j = 1; j <= nobj; ++j) std::copy_n(mat.column(j), njudge, table.column(j));
}

}  // namespace rankora
