// Form RTQ-7301: constants, the restriction records of every box and of the
// annex columns, and the rules that compute boxes.
//
// Everything here is a page global: the page's inline handlers, the editable
// page's annex script and the other three scripts reach it by name.

var MINELEMENT = 1;
var MAXELEMENT = 121;
var FORMATODECIMAL = "0.00";

// Annex tables. Index 0 of every per-table list is reserved: tables count from 1.
var ANEXOS = 1;
var ANEXO = [0, 3];
var ANEXOSINICIALES = 3;
var VANEXOSINICIALES = [0, 3];
var VMAXANEXOS = [0, 500];
var VMAXCOL = [0, 3];
var maxcol = 3;

// Per-product sums of the annex gallons, as last computed by calculo_c1618.
// x9 belongs to bulk liquefied gas, which the annex does not offer.
var x1 = 0, x2 = 0, x3 = 0, x4 = 0, x5 = 0, x6 = 0, x7 = 0;
var x8 = 0, x9 = 0, x10 = 0, x11 = 0, x12 = 0, x13 = 0;

// The annex products in list order; each is summed into "x" + suma and must
// match the exempt sales of grid box "c" + casilla.
var PRODUCTOSANEXO = [
  { nombre: "GASOLINA SUPERIOR", suma: 1, casilla: 12 },
  { nombre: "GASOLINA REGULAR", suma: 2, casilla: 20 },
  { nombre: "GASOLINA DE AVIACION", suma: 3, casilla: 28 },
  { nombre: "DIESEL", suma: 4, casilla: 36 },
  { nombre: "GAS OIL", suma: 5, casilla: 44 },
  { nombre: "KEROSINA (DPK) (AVJET, TURBO FUEL)", suma: 6, casilla: 52 },
  { nombre: "NAFTA", suma: 7, casilla: 60 },
  { nombre: "FUEL OIL (BUNKER C)", suma: 8, casilla: 68 },
  { nombre: "GAS LICUADO PETROLEO CARBURACION", suma: 10, casilla: 84 },
  { nombre: "PETROLEO CRUDO USADO COMO COMBUSTIBLE", suma: 11, casilla: 92 },
  { nombre: "OTROS COMBUSTIBLES DERIVADOS DEL PETROLEO", suma: 12, casilla: 100 },
  { nombre: "ASFALTOS", suma: 13, casilla: 108 }
];

// What the user may put into one box, and how the page treats it.
function restriccion(id, tipo, decimal, requerido, longmax, longmin, valormax, valormin,
                     formula, calculo, predeterminado, protegido, resaltado, total,
                     condicion, visado) {
  this.id = id;
  this.tipo = tipo;
  this.decimal = decimal;
  this.requerido = requerido;
  this.longmax = longmax;
  this.longmin = longmin;
  this.valormax = valormax;
  this.valormin = valormin;
  this.formula = formula;
  this.calculo = calculo;
  this.predeterminado = predeterminado;
  this.protegido = protegido;
  this.resaltado = resaltado;
  this.total = total;
  this.condicion = condicion;
  this.visado = visado;
}

var MAXIMOMONTO = "9999999999.99";

// A restriction from the few properties that set it apart; everything not
// named is empty or false (no box of this form limits its length, carries a
// default, takes an annex total or is compared with one).
function regla(id, tipo, p) {
  return new restriccion(id, tipo, !!p.decimal, !!p.requerido, "", "",
                         p.valormax || "", p.valormin || "", !!p.calculo, p.calculo || "", "",
                         !!p.protegido, !!p.resaltado, "", p.condicion || "", false);
}

function monto(id) {
  return regla(id, "N", { decimal: true, valormax: MAXIMOMONTO, valormin: "0.00" });
}

function calculada(id) {
  return regla(id, "N", { decimal: true, calculo: "calculo_" + id + "()", protegido: true });
}

// The grid boxes that the page computes: each product's closing balance and
// the whole totals row.
function escalculada(casilla) {
  if (casilla >= 110 && casilla <= 117) return true;
  return casilla >= 6 && casilla <= 109 && (casilla - 6) % 8 == 7;
}

function reglacasilla(casilla) {
  var id = "c" + casilla;
  if (casilla == 1) return regla(id, "N", { protegido: true });
  if (casilla <= 3) return regla(id, "A", { requerido: true });
  if (casilla <= 5) return regla(id, "F", { requerido: true });
  return escalculada(casilla) ? calculada(id) : monto(id);
}

// Rows 1 to 117 are the boxes c1 to c117; rows 118 to 121 the boxes after the annex.
function atributo() {
  this[0] = regla(0, "", {});
  for (var casilla = 1; casilla <= 117; casilla++) this[casilla] = reglacasilla(casilla);
  this[118] = calculada("c1618");
  this[119] = regla("c1619", "E", { valormin: "0", condicion: "condicion_c1619()" });
  this[120] = monto("c1620");
  this[121] = regla("c1621", "N", { decimal: true, valormin: "0", protegido: true, resaltado: true,
                                    condicion: "condicion_c1621()" });
}

