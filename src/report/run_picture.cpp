#include "report/run_picture.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "report/language.hpp"
#include "report/svg.hpp"
#include "report/texts.hpp"

namespace rankora::report {
namespace {

using svg::Document;
using svg::fixed;

constexpr std::string_view kStyle =
    "text{font-family:'DejaVu Sans',Verdana,Arial,sans-serif;font-size:12px;fill:#222}\n"
    ".title{font-size:16px;font-weight:bold}\n"
    ".heading{font-size:14px;font-weight:bold}\n"
    ".small{font-size:11px;fill:#444}\n"
    ".end{text-anchor:end}\n"
    ".mid{text-anchor:middle}\n"
    ".observed-text{fill:#b03020;font-weight:bold;paint-order:stroke;stroke:#fff;stroke-width:4px}"
    "\n"
    ".mark{fill:#c05000;font-weight:bold}\n"
    ".axis{stroke:#444;stroke-width:1}\n"
    ".grid{stroke:#e4e4e4;stroke-width:1}\n"
    ".observed{stroke:#b03020;stroke-width:2.5}\n"
    ".all-judges{stroke:#333;stroke-width:1.2;stroke-dasharray:5 3}\n"
    ".bins{fill:#8a96a3}\n"
    ".arrow{fill:#b03020}\n"
    ".sig{fill:#1f4e8c}\n"
    ".not{fill:#b4c3d8}\n"
    ".null{fill:#c05000}\n";

constexpr double kWidth = 820;
constexpr double kLeft = 70;    // plots' left edge: room for the axis labels
constexpr double kRight = 790;  // plots' right edge
constexpr double kHolmLevel = 0.05;

// Round steps (1, 2 or 5 times a power of ten) over [low, high], about `wanted` of them.
struct Ticks {
  std::vector<double> at;
  int decimals = 0;
};
// Counts take whole steps: `smallest` 1.
Ticks ticks(double low, double high, double wanted, double smallest = 0.0) {
  Ticks t;
  if (!(high > low)) return t;
  const double raw = std::max((high - low) / wanted, smallest),
               power = std::pow(10.0, std::floor(std::log10(raw)));
  const double ratio = raw / power;
  const double step = power * (ratio < 1.5 ? 1 : ratio < 3.5 ? 2 : ratio < 7.5 ? 5 : 10);
  t.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9; ++k) {
    t.at.push_back(k * step == 0.0 ? 0.0 : k * step);
  }
  return t;
}

// x of a figure on an axis from `low` (at kLeft) to `high` (at kRight).
struct Scale {
  double low, high;
  double operator()(double x) const { return kLeft + (x - low) / (high - low) * (kRight - kLeft); }
};

std::string count_text(std::int64_t n) { return std::to_string(n); }

struct JudgeView {
  const JudgeResult* judge;
  double holm;
  bool significant;
};

std::vector<JudgeView> judge_views(const RunResults& r) {
  std::vector<JudgeView> views;
  for (std::size_t i = 0; i < r.judges.size(); ++i) {
    const double holm = r.inference[i].p_holm;
    views.push_back({&r.judges[i], holm, holm <= kHolmLevel});
  }
  return views;
}

double header(Document& doc, const RunResults& r) {
  const int lang = r.run.lang;
  const Concordance& c = r.panel;
  doc.text(20, 30,
           sentence(lang, Text::PictureTitle, {{"file", svg::clipped(r.run.data_file, 60)}}),
           "title");
  const std::string perms =
      c.nperm == 1 ? std::string(pattern(lang, Text::PictureOnePermutation))
                   : sentence(lang, Text::PicturePermutations, {{"count", count_text(c.nperm)}});
  doc.text(
      20, 52,
      sentence(
          lang, Text::PictureSize,
          {{"judges", count_text(c.judges)},
           {"objects", count_text(c.objects)},
           {"ties", pattern(lang, c.ties == 2 ? Text::PictureWithoutTies : Text::PictureWithTies)},
           {"permutations", perms}}));
  doc.text(20, 72,
           sentence(lang, Text::PictureStatistics,
                    {{"w", fixed(c.kendw, 5)},
                     {"chi2", fixed(c.chi2, 5)},
                     {"nu", count_text(c.objects - 1)}}));
  return 90;
}

// The histogram's range, widened to take in the observed W as long as the bins keep half
// the width; a W farther out is shown by an arrow at the side it lies beyond.
Scale w_axis(const NullHistogram& h, double observed) {
  const double low = std::min(h.w_low, observed), high = std::max(h.w_high, observed);
  if (std::isnan(observed) || (high - low) > 2 * (h.w_high - h.w_low)) return {h.w_low, h.w_high};
  const double margin = (high - low) * 0.04;
  return {observed < h.w_low ? low - margin : low, observed > h.w_high ? high + margin : high};
}

// The permutation distribution of W, the observed W and p; returns the height used.
double global_panel(Document& doc, const RunResults& r, double top) {
  const int lang = r.run.lang;
  const Concordance& c = r.panel;
  const NullHistogram& h = c.null_histogram;
  const std::span<const std::int64_t> counts(h.counts.data(), static_cast<std::size_t>(h.bins));
  doc.line(20, top, kWidth - 20, top, "grid");
  doc.text(20, top + 24, pattern(lang, Text::PictureGlobalHeading), "heading");
  doc.text(20, top + 44,
           sentence(lang, Text::PictureGlobalP,
                    {{"p", fixed(c.p, 5)},
                     {"reached", count_text(c.reached)},
                     {"permutations", count_text(c.nperm)}}));
  const double plot_top = top + 70, plot_bottom = top + 250;
  if (c.nperm <= 0 || counts.empty() || !(h.w_high > h.w_low)) {
    // Without permutations there is nothing to draw; a W that is not a number (every
    // judge constant, with the correction for ties) has no axis.
    doc.text((kLeft + kRight) / 2, (plot_top + plot_bottom) / 2,
             pattern(lang, c.nperm <= 0 ? Text::PictureNoPermutation : Text::PictureNoW),
             "heading mid");
    return 270;
  }
  const std::int64_t tallest =
      std::max<std::int64_t>(1, *std::max_element(counts.begin(), counts.end()));
  const Ticks y_ticks = ticks(0, static_cast<double>(tallest), 4, 1.0);
  const double y_max =
      std::max(static_cast<double>(tallest), y_ticks.at.empty() ? 1.0 : y_ticks.at.back());
  const auto y = [&](double count) {
    return plot_bottom - count / y_max * (plot_bottom - plot_top);
  };
  for (double t : y_ticks.at) {
    doc.line(kLeft, y(t), kRight, y(t), "grid");
    doc.text(kLeft - 6, y(t) + 4, fixed(t, 0), "small end");
  }
  const Scale x = w_axis(h, c.kendw);
  const double bin_width = (x(h.w_high) - x(h.w_low)) / static_cast<double>(counts.size());
  std::string bars;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (counts[i] == 0) continue;
    const double left = x(h.w_low) + static_cast<double>(i) * bin_width;
    bars += 'M' + Document::coordinate(left) + ',' + Document::coordinate(plot_bottom) + 'V' +
            Document::coordinate(y(static_cast<double>(counts[i]))) + 'H' +
            Document::coordinate(left + bin_width) + 'V' + Document::coordinate(plot_bottom) + 'Z';
  }
  doc.path(bars, "bins");
  doc.line(kLeft, plot_bottom, kRight, plot_bottom, "axis");
  const Ticks x_ticks = ticks(x.low, x.high, 6);
  for (double t : x_ticks.at) {
    doc.line(x(t), plot_bottom, x(t), plot_bottom + 4, "axis");
    doc.text(x(t), plot_bottom + 16, fixed(t, x_ticks.decimals), "small mid");
  }
  doc.text(kRight, plot_bottom + 32, "W", "small end");
  doc.text(kLeft - 6, plot_top - 8, pattern(lang, Text::PictureShuffledTables), "small");
  if (h.below > 0 || h.above > 0) {
    doc.text(kLeft, plot_bottom + 32,
             sentence(lang, Text::PictureOutside,
                      {{"below", count_text(h.below)}, {"above", count_text(h.above)}}),
             "small");
  }
  const std::string observed = fixed(c.kendw, 5);
  if (c.kendw >= x.low && c.kendw <= x.high) {
    const double at = x(c.kendw);
    doc.line(at, plot_top - 4, at, plot_bottom, "observed");
    const bool right_half = at > (kLeft + kRight) / 2;
    doc.text(right_half ? at - 6 : at + 6, plot_top + 8,
             sentence(lang, Text::PictureObserved, {{"w", observed}}),
             right_half ? "observed-text end" : "observed-text");
  } else if (!std::isnan(c.kendw)) {
    // Off the scale: an arrow at the side it lies beyond.
    const bool above = c.kendw > x.high;
    const double tip = above ? kRight + 12 : kLeft - 12, base = above ? kRight : kLeft;
    const double mid = (plot_top + plot_bottom) / 2;
    doc.path(std::string("M").append(Document::coordinate(base)) + ',' +
                 Document::coordinate(mid - 8) + 'L' + Document::coordinate(tip) + ',' +
                 Document::coordinate(mid) + 'L' + Document::coordinate(base) + ',' +
                 Document::coordinate(mid + 8) + 'Z',
             "arrow");
    doc.text(above ? kRight : kLeft, plot_top + 8,
             sentence(lang, Text::PictureObservedOff, {{"w", observed}}),
             above ? "observed-text end" : "observed-text");
  }
  return 300;
}

