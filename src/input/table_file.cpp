#include "input/table_file.hpp"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "input/records.hpp"
#include "input/table_shape.hpp"

namespace rankora {
namespace {

using namespace table_reading;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads every record after the shape is known.
class TableReader {
 public:
  TableReader(DataBytes& bytes, std::size_t start, char separator, const Shape& shape,
              JudgesAre judges_are, MatrixView mat, std::int32_t max_judges,
              std::int32_t max_objects)
      : bytes_(bytes),
        start_(start),
        separator_(separator),
        shape_(shape),
        judges_are_(judges_are),
        mat_(mat),
        max_judges_(max_judges),
        max_objects_(max_objects) {}

  TableFile read() {
    Records records(bytes_, start_, separator_);
    if (shape_.header) {
      std::vector<Field> fields;
      records.next(fields);
      drop_trailing_field(fields, shape_.trailing_separator);
      header_line_ = records.line();
      for (const Field& field : fields) header_.push_back(field.value_text());
    }
    while (records.start_line()) record(records);
    return finish();
  }

 private:
  static constexpr std::size_t kNone = std::size_t(-1);

  std::size_t name_fields() const { return shape_.name_column ? 1 : 0; }
  // The header's first field is the corner above the names, not a name of values.
  std::size_t corner() const { return shape_.name_column && header_.size() == width_ ? 1 : 0; }

  bool rows() const { return judges_are_ == JudgesAre::Rows; }

  // One line, its fields taken as they come. An empty field waits for what follows it: a
  // line of empty fields is a blank line, and an empty last field may be the trailing
  // separator's.
  void record(Records& records) {
    const std::int64_t line = records.line();
    std::size_t count = 0;
    std::size_t first_empty = kNone;  // before anything else on the line
    std::size_t pending = kNone;      // an empty field after something
    bool something = false;
    for (Field field; records.next_field(field); ++count) {
      const std::size_t f = count;
      if (!something) {
        if (field.empty()) {
          if (first_empty == kNone) first_empty = f;
          continue;
        }
        something = true;
        start_record(line);
        // An empty first field of a column of names is a name; any other empty field is
        // a missing value.
        if (first_empty == 0 && shape_.name_column) take(Field{}, line, 0);
        if (first_empty != kNone && std::max(first_empty, name_fields()) < f) {
          missing(line, std::max(first_empty, name_fields()));
        }
      }
      if (pending != kNone) missing(line, pending);
      if (field.empty()) {
        pending = f;
        continue;
      }
      take(field, line, f);
    }
    if (!something) return;  // a blank line
    if (pending == count - 1 && shape_.trailing_separator) {
      --count;
      pending = kNone;
    }
    end_record(line, count);
    if (pending != kNone) missing(line, pending);
  }

  void start_record(std::int64_t line) {
    ++records_;
    // Past the capacity, only the records are counted, for the message.
    too_large_ = too_large_ || records_ > (rows() ? max_judges_ : max_objects_);
    if (shape_.name_column) first_column_lines_.push_back(line);
    if (too_large_) return;
    // Judge j's values lie ld apart in mat, an object's side by side.
    const auto record = static_cast<int>(records_);
    out_ = rows() ? &mat_(record, 1) : &mat_(1, record);
    out_step_ = rows() ? mat_.ld() : 1;
  }

  void end_record(std::int64_t line, std::size_t count) {
    if (width_ == 0) {
      width_ = count;
      width_line_ = line;
      check_header();
      too_large_ = too_large_ || per_record() > (rows() ? max_objects_ : max_judges_);
    } else if (count != width_ && !too_large_) {
      TableProblem problem = at(Kind::Ragged, line, 0);
      problem.count = static_cast<std::int64_t>(count - name_fields());
      problem.expected = per_record();
      problem.other_line = width_line_;
      fail(problem);
    }
  }

  std::int64_t per_record() const { return static_cast<std::int64_t>(width_ - name_fields()); }

  [[noreturn]] void missing(std::int64_t line, std::size_t f) const {
    fail(at(Kind::Missing, line, f));
  }

  // Field f of the record being read: its name, or its value where mat has room for it.
  void take(const Field& field, std::int64_t line, std::size_t f) {
    if (f < name_fields()) {
      first_column_.push_back(field.value_text());
      return;
    }
    const auto v = static_cast<std::int64_t>(f - name_fields());
    const std::int64_t room = width_ == 0 ? (rows() ? max_objects_ : max_judges_) : per_record();
    if (too_large_ || v >= room) return;  // the record is refused once its end is seen
    value(field, line, f);
  }

  void value(const Field& field, std::int64_t line, std::size_t f) {
    double number = field.number;
    if (field.read) {
      // Half the values of a file may have a point and half not: no branch on each one.
      const bool to_note = field.point & ((first_point_.line == 0) | (first_comma_.line != 0));
      if (to_note) note_mark(Mark::Point, field.text, line, f);
    } else {
      const std::string_view text = trimmed(field.text);
      Mark mark = Mark::None;
      if (!read_value(text, separator_, number, mark)) {
        TableProblem problem =
            at(is_missing_mark(text) ? Kind::Missing : Kind::NotANumber, line, f);
        problem.text = shown(text);
        fail(problem);
      }
      if (mark != Mark::None) note_mark(mark, text, line, f);
    }
    *out_ = number;
    out_ += out_step_;
  }

