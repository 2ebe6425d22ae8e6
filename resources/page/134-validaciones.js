// Form RTQ-7301: setting the boxes up, the checks run when a box or an annex
// cell is left, the whole-form check, and recomputing the form.

var c = new atributo();
var a = new atributoanexo2();

var PERIODO = ["dia_ini", "mes_ini", "anio_ini", "dia_fin", "mes_fin", "anio_fin"];

// Shown for the first empty cell of an incomplete annex row, by column.
var FALTAENANEXO = [
  "",
  "Usted no ha ingresado el NIT, por favor ingrese la información que se indica.",
  "Usted no ha ingresado la cantidad de galones exentos, por favor ingrese la información que se indica.",
  "Usted no ha ingresado el tipo de producto, por favor ingrese la información que se indica."
];

function eslista(campo) {
  return campo.tagName == "SELECT";
}

// The browser's reading of a text as a number; an empty text reads 0. Infinity
// is no amount, so it counts as not numeric, and neither is a number written
// in another base ("0x10", "0b11", "0o7"), which the browser reads as well.
function esnumerico(texto) {
  return isFinite(Number(texto)) && !/^\s*0[xbo]/i.test(texto);
}

// A field is written only when its text changes: writing the same text again
// changes nothing the user sees, and costs time over 500 annex rows. A hidden
// input is always written, as its value is its markup's (the copy of the
// page shows it).
function ponsidistinto(campo, texto) {
  if (campo.value !== texto || campo.type == "hidden") campo.value = texto;
}

function rechaza(campo, mensaje) {
  alert(mensaje);
  marcainvalida(campo);
  campo.focus();
  return false;
}

function revisanumero(regla, campo) {
  if (!esnumerico(campo.value)) {
    return rechaza(campo, "Error:\nLa casilla debe ser numérica y el valor debe ser ingresado sin comas");
  }
  if (regla.decimal && campo.value != "") ponsidistinto(campo, formatNumber(campo.value, FORMATODECIMAL));
  if (campo.value == "") return true;
  if (regla.valormax != "" && Number(campo.value) > Number(regla.valormax)) {
    return rechaza(campo, "Error:\nEl valor de la casilla sobrepasa el máximo de " + regla.valormax + " ");
  }
  if (regla.valormin != "" && Number(campo.value) < Number(regla.valormin)) {
    return rechaza(campo, "Error:\nEl valor de la casilla está abajo del mínimo de " + regla.valormin + " ");
  }
  return true;
}

function revisatexto(regla, campo) {
  if (campo.value == "") return true;
  if (regla.longmax != "" && campo.value.length > Number(regla.longmax)) {
    return rechaza(campo, "Error:\nLa longitud de la casilla sobrepasa el máximo de " + regla.longmax + " caracteres");
  }
  if (regla.longmin != "" && campo.value.length < Number(regla.longmin)) {
    return rechaza(campo, "Error:\nLa longitud de la casilla está abajo del mínimo de " + regla.longmin + " caracteres");
  }
  return true;
}

function revisaentero(campo) {
  if (/^[0-9]*$/.test(campo.value)) return true;
  return rechaza(campo, "Error:\nLa casilla acepta unicamente valores enteros positivos. Por favor corrija ingresando un valor entero.");
}

// fila: a row of the restriction table (its number) or an annex column record.
function reglade(fila) {
  return typeof fila == "object" ? fila : c[fila];
}

// Type and range check of one field; amounts are written with two decimals.
function bientipocontenido(fila, campo) {
  var regla = reglade(fila);
  switch (regla.tipo) {
    case "N": return revisanumero(regla, campo);
    case "A": return revisatexto(regla, campo);
    case "F": return fecha(campo);
    case "E": return revisaentero(campo);
  }
  return true;
}

// An empty field; a NIT box holding no NIT (nothing but zeros and blanks)
// counts as empty too.
function sinvalor(campo) {
  return campo.value === "" || (nitsinvalor(campo.value) && esnit(campo));
}

