// Form RTQ-7301: NIT and period checks, finding page elements, and adding
// rows to the annex.

// A fresh page starts with the three annex rows of the blank form; the
// editable page corrects this with its own count once it has loaded us.
ANEXO[1] = 3;

// ---------------------------------------------------------------- elements

function unelemento(encontrado) {
  if (!encontrado) return null;
  if (encontrado.nodeType == 1 || encontrado.window === encontrado) return encontrado;
  // A name shared by several elements gives a collection: take the first.
  if (typeof encontrado.length == "number" && encontrado.length > 0 && encontrado[0] &&
      encontrado[0].nodeType == 1) {
    return encontrado[0];
  }
  return null;
}

// Ids are indexed by the browser, so they are tried first; the all-collection
// comes last because looking in it for a name the page lacks walks the
// whole page, which a 500-row annex makes slow.
function buscaendocumento(doc, nombre) {
  var encontrado = doc.getElementById(nombre) || unelemento(doc[nombre]);
  for (var f = 0; !encontrado && f < doc.forms.length; f++) {
    encontrado = unelemento(doc.forms[f].elements[nombre]);
  }
  for (var n = 0; !encontrado && n < doc.anchors.length; n++) {
    if (doc.anchors[n].name == nombre) encontrado = doc.anchors[n];
  }
  if (!encontrado && doc.defaultView) encontrado = unelemento(doc.defaultView[nombre]);
  // document.all reads as false in a condition, so it is tested against undefined.
  if (!encontrado && doc.all !== undefined) encontrado = unelemento(doc.all[nombre]);
  return encontrado || null;
}

// While the whole form is walked (Validar, the recomputation after a box is
// left), no element is added, removed or renamed: each name is looked up in
// the page once, the rows of each annex table counted once and its cells
// gathered once (celdasanexo).
var BUSQUEDAFIJA = null;

// What the walks found stays found for the next walk until the page reports
// an element added, removed or renamed: leaving one box would otherwise look
// up the 1,500 cells of a full annex afresh. A page with frames is looked up
// afresh each walk, as changes inside a frame are not reported here.
var BUSQUEDASVIGENTES = null;

function olvidabusquedas() {
  BUSQUEDASVIGENTES.elementos = new Map();
  BUSQUEDASVIGENTES.filas = [];
  BUSQUEDASVIGENTES.celdas = [];
}

function busquedasvigentes() {
  if (typeof MutationObserver != "function" || window.frames.length > 0) {
    return { elementos: new Map(), filas: [], celdas: [] };
  }
  if (!BUSQUEDASVIGENTES) {
    BUSQUEDASVIGENTES = { observador: new MutationObserver(olvidabusquedas) };
    olvidabusquedas();
    BUSQUEDASVIGENTES.observador.observe(document, {
      childList: true, subtree: true, attributes: true, attributeFilter: ["id", "name"]
    });
  } else if (BUSQUEDASVIGENTES.observador.takeRecords().length > 0) {
    // Changes made since the last walk, in this same task, are not yet
    // reported to the observer: they are taken here.
    olvidabusquedas();
  }
  return BUSQUEDASVIGENTES;
}

// Runs `accion` with the page's elements looked up once per name.
function conbusquedafija(accion) {
  if (BUSQUEDAFIJA) return accion();
  var vigentes = busquedasvigentes();
  BUSQUEDAFIJA = { elementos: vigentes.elementos, filas: vigentes.filas, porfila: vigentes.celdas };
  try {
    return accion();
  } finally {
    BUSQUEDAFIJA = null;
  }
}

// Finds a page element by name or id, in the page and then in its frames;
// null when there is none.
function BuscaObj(nombre, doc) {
  if (BUSQUEDAFIJA && !doc) {
    var visto = BUSQUEDAFIJA.elementos.get(nombre);
    if (visto === undefined) {
      visto = BuscaObj(nombre, document);
      BUSQUEDAFIJA.elementos.set(nombre, visto);
    }
    return REVISION ? copiaenrevision(visto) : visto;
  }
  doc = doc || document;
  var encontrado = buscaendocumento(doc, nombre);
  var ventana = doc.defaultView;
  for (var i = 0; !encontrado && ventana && i < ventana.frames.length; i++) {
    try {
      encontrado = BuscaObj(nombre, ventana.frames[i].document);
    } catch (e) {
      // A frame from elsewhere cannot be looked into.
    }
  }
  return encontrado || null;
}

