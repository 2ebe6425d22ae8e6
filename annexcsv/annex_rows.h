#pragma once
// The rows of the exempt-sales annex as they travel between a CSV file and
// the form page, and the problems found on the way, by line of the file.
#include <string>
#include <vector>

namespace f7301 {

// One sale: the buyer's NIT, the exempt gallons and the product, as UTF-8
// texts. `line` is the line of the file it was read from (0 when it comes
// from the page).
struct AnnexSale {
  int line = 0;
  std::string nit;
  std::string gallons;
  std::string product;

  bool operator==(const AnnexSale&) const = default;
};

// A fault of one line of an imported file. `column` is 1 (NIT), 2 (gallons)
// or 3 (product), 0 when it concerns the line as a whole. A warning lets the
// row be imported as it stands; an error stops the whole import.
struct AnnexProblem {
  int line = 0;
  int column = 0;
  std::string message;
  bool warning = false;

  bool operator==(const AnnexProblem&) const = default;
};

using AnnexSales = std::vector<AnnexSale>;
using AnnexProblems = std::vector<AnnexProblem>;

}  // namespace f7301
