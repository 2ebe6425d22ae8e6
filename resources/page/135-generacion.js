// Form RTQ-7301: amounts with two decimals, the form number, the checks of
// "Validar", and the declaration handed to the program.

// Writes a non-negative number as plain decimal text, never in exponent form
// (the browser writes 1e-7 and 1e+21 that way).
function textodecimal(numero) {
  var texto = String(numero);
  var partes = /^(\d+)(?:\.(\d+))?e([+-]\d+)$/.exec(texto);
  if (!partes) return texto;
  var cifras = partes[1] + (partes[2] || "");
  var punto = partes[1].length + Number(partes[3]);
  if (punto <= 0) return "0." + new Array(1 - punto).join("0") + cifras;
  if (punto >= cifras.length) return cifras + new Array(punto - cifras.length + 1).join("0");
  return cifras.substring(0, punto) + "." + cifras.substring(punto);
}

// Adds 1 to a text of decimal digits, exactly, however long it is.
function sumauno(cifras) {
  var i = cifras.length - 1;
  while (i >= 0 && cifras.charAt(i) == "9") i--;
  var ceros = new Array(cifras.length - i).join("0");
  if (i < 0) return "1" + ceros;
  return cifras.substring(0, i) + String(Number(cifras.charAt(i)) + 1) + ceros;
}

function rellena(texto, largo) {
  while (texto.length < largo) texto = "0" + texto;
  return texto;
}

// Rounds on the decimal text, looking only at the first digit past the
// precision: 1.005 gives 1.01 although the machine holds 1.00499...
// Returns null for a value that is not a number.
function formatNumber(valor, formato) {
  var numero = Number(valor);
  if (!isFinite(numero)) return null;
  var decimales = formato.indexOf(".") < 0 ? 0 : formato.length - formato.indexOf(".") - 1;
  var texto = textodecimal(Math.abs(numero));
  var punto = texto.indexOf(".");
  var entero = punto < 0 ? texto : texto.substring(0, punto);
  var fraccion = punto < 0 ? "" : texto.substring(punto + 1);
  if (fraccion.length > decimales) {
    var sube = fraccion.charAt(decimales) >= "5";
    fraccion = fraccion.substring(0, decimales);
    if (sube) {
      var mas = sumauno(fraccion === "" ? "0" : fraccion);
      if (mas.length > decimales) {
        entero = sumauno(entero === "" ? "0" : entero);
        mas = mas.substring(1);
      }
      fraccion = decimales == 0 ? "" : rellena(mas, decimales);
    }
  }
  while (fraccion.length < decimales) fraccion += "0";
  if (entero === "") entero = "0";
  var resultado = decimales == 0 ? entero : entero + "." + fraccion;
  // A negative amount that rounds to nothing is no debt: no "-0.00".
  if (numero < 0 && /[1-9]/.test(resultado)) resultado = "-" + resultado;
  return resultado;
}

function dosdigitos(numero) {
  return numero < 10 ? "0" + numero : String(numero);
}

// Numbers the form from the clock: hour, minute, second and a random 0-99.
function numera_formulario() {
  var campo = BuscaObj("c1");
  if (!campo || campo.value != "") return;
  var ahora = new Date();
  campo.value = dosdigitos(ahora.getHours()) + dosdigitos(ahora.getMinutes()) +
                dosdigitos(ahora.getSeconds()) + dosdigitos(Math.floor(Math.random() * 100));
}

function valorde(nombre) {
  var campo = BuscaObj(nombre);
  return campo ? campo.value : "";
}

function montoencentavos(numero) {
  return Math.round(numero * 100);
}

// The exempt sales of each product must equal its annex total. The annex is
// summed afresh, so that no change since the last recompute escapes the
// check; amounts compare in cents, as two-decimal sums drift in binary.
function valida_c1618() {
  return conbusquedafija(ventasexentascuadran);
}