// True, after telling the user, when a required field is empty.
function requerido(fila, campo) {
  if (sinvalor(campo) && reglade(fila).requerido) {
    alert("Error:\nLa casilla está en blanco. Por favor llénela");
    marcainvalida(campo);
    campo.focus();
    return true;
  }
  return false;
}

// Checks every box in order and stops at the first that fails, so the user
// sees one message at a time.
function formulariovalido() {
  for (var i = MINELEMENT; i <= MAXELEMENT; i++) {
    var campo = BuscaObj(c[i].id);
    if (!campo) continue;
    if (requerido(i, campo) || !bientipocontenido(i, campo)) return false;
  }
  return true;
}

// Evaluates a rule held by name in the tables ("calculo_c13()").
function aplicaregla(texto) {
  return (0, eval)(texto);
}

// Computes one row's box, when it is computed, and writes an amount with two
// decimals (a zero stays as it is). The box is written once, with its last
// text: the form is computed after every box left, and most boxes keep
// their value.
function aplicafila(i) {
  var regla = c[i];
  var campo = BuscaObj(regla.id);
  if (!campo) return;
  var texto = campo.value;
  var calculada = false;
  if (regla.formula) {
    texto = textocasilla(campo, aplicaregla(regla.calculo));
    calculada = true;
  }
  if (regla.condicion != "") {
    // The rule may read the box itself.
    if (calculada) ponsidistinto(campo, texto);
    texto = textocasilla(campo, aplicaregla(regla.condicion));
    calculada = true;
  }
  if (regla.decimal && Number(texto) != 0) {
    var formateado = formatNumber(texto, FORMATODECIMAL);
    if (formateado !== null) {
      texto = formateado;
      calculada = true;
    }
  }
  if (calculada) ponsidistinto(campo, texto);
}

// The text box `campo` holds once `valor` is written into it. A text or
// hidden input keeps any text without line breaks as it is; other boxes are
// asked.
function textocasilla(campo, valor) {
  var texto = valor === null ? "" : String(valor);
  var tipo = campo.tagName == "INPUT" ? campo.type : "";
  if ((tipo == "text" || tipo == "hidden") && !/[\r\n]/.test(texto)) return texto;
  campo.value = texto;
  return campo.value;
}

// Computes the whole form; rows go in order, so closing balances are ready
// before the totals that add them.
function formulas() {
  for (var i = 1; i <= MAXELEMENT; i++) aplicafila(i);
}

// Applies the column rules of annex table k to each of its rows.
function calculaanexo(k) {
  for (var fila = 1; fila <= ANEXO[k]; fila++) {
    for (var col = 1; col <= VMAXCOL[k]; col++) {
      var regla = a[k][col];
      if (!regla.formula && !regla.condicion) continue;
      var celda = celdade(k, fila, col);
      if (!celda) continue;
      if (regla.formula) celda.value = window["calculo_" + regla.columna](fila, k);
      if (regla.condicion) celda.value = window["condicion_" + regla.columna](fila, k);
    }
  }
}

// Writes into each box that carries one the annex total it stands for.
function totalesanexo() {
  for (var i = 1; i <= MAXELEMENT; i++) {
    if (c[i].total == "") continue;
    var campo = BuscaObj(c[i].id);
    if (campo) campo.value = aplicaregla(c[i].total);
  }
}

// The annex rules read their own row only, so the boxes are computed once,
// after every annex table: computing them after each table as well gave the
// same boxes at twice the cost over 500 rows.
function recalcula() {
  for (var k = 0; k <= ANEXOS; k++) {
    if (ANEXO[k] > 0 && a[k]) {
      calculaanexo(k);
      totalesanexo();
    }
  }
  formulas();
}

// Leaving a box: a value that fails its check is taken out; any other change
// is carried through the whole form.
function validaciones(campo) {
  conbusquedafija(function () { revisacasilla(campo); });
}

function revisacasilla(campo) {
  if (typeof campo == "string") campo = BuscaObj(campo);
  if (!campo) return;
  var fila = pos(campo.name);
  if (fila == 0) return;
  if (!bientipocontenido(fila, campo)) {
    campo.focus();
    campo.value = "";
    // The totals must not go on counting the value just taken out.
    recalcula();
    return;
  }
  recalcula();
}

