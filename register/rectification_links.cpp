#include "register/rectification_links.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace f7301 {
namespace {

constexpr std::string_view kFormPrefix = "7301";
// Files of one number and period a single 1619 may link: more is crafted,
// and the links are not let grow with the square of the files.
constexpr std::size_t kMaxTargets = 16;

void LinkOne(Filing* f, const std::unordered_multimap<std::string_view, Filing*>& byNumber) {
  const std::string_view link = f->summary->rectifies;
  if (!link.starts_with(kFormPrefix)) return;
  const std::string_view number = link.substr(kFormPrefix.size());
  if (number == f->summary->formNumber) return;  // names itself: a copy of its own number
  const Filing* otherPeriod = nullptr;
  const auto [first, last] = byNumber.equal_range(number);
  for (auto it = first; it != last; ++it) {
    Filing* target = it->second;
    if (PeriodKey(*target->summary) != PeriodKey(*f->summary)) {
      otherPeriod = target;
    } else if (f->targets.size() < kMaxTargets) {
      f->targets.push_back(target);
    }
  }
  if (!f->targets.empty()) return;
  f->avisos.push_back(otherPeriod ? "Rectifica una declaración de otro periodo (" +
                                        PeriodTextOfKey(PeriodKey(*otherPeriod->summary)) + ")"
                                  : "Rectifica un formulario que no está en las carpetas");
}

// Tarjan's strongly connected components, without recursion: a crafted
// chain of thousands of links must not exhaust the stack.
class Components {
 public:
  explicit Components(const std::vector<Filing*>& filings) : m_filings(filings) {
    for (std::size_t i = 0; i < filings.size(); ++i) m_index.emplace(filings[i], i);
    m_order.assign(filings.size(), kUnseen);
    m_low.assign(filings.size(), 0);
    m_component.assign(filings.size(), kUnseen);
    m_onStack.assign(filings.size(), false);
    for (std::size_t i = 0; i < filings.size(); ++i) {
      if (m_order[i] == kUnseen) Visit(i);
    }
  }

  std::size_t Of(const Filing* f) const { return m_component[m_index.at(f)]; }

 private:
  static constexpr std::size_t kUnseen = static_cast<std::size_t>(-1);

  void Enter(std::size_t v) {
    m_order[v] = m_low[v] = m_next++;
    m_stack.push_back(v);
    m_onStack[v] = true;
    m_calls.push_back({v, 0});
  }

  void Visit(std::size_t root) {
    Enter(root);
    while (!m_calls.empty()) {
      auto& [v, edge] = m_calls.back();
      const std::vector<Filing*>& targets = m_filings[v]->targets;
      if (edge < targets.size()) {
        const std::size_t w = m_index.at(targets[edge++]);
        if (m_order[w] == kUnseen) {
          Enter(w);
        } else if (m_onStack[w]) {
          m_low[v] = std::min(m_low[v], m_order[w]);
        }
        continue;
      }
      const std::size_t done = v;
      m_calls.pop_back();
      if (!m_calls.empty()) {
        const std::size_t parent = m_calls.back().first;
        m_low[parent] = std::min(m_low[parent], m_low[done]);
      }
      if (m_low[done] == m_order[done]) Close(done);
    }
  }

  void Close(std::size_t head) {
    for (;;) {
      const std::size_t w = m_stack.back();
      m_stack.pop_back();
      m_onStack[w] = false;
      m_component[w] = head;
      if (w == head) return;
    }
  }

  const std::vector<Filing*>& m_filings;
  std::unordered_map<const Filing*, std::size_t> m_index;
  std::vector<std::size_t> m_order, m_low, m_component, m_stack;
  std::vector<bool> m_onStack;
  std::vector<std::pair<std::size_t, std::size_t>> m_calls;  // filing, next link to follow
  std::size_t m_next = 0;
};

void CutLoops(std::vector<Filing*>& filings) {
  const Components components(filings);
  for (Filing* f : filings) {
    std::erase_if(f->targets, [&](const Filing* target) {
      return components.Of(f) == components.Of(target) && GeneratedBefore(f, target);
    });
  }
}

}  // namespace

void LinkRectifications(std::vector<Filing*>& filings) {
  std::unordered_multimap<std::string_view, Filing*> byNumber;
  for (Filing* f : filings) byNumber.emplace(f->summary->formNumber, f);
  for (Filing* f : filings) LinkOne(f, byNumber);
  CutLoops(filings);
  for (Filing* f : filings) {
    for (Filing* target : f->targets) target->isRectified = true;
    if (!f->targets.empty()) f->rectified = f->targets.front();
  }
  // The links now run one way: each chain ends at an original.
  for (Filing* f : filings) {
    for (const Filing* up = f->rectified; up && f->depth < filings.size(); up = up->rectified) {
      ++f->depth;
    }
  }
}

}  // namespace f7301