// Cell `col` of row `fila` of annex table `tabla`. While the form is walked
// it is kept by its numbers: building and hashing a name for each of the
// 1,500 cells of a full annex cost more than the look-up itself.
function celdade(tabla, fila, col) {
  if (!BUSQUEDAFIJA) return BuscaObj(celdaanexo(tabla, fila, col));
  var filas = BUSQUEDAFIJA.porfila[tabla] || (BUSQUEDAFIJA.porfila[tabla] = []);
  var celdas = filas[fila] || (filas[fila] = []);
  var celda = celdas[col];
  if (celda === undefined) celda = celdas[col] = BuscaObj(celdaanexo(tabla, fila, col));
  return celda;
}

// The row of the restriction table that holds the box `nombre`; 0 if none.
function pos(nombre) {
  for (var i = 1; i <= MAXELEMENT; i++) {
    if (c[i].id == nombre) return i;
  }
  return 0;
}

// The column of an annex cell from its name ("f112c3" is column 3).
function poscol(nombre) {
  var partes = /c(\d+)$/.exec(nombre);
  return partes ? Number(partes[1]) : 0;
}

// Capitals that Windows-1252 holds: a letter whose capital it lacks ("µ",
// "ƒ") stays as it is rather than turn into a letter the declaration cannot
// store.
function mayusculas(texto) {
  var resultado = "";
  for (var letra of texto) {
    var mayuscula = letra.toUpperCase();
    var guardable = !encp1252(letra) || caracteresnoguardables(mayuscula).length == 0;
    resultado += guardable ? mayuscula : letra;
  }
  return resultado;
}

// Writes the name in capitals, and tells the user of any character that the
// declaration cannot store.
function UCase(campo) {
  campo.value = mayusculas(campo.value.normalize("NFC"));
  avisanoguardable(campo);
}

// ---------------------------------------------------------------- NIT

// Drops the blanks and zeros in front of a NIT. A text of nothing else is
// left as it is, so that a NIT of zeros is still seen, and refused.
function fnit(texto) {
  if (!/[^0 ]/.test(texto)) return texto;
  return texto.replace(/^[0 ]+/, "");
}

// A NIT is its digits followed by a check character: weighted from the left by
// its length down to 2, modulo 11, as "K" for 10 and "0" for 11.
function nitvalido(campo) {
  if (campo.value == "") return true;
  if (Number(campo.value) == 0) return false;
  campo.value = mayusculas(campo.value);
  var nit = campo.value;
  var cuerpo = nit.substring(0, nit.length - 1);
  var suma = 0;
  for (var i = 0; i < cuerpo.length; i++) {
    var cifra = cuerpo.charAt(i);
    if (cifra < "0" || cifra > "9") return false;
    suma += Number(cifra) * (nit.length - i);
  }
  var r = 11 - (suma % 11);
  var verificador = r == 10 ? "K" : r == 11 ? "0" : String(r);
  return nit == cuerpo + verificador;
}

// The NITs of `nits` (texts as a declaration stores them) whose check
// character is wrong: what typing each of them into its box would tell. The
// register of declarations asks it of the files it lists.
function nitsconverificadorinvalido(nits) {
  return nits.filter(function (nit) { return !nitvalido({ value: String(nit) }); });
}

// Cleans a NIT up and tells the user when its check digit is wrong; the user
// may go on all the same.
function revisanit(campo) {
  if (!campo) return true;
  // A character the declaration cannot store is told first: the check
  // character of such a NIT means nothing.
  if (!limpianit(campo)) return false;
  return avisadigitonit(campo);
}

// Writes the NIT without hyphens and leading zeros; false, after telling the
// user, when it holds a character the declaration cannot store.
function limpianit(campo) {
  campo.value = fnit(campo.value.normalize("NFC").replace(/-/g, ""));
  return avisanoguardable(campo);
}

