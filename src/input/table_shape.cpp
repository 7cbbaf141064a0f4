#include "input/table_shape.hpp"

#include <algorithm>

namespace rankora::table_reading {
namespace {

// What the first lines show of each separator, outside quotes.
struct LineShape {
  bool semicolon = false;
  bool tab = false;
  bool comma = false;
  // Blanks between values and commas only between digits, one to a value: 36,5 40,1
  bool blanks_and_decimal_commas = true;
  bool inner_blank = false;
};

char separator_on_every_line(DataBytes& bytes, std::size_t start) {
  std::string_view text = bytes.view();
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
  // As far as the first lines go, however much of the file has been read so far.
  for (std::size_t i = start; lines < kSniffLines; ++i) {
    if (i >= text.size() && !bytes.more()) break;
    text = bytes.view();
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
      if (i + 1 >= text.size() && bytes.more()) text = bytes.view();
      const bool between_digits =
          i > start && is_digit(text[i - 1]) && i + 1 < text.size() && is_digit(text[i + 1]);
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

}  // namespace

// Tabs on every line separate fields one by one (an empty field between two), unless they
// only align values that blanks separate too.
char find_separator(DataBytes& bytes, std::size_t start) {
  const char separator = separator_on_every_line(bytes, start);
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

bool read_value(std::string_view text, char separator, double& value, Mark& mark) {
  if (rt::parse_decimal(text, '.', value)) {
    mark = text.find('.') == std::string_view::npos ? Mark::None : Mark::Point;
    return true;
  }
  if (separator == ',' || text.find(',') == std::string_view::npos) return false;
  mark = Mark::Comma;
  return rt::parse_decimal(text, ',', value);
}

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

}  // namespace rankora::table_reading