// Null-variance judges are a "#" after their row, or a mark under their bar.
void legend(Document& doc, const RunResults& r, const std::vector<JudgeView>& views, double y,
            bool rows) {
  const int lang = r.run.lang;
  const auto significant =
      std::count_if(views.begin(), views.end(), [](const JudgeView& v) { return v.significant; });
  const auto null = std::count_if(views.begin(), views.end(),
                                  [](const JudgeView& v) { return v.judge->null_variance; });
  double x = 20;
  doc.rect(x, y - 10, 12, 12, "sig");
  doc.text(x + 18, y,
           sentence(lang, Text::PictureSignificant, {{"count", count_text(significant)}}), "small");
  x += 190;
  doc.rect(x, y - 10, 12, 12, "not");
  doc.text(x + 18, y,
           sentence(lang, Text::PictureNotSignificant,
                    {{"count", count_text(static_cast<std::int64_t>(views.size()) - significant)}}),
           "small");
  x += 190;
  if (std::isfinite(r.panel.kendw)) {
    doc.line(x, y - 4, x + 22, y - 4, "all-judges");
    doc.text(x + 28, y, pattern(lang, Text::PictureAllJudgesW), "small");
    x += 170;
  }
  if (null == 0) return;
  if (rows) {
    doc.text(x, y, "#", "mark");
  } else {
    doc.rect(x, y - 9, 6, 10, "null");
  }
  doc.text(x + 14, y, sentence(lang, Text::PictureNullVariance, {{"count", count_text(null)}}),
           "small");
}