function ponnegrita(nombre) {
  var campo = BuscaObj(nombre);
  if (campo) campo.style.fontWeight = "bold";
}

function preparacasilla(regla, campo) {
  campo.readOnly = regla.protegido;
  if (campo.value.replace(/ /g, "") == "") campo.value = regla.predeterminado;
  if (regla.tipo == "N") campo.style.textAlign = "right";
  if ((regla.tipo == "A" || regla.tipo == "E") && !eslista(campo)) campo.style.textAlign = "center";
  if (regla.protegido) campo.disabled = true;
  else if (!eslista(campo)) campo.style.fontWeight = "bold";
  if (regla.resaltado) campo.style.fontSize = "medium";
}

// Sets the boxes up when the page opens.
function inicial() {
  for (var p = 0; p < PERIODO.length; p++) ponnegrita(PERIODO[p]);
  for (var i = MINELEMENT; i <= MAXELEMENT; i++) {
    var campo = BuscaObj(c[i].id);
    if (campo) preparacasilla(c[i], campo);
  }
  ponnegrita(c[MAXELEMENT].id);
}

function celdaanexo(tabla, fila, col) {
  return "f" + tabla + fila + "c" + col;
}

function preparaceldaanexo(regla, celda) {
  celda.readOnly = regla.protegido;
  if (celda.value == "") celda.value = regla.predeterminado;
  if (regla.tipo == "N") celda.style.textAlign = "right";
  if (regla.tipo == "A" && !eslista(celda)) celda.style.textAlign = "left";
  if (regla.protegido) celda.disabled = true;
  else if (!eslista(celda)) celda.style.fontWeight = "bold";
}

// Sets the annex cells up; after rows were added the add-rows button takes
// the focus, ready for more.
function inicialanexo2() {
  for (var h = 1; h <= ANEXOS; h++) {
    for (var fila = 1; fila <= ANEXO[h]; fila++) {
      for (var col = 1; col <= VMAXCOL[h]; col++) {
        var celda = celdade(h, fila, col);
        if (celda) preparaceldaanexo(a[h][col], celda);
      }
    }
    if (ANEXO[h] > ANEXOSINICIALES) {
      var boton = BuscaObj("botonanexo" + h);
      if (boton) boton.focus();
    }
  }
}

function celdavacia(celda) {
  return celda.value == "";
}

// The first empty cell of the rows before `hasta`, or null when they are all
// complete; `vacia` tells an empty cell (by default one without text). Rows
// the page does not hold are passed over.
function primerafaltante(tabla, hasta, vacia) {
  vacia = vacia || celdavacia;
  for (var fila = 1; fila < hasta; fila++) {
    for (var col = 1; col <= VMAXCOL[tabla]; col++) {
      var celda = celdade(tabla, fila, col);
      if (celda && vacia(celda)) return { celda: celda, col: col };
    }
  }
  return null;
}

// Tells the user about the first incomplete row before `hasta`; true if there is one.
function avisafaltante(tabla, hasta, vacia) {
  var faltante = primerafaltante(tabla, hasta, vacia);
  if (!faltante) return false;
  avisaceldafaltante(faltante.celda, faltante.col);
  return true;
}

// Names what the empty cell of column `col` lacks, with the caret in it.
function avisaceldafaltante(celda, col) {
  alert(FALTAENANEXO[col]);
  marcainvalida(celda);
  celda.focus();
}

// Writes the row's amounts with two decimals (a zero stays as typed).
function reformateafila(tabla, fila) {
  for (var col = 1; col <= VMAXCOL[tabla]; col++) {
    if (!a[tabla][col].decimal) continue;
    var celda = celdade(tabla, fila, col);
    if (!celda) continue;
    if (celda.value != "" && Number(celda.value) != 0) {
      var texto = formatNumber(celda.value, FORMATODECIMAL);
      if (texto !== null) ponsidistinto(celda, texto);
    }
  }
}