// Tells the user when the NIT's check character is wrong.
function avisadigitonit(campo) {
  if (nitvalido(campo)) return true;
  alert("Error:\nEl NIT posee un dígito verificador inválido.\nPor favor escríbalo correctamente");
  marcainvalida(campo);
  // Selected without taking the focus: select() would pull the user back
  // into the field, and leaving it again would repeat the message.
  try {
    campo.setSelectionRange(0, campo.value.length);
  } catch (e) {
    // A field that holds no selectable text has nothing to select.
  }
  return false;
}

// The taxpayer's NIT and the buyers' NITs of the annex (its first column).
function esnit(campo) {
  return campo.name == "c2" || /^f\d+c1$/.test(campo.name);
}

function nitsinguion() {
  return revisanit(BuscaObj("c2"));
}

function validanit(campo) {
  return revisanit(campo);
}

// ---------------------------------------------------------------- period

function bisiesto(anio) {
  return (anio % 4 == 0 && anio % 100 != 0) || anio % 400 == 0;
}

function ultimodia(mes, anio) {
  mes = Number(mes);
  if (mes == 2) return bisiesto(Number(anio)) ? 29 : 28;
  if (mes == 4 || mes == 6 || mes == 9 || mes == 11) return 30;
  return 31;
}

function vaciar(nombres) {
  for (var i = 0; i < nombres.length; i++) {
    var campo = BuscaObj(nombres[i]);
    if (campo) campo.value = "";
  }
}

function enfoca(nombre) {
  var campo = BuscaObj(nombre);
  marcainvalida(campo);
  if (campo) campo.focus();
}

// Empties and focuses the first of the three inputs that holds text that is
// not a number.
function revisapartes(nombres, mensajes) {
  for (var i = 0; i < nombres.length; i++) {
    var campo = BuscaObj(nombres[i]);
    if (campo && campo.value != "" && isNaN(campo.value)) {
      alert(mensajes[i]);
      campo.value = "";
      marcainvalida(campo);
      campo.focus();
      return false;
    }
  }
  return true;
}

function validacionesfechainicial() {
  return revisapartes(["dia_ini", "mes_ini", "anio_ini"], [
    "Error:\nDía inicial inválido. No se aceptan campos alfanuméricos",
    "Error:\nMes inicial inválido. No se aceptan campos alfanuméricos",
    "Error:\nAño inicial inválido. No se aceptan campos alfanuméricos"]);
}

function validacionesfechafinal() {
  return revisapartes(["dia_fin", "mes_fin", "anio_fin"], [
    "Error:\nDía final inválido. No se aceptan campos alfanuméricos",
    "Error:\nMes final inválido. No se aceptan campos alfanuméricos",
    "Error:\nAño final inválido. No se aceptan campos alfanuméricos"]);
}

function llenos(nombres) {
  for (var i = 0; i < nombres.length; i++) {
    if (valorde(nombres[i]) == "") return false;
  }
  return true;
}

function juntafecha(nombres) {
  return valorde(nombres[0]) + "/" + valorde(nombres[1]) + "/" + valorde(nombres[2]);
}

// The period ends on the last day of the month it starts in.
function completafechafinal() {
  var mes = valorde("mes_ini"), anio = valorde("anio_ini");
  BuscaObj("dia_fin").value = String(ultimodia(mes, anio));
  BuscaObj("mes_fin").value = mes;
  BuscaObj("anio_fin").value = anio;
}

// Leaving a period input: builds the start date, from it the end date, and
// checks both.
function validacionesfecha() {
  var inicio = ["dia_ini", "mes_ini", "anio_ini"], fin = ["dia_fin", "mes_fin", "anio_fin"];
  validacionesfechainicial();
  var aceptado = false;
  if (llenos(inicio)) {
    BuscaObj("c4").value = juntafecha(inicio);
    aceptado = fecha(BuscaObj("c4"));
  }
  if (aceptado) {
    completafechafinal();
  } else {
    vaciar(["c4", "c5"].concat(fin));
  }
  validacionesfechafinal();
  if (llenos(fin)) {
    BuscaObj("c5").value = juntafecha(fin);
    fecha(BuscaObj("c5"));
  }
}