function ventasexentascuadran() {
  aplicafila(pos("c1618"));
  for (var i = 0; i < PRODUCTOSANEXO.length; i++) {
    if (descuadreexentas(PRODUCTOSANEXO[i])) {
      alert("Error:\nLas ventas exentas consignadas en el \"Detalle de Movimientos en galones\" de la columna \"ventas Exentas\" debe coincidir con el total de las Cantidades de galones exentos reflejados en el apartado \"Ventas Totales Exentas\", tomando en cuenta que no se deben incluir las ventas exentas de \"gas licuado de petroleo a granel\". Por favor corrija el error consignando los valores validos.");
      return false;
    }
  }
  return true;
}

// The exempt sales of annex product `p` and its annex total as last summed
// (calculo_c1618), in cents, when they differ; null when they agree.
function descuadreexentas(p) {
  var ventas = valorde("c" + p.casilla);
  var enventas = montoencentavos(ventas == "" ? 0 : Number(ventas));
  var enanexo = montoencentavos(window["x" + p.suma]);
  return enventas === enanexo ? null : { ventas: enventas, anexo: enanexo };
}

// A rectified declaration is named by the form code followed by its 8 digits.
function valida_formulario() {
  var campo = BuscaObj("c1619");
  if (campo.value == "" || (campo.value.length == 12 && campo.value.substring(0, 4) == "7301")) return true;
  alert("Error:\nEl número de constancia no es valida, el número tiene que iniciar con los dígitos 7301 seguido del numeral de 8 dígitos, favor verifique el código y número de la constancia.");
  marcainvalida(campo);
  campo.focus();
  return false;
}

// Reminds the user of the fine for rectifying; never stops anything.
function valida_c1620() {
  var rectifica = valorde("c1619");
  var multa = valorde("c1620");
  var avisa = (rectifica != "" && multa == "") ||
              (Number(multa) > 0 && Number(rectifica) > 0) ||
              (rectifica != "" && multa != "" && Number(multa) == 0);
  if (avisa) {
    alert("Warning: \n Usted ha llenado la casilla \"No. De Declaración que se rectifica\". La multa por rectificación según el Código Tributario en su Art. 94 es por un valor de cien quetzales (Q.100).");
  }
  return true;
}

// Every annex cell the page holds, of every table; gathered once while the
// form is walked.
function celdasanexo() {
  if (BUSQUEDAFIJA && BUSQUEDAFIJA.celdas) return BUSQUEDAFIJA.celdas;
  var celdas = [];
  for (var h = 1; h <= ANEXOS; h++) {
    var filas = filasenpagina(h);
    for (var fila = 1; fila <= filas; fila++) {
      for (var col = 1; col <= VMAXCOL[h]; col++) {
        var celda = celdade(h, fila, col);
        if (celda) celdas.push(celda);
      }
    }
  }
  if (BUSQUEDAFIJA) BUSQUEDAFIJA.celdas = celdas;
  return celdas;
}

var CONTROLESANEXO = ["renglones1", "botonanexo1", "validar"];

function ponhabilitado(nombres, habilitado) {
  for (var i = 0; i < nombres.length; i++) {
    var campo = BuscaObj(nombres[i]);
    if (campo) campo.disabled = !habilitado;
  }
}

// The fields the copy of the page shows disabled, in the order they are
// disabled.
function casillasdelacopia() {
  var campos = celdasanexo().slice();
  var nombres = [];
  for (var fila = 1; fila <= MAXELEMENT; fila++) nombres.push(c[fila].id);
  nombres = nombres.concat(PERIODO, CONTROLESANEXO);
  for (var i = 0; i < nombres.length; i++) {
    var campo = BuscaObj(nombres[i]);
    if (campo) campos.push(campo);
  }
  return campos;
}

function deshabilitacasillas() {
  var campos = casillasdelacopia();
  for (var i = 0; i < campos.length; i++) campos[i].disabled = true;
}

function habilitacasillas() {
  var celdas = celdasanexo();
  for (var i = 0; i < celdas.length; i++) {
    if (celdas[i].disabled) celdas[i].disabled = false;
  }
  for (var fila = 1; fila <= MAXELEMENT; fila++) {
    var campo = BuscaObj(c[fila].id);
    if (!campo) continue;
    campo.readOnly = c[fila].protegido;
    campo.disabled = c[fila].protegido;
  }
  ponhabilitado(["mes_ini", "anio_ini"], true);
  ponhabilitado(["dia_ini", "dia_fin", "mes_fin", "anio_fin"], false);
  ponhabilitado(CONTROLESANEXO, true);
}