// Leaving an annex cell: the rows above must be complete and the value must
// fit its column; then the form is recomputed.
function validacionesobjetoanexo(nombre, tabla, col) {
  conbusquedafija(function () { revisaceldaanexo(nombre, tabla, col); });
}

function revisaceldaanexo(nombre, tabla, col) {
  var partes = /^f(\d+)c(\d+)$/.exec(nombre);
  var celda = BuscaObj(nombre);
  if (!partes || !celda || !a[tabla]) return;
  var fila = Number(partes[1].substring(String(tabla).length));
  if (!col) col = Number(partes[2]);
  // An emptied cell asks nothing of the rows above, but the sums it was part
  // of must not stay on screen.
  if (celda.value == "") {
    formulas();
    return;
  }
  // The value stays where it was typed: the user completes the row named
  // and comes back to it, and it is checked when left again. The sums follow
  // what the page shows (a text that is no amount counts nothing).
  if (avisafaltante(tabla, fila)) {
    formulas();
    return;
  }
  if (!bientipocontenido(a[tabla][col], celda)) {
    celda.value = "";
    celda.focus();
    formulas();
    return;
  }
  reformateafila(tabla, fila);
  totalesanexo();
  formulas();
}

function filallena(tabla, fila) {
  for (var col = 1; col <= VMAXCOL[tabla]; col++) {
    var celda = celdade(tabla, fila, col);
    if (celda && celda.value != "" && Number(celda.value) != 0) return true;
  }
  return false;
}

// The last annex row holding anything, 0 when none does.
function ultimafilaanexo(tabla) {
  for (var fila = ANEXO[tabla]; fila >= 1; fila--) {
    if (filallena(tabla, fila)) return fila;
  }
  return 0;
}

function validaanexo2() {
  return ultimafilaanexo(1);
}

// The first cell of rows 1 to `hasta` that fails its column's check (the
// user is told), or null.
function revisaanexo(tabla, hasta) {
  for (var fila = 1; fila <= hasta; fila++) {
    for (var col = 1; col <= VMAXCOL[tabla]; col++) {
      var celda = celdade(tabla, fila, col);
      if (celda && !bientipocontenido(a[tabla][col], celda)) return celda;
    }
  }
  return null;
}

// Final annex check of "Validar", then the form check and generation.
function validaarchivoanexo() {
  conbusquedafija(revisaygenera);
}

// A cell that fails its check stops the sequence there, with its message and
// the caret in it: a value the form refuses is never sealed into a sworn
// declaration, whether it was typed beside an incomplete row, put back from
// a draft or left by an import.
function revisaygenera() {
  var ultima = ultimafilaanexo(1);
  // Here a buyer's NIT of zeros or blanks is no NIT: the row is incomplete.
  if (avisafaltante(1, ultima + 1, sinvalor)) return;
  if (revisaanexo(1, ultima)) return;
  for (var fila = 1; fila <= ultima; fila++) reformateafila(1, fila);
  totalesanexo();
  formulas();
  BuscaObj("nrenglon1").value = "0";
  BuscaObj("trenglon1").value = String(ANEXO[1]);
  validaarchivo();
}

function validaarchivo() {
  if (periodovigente() && formulariovalido() && declaracionguardable()) {
    formulas();
    habilita();
    nitsinguion();
    genera();
  }
}

// ---------------------------------------------------------------- screen readers

// The name a screen reader gives annex cell `col` of row `fila`. The page
// carries each column's name once, on the annex table, with "#" where the
// row number goes: rows added here are named by the rule that named the
// rows the page came with.
function nombreceldaanexo(tabla, fila, col) {
  var anexo = BuscaObj("tabla" + tabla);
  var plantilla = anexo ? anexo.getAttribute("data-nombre-c" + col) : null;
  return plantilla ? plantilla.replace("#", String(fila)) : "";
}

// A refused value leaves its box marked invalid for screen readers, where
// the focus returns to it. A box that cannot take the focus is not marked:
// nothing would ever clear the mark.
function marcainvalida(campo) {
  // The stand-ins of annex cells that an import checks are no page elements.
  if (!campo || !campo.setAttribute || campo.disabled || campo.type == "hidden") return;
  campo.setAttribute("aria-invalid", "true");
}

