// What the register reports of folders as an accountant's, an unlucky
// user's or an attacker's can be: one case per line, each over real files,
// scanned (twice when the case changes something between the scans).
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "register/catalog.h"
#include "register/check_digit_avisos.h"
#include "tests/support/filed_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

// Two listed folders, "a" and "b", and declarations filed in them one after
// the other: each file a second newer than the one before.
class Lab {
 public:
  Lab() {
    fs::create_directories(a);
    fs::create_directories(b);
    request.folders = {a, b};
    request.cacheDir = temp.path() / "cache";
    request.currentYear = 2025;
    request.currentMonth = 6;
  }

  // A declaration of NIT 900 filed in `folder`; its opening and closing
  // balances 1500.00 unless `boxes` says otherwise.
  fs::path File(const fs::path& folder, int year, int month, const std::string& number,
                const std::string& rectifies = "", const std::map<int, std::string>& boxes = {}) {
    testing::SampleDeclaration d =
        testing::MonthlySample("900", "LA ESQUINA", year, month, number, rectifies);
    for (int p = 0; p < kProductRowCount; ++p) d.boxes[6 + 8 * p] = d.boxes[13 + 8 * p] = "1500.00";
    for (const auto& [box, text] : boxes) d.boxes[box] = text;
    const fs::path file = testing::FileDeclaration(folder, d);
    Age(file);
    return file;
  }

  // Sets the file's modification time a second after the last one set.
  void Age(const fs::path& file) {
    fs::last_write_time(file, fs::file_time_type(std::chrono::seconds(1700000000 + ++m_age)));
  }

  fs::path Copy(const fs::path& file, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(file, to);
    Age(to);
    return to;
  }

  std::vector<RegisterRow> Scan() {
    last = BuildCatalog(request, cancel, nullptr);
    AddCheckDigitAvisos(last.rows, wrongCheckDigit);
    return last.rows;
  }

  testing::TemporaryDirectory temp;
  fs::path a = temp.path() / "a", b = temp.path() / "b";
  CatalogRequest request;
  CatalogResult last;
  std::set<std::string> wrongCheckDigit;  // as the form's scripts would answer
  std::atomic<bool> cancel{false};

 private:
  int m_age = 0;
};

// "number:State [avisos]" for declarations, the folder before the number when
// it is not the one "Validar" makes; "MM/AAAA:Sin declaración", a run of
// missing months as "MM/AAAA-MM/AAAA"; "name:Alterada o ilegible (reason)".
std::string Listed(const std::vector<RegisterRow>& rows) {
  std::vector<std::string> listed;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RegisterRow& r = rows[i];
    const std::string state(FilingStateText(r.state));
    if (r.state == FilingState::kSinDeclaracion) {
      std::size_t end = i;
      while (end + 1 < rows.size() && rows[end + 1].state == FilingState::kSinDeclaracion) ++end;
      std::string period = PeriodText(r.summary.year, r.summary.month);
      if (end > i) period += "-" + PeriodText(rows[end].summary.year, rows[end].summary.month);
      listed.push_back(period + ":" + state);
      i = end;
    } else if (r.state == FilingState::kAlterada) {
      listed.push_back(r.file.filename().string() + ":" + state + " (" + r.reason + ")");
    } else {
      const std::string folder = r.file.parent_path().filename().string();
      listed.push_back((folder == "7301" ? "" : folder + "/") + r.summary.formNumber + ":" + state +
                       (r.avisos.empty() ? "" : " [" + r.avisos + "]"));
    }
  }
  std::string text;
  for (const std::string& row : listed) text += (text.empty() ? "" : "; ") + row;
  return text;
}

void KeepSizeAndMtime(const fs::path& file, const std::string& bytes) {
  const auto mtime = fs::last_write_time(file);
  ASSERT_EQ(fs::file_size(file), bytes.size());
  testing::WriteBytes(file, bytes);
  fs::last_write_time(file, mtime);
}

using Step = std::function<void(Lab&)>;

struct Case {
  const char* what;
  Step setup;
  Step change;  // when set, scanned once before it and listed after
  std::string listed;
  bool asRootToo = true;  // false: root reads a file of mode 000 all the same
};