// The browser's markup carries a field's initial value only; the copy of the
// page must show what the user filled in. Only what differs is written: a
// page of 500 rows holds some 2,000 fields, most of them unchanged since the
// last copy.
function fijavalores() {
  var campos = document.body.querySelectorAll("input, select, textarea");
  var marcadas = opcionesmarcadas();
  for (var i = 0; i < campos.length; i++) {
    var campo = campos[i];
    var etiqueta = campo.tagName;
    if (etiqueta == "SELECT") {
      if (campo.multiple) fijaopciones(campo.options);
      else fijaopcion(campo, marcadas.get(campo) || []);
    } else if (etiqueta == "TEXTAREA") {
      campo.textContent = campo.value;
    } else {
      var tipo = campo.type;
      if (tipo == "button" || tipo == "submit") continue;
      var valor = campo.value;
      if (campo.getAttribute("value") !== valor) campo.setAttribute("value", valor);
    }
  }
}

// The options of the page's lists that carry a mark, by list, found in one
// query: a query per list cost more than the rest of the copy's marks.
function opcionesmarcadas() {
  var porlista = new Map();
  var marcadas = document.body.querySelectorAll("select option[selected]");
  for (var i = 0; i < marcadas.length; i++) {
    var padre = marcadas[i].parentNode;
    var lista = padre.tagName == "OPTGROUP" ? padre.parentNode : padre;
    if (!porlista.has(lista)) porlista.set(lista, []);
    porlista.get(lista).push(marcadas[i]);
  }
  return porlista;
}

// A list of one choice: the marks of the options not chosen go first, in
// their order, then the chosen one is marked, as fijaopciones does. The
// options marked are found by the browser, not one by one; `marcadas`, when
// given, are those of this list (opcionesmarcadas).
function fijaopcion(lista, marcadas) {
  var opciones = lista.options;
  if (!marcadas) marcadas = lista.querySelectorAll("option[selected]");
  for (var m = 0; m < marcadas.length; m++) {
    var marcada = marcadas[m];
    if (opciones[marcada.index] === marcada && !marcada.selected) marcada.removeAttribute("selected");
  }
  var elegida = lista.selectedIndex < 0 ? null : opciones[lista.selectedIndex];
  if (elegida && elegida.getAttribute("selected") !== "selected") elegida.setAttribute("selected", "selected");
}

// The options chosen carry selected="selected", the others no such mark.
function fijaopciones(opciones) {
  for (var o = 0; o < opciones.length; o++) {
    var opcion = opciones[o];
    if (!opcion.selected) {
      if (opcion.defaultSelected) opcion.removeAttribute("selected");
    } else if (opcion.getAttribute("selected") !== "selected") {
      opcion.setAttribute("selected", "selected");
    }
  }
}

// The copy shows the fields disabled. Disabling some 1,600 fields on the live
// page and enabling them again costs more than the serialisation and leaves
// the whole page to be restyled. Instead each field that is not disabled
// takes a mark of no meaning where `disabled` would go: the browser writes a
// new attribute after those the field has (the value written next and the
// style it writes out the first time come after it), and the mark becomes
// `disabled=""` in the text. The mark carries a number drawn for each copy;
// should the text hold it anywhere else, the fields are disabled after all.
function htmldelformulario() {
  var marca = "data-f7301-copia-" + String(Math.random()).substring(2);
  var marcados = marcacasillas(marca);
  if (!marcados) return htmldeshabilitando();
  fijavalores();
  var html = document.body.innerHTML;
  for (var i = 0; i < marcados.length; i++) marcados[i].removeAttribute(marca);
  var partes = html.split(" " + marca + "=\"\"");
  habilitacasillas();
  // (Then the copy holds what it must, but the order of a field's value and
  // style after its `disabled` may differ from a copy made the usual way.)
  if (partes.length - 1 != marcados.length) return htmldeshabilitando();
  return partes.join(" disabled=\"\"");
}