// Leaving a box clears its mark before the box's own check runs (listeners
// of the capture phase come first), so the check marks it again only if it
// refuses the value once more.
function desmarcainvalida(evento) {
  var campo = evento.target;
  if (campo && campo.removeAttribute) campo.removeAttribute("aria-invalid");
}

document.addEventListener("blur", desmarcainvalida, true);

// ---------------------------------------------------------------- review of the whole form

// The review lists every problem the form has now, in the order of the
// form, by running the very checks that typing and "Validar" run. They run
// on loose copies of the fields: what a check writes, focuses or marks lands
// on a copy, its messages are kept instead of shown, and the page is left as
// it was. While a review runs: the copies by field, the copy a check last
// sent the caret to, the lines found and the messages raised.
var REVISION = null;

function escampo(elemento) {
  return !!elemento && elemento.nodeType == 1 &&
         (elemento.tagName == "INPUT" || elemento.tagName == "SELECT" || elemento.tagName == "TEXTAREA");
}

// A field as the checks of a review see it: its copy, made once per review.
// The copy holds the value, the name and the kind, which every check reads;
// what else a check reads of it is read from the field when asked (reading
// each property of 1,600 fields up front cost more than the checks).
function copiaenrevision(elemento) {
  if (!elemento) return elemento;
  var copia = REVISION.copias.get(elemento);
  if (copia) return copia;
  if (!escampo(elemento)) return elemento;
  copia = Object.create(COPIAREVISADA);
  copia.value = elemento.value;
  copia.name = elemento.name;
  copia.tagName = elemento.tagName;
  copia.original = elemento;
  REVISION.copias.set(elemento, copia);
  return copia;
}

function leidodeloriginal(propiedad) {
  return { get: function () { return this.original[propiedad]; }, enumerable: true };
}

var COPIAREVISADA = Object.create(Object.prototype, {
  id: leidodeloriginal("id"),
  type: leidodeloriginal("type"),
  disabled: leidodeloriginal("disabled"),
  readOnly: leidodeloriginal("readOnly"),
  maxLength: leidodeloriginal("maxLength")
});
// Like an import's stand-in cells (celdasuelta), a copy takes without effect
// what the checks do to a faulty field; only where they send the caret is
// noted.
(function () {
  var nada = function () {};
  COPIAREVISADA.select = COPIAREVISADA.setSelectionRange = nada;
  COPIAREVISADA.setAttribute = COPIAREVISADA.removeAttribute = nada;
  COPIAREVISADA.getAttribute = function () { return null; };
  COPIAREVISADA.focus = function () { REVISION.foco = this; };
})();

// A message as the list shows it: without its leading "Error:" or
// "Warning:" line, which the line's class says.
function sinencabezado(mensaje) {
  return mensaje.replace(/^(Error|Warning):[ \t]*\n[ \t]*/, "");
}

function nombrehablado(campo) {
  return campo.getAttribute("aria-label") || campo.name || campo.id;
}

// Runs one check of field `campo` (a copy); each message it raises is a
// line of class `clase`, at the field the check sent the caret to, else at
// `campo`. True when it raised none.
function anota(campo, clase, revisa) {
  REVISION.foco = null;
  var desde = REVISION.mensajes.length;
  revisa();
  var mensajes = REVISION.mensajes.splice(desde);
  var lugar = (REVISION.foco || campo).original;
  for (var i = 0; i < mensajes.length; i++) {
    REVISION.lista.push({ campo: lugar.id || lugar.name, donde: nombrehablado(lugar),
                          texto: sinencabezado(mensajes[i]), clase: clase });
  }
  return mensajes.length == 0;
}

// A check of the review: `revisa` raises the messages of class `clase`.
function revision(clase, revisa) {
  return { clase: clase, revisa: revisa };
}

