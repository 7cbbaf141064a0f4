#include "input/table_file.hpp"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

#include "runtime/decimal.hpp"

namespace rankora {
namespace {

using Kind = TableProblem::Kind;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The lines that show the separator, the names and the trailing separators, as the first
// lines of a file show a reader what it holds.
constexpr int kSniffLines = 10;
constexpr std::size_t kShownLength = 40;  // characters of a field quoted in a message

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_line_end(char c) { return c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string shown(std::string_view text) {
  return std::string(text.substr(0, kShownLength)) + (text.size() > kShownLength ? "..." : "");
}

[[noreturn]] void fail(TableProblem problem) { throw TableFileError(std::move(problem)); }

// One field as its line holds it.
struct Field {
  std::string_view text;  // between its quotes, or trimmed of blanks
  bool quoted = false;
  bool doubled_quotes = false;  // "" inside the quotes, which stands for one
  // A usual number (37, -4.5) is read as the field is found: the text is gone through once.
  bool read = false;
  bool point = false;  // the number read had a decimal point
  double number = 0.0;

  bool empty() const { return !quoted && text.empty(); }
  // The field's text as a name or a value: a doubled quote is one, blanks around go.
  std::string value_text() const {
    std::string out;
    const std::string_view inner = trimmed(text);
    for (std::size_t i = 0; i < inner.size(); ++i) {
      out.push_back(inner[i]);
      if (doubled_quotes && inner[i] == '"') ++i;
    }
    return out;
  }
};

// The records of a text, one a line; a quoted field may hold line ends. `separator` ' '
// separates fields by runs of blanks and tabs, any other by each of its occurrences.
class Records {
 public:
  // From byte `start` of `source` (after a byte-order mark), reading on as it goes.
  Records(DataBytes& source, std::size_t start, char separator)
      : source_(source), text_(source.view()), separator_(separator), pos_(start) {
    for (char c : {'\n', '\r', separator}) ends_field_[static_cast<unsigned char>(c)] = true;
    if (separator == ' ') ends_field_['\t'] = true;
  }

  // The next record with something on it into `fields`: false at the end of the text. A
  // line of nothing but blanks and separators is a blank line.
  bool next(std::vector<Field>& fields) {
    while (start_line()) {
      fields.clear();
      bool something = false;
      for (Field field; next_field(field);) {
        something = something || !field.empty();
        fields.push_back(field);
      }
      if (something) return true;
    }
    return false;
  }

  // The same a field at a time, which a caller takes as it comes (a record of the
  // capacity's 2000 values, kept whole, would leave the processor's first cache): false at
  // the end of the text, then next_field() until it is false at the line's end. Blank
  // lines are the caller's to skip.
  bool start_line() {
    if (!has(pos_)) return false;
    line_ = next_line_;
    fields_ = 0;
    line_done_ = false;
    read_to_line_end();
    return true;
  }
  bool next_field(Field& field) {
    if (line_done_) return false;
    skip_blanks();
    if (separator_ == ' ' && is_line_end(at(pos_))) {
      end_line();
      return false;
    }
    ++fields_;
    const bool quoted = at(pos_) == '"';
    field = quoted ? quoted_field(fields_) : plain_field();
    if (quoted) read_to_line_end();  // its line ends may have taken the one seen
    if (separator_ == ' ') return true;
    if (at(pos_) == separator_) {
      ++pos_;
    } else {
      end_line();  // the last field of its line
    }
    return true;
  }

  // The line where the last record starts, from 1.
  std::int64_t line() const { return line_; }

 private:
  // Whether byte k is there, reading on when it may be.
  bool has(std::size_t k) {
    while (k >= text_.size()) {
      if (!source_.more()) return false;
      text_ = source_.view();
    }
    return true;
  }
  char at(std::size_t k) { return has(k) ? text_[k] : '\n'; }
  bool blank_in_field(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }

  // Reads on until a line end stands after pos_: the fields of a line, and the numbers in
  // them, are then whole in text_.
  void read_to_line_end() {
    for (std::size_t from = pos_;; from = text_.size()) {
      const std::string_view rest = text_.substr(std::min(from, text_.size()));
      if (rest.find('\n') != std::string_view::npos || rest.find('\r') != std::string_view::npos) {
        return;
      }
      if (!has(text_.size())) return;
    }
  }

  void skip_blanks() {
    while (has(pos_) && blank_in_field(text_[pos_])) ++pos_;
  }

  void skip_line_end() {
    if (!has(pos_)) return;
    if (text_[pos_] == '\r' && at(pos_ + 1) == '\n') ++pos_;
    ++pos_;
    ++next_line_;
  }

  void end_line() {
    skip_line_end();
    line_done_ = true;
  }

  // Up to the separator or the line's end, less the blanks before them.
  Field plain_field() {
    Field field;
    const rt::ShortDecimal quick = rt::short_decimal(text_.substr(pos_), '.', field.number);
    if (quick.taken > 0 && ends_field_[static_cast<unsigned char>(at(pos_ + quick.taken))]) {
      field.text = text_.substr(pos_, quick.taken);
      field.read = true;
      field.point = quick.mark;
      pos_ += quick.taken;
      return field;
    }
    const char* const begin = text_.data();
    const char* p = begin + pos_;
    const char* const end = begin + text_.size();
    const char* const start = p;
    while (p < end && !ends_field_[static_cast<unsigned char>(*p)]) ++p;
    pos_ = static_cast<std::size_t>(p - begin);
    while (p > start && is_blank(p[-1])) --p;
    field.text = {start, static_cast<std::size_t>(p - start)};
    return field;
  }

  Field quoted_field(std::size_t field_number) {
    const std::size_t open = pos_++;
    const std::int64_t open_line = next_line_;
    Field field;
    field.quoted = true;
    for (;;) {
      std::size_t close = text_.find('"', pos_);
      for (std::size_t searched = text_.size(); close == std::string_view::npos && has(searched);
           searched = text_.size()) {
        close = text_.find('"', searched);
      }
      if (close == std::string_view::npos) {
        const std::string_view rest = text_.substr(open);
        TableProblem problem;
        problem.kind = Kind::QuoteNotClosed;
        problem.line = open_line;
        problem.field = static_cast<std::int32_t>(field_number);
        problem.text = shown(rest.substr(0, rest.find_first_of("\r\n")));
        fail(problem);
      }
      count_line_ends(pos_, close);
      if (at(close + 1) == '"') {
        field.doubled_quotes = true;
        pos_ = close + 2;
        continue;
      }
      field.text = text_.substr(open + 1, close - open - 1);
      pos_ = close + 1;
      break;
    }
    // Blanks may follow the quote, then its separator; with blanks as separators, a blank.
    if (separator_ != ' ') skip_blanks();
    const char next = at(pos_);
    if (!is_line_end(next) && next != separator_ && !(separator_ == ' ' && is_blank(next))) {
      TableProblem problem;
      problem.kind = Kind::TextAfterQuote;
      problem.line = open_line;
      problem.field = static_cast<std::int32_t>(field_number);
      const std::string_view rest = text_.substr(open);
      const char stops[] = {separator_, '\r', '\n', '\0'};
      problem.text = shown(rest.substr(0, rest.find_first_of(stops)));
      fail(problem);
    }
    return field;
  }

  // Line ends inside a quoted field still count as lines.
  void count_line_ends(std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
      if (text_[k] == '\n' || (text_[k] == '\r' && at(k + 1) != '\n')) ++next_line_;
    }
  }

  DataBytes& source_;
  std::string_view text_;  // what source_ has read so far
  char separator_;
  std::array<bool, 256> ends_field_{};  // the bytes that end a field not quoted
  std::size_t pos_ = 0;
  std::int64_t next_line_ = 1;
  std::int64_t line_ = 0;
  std::size_t fields_ = 0;  // of the line being read
  bool line_done_ = true;
};

// What the first lines show of each separator, outside quotes.
struct LineShape {
  bool semicolon = false;
  bool tab = false;
  bool comma = false;
  // Blanks between values and commas only between digits, one to a value: 36,5 40,1
  bool blanks_and_decimal_commas = true;
  bool inner_blank = false;
};

char separator_on_every_line(std::string_view text) {
  bool all_semicolon = true, all_tab = true, all_comma = true, all_decimal_commas = true;
  int lines = 0;
  LineShape line;
  bool something = false, in_quote = false, blank_pending = false;
  int commas_in_value = 0;
  const auto end_line = [&] {
    if (something) {
      ++lines;
      all_semicolon = all_semicolon && line.semicolon;
      all_tab = all_tab && line.tab;
      all_comma = all_comma && line.comma;
      all_decimal_commas = all_decimal_commas && line.blanks_and_decimal_commas && line.inner_blank;
    }
    line = LineShape();
    something = blank_pending = false;
    commas_in_value = 0;
  };
  for (std::size_t i = 0; i < text.size() && lines < kSniffLines; ++i) {
    const char c = text[i];
    if (in_quote) {
      in_quote = c != '"';
      continue;
    }
    if (is_line_end(c)) {
      end_line();
      continue;
    }
    if (is_blank(c)) {
      line.tab = line.tab || c == '\t';
      blank_pending = something;
      commas_in_value = 0;
      continue;
    }
    if (blank_pending) line.inner_blank = true;
    blank_pending = false;
    something = true;
    if (c == '"') in_quote = true;
    if (c == ';') line.semicolon = true;
    if (c == ',') {
      line.comma = true;
      const bool between_digits =
          i > 0 && is_digit(text[i - 1]) && i + 1 < text.size() && is_digit(text[i + 1]);
      if (!between_digits || ++commas_in_value > 1) line.blanks_and_decimal_commas = false;
    }
  }
  end_line();
  if (lines == 0) return ' ';
  if (all_semicolon) return ';';
  if (all_tab) return '\t';
  if (all_comma && !all_decimal_commas) return ',';
  return ' ';
}

// Whether the first records have one count of fields (the first may have one fewer, as
// R's write.table writes its header).
bool same_count_of_fields(DataBytes& bytes, std::size_t start, char separator) {
  Records records(bytes, start, separator);
  std::vector<Field> fields;
  std::size_t first = 0, count = 0;
  try {
    for (int r = 0; r < kSniffLines && records.next(fields); ++r) {
      if (r == 0) first = fields.size();
      if (r == 1) count = fields.size();
      if (r >= 1 && fields.size() != count) return false;
    }
  } catch (const TableFileError&) {
    return false;  // quotes that this separator cannot read
  }
  return count == 0 || first == count || first + 1 == count;
}

// Tabs on every line separate fields one by one (an empty field between two), unless they
// only align values that blanks separate too.
char find_separator(DataBytes& bytes, std::size_t start) {
  const char separator = separator_on_every_line(bytes.view().substr(start));
  if (separator == '\t' && !same_count_of_fields(bytes, start, '\t') &&
      same_count_of_fields(bytes, start, ' ')) {
    return ' ';
  }
  return separator;
}

bool is_missing_mark(std::string_view text) {
  for (std::string_view mark : {"", "NA", "NaN", "N/A", "#N/A", ".", "-", "?"}) {
    if (text == mark) return true;
  }
  return false;
}

enum class Mark { None, Point, Comma };

// A value's text: a number with a decimal point, or with a decimal comma where commas do
// not separate values. `mark` says which one it had.
bool read_value(std::string_view text, char separator, double& value, Mark& mark) {
  if (const rt::ShortDecimal quick = rt::short_decimal(text, '.', value);
      quick.taken == text.size() && quick.taken > 0) {
    mark = quick.mark ? Mark::Point : Mark::None;
    return true;
  }
  if (rt::parse_decimal(text, '.', value)) {
    mark = text.find('.') == std::string_view::npos ? Mark::None : Mark::Point;
    return true;
  }
  if (separator == ',' || text.find(',') == std::string_view::npos) return false;
  mark = Mark::Comma;
  return rt::parse_decimal(text, ',', value);
}

enum class Looks { Empty, Number, Text };

// Quotes tell names from values only in files whose values are never quoted (R's
// write.csv quotes every name, a number named "2019" included).
Looks looks(const Field& field, char separator, bool quotes_mark_names) {
  const std::string_view text = trimmed(field.text);
  if (field.quoted && quotes_mark_names) return text.empty() ? Looks::Empty : Looks::Text;
  if (is_missing_mark(text)) return Looks::Empty;
  double value = 0.0;
  Mark mark = Mark::None;
  return read_value(text, separator, value, mark) ? Looks::Number : Looks::Text;
}

// What the first records say of the file's names and trailing separators.
struct Shape {
  bool trailing_separator = false;  // every line ends with a separator: no last column
  bool header = false;
  bool name_column = false;
};

void drop_trailing_field(std::vector<Field>& fields, bool trailing_separator) {
  if (trailing_separator && fields.size() >= 2 && fields.back().empty()) fields.pop_back();
}

Shape find_shape(DataBytes& bytes, std::size_t start, char separator) {
  std::vector<std::vector<Field>> first;
  Records records(bytes, start, separator);
  for (std::vector<Field> fields; first.size() < kSniffLines && records.next(fields);) {
    first.push_back(fields);
  }
  Shape shape;
  if (first.empty()) return shape;
  shape.trailing_separator =
      separator != ' ' && std::all_of(first.begin(), first.end(), [](const auto& fields) {
        return fields.size() >= 2 && fields.back().empty();
      });
  for (auto& fields : first) drop_trailing_field(fields, shape.trailing_separator);

  bool quotes_mark_names = true;
  for (std::size_t r = 1; r < first.size(); ++r) {
    for (std::size_t f = 1; f < first[r].size(); ++f) {
      if (first[r][f].quoted) quotes_mark_names = false;
    }
  }
  const auto look = [&](const Field& field) { return looks(field, separator, quotes_mark_names); };

  // A header: names, and perhaps empty fields, after its first field (the corner, or a
  // name too, but no number); a single field, when a number stands below it.
  const std::vector<Field>& top = first[0];
  if (top.size() >= 2) {
    bool text_seen = false, number_seen = look(top[0]) == Looks::Number;
    for (std::size_t f = 1; f < top.size(); ++f) {
      text_seen = text_seen || look(top[f]) == Looks::Text;
      number_seen = number_seen || look(top[f]) == Looks::Number;
    }
    shape.header = text_seen && !number_seen;
  } else {
    shape.header =
        first.size() >= 2 && look(top[0]) == Looks::Text && look(first[1][0]) == Looks::Number;
  }

  // A column of names: as R writes it (a header one field short, or with an empty
  // corner), or names and no number down the first column.
  const std::size_t data = shape.header ? 1 : 0;
  if (data >= first.size()) return shape;
  if (shape.header && (top.size() + 1 == first[data].size() || look(top[0]) == Looks::Empty)) {
    shape.name_column = true;
    return shape;
  }
  bool text_seen = false, number_seen = false;
  for (std::size_t r = data; r < first.size(); ++r) {
    text_seen = text_seen || look(first[r][0]) == Looks::Text;
    number_seen = number_seen || look(first[r][0]) == Looks::Number;
  }
  shape.name_column = text_seen && !number_seen;
  return shape;
}

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
  // The first lines, which show the separator and the names.
  for (std::size_t counted = 0, line_ends = 0; line_ends < kSniffLines;) {
    const std::string_view fresh = bytes.view().substr(counted);
    line_ends += static_cast<std::size_t>(std::count(fresh.begin(), fresh.end(), '\n'));
    counted += fresh.size();
    if (line_ends < kSniffLines && !bytes.more()) break;
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