// Marks the fields of the copy not yet disabled; null when a text area
// already holds the mark, or a field is not in the page's body.
function marcacasillas(marca) {
  var areas = document.body.getElementsByTagName("textarea");
  for (var a = 0; a < areas.length; a++) {
    if (areas[a].value.indexOf(marca) >= 0) return null;
  }
  var campos = casillasdelacopia();
  var marcados = [];
  var vistos = new Set();
  for (var i = 0; i < campos.length; i++) {
    var campo = campos[i];
    if (vistos.has(campo)) continue;
    vistos.add(campo);
    if (campo.disabled) {
      // Disabling again writes the mark as the browser writes it.
      if (campo.getAttribute("disabled") !== "") campo.setAttribute("disabled", "");
      continue;
    }
    if (campo.ownerDocument !== document) {
      for (var m = 0; m < marcados.length; m++) marcados[m].removeAttribute(marca);
      return null;
    }
    campo.setAttribute(marca, "");
    marcados.push(campo);
  }
  return marcados;
}

function htmldeshabilitando() {
  deshabilitacasillas();
  fijavalores();
  var html = document.body.innerHTML;
  habilitacasillas();
  return html;
}

function casillaxml(id, valor) {
  return " <CASILLA ID=\"" + id + "\">" + valor + "</CASILLA> ";
}

function casillacdata(id, valor) {
  return " <CASILLA ID=\"" + id + "\"><![CDATA[" + valor + "]]></CASILLA> ";
}

function casillasxml(desde, hasta) {
  var xml = "";
  for (var i = desde; i <= hasta; i++) {
    var valor = valorde("c" + i);
    xml += casillaxml(i, valor == "" ? "0" : valor);
  }
  return xml;
}

// Annex rows with NIT and gallons, under the box numbers of their place; a
// row left out still uses up its numbers. The rows walked are those the page
// holds, whatever count trenglon1 carries, and never more than the annex can
// number before box 1618.
// A NIT of zeros or blanks is no NIT: such a row is left out too.
function filasescritas() {
  var filas = Math.min(filasenpagina(1), VMAXANEXOS[1]);
  var escritas = [];
  for (var fila = 1; fila <= filas; fila++) {
    var nit = celdade(1, fila, 1);
    var galones = celdade(1, fila, 2);
    var producto = celdade(1, fila, 3);
    if (!nit || !galones || nitsinvalor(nit.value) || galones.value == "") continue;
    escritas.push({ fila: fila, nit: nit, galones: galones, producto: producto });
  }
  return escritas;
}

function anexoxml() {
  var escritas = filasescritas();
  var xml = "";
  for (var i = 0; i < escritas.length; i++) {
    var fila = escritas[i];
    var id = 118 + 3 * (fila.fila - 1);
    xml += casillacdata(id, fila.nit.value) + casillaxml(id + 1, fila.galones.value) +
           casillacdata(id + 2, fila.producto ? fila.producto.value : "");
  }
  return xml;
}

function declaracionxml(presentada) {
  return " <FORMULARIO NUMERO=\"" + valorde("c1") + "\"> " +
         " <SOURCE>VELAROPC</SOURCE> " +
         " <REALSOURCE>VELAROLIGHT</REALSOURCE> " +
         " <VERSION>2.0</VERSION> " +
         " <CODIGO_FORMULARIO>730</CODIGO_FORMULARIO> " +
         " <NUMERO_VERSION>1</NUMERO_VERSION> " +
         " <ID_CAMBIO>2.2</ID_CAMBIO> " +
         " <NIT>" + valorde("c2") + "</NIT> " +
         " <PERIODO_DESDE>" + valorde("anio_ini") + valorde("mes_ini") + valorde("dia_ini") + "</PERIODO_DESDE> " +
         " <PERIODO_HASTA>" + valorde("anio_fin") + valorde("mes_fin") + valorde("dia_fin") + "</PERIODO_HASTA> " +
         " <ANEXOS>0</ANEXOS> " +
         " <NOMBRE><![CDATA[" + valorde("c3") + "]]></NOMBRE> " +
         " <DIRECCION></DIRECCION> " +
         " <CONTADOR>0</CONTADOR> " +
         " <CASILLAS> " +
         casillasxml(6, 117) +
         anexoxml() +
         casillasxml(1618, 1621) +
         "<CASILLA ID=\"FECPRE\">" + presentada + "</CASILLA>" +
         "<CASILLA ID=\"LUGPRE\">----------</CASILLA>" +
         " </CASILLAS> " +
         " <MONTO>" + valorde("c1621") + "</MONTO> " +
         " </FORMULARIO> ";
}

