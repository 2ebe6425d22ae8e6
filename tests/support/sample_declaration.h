#pragma once
// Declaration XML for tests and benchmarks, written exactly as the form page
// writes it: one line, no XML declaration, a blank around every element.
#include <map>
#include <string>
#include <vector>

namespace f7301::testing {

struct AnnexRow {
  std::string nit;
  std::string gallons;
  std::string product;
};

struct SampleDeclaration {
  std::string numero = "10203045";
  std::string nit = "12345679";
  std::string nombre = "ESTACION DE SERVICIO EL PROGRESO";
  std::string desde = "20110301";
  std::string hasta = "20110331";
  // Box number (6..117, 1618..1621) to its text; a missing box is written "0".
  std::map<int, std::string> boxes;
  // A row whose NIT or gallons is empty is left out, its three ids consumed.
  std::vector<AnnexRow> annex;
  std::string fecpre = "05/03/2011";
  std::string monto = "0";
};

// The declaration XML of `d` (Windows-1252 bytes, as the page hands it over).
std::string DeclarationXml(const SampleDeclaration& d);

// Every grid box filled, the settlement boxes filled, and `annexRows` annex
// rows with long values: the largest realistic declaration for that row count.
SampleDeclaration FullSample(int annexRows);

}  // namespace f7301::testing