// Which inputs a date field stands for, and where a faulty date sends the user.
function partesdefecha(campo) {
  if (campo.name == "c4") return { dia: "dia_ini", mes: "mes_ini", anio: "anio_ini", inicio: true };
  return { dia: "dia_fin", mes: "mes_fin", anio: "anio_fin", inicio: false };
}

function aniocompleto(anio) {
  if (anio.length == 4) return anio;
  var siglo = Number(anio) < 90 ? ["200", "20", "2"] : ["199", "19", "1"];
  return siglo[anio.length - 1] + anio;
}

function rechazadia(partes, mensaje) {
  alert(mensaje);
  if (partes.inicio) {
    BuscaObj(partes.dia).value = "01";
    enfoca(partes.mes);
  } else {
    BuscaObj(partes.dia).value = "";
    enfoca(partes.dia);
  }
  return false;
}

function rechazaparte(nombre, mensaje) {
  alert(mensaje);
  BuscaObj(nombre).value = "";
  enfoca(nombre);
  return false;
}

// Checks a date field ("c4" start, "c5" end) written as day/month/year, puts
// it in full form and copies its parts into the period inputs.
function fecha(campo) {
  var p = partesdefecha(campo);
  var partes = /^(\d{1,2})\/?(\d{1,2})\/?(\d{1,4})$/.exec(campo.value);
  if (!partes) {
    alert("Error:\nLa fecha no es válida. Por favor escríbala correctamente.");
    if (p.inicio) {
      BuscaObj("dia_ini").value = "01";
      vaciar(["mes_ini", "anio_ini"]);
      enfoca("mes_ini");
    } else {
      vaciar(["dia_fin", "mes_fin", "anio_fin"]);
      enfoca("dia_fin");
    }
    return false;
  }
  var dia = rellena(partes[1], 2), mes = rellena(partes[2], 2), anio = aniocompleto(partes[3]);
  campo.value = dia + "/" + mes + "/" + anio;
  BuscaObj(p.dia).value = dia;
  BuscaObj(p.mes).value = mes;
  BuscaObj(p.anio).value = anio;

  var actual = new Date().getFullYear();
  if (Number(anio) < actual - 10) {
    return rechazaparte(p.anio, "Error:\nNo deben declararse períodos de imposición de más de 10 años de antiguedad.\nPor favor escriba correctamente las casillas \"año\"");
  }
  if (Number(anio) > actual + 1) {
    return rechazaparte(p.anio, "Error:\nNo deben declararse períodos de imposición con dos o más años de anticipación.\nPor favor escriba correctamente las casillas \"año\"");
  }
  var m = Number(mes), d = Number(dia);
  if (m < 1 || m > 12) return rechazaparte(p.mes, "Error:\nEl mes debe estar entre 1 y 12");
  if (d < 1 || d > 31) return rechazadia(p, "Error:\nEl dia debe estar entre 1 y el último día del mes");
  if (d == 31 && (m == 4 || m == 6 || m == 9 || m == 11)) {
    return rechazadia(p, "Error:\nEl último día del mes debe ser 30");
  }
  if (m == 2 && (d > 29 || (d == 29 && !bisiesto(Number(anio))))) {
    return rechazadia(p, "Error:\nDía incorrecto para este mes");
  }
  return true;
}

// This form declares one whole calendar month.
function periodomensual() {
  if (valorde("mes_ini") != valorde("mes_fin") || valorde("anio_ini") != valorde("anio_fin")) {
    alert("Error:\nEl Periodo a declarar que Ud. ingreso no corresponde al periodo para el que aplica este formulario");
    enfoca("dia_ini");
    return false;
  }
  if (Number(valorde("dia_ini")) > Number(valorde("dia_fin"))) {
    alert("Error:\nEl periodo de imposición final no puede ser menor al inicial");
    enfoca("dia_fin");
    return false;
  }
  if (Number(valorde("dia_ini")) != 1 ||
      Number(valorde("dia_fin")) != ultimodia(valorde("mes_fin"), valorde("anio_fin"))) {
    alert("Error:\nEl periodo declarado no es válido. Solo se acepta meses completos.\nEs decir que deben comenzar con día uno (1) y terminar el último día calendario del mismo mes y del mismo año");
    enfoca("dia_ini");
    return false;
  }
  return true;
}

