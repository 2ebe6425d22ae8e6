#include "register/register_rows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <thread>
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
// to make the rows and are not copied into them.
DeclarationSummary Listed(const DeclarationSummary& s) {
  DeclarationSummary listed;
  listed.nit = s.nit;
  listed.name = s.name;
  listed.year = s.year;
  listed.month = s.month;
  listed.formNumber = s.formNumber;
  listed.rectifies = s.rectifies;
  listed.totalToPay = s.totalToPay;
  listed.annexRows = s.annexRows;
  listed.generated = s.generated;
  return listed;
}

RegisterRow RowOf(const Filing& f, FilingState state) {
  return {state, Listed(*f.summary), f.found->file, f.found->mtimeNs, "", ""};
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

using Taxpayers = std::vector<std::vector<Filing*>*>;

std::vector<RegisterRow> RowsOf(const Taxpayers& taxpayers, std::size_t from, std::size_t to,
                                const RowOptions& options) {
  std::size_t filings = 0;
  for (std::size_t i = from; i < to; ++i) filings += taxpayers[i]->size();
  std::vector<RegisterRow> rows;
  rows.reserve(filings);  // the rows of missing months aside, one per filing
  for (std::size_t i = from; i < to; ++i) TaxpayerRows(*taxpayers[i], options).Append(rows);
  return rows;
}

// The taxpayers split where half of the declarations is reached, the later
// half on a helper thread; the rows are joined in the same order.
std::vector<RegisterRow> RowsOnTwoThreads(const Taxpayers& taxpayers, std::size_t filings,
                                          const RowOptions& options) {
  std::size_t split = 0;
  for (std::size_t seen = 0; split < taxpayers.size() && 2 * seen < filings; ++split) {
    seen += taxpayers[split]->size();
  }
  std::vector<RegisterRow> later;
  std::jthread helper;
  if (split < taxpayers.size()) {
    helper = std::jthread([&] { later = RowsOf(taxpayers, split, taxpayers.size(), options); });
  }
  std::vector<RegisterRow> rows = RowsOf(taxpayers, 0, split, options);
  if (helper.joinable()) helper.join();
  rows.reserve(rows.size() + later.size());
  std::move(later.begin(), later.end(), std::back_inserter(rows));
  return rows;
}

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
  std::vector<std::vector<Filing*>*> taxpayers;
  taxpayers.reserve(byNit.size());
  for (auto& [nit, taxpayer] : byNit) taxpayers.push_back(&taxpayer);

  std::vector<RegisterRow> rows = options.threads > 1
                                      ? RowsOnTwoThreads(taxpayers, filings.size(), options)
                                      : RowsOf(taxpayers, 0, taxpayers.size(), options);

  std::sort(unread.begin(), unread.end(),
            [](const RegisterRow& a, const RegisterRow& b) { return a.file < b.file; });
  rows.reserve(rows.size() + unread.size());
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

void CRegisterCounter::Add(const RegisterRow& row) {
  // An altered or unreadable file, or a copy, is not counted as a
  // declaration: the user must not take it for one more filed.
  switch (row.state) {
    case FilingState::kSinDeclaracion:
      ++m_counts.missingMonths;
      break;
    case FilingState::kAlterada:
      ++m_counts.unreadable;
      break;
    case FilingState::kCopia:
      ++m_counts.copies;
      break;
    default:
      ++m_counts.declarations;
  }
  if (!row.avisos.empty()) ++m_counts.withAvisos;
  if (row.state != FilingState::kAlterada) m_nits.insert(row.summary.nit);
}

RegisterCounts CRegisterCounter::Counts() const {
  RegisterCounts counts = m_counts;
  counts.taxpayers = m_nits.size();
  return counts;
}

RegisterCounts CountRows(const std::vector<RegisterRow>& rows) {
  CRegisterCounter counter;
  for (const RegisterRow& row : rows) counter.Add(row);
  return counter.Counts();
}

std::string PeriodText(int year, int month) {
  if (year < 0 || year > 9999 || month < 0 || month > 99) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%04d", month, year);
    return text;
  }
  // Every row and aviso names a period: no formatting machinery for it.
  std::string text = "00/0000";
  text[0] = static_cast<char>('0' + month / 10);
  text[1] = static_cast<char>('0' + month % 10);
  for (int i = 6; i >= 3; --i, year /= 10)
    text[static_cast<std::size_t>(i)] = static_cast<char>('0' + year % 10);
  return text;
}

}  // namespace f7301