// A name in full in its tooltip, up to a length no real name reaches: a file of 1000
// judges with names of pages each must not make a picture of megabytes.
constexpr std::size_t kTooltipNameAtMost = 200;

std::string tooltip(const RunResults& r, const JudgeView& v) {
  const int lang = r.run.lang;
  const std::string_view name = judge_name(r, v.judge->judge);
  const std::string shown_name =
      name.empty() ? std::string()
                   : std::string(" ").append(svg::clipped(name, kTooltipNameAtMost));
  return sentence(lang, Text::PictureTooltip,
                  {{"judge", count_text(v.judge->judge)},
                   {"name", shown_name},
                   {"w", fixed(v.judge->w, 5)},
                   {"holm", fixed(v.holm, 5)},
                   {"null", v.judge->null_variance ? pattern(lang, Text::PictureTooltipNull)
                                                   : std::string_view()}});
}

// W(j) runs from its smallest (below 0 when a judge disagrees) to 1.
Scale w_scale(const std::vector<JudgeView>& views) {
  double lowest = 0.0;
  for (const JudgeView& v : views) {
    if (v.judge->w < lowest) lowest = v.judge->w;
  }
  return {std::floor(lowest * 10.0) / 10.0, 1.0};
}

// A row per judge: number, name, bar, W(j) and Holm p. Returns the height used.
double judge_rows(Document& doc, const RunResults& r, const std::vector<JudgeView>& views,
                  double top) {
  const int lang = r.run.lang;
  const bool named = !r.run.judge_names.empty();
  const double row = views.size() <= 30 ? 18 : 14;
  const double bar_left = named ? 240 : 80, bar_right = 640;
  const Scale unit = w_scale(views);
  const auto x = [&](double w) {
    return bar_left + (w - unit.low) / (unit.high - unit.low) * (bar_right - bar_left);
  };
  const double first = top + 22, bottom = first + row * static_cast<double>(views.size());
  doc.text(50, top + 10, pattern(lang, Text::PictureJudge), "small end");
  doc.text(715, top + 10, "W(j)", "small end");
  doc.text(790, top + 10, pattern(lang, Text::PictureHolm), "small end");
  const Ticks grid = ticks(unit.low, unit.high, 5);
  for (double t : grid.at) {
    doc.line(x(t), first - 4, x(t), bottom, "grid");
    doc.text(x(t), bottom + 14, fixed(t, grid.decimals), "small mid");
  }
  for (std::size_t i = 0; i < views.size(); ++i) {
    const JudgeView& v = views[i];
    const double y = first + row * static_cast<double>(i);
    const double baseline = y + row * 0.72;
    doc.text(50, baseline, count_text(v.judge->judge), "end");
    if (named) doc.text(58, baseline, svg::clipped(judge_name(r, v.judge->judge), 24));
    if (!std::isnan(v.judge->w)) {
      const double from = x(std::min(0.0, v.judge->w)), to = x(std::max(0.0, v.judge->w));
      doc.rect(from, y + row * 0.15, std::max(1.0, to - from), row * 0.7,
               v.significant ? "sig" : "not", tooltip(r, v));
    }
    doc.text(715, baseline, fixed(v.judge->w, 5), "end");
    doc.text(790, baseline, fixed(v.holm, 5), "end");
    if (v.judge->null_variance) doc.text(796, baseline, "#", "mark");
  }
  doc.line(x(0), first - 4, x(0), bottom, "axis");
  if (std::isfinite(r.panel.kendw)) {
    doc.line(x(r.panel.kendw), first - 8, x(r.panel.kendw), bottom + 2, "all-judges");
  }
  return bottom + 24 - top;
}

