#include "register/register_rows.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace f7301 {
namespace {

constexpr std::string_view kFormPrefix = "7301";

struct Filing {
  const FoundDeclaration* found;
  const DeclarationSummary* summary;
  const Filing* rectified = nullptr;  // the declaration this one rectifies
  bool isRectified = false;
  std::size_t depth = 0;  // rectifications between it and its original
};

bool NitBefore(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

int PeriodKey(int year, int month) { return year * 12 + (month - 1); }
int PeriodKey(const DeclarationSummary& s) { return PeriodKey(s.year, s.month); }

// One taxpayer's declarations: links of box 1619, then depths.
void LinkRectifications(std::vector<Filing*>& filings) {
  std::unordered_multimap<std::string_view, Filing*> byNumber;
  for (Filing* f : filings) byNumber.emplace(f->summary->formNumber, f);
  for (Filing* f : filings) {
    const std::string_view link = f->summary->rectifies;
    if (!link.starts_with(kFormPrefix)) continue;
    const std::string_view number = link.substr(kFormPrefix.size());
    if (number == f->summary->formNumber) continue;
    const auto [first, last] = byNumber.equal_range(number);
    for (auto it = first; it != last; ++it) {
      it->second->isRectified = true;
      if (!f->rectified) f->rectified = it->second;
    }
  }
  // A loop of crafted links is cut at the taxpayer's count of declarations.
  for (Filing* f : filings) {
    for (const Filing* up = f->rectified; up && f->depth < filings.size(); up = up->rectified) {
      ++f->depth;
    }
  }
}

bool FilingBefore(const Filing* a, const Filing* b) {
  const auto key = [](const Filing* f) {
    return std::tie(f->depth, f->found->mtimeNs, f->found->file);
  };
  return key(a) < key(b);
}

RegisterRow RowOf(const Filing& f, FilingState state) {
  return {state, *f.summary, f.found->file, f.found->mtimeNs, ""};
}

// One taxpayer's rows in order, missing months included.
void TaxpayerRows(std::vector<Filing*>& filings, std::vector<RegisterRow>& rows) {
  LinkRectifications(filings);
  std::map<int, std::vector<Filing*>> byPeriod;
  for (Filing* f : filings) byPeriod[PeriodKey(*f->summary)].push_back(f);
  const Filing* latest = byPeriod.rbegin()->second.back();
  int expected = byPeriod.begin()->first;
  for (auto& [period, group] : byPeriod) {
    for (; expected < period; ++expected) {
      RegisterRow missing;
      missing.state = FilingState::kSinDeclaracion;
      missing.summary.nit = latest->summary->nit;
      missing.summary.name = latest->summary->name;
      missing.summary.year = expected / 12;
      missing.summary.month = expected % 12 + 1;
      rows.push_back(std::move(missing));
    }
    expected = period + 1;
    std::sort(group.begin(), group.end(), FilingBefore);
    const auto inForce =
        std::find_if(group.rbegin(), group.rend(), [](const Filing* f) { return !f->isRectified; });
    for (const Filing* f : group) {
      const FilingState state = f->isRectified ? FilingState::kRectificada
                                : inForce != group.rend() && f == *inForce
                                    ? FilingState::kVigente
                                    : FilingState::kDuplicada;
      rows.push_back(RowOf(*f, state));
    }
  }
}

}  // namespace

std::vector<RegisterRow> BuildRegisterRows(const std::vector<FoundDeclaration>& found) {
  std::vector<Filing> filings;
  std::vector<const FoundDeclaration*> unread;
  filings.reserve(found.size());
  for (const FoundDeclaration& f : found) {
    if (f.summary) {
      filings.push_back({&f, &*f.summary});
    } else {
      unread.push_back(&f);
    }
  }
  std::map<std::string, std::vector<Filing*>, decltype(&NitBefore)> byNit(&NitBefore);
  for (Filing& f : filings) byNit[f.summary->nit].push_back(&f);

  std::vector<RegisterRow> rows;
  rows.reserve(found.size());
  for (auto& [nit, taxpayer] : byNit) TaxpayerRows(taxpayer, rows);

  std::sort(unread.begin(), unread.end(),
            [](const FoundDeclaration* a, const FoundDeclaration* b) { return a->file < b->file; });
  for (const FoundDeclaration* f : unread) {
    rows.push_back({FilingState::kAlterada, {}, f->file, f->mtimeNs, f->reason});
  }
  return rows;
}

RegisterCounts CountRows(const std::vector<RegisterRow>& rows) {
  RegisterCounts counts;
  std::set<std::string_view> nits;
  for (const RegisterRow& row : rows) {
    // An altered or unreadable file is not counted as a declaration: the
    // user must not take it for one filed.
    if (row.state == FilingState::kSinDeclaracion) {
      ++counts.missingMonths;
    } else if (row.state == FilingState::kAlterada) {
      ++counts.unreadable;
    } else {
      ++counts.declarations;
    }
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