function periodovigente() {
  return fecha(BuscaObj("c4")) && fecha(BuscaObj("c5")) && periodomensual();
}

// ---------------------------------------------------------------- annex rows

// The number of the last row annex table `tabla` holds on the page.
function filasenpagina(tabla) {
  if (!BUSQUEDAFIJA) return cuentafilas(tabla);
  if (BUSQUEDAFIJA.filas[tabla] === undefined) BUSQUEDAFIJA.filas[tabla] = cuentafilas(tabla);
  return BUSQUEDAFIJA.filas[tabla];
}

function cuentafilas(tabla) {
  var cuerpo = BuscaObj("cuerpo" + tabla);
  if (!cuerpo) return 0;
  var celdas = cuerpo.querySelectorAll("[name^='f" + tabla + "']");
  var ultima = 0;
  for (var i = 0; i < celdas.length; i++) {
    var partes = /^f(\d+)c\d+$/.exec(celdas[i].name);
    if (!partes) continue;
    var fila = Number(partes[1].substring(String(tabla).length));
    if (fila > ultima) ultima = fila;
  }
  return ultima;
}

// Enables every annex cell, every box and the period inputs.
function habilita() {
  var celdas = celdasanexo();
  for (var i = 0; i < celdas.length; i++) celdas[i].disabled = false;
  for (var fila = 1; fila <= MAXELEMENT; fila++) ponhabilitado([c[fila].id], true);
  ponhabilitado(PERIODO, true);
}

// The refusal of a request that would take annex table `tabla` past its rows.
function mensajemaximo(tabla) {
  return "Error:\nUsted ha solicitado un número de renglones superior al máximo permitido.\nEl máximo permitido es " + VMAXANEXOS[tabla] + " renglones.\nSi usted necesita llenar más de " + VMAXANEXOS[tabla] + " renglones, por favor presente más de un formulario";
}

// Adds the number of rows the user asked for in `campo` to annex table `tabla`.
function anexa(campo, tabla) {
  var texto = campo.value;
  if (texto != "" && !esnumerico(texto)) {
    alert("Error:\nLa casilla debe ser numérica y el valor debe ser ingresado sin comas");
    campo.value = "";
    return;
  }
  // Rows come whole: a fraction of a row asks for the rows below it.
  var pedidas = Math.floor(Number(texto));
  if (!(pedidas > 0)) {
    campo.value = "";
    return;
  }
  if (filasenpagina(tabla) + pedidas > VMAXANEXOS[tabla]) {
    alert(mensajemaximo(tabla));
    return;
  }
  for (var k = 1; k <= ANEXOS; k++) {
    ponvalor("nrenglon" + k, "0");
    ponvalor("trenglon" + k, String(ANEXO[k]));
  }
  ponvalor("nrenglon" + tabla, String(pedidas));
  habilita();
  agregar(pedidas, tabla);
  // The boxes the user never types in (form number, period end, computed
  // boxes) go back to being disabled, as on a fresh form.
  habilitacasillas();
  ponvalor("trenglon" + tabla, String(ANEXO[tabla]));
  inicialanexo2();
}

function ponvalor(nombre, valor) {
  var campo = BuscaObj(nombre);
  if (campo) campo.value = valor;
}

function nuevacelda(fila, ancho, contenido) {
  var celda = fila.insertCell(-1);
  celda.setAttribute("width", ancho);
  celda.appendChild(contenido);
}

function nuevocampo(tag, alsalir) {
  var campo = document.createElement(tag);
  if (tag == "input") {
    campo.setAttribute("type", "text");
    campo.setAttribute("size", "9");
    campo.setAttribute("maxlength", "14");
  }
  campo.setAttribute("onblur", alsalir);
  return campo;
}

