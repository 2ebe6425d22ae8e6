#include "annexcsv/csv_records.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

namespace f7301 {
namespace {

constexpr std::array<char, 3> kSeparators = {'\t', ';', ','};

// libcsv counts tabs as blanks around a field; in a tab-separated file a tab
// is the separator, so only the blank is.
int IsBlank(unsigned char c) { return c == ' '; }
int IsBlankOrTab(unsigned char c) { return c == ' ' || c == '\t'; }

bool HoldsFields(const std::vector<std::string>& cells, std::size_t fields) {
  if (cells.size() < fields) return false;
  return std::all_of(cells.begin() + static_cast<std::ptrdiff_t>(fields), cells.end(),
                     [](const std::string& f) { return f.empty(); });
}

// How the records of a text split with one separator, counted without
// keeping them: how many hold the wanted fields, and the first one's width.
struct SeparatorFit {
  std::ptrdiff_t fitting = 0;
  std::size_t firstWidth = 0;
};

// Walks the text line by line through libcsv, so that every record knows the
// line it started on.
class RecordReader {
 public:
  // With `fitting` set, the records are only counted into SeparatorFit (see
  // Fit), none kept.
  RecordReader(char separator, bool firstOnly, std::size_t mostWithData,
               std::optional<std::size_t> fitting = std::nullopt)
      : m_firstOnly(firstOnly), m_mostWithData(mostWithData), m_fitting(fitting) {
    csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
    csv_set_delim(&m_parser, static_cast<unsigned char>(separator));
    csv_set_space_func(&m_parser, separator == '\t' ? IsBlank : IsBlankOrTab);
  }
  ~RecordReader() { csv_free(&m_parser); }
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  CsvRecords Read(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && !Done()) {
      const std::size_t end = LineEnd(text, start);
      FeedLine(text.substr(start, end - start));
      start = end;
    }
    if (!Done() && csv_fini(&m_parser, OnField, OnRecordEnd, this) != 0) {
      m_result.brokenLine = m_recordLine;
    }
    return std::move(m_result);
  }

  SeparatorFit Fit(std::string_view text) {
    Read(text);
    return m_fit;
  }

 private:
  bool Done() const {
    return m_result.brokenLine.has_value() || (m_firstOnly && !m_result.records.empty()) ||
           m_withData >= m_mostWithData;
  }

  // The end of the line that begins at `start`, its line break included.
  static std::size_t LineEnd(std::string_view text, std::size_t start) {
    const std::size_t brk = text.find_first_of("\r\n", start);
    if (brk == std::string_view::npos) return text.size();
    if (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') return brk + 2;
    return brk + 1;
  }

  bool HasContent(std::string_view line) const {
    for (char c : line) {
      const auto u = static_cast<unsigned char>(c);
      if (c != '\r' && c != '\n' && !m_parser.is_space(u)) return true;
    }
    return false;
  }

  // libcsv grows a field's buffer by its block size whenever the field
  // outgrows it, copying it each time: by the default 128 bytes a field of a
  // megabyte is copied thousands of times. Each growth at least doubles the
  // buffer, or fits the whole line at once.
  void GrowFieldsByLine(std::size_t lineSize) {
    constexpr std::size_t kLeastBlock = 128;
    csv_set_blk_size(&m_parser, std::max({kLeastBlock, m_parser.entry_size, lineSize}));
  }

  void FeedLine(std::string_view line) {
    ++m_line;
    GrowFieldsByLine(line.size());
    if (!m_inRecord && HasContent(line)) {
      m_inRecord = true;
      m_recordLine = m_line;
    }
    if (csv_parse(&m_parser, line.data(), line.size(), OnField, OnRecordEnd, this) != line.size()) {
      m_result.brokenLine = m_line;
    }
  }

  static void OnField(void* data, std::size_t size, void* self) {
    auto* reader = static_cast<RecordReader*>(self);
    reader->m_fields.emplace_back(static_cast<const char*>(data), size);
  }

  static void OnRecordEnd(int, void* self) {
    auto* reader = static_cast<RecordReader*>(self);
    if (reader->Done()) return;
    const bool withData = std::any_of(reader->m_fields.begin(), reader->m_fields.end(),
                                      [](const std::string& f) { return !f.empty(); });
    if (withData) ++reader->m_withData;
    if (reader->m_fitting) {
      reader->m_fit.fitting += HoldsFields(reader->m_fields, *reader->m_fitting) ? 1 : 0;
      if (!std::exchange(reader->m_counted, true))
        reader->m_fit.firstWidth = reader->m_fields.size();
    } else if (withData) {
      // A record of empty cells only (a spreadsheet's unused rows) is no data.
      reader->m_result.records.push_back({reader->m_recordLine, std::move(reader->m_fields)});
    }
    reader->m_fields.clear();
    reader->m_inRecord = false;
  }

  csv_parser m_parser{};
  bool m_firstOnly;
  std::size_t m_mostWithData;
  std::size_t m_withData = 0;
  std::optional<std::size_t> m_fitting;
  SeparatorFit m_fit;
  bool m_counted = false;
  int m_line = 0;
  int m_recordLine = 0;
  bool m_inRecord = false;
  std::vector<std::string> m_fields;
  CsvRecords m_result;
};

}  // namespace

CsvRecords ReadCsvRecords(std::string_view text, char separator, bool firstOnly,
                          std::size_t mostWithData) {
  return RecordReader(separator, firstOnly, mostWithData).Read(text);
}

bool HasFields(const CsvRecord& record, std::size_t fields) {
  return HoldsFields(record.fields, fields);
}

char DetectSeparator(std::string_view text, std::size_t fields, std::size_t mostWithData) {
  char best = 0;
  std::ptrdiff_t bestCount = 0;
  char widest = ',';
  std::size_t widestCount = 0;
  for (char separator : kSeparators) {
    const SeparatorFit fit = RecordReader(separator, false, mostWithData, fields).Fit(text);
    if (fit.fitting > bestCount) {
      best = separator;
      bestCount = fit.fitting;
    }
    if (fit.firstWidth > widestCount) {
      widest = separator;
      widestCount = fit.firstWidth;
    }
  }
  return bestCount > 0 ? best : widest;
}

std::optional<char> NamedSeparator(std::string_view text) {
  const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
  if (line.size() != 5) return std::nullopt;
  for (std::size_t i = 0; i < 4; ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) != "sep="[i]) return std::nullopt;
  }
  if (std::find(kSeparators.begin(), kSeparators.end(), line[4]) == kSeparators.end()) {
    return std::nullopt;
  }
  return line[4];
}

}  // namespace f7301