// What the user may put into one column of an annex table. formula and
// condicion name the rules "calculo_" and "condicion_" + columna.
function objetoanexo(columna, tipo, decimal, requerido, longmax, longmin, valormax, valormin,
                     formula, predeterminado, protegido, resaltado, condicion) {
  this.columna = columna;
  this.tipo = tipo;
  this.decimal = decimal;
  this.requerido = requerido;
  this.longmax = longmax;
  this.longmin = longmin;
  this.valormax = valormax;
  this.valormin = valormin;
  this.formula = formula;
  this.predeterminado = predeterminado;
  this.protegido = protegido;
  this.resaltado = resaltado;
  this.condicion = condicion;
}

// The exempt-sales annex: buyer's NIT, exempt gallons, product.
function objetotabla() {
  this[0] = new objetoanexo("", "", false, false, "", "", "", "", false, "", false, false, false);
  this[1] = new objetoanexo("col1", "A", false, false, "", "", "", "", false, "", false, false, false);
  this[2] = new objetoanexo("col2", "N", true, false, "", "", MAXIMOMONTO, "0.00", false, "", false, false, false);
  this[3] = new objetoanexo("col3", "A", false, false, "", "", "", "", false, "", false, false, false);
}

function atributoanexo2() {
  this[1] = new objetotabla();
}

// A box's value as a number; an empty box counts 0. A text that is no
// amount has not been checked yet (a draft put back with the caret still in
// the box): until it is, it counts nothing, as in the annex.
function valorcasilla(nombre) {
  var campo = BuscaObj(nombre);
  if (!campo || campo.value == "") return 0;
  var numero = Number(campo.value);
  return isFinite(numero) ? numero : 0;
}

// Opening balance + taxable purchases + positive adjustments, minus negative
// adjustments, exports, taxable sales and exempt sales of the product whose
// first box is b.
function saldofinal(b) {
  var entradas = valorcasilla("c" + b) + valorcasilla("c" + (b + 1)) + valorcasilla("c" + (b + 2));
  var salidas = valorcasilla("c" + (b + 3)) + valorcasilla("c" + (b + 4)) +
                valorcasilla("c" + (b + 5)) + valorcasilla("c" + (b + 6));
  return entradas - salidas;
}

// Column k (0 to 7) of the grid summed over the thirteen products.
function totalcolumna(k) {
  var suma = 0;
  for (var p = 0; p < 13; p++) suma += valorcasilla("c" + (6 + 8 * p + k));
  return suma;
}

function calculo_c13() { return saldofinal(6); }
function calculo_c21() { return saldofinal(14); }
function calculo_c29() { return saldofinal(22); }
function calculo_c37() { return saldofinal(30); }
function calculo_c45() { return saldofinal(38); }
function calculo_c53() { return saldofinal(46); }
function calculo_c61() { return saldofinal(54); }
function calculo_c69() { return saldofinal(62); }
function calculo_c77() { return saldofinal(70); }
function calculo_c85() { return saldofinal(78); }
function calculo_c93() { return saldofinal(86); }
function calculo_c101() { return saldofinal(94); }
function calculo_c109() { return saldofinal(102); }

function calculo_c110() { return totalcolumna(0); }
function calculo_c111() { return totalcolumna(1); }
function calculo_c112() { return totalcolumna(2); }
function calculo_c113() { return totalcolumna(3); }
function calculo_c114() { return totalcolumna(4); }
function calculo_c115() { return totalcolumna(5); }
function calculo_c116() { return totalcolumna(6); }
function calculo_c117() { return totalcolumna(7); }

function productoanexo(nombre) {
  for (var i = 0; i < PRODUCTOSANEXO.length; i++) {
    if (PRODUCTOSANEXO[i].nombre === nombre) return PRODUCTOSANEXO[i];
  }
  return null;
}

// Sums the annex gallons per product into x1 .. x13 and returns their total.
// Rows the page does not hold are passed over.
function calculo_c1618() {
  var sumas = [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0];
  for (var fila = 1; fila <= ANEXO[1]; fila++) {
    var galones = celdade(1, fila, 2);
    var producto = celdade(1, fila, 3);
    if (!galones || !producto) continue;
    var p = productoanexo(producto.value);
    // A value kept beside an incomplete row has not been checked yet: until
    // it is, a text that is no amount counts nothing.
    var cantidad = galones.value == "" ? 0 : Number(galones.value);
    if (p && isFinite(cantidad)) sumas[p.suma] += cantidad;
  }
  var total = 0;
  for (var n = 1; n <= 13; n++) {
    window["x" + n] = sumas[n];
    total += sumas[n];
  }
  return total;
}

function condicion_c1619() {
  var campo = BuscaObj("c1619");
  if (campo.value == "" || Number(campo.value) > 0) return campo.value;
  alert("Error:\nLa casilla \"Nº de la declaración que se rectifica\" contiene caracteres no permitidos.\nPor favor corrija el error ingresando números enteros mayores a cero.");
  marcainvalida(campo);
  campo.focus();
  return "";
}

// The total to pay is the fine, rounded to cents (halves upward).
function condicion_c1621() {
  return Math.round(valorcasilla("c1620") * 100) / 100;
}