TEST(RegisterTable, EachCaseListsWhatWasFiled) {
  // One case per line.
  // clang-format off
  const std::vector<Case> cases = {
      // One filing, one row.
      {"a link to a listed folder lists its files once", [](Lab& l) { l.File(l.a, 2024, 3, "00000001"); fs::remove(l.b); fs::create_directory_symlink(l.a, l.b); }, {}, "00000001:Vigente"},
      {"a hard link is the same filing", [](Lab& l) { const fs::path f = l.File(l.a, 2024, 3, "00000001"); fs::create_hard_link(f, l.b / f.filename()); }, {}, "00000001:Vigente"},
      {"a folder under two listed folders is walked for both, listed once", [](Lab& l) { l.File(l.a / "sub", 2024, 3, "00000001"); l.request.folders = {l.a, l.a / "sub"}; }, {}, "00000001:Vigente"},
      {"a backup copy is a Copia after its original, no Duplicada", [](Lab& l) { const fs::path f = l.File(l.a, 2024, 3, "00000001"); l.Copy(f, l.b / "respaldo" / f.filename()); }, {}, "00000001:Vigente; respaldo/00000001:Copia"},
      {"the original is the older file, wherever it lies", [](Lab& l) { const fs::path f = l.File(l.a, 2024, 3, "00000001"); l.Copy(f, l.b / "respaldo" / f.filename()); fs::last_write_time(f, fs::last_write_time(f) + std::chrono::hours(1)); }, {}, "respaldo/00000001:Vigente; 00000001:Copia"},
      {"a different declaration under the same number is a second filing", [](Lab& l) { l.File(l.a, 2024, 3, "00000001"); l.File(l.b, 2024, 3, "00000001", "", {{1621, "99.00"}}); }, {}, "00000001:Duplicada; 00000001:Vigente"},
      // The index never outlives a change.
      {"a rewrite with size and mtime kept is read again", [](Lab& l) { l.File(l.a, 2024, 3, "00000001"); }, [](Lab& l) { const fs::path f = l.a / "900" / "7301" / "RTQ-90073012403" "00000001"; KeepSizeAndMtime(f, std::string(fs::file_size(f), 'A')); }, "RTQ-9007301240300000001:Alterada o ilegible (El sello no es válido: el archivo fue " "alterado o no es una declaración.)"},
      {"a file unreadable at first reads once its mode is 644", [](Lab& l) { fs::permissions(l.File(l.a, 2024, 3, "00000001"), fs::perms::none); }, [](Lab& l) { fs::permissions(l.a / "900" / "7301" / "RTQ-90073012403" "00000001", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read); }, "00000001:Vigente", false},
      // No false gaps.
      {"a flood in one folder stops its walk only, and no month is listed missing", [](Lab& l) { for (int i = 0; i < 30; ++i) testing::WriteBytes(l.a / std::to_string(i), ""); l.File(l.b, 2024, 1, "00000001"); l.File(l.b, 2024, 3, "00000003"); l.request.limits.maxEntries = 20; }, {}, "00000001:Vigente; 00000003:Vigente"},
      {"a folder gone: no month is listed missing", [](Lab& l) { l.File(l.b, 2024, 1, "00000001"); l.File(l.b, 2024, 3, "00000003"); fs::remove(l.a); }, {}, "00000001:Vigente; 00000003:Vigente"},
      {"all walked: the month between is missing", [](Lab& l) { l.File(l.b, 2024, 1, "00000001"); l.File(l.b, 2024, 3, "00000003"); }, {}, "00000001:Vigente; 02/2024:Sin declaración; 00000003:Vigente"},
      // Periods that can exist.
      {"a period before 01/2000 cannot be", [](Lab& l) { l.File(l.a, 1999, 12, "00000001"); }, {}, "RTQ-9007301991200000001:Alterada o ilegible (El periodo 12/1999 no es posible.)"},
      {"a period after December of next year cannot be", [](Lab& l) { l.File(l.a, 2027, 1, "00000001"); l.File(l.a, 2026, 12, "00000002"); }, {}, "00000002:Vigente; RTQ-9007301270100000001:Alterada o ilegible (El periodo 01/2027 no es " "posible.)"},
      {"missing months go 120 back from the latest filing", [](Lab& l) { l.File(l.a, 2000, 1, "00000001"); l.File(l.a, 2024, 12, "00000002"); }, {}, "00000001:Vigente; 12/2014-11/2024:Sin declaración; 00000002:Vigente"},
      {"and never past the current month", [](Lab& l) { l.File(l.a, 2025, 4, "00000001"); l.File(l.a, 2026, 12, "00000002"); }, {}, "00000001:Vigente; 05/2025-06/2025:Sin declaración; 00000002:Vigente"},
      // Chains that make sense.
      {"a rectification of the same period", [](Lab& l) { l.File(l.a, 2024, 3, "00000001"); l.File(l.a, 2024, 3, "00000002", "730100000001"); }, {}, "00000001:Rectificada; 00000002:Vigente"},
      {"a 1619 naming another period links nothing and warns", [](Lab& l) { l.File(l.a, 2024, 2, "00000001"); l.File(l.a, 2024, 3, "00000002", "730100000001"); }, {}, "00000001:Vigente; 00000002:Vigente [Rectifica una declaración de otro periodo (02/2024)]"},
      {"a 1619 naming no file warns", [](Lab& l) { l.File(l.a, 2024, 3, "00000002", "730100000009"); }, {}, "00000002:Vigente [Rectifica un formulario que no está en las carpetas]"},
      {"a loop: the later one rectifies the earlier", [](Lab& l) { l.File(l.a, 2024, 3, "00000001", "730100000002"); l.File(l.a, 2024, 3, "00000002", "730100000001"); }, {}, "00000001:Rectificada; 00000002:Vigente"},
      {"a loop of three keeps one in force", [](Lab& l) { l.File(l.a, 2024, 3, "00000001", "730100000003"); l.File(l.a, 2024, 3, "00000002", "730100000001"); l.File(l.a, 2024, 3, "00000003", "730100000002"); }, {}, "00000001:Rectificada; 00000002:Rectificada; 00000003:Vigente"},
      // Each month checked against the one before.
      {"an opening balance that is not the closing one of the month before", [](Lab& l) { l.File(l.a, 2024, 2, "00000001", "", {{13, "1600.00"}}); l.File(l.a, 2024, 3, "00000002", "", {{6, "1700.00"}}); }, {}, "00000001:Vigente; 00000002:Vigente [Saldo inicial distinto del saldo final de 02/2024: " "Gasolina superior 1700.00 en lugar de 1600.00]"},
      {"the same number written otherwise is the same", [](Lab& l) { l.File(l.a, 2024, 2, "00000001", "", {{13, "1600"}, {21, "0"}}); l.File(l.a, 2024, 3, "00000002", "", {{6, "01600.0"}, {14, ""}}); }, {}, "00000001:Vigente; 00000002:Vigente"},
      {"the balances of the declaration in force count, and more products differ", [](Lab& l) { l.File(l.a, 2024, 2, "00000001"); l.File(l.a, 2024, 2, "00000002", "730100000001", {{13, "1.00"}, {21, "2.00"}, {29, "3.00"}}); l.File(l.a, 2024, 3, "00000003"); }, {}, "00000001:Rectificada; 00000002:Vigente; 00000003:Vigente [Saldo inicial distinto del saldo " "final de 02/2024: Gasolina superior 1500.00 en lugar de 1.00 y 2 productos más]"},
      {"a NIT of a wrong check digit warns on each filing, not on a copy", [](Lab& l) { l.wrongCheckDigit = {"900"}; const fs::path f = l.File(l.a, 2024, 3, "00000001"); l.Copy(f, l.b / "respaldo" / f.filename()); l.File(l.a, 2024, 3, "00000002", "730100000001"); const fs::path g = l.File(l.a, 2024, 4, "00000003"); fs::rename(g, g.parent_path() / "RTQ-90073012405" "00000003"); }, {}, "00000001:Rectificada [NIT con dígito verificador inválido]; respaldo/00000001:Copia; 00000002:Vigente [NIT con dígito verificador inválido]; 00000003:Vigente [El nombre del archivo indica otro NIT o periodo | NIT con dígito verificador inválido]"},
      {"a file named for another period", [](Lab& l) { const fs::path f = l.File(l.a, 2024, 3, "00000001"); fs::rename(f, f.parent_path() / "RTQ-9007301240400000001"); }, {}, "00000001:Vigente [El nombre del archivo indica otro NIT o periodo]"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.asRootToo && ::geteuid() == 0) continue;
    Lab lab;
    c.setup(lab);
    if (c.change) {
      lab.Scan();
      c.change(lab);
    }
    EXPECT_EQ(Listed(lab.Scan()), c.listed);
    lab.request.cacheDir.clear();  // read afresh, with no index: the same list
    EXPECT_EQ(Listed(lab.Scan()), c.listed);
  }
}

TEST(RegisterTable, TheStatusOfAWalkNotFinished) {
  Lab lab;
  lab.File(lab.b, 2024, 1, "00000001");
  EXPECT_TRUE(BuildCatalog(lab.request, lab.cancel, nullptr).complete);
  fs::remove(lab.a);
  EXPECT_FALSE(BuildCatalog(lab.request, lab.cancel, nullptr).complete);
}

}  // namespace
}  // namespace f7301
