// Parsing of the operator's number lists (thresholds, parameter lines) and
// receptor point lists. These routines never refuse input: an item that is
// not a number counts as 0.
#include "core/ListParse.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "core/TextConv.h"

namespace zelto {

namespace {

// Copies text once, so that a long list of separators costs linear time (an
// in-place replacement would move the rest of the text for every one).
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (text.find(from) == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  size_t start = 0, pos = 0;
  while ((pos = text.find(from, start)) != std::string::npos) {
    out.append(text, start, pos - start);
    out += to;
    start = pos + from.size();
  }
  out.append(text, start, std::string::npos);
  text.swap(out);
}

// The pieces of text between the separators, as views into text.
std::vector<std::string_view> SplitAt(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> items;
  if (text.empty()) return items;
  size_t start = 0;
  for (;;) {
    size_t pos = text.find(sep, start);
    if (pos == std::string_view::npos) {
      items.push_back(text.substr(start));
      break;
    }
    items.push_back(text.substr(start, pos - start));
    start = pos + sep.size();
  }
  return items;
}

// The items of text between separators sep, read by the leading-number rule
// into values[0..count-1] in order, as far as both go. An empty text is one
// empty item.
void ReadItems(std::string_view text, char sep, float* values, size_t count) {
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t pos = text.find(sep, start);
    if (pos == std::string_view::npos) {
      values[i] = LeadingSingle(text.substr(start));
      return;
    }
    values[i] = LeadingSingle(text.substr(start, pos - start));
    start = pos + 1;
  }
}

// True when text is ASCII without "/": ParseNumberList would change nothing
// in it but blanks.
bool IsPlainList(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != '/';
  });
}

// TrimSpaces without a copy of the text.
void TrimSpacesInPlace(std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  text.erase(last == std::string::npos ? 0 : last + 1);
  text.erase(0, text.find_first_not_of(' '));
}

// Largest number of positive values the list keeps (thresholds).
constexpr int kPositiveItems = 100;

}  // namespace

std::vector<float> ParseNumberList(std::string& text, int16_t& count, bool positiveOnly) {
  if (positiveOnly) count = kPositiveItems;
  std::vector<float> values(count > 0 ? static_cast<size_t>(count) : 0, 0.0f);

  TrimSpacesInPlace(text);
  ReplaceAll(text, "\xEF\xBC\x8C", ",");  // full-width comma
  ReplaceAll(text, "/", ",");
  ReplaceAll(text, "\xE3\x80\x82", ",");  // ideographic full stop

  // Commas part the items; without a comma, blanks do.
  if (text.find(',') == std::string::npos && text.find(' ') != std::string::npos) {
    CollapseSpaces(text);
    ReadItems(text, ' ', values.data(), values.size());
  } else {
    ReadItems(text, ',', values.data(), values.size());
  }
  if (!positiveOnly) return values;

  std::vector<float> kept;
  kept.push_back(0.0f);
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i] > 0) kept.push_back(values[i]);
  }
  count = static_cast<int16_t>(kept.size() - 1);
  return kept;
}

void ReadNumberList(std::string_view text, float* values, int count) {
  std::fill(values, values + count, 0.0f);
  const size_t first = text.find_first_not_of(' ');
  text = first == std::string_view::npos
             ? std::string_view()
             : text.substr(first, text.find_last_not_of(' ') - first + 1);
  // A line of plain ASCII items parted by commas (or a single item) needs no
  // normalising: it is read where it lies, without a copy.
  if (IsPlainList(text) && (text.find(',') != std::string_view::npos ||
                text.find(' ') == std::string_view::npos)) {
    ReadItems(text, ',', values, static_cast<size_t>(count));
    return;
  }
  std::string line(text);
  int16_t n = static_cast<int16_t>(count);
  const std::vector<float> read = ParseNumberList(line, n, false);
  std::copy(read.begin(), read.begin() + std::min<ptrdiff_t>(count, std::ssize(read)), values);
}

void CollapseSpaces(std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  text.swap(out);
}

int16_t ParsePointList(std::string& text, std::vector<PointRow>& points) {
  text = TrimSpaces(text);
  if (text.empty()) return 0;
  const std::vector<std::string_view> lines = SplitAt(text, "\r\n");
  points.assign(1, PointRow{});
  int16_t n = 0;
  for (std::string_view line : lines) {
    std::string item = TrimSpaces(line);
    if (item.empty()) continue;
    if (n == INT16_MAX) break;  // the count is a 16-bit integer
    int16_t count = 5;
    std::vector<float> v = ParseNumberList(item, count, false);
    PointRow row{};
    for (size_t c = 0; c < 5; ++c) row[c + 1] = v[c];
    points.push_back(row);
    ++n;
  }
  return n;
}

namespace {

// Ascending heap sort of a[1..n] (a[0] unused): build a max-heap by sifting
// down from the middle, then move the largest element to the end repeatedly.
void SiftDown(std::vector<float>& a, size_t root, size_t n) {
  while (2 * root <= n) {
    size_t child = 2 * root;
    if (child < n && a[child] < a[child + 1]) ++child;
    if (a[root] < a[child]) {
      std::swap(a[root], a[child]);
      root = child;
    } else {
      return;
    }
  }
}

void HeapSortOneBased(std::vector<float>& a, size_t n) {
  for (size_t i = n / 2; i >= 1; --i) SiftDown(a, i, n);
  for (size_t end = n; end > 1; --end) {
    std::swap(a[1], a[end]);
    SiftDown(a, 1, end - 1);
  }
}

}  // namespace

void SortSingles(std::vector<float>& list, int16_t orderFlag) {
  size_t n = list.size();
  if (n < 2) return;
  // The list starts at position 0, so it is sorted through a 1-based copy.
  std::vector<float> tmp(n + 1, 0.0f);
  std::copy(list.begin(), list.end(), tmp.begin() + 1);
  HeapSortOneBased(tmp, n);
  std::copy(tmp.begin() + 1, tmp.end(), list.begin());
  if (orderFlag == 1) std::reverse(list.begin(), list.end());
}

}  // namespace zelto