// An empty annex row without number or names; each new row is a copy of it,
// which is much quicker than building 500 rows piece by piece.
function modelofila(tabla) {
  var revisa = "validacionesobjetoanexo(this.name," + tabla + ",poscol(this.name));";
  var fila = document.createElement("tr");
  nuevacelda(fila, "3%", document.createTextNode(""));
  nuevacelda(fila, "15%", nuevocampo("input", revisa + "validanit(this);"));
  nuevacelda(fila, "15%", nuevocampo("input", revisa));
  var lista = nuevocampo("select", revisa);
  lista.appendChild(new Option("", ""));
  for (var i = 0; i < PRODUCTOSANEXO.length; i++) {
    lista.appendChild(new Option(PRODUCTOSANEXO[i].nombre, PRODUCTOSANEXO[i].nombre));
  }
  nuevacelda(fila, "22%", lista);
  return fila;
}

function nombrafila(fila, tabla, n) {
  fila.cells[0].firstChild.data = String(n);
  for (var col = 1; col <= 3; col++) {
    var campo = fila.cells[col].firstChild;
    campo.setAttribute("name", celdaanexo(tabla, n, col));
    campo.setAttribute("id", celdaanexo(tabla, n, col));
    campo.setAttribute("aria-label", nombreceldaanexo(tabla, n, col));
  }
}

// Appends `pedidas` empty rows (a number, or the input holding it) to the
// body of annex table `tabla`, numbered on from the last row it holds.
function agregar(pedidas, tabla) {
  if (typeof pedidas == "object") pedidas = Math.floor(Number(pedidas.value));
  var cuerpo = BuscaObj("cuerpo" + tabla);
  if (!cuerpo || !(pedidas > 0)) return;
  var modelo = modelofila(tabla);
  var primera = filasenpagina(tabla) + 1;
  var nuevas = document.createDocumentFragment();
  for (var n = primera; n < primera + pedidas; n++) {
    var fila = modelo.cloneNode(true);
    nombrafila(fila, tabla, n);
    nuevas.appendChild(fila);
  }
  cuerpo.appendChild(nuevas);
  ANEXO[tabla] = primera + pedidas - 1;
}

// ---------------------------------------------------------------- kept drafts
//
// The program keeps a draft of the form while it is being filled, so that
// nothing typed is lost to a crash or a closed window. These two functions
// are all it asks of the page: a record of every field as it stands, and
// putting such a record back on a freshly loaded form.

// The fields a draft holds: every named field of the form but the form
// number, which each opening of the form gives anew.
function camposdeborrador() {
  var elementos = document.forms.C ? document.forms.C.elements : [];
  var campos = [];
  for (var i = 0; i < elementos.length; i++) {
    var e = elementos[i];
    if (!e.name || e.name == "c1" || e.type == "button" || e.type == "submit" || e.type == "reset") {
      continue;
    }
    campos.push(e);
  }
  return campos;
}

// {filas: rows of each annex table, campos: {name: value}, foco: field with
// the caret}. Values are taken as they stand, accepted by their checks or not.
function borradorformulario() {
  // Counted as a walk counts them, so that the count is kept for the next
  // box left or Validar until a row is added or removed.
  var filas = conbusquedafija(function () {
    var cuentas = [0];
    for (var k = 1; k <= ANEXOS; k++) cuentas.push(filasenpagina(k));
    return cuentas;
  });
  var campos = {};
  var lista = camposdeborrador();
  for (var i = 0; i < lista.length; i++) campos[lista[i].name] = lista[i].value;
  var activo = document.activeElement;
  return { filas: filas, campos: campos, foco: activo && activo.name ? activo.name : "" };
}

// Adds the rows a draft had beyond those of the form on screen, set up as
// rows added by the user are.
function completafilas(tabla, filas) {
  var antes = filasenpagina(tabla);
  if (!(filas > antes)) return;
  agregar(Math.min(filas, VMAXANEXOS[tabla]) - antes, tabla);
  for (var fila = antes + 1; fila <= ANEXO[tabla]; fila++) {
    for (var col = 1; col <= VMAXCOL[tabla]; col++) {
      var celda = celdade(tabla, fila, col);
      if (celda) preparaceldaanexo(a[tabla][col], celda);
    }
  }
}