// Assembles the declaration and hands it to the program with the form
// number, a copy of the filled page and the taxpayer's NIT.
function genera() {
  var hoy = new Date();
  var presentada = dosdigitos(hoy.getDate()) + "/" + dosdigitos(hoy.getMonth() + 1) + "/" + hoy.getFullYear();
  var anioini = BuscaObj("anio_ini"), aniofin = BuscaObj("anio_fin");
  if (aniofin.value != anioini.value) aniofin.value = anioini.value;
  var xml = declaracionxml(presentada);
  var anio = anioini.value;
  var numero = valorde("c2") + "7301" + anio.substring(anio.length - 2) + valorde("mes_ini") + valorde("c1");
  var html = htmldelformulario();
  window.external.GeneraArchivo(xml, numero, html, valorde("c2"));
}

// ---------------------------------------------------------------- annex from and to a file

// Sales read from a file by the program enter the annex through the checks
// a typed row gets, run on stand-ins of the cells: nothing on the page
// changes until every row has passed.

// Stands in for an annex cell in the checks: it holds the value and takes,
// without effect, what the checks do to a faulty cell (focus, selection,
// marks for screen readers).
function celdasuelta(valor) {
  var nada = function () {};
  return {
    value: valor, name: "", type: "text", tagName: "INPUT", disabled: false,
    focus: nada, select: nada, setSelectionRange: nada,
    setAttribute: nada, removeAttribute: nada, getAttribute: function () { return null; }
  };
}

// Runs `revisa` with the messages it raises kept instead of shown, in
// `mensajes` when given.
function sinmensajes(revisa, mensajes) {
  mensajes = mensajes || [];
  var alerta = window.alert;
  window.alert = function (mensaje) { mensajes.push(String(mensaje)); };
  try {
    return { bien: revisa(), mensajes: mensajes };
  } finally {
    window.alert = alerta;
  }
}

// A NIT of nothing but zeros, blanks and hyphens names no one: the form
// takes it as not filled in.
function nitsinvalor(texto) {
  return /^[0\s-]*$/.test(texto);
}

// A cell as a message quotes it: past 40 characters, cut with "…".
function citacelda(texto) {
  var letras = Array.from(texto);
  return "\"" + (letras.length > 40 ? letras.slice(0, 40).join("") + "…" : texto) + "\"";
}

// The most characters typing lets into each cell of annex row `fila`
// (index 1 to 3): the row's own cells', or those of the rows the add-rows
// button makes (`modelo`) for a row the page does not hold yet.
function largosfila(fila, modelo) {
  var largos = [0];
  for (var col = 1; col <= 3; col++) {
    var celda = celdade(1, fila, col) || modelo.cells[col].firstChild;
    largos.push(celda.maxLength >= 0 ? celda.maxLength : Infinity);
  }
  return largos;
}

// A tab or line break, which no typing puts into a NIT or a product and
// which a box would not keep as it was checked.
var CORTECELDA = /[\t\r\n]/;