  // A file has one decimal mark: 1.234 in a file of decimal commas is a thousand.
  void note_mark(Mark mark, std::string_view text, std::int64_t line, std::size_t f) {
    Place& mine = mark == Mark::Comma ? first_comma_ : first_point_;
    const Place& other = mark == Mark::Comma ? first_point_ : first_comma_;
    if (mine.line != 0 && other.line == 0) return;
    if (other.line != 0) {
      TableProblem problem = at(Kind::MixedDecimalMarks, line, f);
      problem.text = shown(text);
      problem.other_line = other.line;
      problem.other_field = other.field;
      problem.other_text = other.text;
      fail(problem);
    }
    mine = {line, static_cast<std::int32_t>(f + 1), shown(text)};
  }

  void check_header() {
    if (!shape_.header) return;
    const std::size_t names = header_.size();
    const bool fits = names == width_ || (shape_.name_column && names + 1 == width_);
    if (!fits) {
      TableProblem problem = at(Kind::HeaderCount, header_line_, 0);
      problem.count = static_cast<std::int64_t>(names);
      problem.expected = static_cast<std::int64_t>(width_ - name_fields());
      problem.other_line = width_line_;
      fail(problem);
    }
  }

  // A problem at field f (from 0) of the record on `line`, with its judge and object.
  TableProblem at(Kind kind, std::int64_t line, std::size_t f) const {
    TableProblem problem;
    problem.kind = kind;
    problem.line = line;
    problem.field = static_cast<std::int32_t>(f + 1);
    problem.separator = separator_;
    problem.judges_are = judges_are_;
    if (f >= name_fields() && kind != Kind::Ragged && kind != Kind::HeaderCount) {
      const auto record = static_cast<std::int32_t>(records_);
      const auto value = static_cast<std::int32_t>(f - name_fields() + 1);
      problem.judge = judges_are_ == JudgesAre::Rows ? record : value;
      problem.object = judges_are_ == JudgesAre::Rows ? value : record;
    }
    return problem;
  }

  TableFile finish() {
    if (records_ == 0) {
      TableProblem problem;
      problem.kind = shape_.header ? Kind::NamesOnly : Kind::Empty;
      problem.line = header_line_;
      fail(problem);
    }
    const auto per_record = static_cast<std::int64_t>(width_ - name_fields());
    const bool rows = judges_are_ == JudgesAre::Rows;
    TableProblem size;
    size.judges_are = judges_are_;
    size.judges = rows ? records_ : per_record;
    size.objects = rows ? per_record : records_;
    if (size.judges < 2 || size.objects < 2) {
      size.kind = Kind::TooFew;
      fail(size);
    }
    if (too_large_) {
      size.kind = Kind::TooMany;
      fail(size);
    }
    table_.judges_are = judges_are_;
    table_.layout = {separator_, first_comma_.line != 0, shape_.header, shape_.name_column};
    table_.judges = static_cast<std::int32_t>(size.judges);
    table_.objects = static_cast<std::int32_t>(size.objects);
    std::vector<std::string> header_names;
    if (shape_.header) {
      header_names.assign(header_.begin() + static_cast<std::ptrdiff_t>(corner()), header_.end());
    }
    check_unique(first_column_, rows, true);
    check_unique(header_names, !rows, false);
    table_.judge_names = rows ? std::move(first_column_) : std::move(header_names);
    table_.object_names = rows ? std::move(header_names) : std::move(first_column_);
    return std::move(table_);
  }

  void check_unique(const std::vector<std::string>& names, bool of_judges, bool in_column) const {
    std::unordered_map<std::string_view, std::size_t> seen;
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (names[k].empty()) continue;
      const auto [it, fresh] = seen.emplace(names[k], k);
      if (fresh) continue;
      TableProblem problem;
      problem.kind = Kind::DuplicateName;
      problem.names_of_judges = of_judges;
      problem.names_in_column = in_column;
      problem.text = shown(names[k]);
      problem.count = static_cast<std::int64_t>(it->second + 1);
      problem.expected = static_cast<std::int64_t>(k + 1);
      if (in_column) {
        problem.line = first_column_lines_[it->second];
        problem.other_line = first_column_lines_[k];
      } else {
        problem.line = header_line_;
        problem.field = static_cast<std::int32_t>(it->second + corner() + 1);
        problem.other_field = static_cast<std::int32_t>(k + corner() + 1);
      }
      fail(problem);
    }
  }

  struct Place {
    std::int64_t line = 0;
    std::int32_t field = 0;
    std::string text;
  };

  DataBytes& bytes_;
  std::size_t start_;
  char separator_;
  Shape shape_;
  JudgesAre judges_are_;
  MatrixView mat_;
  std::int64_t max_judges_;
  std::int64_t max_objects_;
  double* out_ = nullptr;  // where the next value goes
  int out_step_ = 1;
  TableFile table_;
  std::vector<std::string> header_;
  std::int64_t header_line_ = 0;
  std::vector<std::string> first_column_;
  std::vector<std::int64_t> first_column_lines_;
  std::size_t width_ = 0;  // fields of every record, names included
  std::int64_t width_line_ = 0;
  std::int64_t records_ = 0;
  bool too_large_ = false;
  Place first_comma_;
  Place first_point_;
};

}  // namespace

TableFile read_table_file(DataBytes& bytes, JudgesAre judges_are, MatrixView mat,
                          std::int32_t max_judges, std::int32_t max_objects) {
  // Enough of the beginning to know its marks.
  while (bytes.view().size() < kByteOrderMark.size() && bytes.more()) {
  }
  const std::string_view head = bytes.view();
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
    TableProblem problem;
    problem.kind = Kind::Utf16;
    fail(problem);
  }
  const std::size_t start = head.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  const char separator = find_separator(bytes, start);
  return TableReader(bytes, start, separator, find_shape(bytes, start, separator), judges_are, mat,
                     max_judges, max_objects)
      .read();
}

}  // namespace rankora
