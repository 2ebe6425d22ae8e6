#include "register/register_rows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

#include "register/filing.h"
#include "register/filing_avisos.h"
#include "register/rectification_links.h"

namespace f7301 {
namespace {

constexpr int kFirstPossibleYear = 2000;
constexpr int kMissingMonthsBack = 120;

bool NitBefore(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

RowOptions WithToday(RowOptions options) {
  if (options.currentYear != 0) return options;
  const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  const std::chrono::year_month_day date{today};
  options.currentYear = static_cast<int>(date.year());
  options.currentMonth = static_cast<int>(static_cast<unsigned>(date.month()));
  return options;
}

bool PossiblePeriod(const DeclarationSummary& s, const RowOptions& options) {
  return PeriodKey(s) >= PeriodKey(kFirstPossibleYear, 1) &&
         PeriodKey(s) <= PeriodKey(options.currentYear + 1, 12);
}

bool FilingBefore(const Filing* a, const Filing* b) {
  return std::tie(a->depth, a->found->mtimeNs, a->found->file) <
         std::tie(b->depth, b->found->mtimeNs, b->found->file);
}

// Of files with one NIT, form number and content, the oldest is the filing
// and the others its copies. Returns the filings, copies left out.
std::vector<Filing*> WithoutCopies(std::vector<Filing*>& taxpayer) {
  std::map<std::pair<std::string_view, std::string_view>, std::vector<Filing*>> same;
  std::vector<Filing*> filings;
  for (Filing* f : taxpayer) {
    if (f->summary->digest.empty()) {
      filings.push_back(f);
    } else {
      same[{f->summary->formNumber, f->summary->digest}].push_back(f);
    }
  }
  for (auto& [key, group] : same) {
    std::sort(group.begin(), group.end(), GeneratedBefore);
    group.front()->copies.assign(group.begin() + 1, group.end());
    filings.push_back(group.front());
  }
  return filings;
}

// What the list shows of a declaration: the balances and the digest served
// to make the rows and are let go.
RegisterRow RowOf(const Filing& f, FilingState state) {
  RegisterRow row{state, *f.summary, f.found->file, f.found->mtimeNs, "", ""};
  row.summary.openings = {};
  row.summary.closings = {};
  row.summary.digest = {};
  return row;
}

std::string Joined(const std::vector<std::string>& avisos) {
  std::string text;
  for (const std::string& aviso : avisos) {
    if (aviso.empty()) continue;
    if (!text.empty()) text += kAvisoSeparator;
    text += aviso;
  }
  return text;
}

class TaxpayerRows {
 public:
  TaxpayerRows(std::vector<Filing*>& taxpayer, const RowOptions& options)
      : m_filings(WithoutCopies(taxpayer)), m_options(options) {
    LinkRectifications(m_filings);
    for (Filing* f : m_filings) m_byPeriod[PeriodKey(*f->summary)].push_back(f);
    for (auto& [period, group] : m_byPeriod) {
      std::sort(group.begin(), group.end(), FilingBefore);
      const auto inForce = std::find_if(group.rbegin(), group.rend(),
                                        [](const Filing* f) { return !f->isRectified; });
      m_inForce[period] = *inForce;  // there is one: the links run one way
    }
    CheckBalances();
  }

  void Append(std::vector<RegisterRow>& rows) const {
    const Filing* latest = m_byPeriod.rbegin()->second.back();
    const int last = std::min(m_byPeriod.rbegin()->first,
                              PeriodKey(m_options.currentYear, m_options.currentMonth));
    int expected =
        std::max(m_byPeriod.begin()->first, m_byPeriod.rbegin()->first - kMissingMonthsBack);
    for (const auto& [period, group] : m_byPeriod) {
      for (; m_options.missingMonths && expected < period && expected <= last; ++expected) {
        rows.push_back(Missing(*latest, expected));
      }
      expected = std::max(expected, period + 1);
      for (const Filing* f : group) {
        const FilingState state = f->isRectified              ? FilingState::kRectificada
                                  : f == m_inForce.at(period) ? FilingState::kVigente
                                                              : FilingState::kDuplicada;
        rows.push_back(RowOf(*f, state));
        rows.back().avisos = Joined(f->avisos);
        for (const Filing* copy : f->copies) {
          rows.push_back(RowOf(*copy, FilingState::kCopia));
          rows.back().avisos = Joined(copy->avisos);
        }
      }
    }
  }

 private:
  void CheckBalances() {
    for (const auto& [period, filing] : m_inForce) {
      const auto before = m_inForce.find(period - 1);
      if (before == m_inForce.end()) continue;
      filing->avisos.push_back(BalanceAviso(*filing->summary, *before->second->summary));
    }
  }

  static RegisterRow Missing(const Filing& latest, int period) {
    RegisterRow missing;
    missing.state = FilingState::kSinDeclaracion;
    missing.summary.nit = latest.summary->nit;
    missing.summary.name = latest.summary->name;
    missing.summary.year = period / 12;
    missing.summary.month = period % 12 + 1;
    return missing;
  }

  std::vector<Filing*> m_filings;
  const RowOptions& m_options;
  std::map<int, std::vector<Filing*>> m_byPeriod;
  std::map<int, Filing*> m_inForce;
};

}  // namespace

std::vector<RegisterRow> BuildRegisterRows(const std::vector<FoundDeclaration>& found,
                                           const RowOptions& given) {
  const RowOptions options = WithToday(given);
  std::vector<Filing> filings;
  std::vector<RegisterRow> unread;
  filings.reserve(found.size());
  for (const FoundDeclaration& f : found) {
    if (!f.summary) {
      unread.push_back({FilingState::kAlterada, {}, f.file, f.mtimeNs, f.reason, ""});
    } else if (!PossiblePeriod(*f.summary, options)) {
      unread.push_back(
          {FilingState::kAlterada,
           {},
           f.file,
           f.mtimeNs,
           "El periodo " + PeriodText(f.summary->year, f.summary->month) + " no es posible.",
           ""});
    } else {
      Filing& filing = filings.emplace_back();
      filing.found = &f;
      filing.summary = &*f.summary;
      filing.avisos.push_back(FileNameAviso(f.file, *f.summary));
    }
  }
  std::map<std::string, std::vector<Filing*>, decltype(&NitBefore)> byNit(&NitBefore);
  for (Filing& f : filings) byNit[f.summary->nit].push_back(&f);

  std::vector<RegisterRow> rows;
  rows.reserve(found.size());
  for (auto& [nit, taxpayer] : byNit) TaxpayerRows(taxpayer, options).Append(rows);

  std::sort(unread.begin(), unread.end(),
            [](const RegisterRow& a, const RegisterRow& b) { return a.file < b.file; });
  std::move(unread.begin(), unread.end(), std::back_inserter(rows));
  return rows;
}

std::optional<std::size_t> InForceRow(const std::vector<RegisterRow>& rows, std::size_t index) {
  const DeclarationSummary& of = rows[index].summary;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RegisterRow& row = rows[i];
    if (row.state == FilingState::kVigente && row.summary.nit == of.nit &&
        row.summary.year == of.year && row.summary.month == of.month) {
      return i;
    }
  }
  return std::nullopt;
}

RegisterCounts CountRows(const std::vector<RegisterRow>& rows) {
  RegisterCounts counts;
  std::set<std::string_view> nits;
  for (const RegisterRow& row : rows) {
    // An altered or unreadable file, or a copy, is not counted as a
    // declaration: the user must not take it for one more filed.
    switch (row.state) {
      case FilingState::kSinDeclaracion:
        ++counts.missingMonths;
        break;
      case FilingState::kAlterada:
        ++counts.unreadable;
        break;
      case FilingState::kCopia:
        ++counts.copies;
        break;
      default:
        ++counts.declarations;
    }
    if (!row.avisos.empty()) ++counts.withAvisos;
    if (row.state != FilingState::kAlterada) nits.insert(row.summary.nit);
  }
  counts.taxpayers = nits.size();
  return counts;
}

std::string PeriodText(int year, int month) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%04d", month, year);
  return text;
}

}  // namespace f7301
