#include "tests/support/sample_declaration.h"

#include "formpage/field_model.h"

namespace f7301::testing {
namespace {

std::string Box(int id, const std::string& value) {
  return " <CASILLA ID=\"" + std::to_string(id) + "\">" + value + "</CASILLA> ";
}

std::string CdataBox(int id, const std::string& value) {
  return " <CASILLA ID=\"" + std::to_string(id) + "\"><![CDATA[" + value + "]]></CASILLA> ";
}

std::string BoxValue(const SampleDeclaration& d, int id) {
  auto it = d.boxes.find(id);
  return it == d.boxes.end() || it->second.empty() ? "0" : it->second;
}

}  // namespace

std::string DeclarationXml(const SampleDeclaration& d) {
  std::string x;
  x += " <FORMULARIO NUMERO=\"" + d.numero + "\"> ";
  x += " <SOURCE>VELAROPC</SOURCE> ";
  x += " <REALSOURCE>VELAROLIGHT</REALSOURCE> ";
  x += " <VERSION>2.0</VERSION> ";
  x += " <CODIGO_FORMULARIO>730</CODIGO_FORMULARIO> ";
  x += " <NUMERO_VERSION>1</NUMERO_VERSION> ";
  x += " <ID_CAMBIO>2.2</ID_CAMBIO> ";
  x += " <NIT>" + d.nit + "</NIT> ";
  x += " <PERIODO_DESDE>" + d.desde + "</PERIODO_DESDE> ";
  x += " <PERIODO_HASTA>" + d.hasta + "</PERIODO_HASTA> ";
  x += " <ANEXOS>0</ANEXOS> ";
  x += " <NOMBRE><![CDATA[" + d.nombre + "]]></NOMBRE> ";
  x += " <DIRECCION></DIRECCION> ";
  x += " <CONTADOR>0</CONTADOR> ";
  x += " <CASILLAS> ";
  for (int id = 6; id <= 117; ++id) x += Box(id, BoxValue(d, id));
  for (std::size_t r = 0; r < d.annex.size(); ++r) {
    const AnnexRow& row = d.annex[r];
    if (row.nit.empty() || row.gallons.empty()) continue;
    const int first = 118 + 3 * static_cast<int>(r);
    x += CdataBox(first, row.nit);
    x += Box(first + 1, row.gallons);
    x += CdataBox(first + 2, row.product);
  }
  for (int id = 1618; id <= 1621; ++id) x += Box(id, BoxValue(d, id));
  x += "<CASILLA ID=\"FECPRE\">" + d.fecpre + "</CASILLA>";
  x += "<CASILLA ID=\"LUGPRE\">----------</CASILLA>";
  x += " </CASILLAS> ";
  x += " <MONTO>" + d.monto + "</MONTO> ";
  x += " </FORMULARIO> ";
  return x;
}

SampleDeclaration FullSample(int annexRows) {
  SampleDeclaration d;
  d.nombre =
      "DISTRIBUIDORA DE COMBUSTIBLES Y DERIVADOS DEL PETR\xD3LEO DE LA COSTA SUR, "
      "SOCIEDAD AN\xD3NIMA";
  for (int id = 6; id <= 117; ++id) d.boxes[id] = std::to_string(1000000 + id * 37) + ".25";
  d.boxes[1618] = "9999999999.99";
  d.boxes[1619] = "730112345678";
  d.boxes[1620] = "100.00";
  d.boxes[1621] = "100.00";
  d.monto = "100.00";
  for (int r = 0; r < annexRows; ++r) {
    d.annex.push_back({"1234567890123" + std::to_string(r % 10), "9999999999.99",
                       kAnnexProducts[static_cast<std::size_t>(r) % kAnnexProducts.size()]});
  }
  return d;
}

}  // namespace f7301::testing