// The checks of one field in the order they run; the first error ends them,
// as the next ones mean nothing for a value it refuses.
function revisacampo(campo, revisiones) {
  for (var i = 0; i < revisiones.length; i++) {
    var r = revisiones[i];
    if (!anota(campo, r.clase, r.revisa) && r.clase == "Error") return;
  }
}

// What a NIT box and a text of the declaration add to a field's own checks.
function revisionescomunes(campo, guardables) {
  var revisiones = [];
  if (esnit(campo)) revisiones.push(revision("Error", function () { limpianit(campo); }));
  if (guardables.has(campo)) {
    var lugar = { campo: campo, cdata: guardables.get(campo) };
    revisiones.push(revision("Error", function () { lugarguardable(lugar); }));
  }
  if (esnit(campo)) revisiones.push(revision("Aviso", function () { avisadigitonit(campo); }));
  return revisiones;
}

// The boxes of rows `desde` to `hasta` of the restriction table.
function revisacasillas(desde, hasta, guardables) {
  for (var i = desde; i <= hasta; i++) {
    var campo = BuscaObj(c[i].id);
    if (campo) revisacampo(campo, revisionescasilla(i, campo, guardables));
  }
}

function revisionescasilla(fila, campo, guardables) {
  return [revision("Error", function () { requerido(fila, campo); }),
          revision("Error", function () { bientipocontenido(fila, campo); })].concat(
              revisionescomunes(campo, guardables), REVISIONESCASILLA[campo.name] || [],
              revisionesgrilla(fila));
}

// The checks that "Validar" adds to some boxes of their own.
var REVISIONESCASILLA = {
  c1619: [revision("Error", function () { valida_formulario(); })],
  c1620: [revision("Aviso", function () { valida_c1620(); })]
};

// Each product's exempt sales against its annex total, and its closing
// balance, which may not be below zero. Rows 1 to 117 of the restriction
// table are boxes c1 to c117: `casilla` is a row.
function revisionesgrilla(casilla) {
  for (var i = 0; i < PRODUCTOSANEXO.length; i++) {
    var p = PRODUCTOSANEXO[i];
    if (p.casilla == casilla) return [revision("Error", function () { avisadescuadre(p); })];
  }
  if (casilla > 109 || !escalculada(casilla)) return [];
  return [revision("Aviso", function () { avisasaldonegativo(casilla); })];
}

function textocentavos(centavos) {
  return formatNumber(centavos / 100, FORMATODECIMAL);
}

// A product as the form shows it: its row's name, which its boxes' names
// begin with ("Diesel, Ventas Exentas, casilla 36").
function nombreproducto(casilla) {
  var partes = nombrehablado(BuscaObj("c" + casilla).original).split(", ");
  return partes.length > 2 ? partes.slice(0, -2).join(", ") : partes[0];
}

function avisadescuadre(p) {
  var d = descuadreexentas(p);
  if (!d) return;
  alert(nombreproducto(p.casilla) + ": ventas exentas " + textocentavos(d.ventas) + ", anexo " +
        textocentavos(d.anexo) + ", diferencia " + textocentavos(d.ventas - d.anexo));
}

// The closing balance is box b + 7 of the product whose first box is b.
function avisasaldonegativo(casilla) {
  var saldo = montoencentavos(saldofinal(casilla - 7));
  if (saldo < 0) {
    alert("Saldo final negativo: " + textocentavos(saldo) +
          " galones. Por favor revise las entradas y salidas de " + nombreproducto(casilla) + ".");
  }
}

// The period, which "Validar" checks as a whole, and whether it is still to come.
function revisaperiodo() {
  var mes = BuscaObj("mes_ini");
  if (!mes || !BuscaObj("c4")) return;
  revisacampo(mes, [revision("Error", periodovigente), revision("Aviso", avisaperiodofuturo)]);
}

function avisaperiodofuturo() {
  var hoy = new Date();
  var periodo = Number(valorde("anio_ini")) * 12 + Number(valorde("mes_ini"));
  if (periodo > hoy.getFullYear() * 12 + hoy.getMonth() + 1) {
    alert("Periodo futuro: el periodo declarado es posterior al mes en curso.");
  }
}