// One bar per judge along the report's order, for panels too large for a row each.
double judge_profile(Document& doc, const RunResults& r, const std::vector<JudgeView>& views,
                     double top) {
  const int lang = r.run.lang;
  const double plot_top = top + 30, plot_bottom = top + 290;
  const Scale unit = w_scale(views);
  const auto y = [&](double w) {
    return plot_bottom - (w - unit.low) / (unit.high - unit.low) * (plot_bottom - plot_top);
  };
  const Ticks grid = ticks(unit.low, unit.high, 5);
  for (double t : grid.at) {
    doc.line(kLeft, y(t), kRight, y(t), "grid");
    doc.text(kLeft - 6, y(t) + 4, fixed(t, grid.decimals), "small end");
  }
  doc.text(kLeft - 6, plot_top - 14, "W(j)", "small");
  const double step = (kRight - kLeft) / static_cast<double>(views.size());
  const double width = step > 3 ? step * 0.8 : step;
  for (std::size_t i = 0; i < views.size(); ++i) {
    const JudgeView& v = views[i];
    const double left = kLeft + step * static_cast<double>(i);
    if (!std::isnan(v.judge->w)) {
      const double from = y(std::max(0.0, v.judge->w)), to = y(std::min(0.0, v.judge->w));
      doc.rect(left, from, width, std::max(0.5, to - from), v.significant ? "sig" : "not",
               tooltip(r, v));
    }
    if (v.judge->null_variance) doc.rect(left, plot_bottom + 3, std::max(width, 1.5), 7, "null");
  }
  doc.line(kLeft, y(0), kRight, y(0), "axis");
  if (std::isfinite(r.panel.kendw))
    doc.line(kLeft, y(r.panel.kendw), kRight, y(r.panel.kendw), "all-judges");
  const Ticks positions = ticks(1, static_cast<double>(views.size()), 8, 1.0);
  for (double t : positions.at) {
    const double at = kLeft + step * (t - 0.5);
    doc.line(at, plot_bottom + 12, at, plot_bottom + 16, "axis");
    doc.text(at, plot_bottom + 28, fixed(t, 0), "small mid");
  }
  doc.text(kRight, plot_bottom + 44, pattern(lang, Text::PictureReportOrder), "small end");
  return plot_bottom + 56 - top;
}

double judges_panel(Document& doc, const RunResults& r, double top) {
  const std::vector<JudgeView> views = judge_views(r);
  doc.line(20, top, kWidth - 20, top, "grid");
  doc.text(20, top + 24, pattern(r.run.lang, Text::PictureJudgesHeading), "heading");
  const bool rows = views.size() <= kJudgeRowsAtMost;
  legend(doc, r, views, top + 46, rows);
  const double body = top + 62;
  return 62 + (rows ? judge_rows(doc, r, views, body) : judge_profile(doc, r, views, body));
}

}  // namespace

std::string run_picture(const RunResults& results) {
  Document doc(kWidth, kStyle);
  double y = header(doc, results);
  y += global_panel(doc, results, y);
  y += judges_panel(doc, results, y);
  return doc.finish(
      y + 10, sentence(results.run.lang, Text::PictureTitle, {{"file", results.run.data_file}}));
}

}  // namespace rankora::report