// Checks one row read from the file as leaving each of its cells would, and
// returns the values as the annex takes them. Problems go to `problemas` by
// line and column; a NIT whose check digit fails is a warning, as typing
// lets the user go on. `largos` are the cells' limits of length.
function revisaimportada(fila, problemas, largos) {
  var valores = [String(fila.nit), String(fila.galones), String(fila.producto)];
  var revisar = [false, true, true, true];
  function problema(col, mensaje, aviso) {
    problemas.push({ linea: fila.linea, columna: col, mensaje: mensaje, aviso: !!aviso });
  }
  for (var col = 1; col <= 3; col++) {
    var valor = valores[col - 1];
    if (valor === "") problema(col, FALTAENANEXO[col]);
    else if (valor.length > largos[col]) {
      problema(col, "Error:\nLa longitud de la casilla sobrepasa el máximo de " + largos[col] + " caracteres");
    } else if (col != 2 && CORTECELDA.test(valor)) {
      problema(col, "La casilla no puede llevar tabuladores ni saltos de línea.");
    } else continue;
    revisar[col] = false;
  }
  if (revisar[1]) {
    var nit = celdasuelta(valores[0]);
    var digito = sinmensajes(function () { return validanit(nit); });
    valores[0] = nit.value;
    if (nitsinvalor(nit.value)) problema(1, "El NIT del comprador no puede ser solo ceros o espacios.");
    else if (!digito.bien) problema(1, digito.mensajes[0], true);
  }
  if (revisar[2]) {
    var galones = celdasuelta(valores[1]);
    var tipo = sinmensajes(function () { return bientipocontenido(a[1][2], galones); });
    if (!tipo.bien) problema(2, tipo.mensajes[0]);
    valores[1] = galones.value;
  }
  if (revisar[3] && !productoanexo(valores[2])) {
    problema(3, "El producto " + citacelda(valores[2]) + " no es uno de los productos del anexo.");
  }
  return valores;
}

function filacompleta(tabla, fila) {
  for (var col = 1; col <= VMAXCOL[tabla]; col++) {
    if (valorde(celdaanexo(tabla, fila, col)) === "") return false;
  }
  return true;
}

function filaconalgo(tabla, fila) {
  for (var col = 1; col <= VMAXCOL[tabla]; col++) {
    if (valorde(celdaanexo(tabla, fila, col)) !== "") return true;
  }
  return false;
}

// The last row of the annex with every cell filled; 0 when there is none.
function ultimacompleta(tabla) {
  for (var fila = filasenpagina(tabla); fila >= 1; fila--) {
    if (filacompleta(tabla, fila)) return fila;
  }
  return 0;
}

// A row after the last complete one that the user has begun: imported rows
// would take its place, so it must be finished or emptied first.
function filaempezada(tabla, desde) {
  for (var fila = desde; fila <= filasenpagina(tabla); fila++) {
    if (filaconalgo(tabla, fila)) return fila;
  }
  return 0;
}

function hayerrores(problemas) {
  for (var i = 0; i < problemas.length; i++) {
    if (!problemas[i].aviso) return true;
  }
  return false;
}

// Writes the checked rows from row `primera` on, adding the rows the annex
// lacks as the add-rows button does, then recomputes the form.
function ponimportadas(valores, primera) {
  var faltan = primera + valores.length - 1 - filasenpagina(1);
  if (faltan > 0) anexa(celdasuelta(String(faltan)), 1);
  for (var i = 0; i < valores.length; i++) {
    for (var col = 1; col <= 3; col++) {
      celdade(1, primera + i, col).value = valores[i][col - 1];
    }
    reformateafila(1, primera + i);
  }
  ponvalor("trenglon1", String(ANEXO[1]));
  totalesanexo();
  formulas();
}

// The program's entry for importing the annex. `filas` are the rows it read
// ({linea, nit, galones, producto}); `rechazadas` counts the lines of the
// file it refused itself. Every row is checked; the rows go into the annex,
// after its last complete row, only when none fails and none was refused.
// Answers with a message that refuses the whole file ({mensaje}) or with the
// rows imported and the problems found ({importadas, primera, problemas}).
function importaanexo(filas, rechazadas) {
  rechazadas = rechazadas || 0;
  var primera = ultimacompleta(1) + 1;
  if (primera - 1 + filas.length + rechazadas > VMAXANEXOS[1]) {
    return { mensaje: mensajemaximo(1) };
  }
  var empezada = filaempezada(1, primera);
  if (empezada) {
    return {
      mensaje: "Error:\nEl renglón " + empezada + " del anexo está incompleto y los renglones " +
               "importados ocuparían su lugar.\nPor favor complételo o bórrelo e importe de nuevo."
    };
  }
  var problemas = [];
  var valores = [];
  var modelo = modelofila(1);
  for (var i = 0; i < filas.length; i++) {
    valores.push(revisaimportada(filas[i], problemas, largosfila(primera + i, modelo)));
  }
  if (rechazadas > 0 || hayerrores(problemas)) {
    return { importadas: 0, primera: 0, problemas: problemas };
  }
  ponimportadas(valores, primera);
  return { importadas: valores.length, primera: primera, problemas: problemas };
}