// Every cell of the annex rows up to the last one holding anything.
function revisaanexocompleto(guardables) {
  var ultima = ultimafilaanexo(1);
  for (var fila = 1; fila <= ultima; fila++) {
    for (var col = 1; col <= VMAXCOL[1]; col++) {
      var celda = celdade(1, fila, col);
      if (celda) revisacampo(celda, revisionescelda(celda, col, guardables));
    }
  }
}

function revisionescelda(celda, col, guardables) {
  return [revision("Error", function () { if (sinvalor(celda)) avisaceldafaltante(celda, col); }),
          revision("Error", function () { bientipocontenido(a[1][col], celda); })].concat(
              revisionescomunes(celda, guardables));
}

// The texts of the declaration, each with whether it stands inside CDATA.
function textosguardables() {
  var lugares = textosdeclaracion();
  var guardables = new Map();
  for (var i = 0; i < lugares.length; i++) {
    if (lugares[i].campo) guardables.set(lugares[i].campo, lugares[i].cdata);
  }
  return guardables;
}

function revisatodo() {
  // The annex totals are summed afresh, as "Validar" sums them.
  aplicafila(pos("c1618"));
  var guardables = textosguardables();
  revisacasillas(MINELEMENT, pos("c3"), guardables);
  revisaperiodo();
  revisacasillas(pos("c5") + 1, pos("c117"), guardables);
  revisaanexocompleto(guardables);
  revisacasillas(pos("c1618"), MAXELEMENT, guardables);
}

// Every problem of the form, in the order of the form: [{campo: the id of
// the field to put the caret in, donde: its spoken name, texto: the message,
// clase: "Error" or "Aviso"}]. An "Aviso" does not stop "Validar". Nothing on
// the page changes: no value, no focus, no mark, no computed box.
function revisionformulario() {
  var sumas = [];
  for (var n = 1; n <= 13; n++) sumas.push(window["x" + n]);
  var vigentes = busquedasvigentes();
  var busqueda = BUSQUEDAFIJA;
  REVISION = { copias: new Map(), foco: null, lista: [], mensajes: [] };
  BUSQUEDAFIJA = { elementos: vigentes.elementos, filas: vigentes.filas, porfila: [] };
  try {
    sinmensajes(revisatodo, REVISION.mensajes);
    return REVISION.lista;
  } finally {
    BUSQUEDAFIJA = busqueda;
    REVISION = null;
    for (var k = 1; k <= 13; k++) window["x" + k] = sumas[k - 1];
  }
}

// Puts the caret in field `id`, scrolled into view. A field that cannot take
// it (a computed box, a period part the form fills in) passes it to the
// nearest one of its row that can, else to the form's field before it.
function irarevision(id) {
  var campo = document.getElementById(id);
  if (!escampo(campo)) return false;
  var destino = puedeenfocarse(campo) ? campo : vecinoenfocable(campo);
  campo.scrollIntoView({ block: "center" });
  if (!destino) return false;
  destino.focus({ preventScroll: true });
  if (destino !== campo) destino.scrollIntoView({ block: "nearest" });
  return document.activeElement === destino;
}

function puedeenfocarse(campo) {
  return escampo(campo) && !campo.disabled && !campo.readOnly && campo.type != "hidden";
}

function vecinoenfocable(campo) {
  var fila = campo.closest("tr");
  var enfila = fila ? Array.from(fila.querySelectorAll("input, select, textarea")) : [];
  var antes = null, despues = null;
  for (var i = 0; i < enfila.length; i++) {
    if (!puedeenfocarse(enfila[i])) continue;
    var anterior = enfila[i].compareDocumentPosition(campo) & Node.DOCUMENT_POSITION_FOLLOWING;
    if (anterior) antes = enfila[i];
    else if (!despues) despues = enfila[i];
  }
  if (antes || despues) return antes || despues;
  var todos = document.forms.C ? Array.from(document.forms.C.elements) : [];
  for (var j = todos.indexOf(campo) - 1; j >= 0; j--) {
    if (puedeenfocarse(todos[j])) return todos[j];
  }
  return null;
}