function ponvalorguardado(campo, valor) {
  if (eslista(campo)) {
    for (var i = 0; i < campo.options.length; i++) {
      if (campo.options[i].value === valor) {
        campo.selectedIndex = i;
        return;
      }
    }
    return;  // a product the list does not offer is not a choice
  }
  campo.value = valor;
}

// The field named `nombre`, and only that: the collection also answers to
// positions ("0" is the form number) and to its own properties ("length").
function campodeborrador(nombre) {
  if (typeof nombre != "string" || !nombre || nombre == "c1") return null;
  var campo = document.forms.C.elements.namedItem(nombre);
  return campo && campo.nodeType == 1 && campo.name === nombre ? campo : null;
}

// Computes again the boxes the form fills itself; the boxes the user types
// are left as they are (no check runs, no message is shown).
function recalculaborrador() {
  for (var k = 0; k <= ANEXOS; k++) {
    if (ANEXO[k] > 0 && a[k]) {
      calculaanexo(k);
      totalesanexo();
    }
  }
  for (var i = 1; i <= MAXELEMENT; i++) {
    if (c[i].formula || c[i].protegido) aplicafila(i);
  }
}

// The program keeps at most this many row counts in a draft: one for the
// form's own rows and one per annex table.
var MAXCUENTASFILAS = 16;

// True when `filas` are row counts this form could have written: a list of
// whole numbers, none beyond what its table holds. Anything else comes from
// no form of this program, and nothing of it is put back.
function filasposibles(filas) {
  if (!Array.isArray(filas) || filas.length > MAXCUENTASFILAS) return false;
  for (var k = 0; k < filas.length; k++) {
    var tope = k >= 1 && k <= ANEXOS ? VMAXANEXOS[k] : VMAXANEXOS[ANEXOS];
    if (!Number.isInteger(filas[k]) || filas[k] < 0 || filas[k] > tope) return false;
  }
  return true;
}

// Puts a draft back on the form just loaded: rows added as needed, every
// field as it was left, the one that had the caret included, and the
// computed boxes computed again from them, so that the totals are those the
// form showed; the caret goes back into that field.
function restauraborrador(borrador) {
  if (!borrador || !borrador.campos) return false;
  var filas = borrador.filas || [];
  if (!filasposibles(filas)) return false;
  for (var k = 1; k <= ANEXOS; k++) completafilas(k, Number(filas[k]));
  var campos = borrador.campos;
  for (var nombre in campos) {
    if (!Object.prototype.hasOwnProperty.call(campos, nombre)) continue;
    var campo = campodeborrador(nombre);
    if (campo) ponvalorguardado(campo, String(campos[nombre]));
  }
  recalculaborrador();
  var foco = campodeborrador(borrador.foco);
  if (foco && !foco.disabled) foco.focus();
  return true;
}

// Leaves, in page order, each field that a record just put back holds a
// value for, as the user leaves a field after typing it: the field's own
// checks run and the totals follow. Fields the user cannot type in are
// passed over.
function revisaborrador(borrador) {
  if (!borrador || !borrador.campos) return false;
  var campos = borrador.campos;
  var lista = camposdeborrador();
  for (var i = 0; i < lista.length; i++) {
    var campo = lista[i];
    if (campo.disabled || campo.type == "hidden") continue;
    if (!Object.prototype.hasOwnProperty.call(campos, campo.name)) continue;
    if (String(campos[campo.name]) === "") continue;
    campo.dispatchEvent(new FocusEvent("blur"));
  }
  return true;
}

// Puts `valor` into the field `nombre` as the user typing it does: the value,
// the events of typing, then leaving the field, so that its own checks and
// the totals run. False when the page has no such field open to typing.
function escribecampo(nombre, valor) {
  var campo = campodeborrador(nombre);
  if (!campo || campo.disabled || campo.readOnly) return false;
  ponvalorguardado(campo, String(valor));
  campo.dispatchEvent(new Event("input", { bubbles: true }));
  campo.dispatchEvent(new Event("change", { bubbles: true }));
  campo.dispatchEvent(new FocusEvent("blur"));
  return true;
}