// The complete rows of the annex, as the page holds them, for the program
// to write to a file, and the numbers of the rows begun but left incomplete,
// which are not written and are named to the user ({filas, incompletos}).
// Gallons typed beside a row that was then incomplete were kept unchecked:
// a row whose gallons fail their check is named ({mensaje}) and nothing is
// exported.
function exportaanexo() {
  var filas = [], incompletos = [];
  for (var fila = 1; fila <= filasenpagina(1); fila++) {
    if (!filacompleta(1, fila)) {
      if (filaconalgo(1, fila)) incompletos.push(fila);
      continue;
    }
    var galones = valorde(celdaanexo(1, fila, 2));
    var tipo = sinmensajes(function () { return bientipocontenido(a[1][2], celdasuelta(galones)); });
    if (!tipo.bien) {
      return {
        mensaje: "Error:\nLos galones del renglón " + fila + " del anexo no son una cantidad válida." +
                 "\nPor favor corríjalos y exporte de nuevo; no se exportó nada."
      };
    }
    filas.push({ nit: valorde(celdaanexo(1, fila, 1)), galones: galones, producto: valorde(celdaanexo(1, fila, 3)) });
  }
  return { filas: filas, incompletos: incompletos };
}

// ---------------------------------------------------------------- stored text

// The declaration is stored in Windows-1252. Its characters between 0x80 and
// 0x9F; below and above them it agrees with Unicode.
var CP1252ALTOS = "\u20ac\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152" +
                  "\u017d\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a" +
                  "\u0153\u017e\u0178";

function encp1252(caracter) {
  var n = caracter.codePointAt(0);
  return n < 0x80 || (n >= 0xa0 && n <= 0xff) || CP1252ALTOS.indexOf(caracter) >= 0;
}

// A character as a message names it: in quotes, or by its code when it
// cannot be seen (controls, accents standing alone, spaces other than the
// blank).
function nombracaracter(caracter) {
  if (caracter != " " && /[\p{C}\p{M}\p{Z}]/u.test(caracter)) {
    return "U+" + rellena(caracter.codePointAt(0).toString(16).toUpperCase(), 4);
  }
  return "\"" + caracter + "\"";
}

// The characters of `texto` that the declaration cannot store, as named to
// the user: those Windows-1252 lacks and the controls XML cannot carry.
function caracteresnoguardables(texto) {
  var nombres = [];
  if (todoguardable(texto)) return nombres;
  for (var caracter of texto) {
    if (encp1252(caracter) && !/[\x00-\x08\x0b\x0c\x0e-\x1f]/.test(caracter)) continue;
    var nombre = nombracaracter(caracter);
    if (nombres.indexOf(nombre) < 0) nombres.push(nombre);
  }
  return nombres;
}

// Text of characters Windows-1252 holds where Unicode has them (below 0x80
// and from 0xA0 to 0xFF), without the controls XML cannot carry: what nearly
// every box holds, told at once.
function todoguardable(texto) {
  return /^[\t\n\r\x20-\x7f\xa0-\xff]*$/.test(texto);
}

// What keeps `texto` from standing in its place in the declaration XML: its
// characters that cannot be stored, else the end of a CDATA section, else,
// outside CDATA, the characters that start markup. Empty when nothing does.
function noguardable(texto, encdata) {
  var nombres = caracteresnoguardables(texto);
  if (nombres.length) return nombres;
  if (texto.indexOf("]]>") >= 0) return ["\"]]>\""];
  var marca = encdata ? null : /[<&]/.exec(texto);
  return marca ? ["\"" + marca[0] + "\""] : [];
}

var NOMBRESCASILLA = {
  c2: "\"NIT del contribuyente\"",
  c3: "\"Nombre o razón social del contribuyente\""
};
var COLUMNASANEXO = ["", "NIT", "Cantidad de Galones Exentos", "Tipo de Producto"];

// A box as the form's messages name it.
function nombrecasilla(campo) {
  var celda = /^f1(\d+)c(\d+)$/.exec(campo.name);
  if (celda) {
    return "\"" + COLUMNASANEXO[celda[2]] + "\" del renglón " + celda[1] +
           " de \"VENTAS TOTALES EXENTAS\"";
  }
  if (NOMBRESCASILLA[campo.name]) return NOMBRESCASILLA[campo.name];
  return campo.name ? "\"" + campo.name + "\"" : "";
}

function mensajenoguardable(campo, nombres) {
  var uno = nombres.length == 1;
  var lista = uno ? nombres[0] : nombres.slice(0, -1).join(", ") + " y " + nombres[nombres.length - 1];
  var casilla = nombrecasilla(campo);
  return "Error:\nLa casilla " + (casilla ? casilla + " " : "") + "contiene " + lista + ", que no " +
         (uno ? "puede" : "pueden") + " guardarse en la declaración.\nPor favor corríjala.";
}

// Leaving a text box: tells the user of characters the declaration cannot
// store, which "Validar" will refuse. True when there are none.
function avisanoguardable(campo) {
  var nombres = caracteresnoguardables(campo.value);
  if (!nombres.length) return true;
  alert(mensajenoguardable(campo, nombres));
  marcainvalida(campo);
  return false;
}

// The boxes whose typed text goes into the declaration, each with whether
// it stands there inside CDATA.
function textosdeclaracion() {
  var lugares = [{ campo: BuscaObj("c2"), cdata: false }, { campo: BuscaObj("c3"), cdata: true }];
  var filas = filasescritas();
  for (var i = 0; i < filas.length; i++) {
    lugares.push({ campo: filas[i].nit, cdata: true }, { campo: filas[i].galones, cdata: false },
                 { campo: filas[i].producto, cdata: true });
  }
  return lugares;
}

// "Validar": every text must stand in its place in the declaration exactly
// as typed; the first that cannot is named and nothing is generated.
function declaracionguardable() {
  var lugares = textosdeclaracion();
  if (todoslugaresguardables(lugares)) return true;
  for (var i = 0; i < lugares.length; i++) {
    if (!lugarguardable(lugares[i])) return false;
  }
  return true;
}

// One text of the declaration (textosdeclaracion): when it cannot stand in
// its place, the user is told, with the caret in its box.
function lugarguardable(lugar) {
  var campo = lugar.campo;
  if (!campo) return true;
  if (campo.tagName != "SELECT") campo.value = campo.value.normalize("NFC");
  var nombres = noguardable(campo.value, lugar.cdata);
  if (!nombres.length) return true;
  alert(mensajenoguardable(campo, nombres));
  marcainvalida(campo);
  campo.focus();
  return false;
}

// The check of the whole form at once, for the usual form: texts of
// characters below 0x100, which composing (NFC) leaves as they are, that can
// all be stored, with no end of CDATA and no markup outside CDATA. When it
// fails, each box is checked in turn.
function todoslugaresguardables(lugares) {
  var encdata = [], fuera = [];
  for (var i = 0; i < lugares.length; i++) {
    if (lugares[i].campo) (lugares[i].cdata ? encdata : fuera).push(lugares[i].campo.value);
  }
  // Joined by a line end, which can neither end a CDATA section nor start markup.
  var textocdata = encdata.join("\n"), textofuera = fuera.join("\n");
  return todoguardable(textocdata) && todoguardable(textofuera) &&
         textocdata.indexOf("]]>") < 0 && textofuera.indexOf("]]>") < 0 && !/[<&]/.test(textofuera);
}
