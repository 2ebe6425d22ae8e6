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
  aplicafila(pos("c1618"));
  for (var i = 0; i < PRODUCTOSANEXO.length; i++) {
    var p = PRODUCTOSANEXO[i];
    var ventas = valorde("c" + p.casilla);
    var enanexo = window["x" + p.suma];
    var igual = montoencentavos(ventas == "" ? 0 : Number(ventas)) === montoencentavos(enanexo);
    if (!igual) {
      alert("Error:\nLas ventas exentas consignadas en el \"Detalle de Movimientos en galones\" de la columna \"ventas Exentas\" debe coincidir con el total de las Cantidades de galones exentos reflejados en el apartado \"Ventas Totales Exentas\", tomando en cuenta que no se deben incluir las ventas exentas de \"gas licuado de petroleo a granel\". Por favor corrija el error consignando los valores validos.");
      return false;
    }
  }
  return true;
}

// A rectified declaration is named by the form code followed by its 8 digits.
function valida_formulario() {
  var campo = BuscaObj("c1619");
  if (campo.value == "" || (campo.value.length == 12 && campo.value.substring(0, 4) == "7301")) return true;
  alert("Error:\nEl número de constancia no es valida, el número tiene que iniciar con los dígitos 7301 seguido del numeral de 8 dígitos, favor verifique el código y número de la constancia.");
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

// Every annex cell the page holds, of every table.
function celdasanexo() {
  var celdas = [];
  for (var h = 1; h <= ANEXOS; h++) {
    var filas = filasenpagina(h);
    for (var fila = 1; fila <= filas; fila++) {
      for (var col = 1; col <= VMAXCOL[h]; col++) {
        var celda = BuscaObj(celdaanexo(h, fila, col));
        if (celda) celdas.push(celda);
      }
    }
  }
  return celdas;
}

var CONTROLESANEXO = ["renglones1", "botonanexo1", "validar"];

function ponhabilitado(nombres, habilitado) {
  for (var i = 0; i < nombres.length; i++) {
    var campo = BuscaObj(nombres[i]);
    if (campo) campo.disabled = !habilitado;
  }
}

function deshabilitacasillas() {
  var celdas = celdasanexo();
  for (var i = 0; i < celdas.length; i++) celdas[i].disabled = true;
  for (var fila = 1; fila <= MAXELEMENT; fila++) ponhabilitado([c[fila].id], false);
  ponhabilitado(PERIODO, false);
  ponhabilitado(CONTROLESANEXO, false);
}

function habilitacasillas() {
  var celdas = celdasanexo();
  for (var i = 0; i < celdas.length; i++) celdas[i].disabled = false;
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
// page must show what the user filled in.
function fijavalores() {
  var campos = document.body.querySelectorAll("input, select, textarea");
  for (var i = 0; i < campos.length; i++) {
    var campo = campos[i];
    if (campo.tagName == "SELECT") {
      for (var o = 0; o < campo.options.length; o++) {
        if (!campo.options[o].selected) campo.options[o].removeAttribute("selected");
      }
      for (o = 0; o < campo.options.length; o++) {
        if (campo.options[o].selected) campo.options[o].setAttribute("selected", "selected");
      }
    } else if (campo.tagName == "TEXTAREA") {
      campo.textContent = campo.value;
    } else if (campo.type != "button" && campo.type != "submit") {
      campo.setAttribute("value", campo.value);
    }
  }
}

function htmldelformulario() {
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
function anexoxml() {
  var filas = Math.min(filasenpagina(1), VMAXANEXOS[1]);
  var xml = "";
  for (var fila = 1; fila <= filas; fila++) {
    var nit = BuscaObj(celdaanexo(1, fila, 1));
    var galones = BuscaObj(celdaanexo(1, fila, 2));
    var producto = BuscaObj(celdaanexo(1, fila, 3));
    if (!nit || !galones || nit.value == "" || galones.value == "") continue;
    var id = 118 + 3 * (fila - 1);
    xml += casillacdata(id, nit.value) + casillaxml(id + 1, galones.value) +
           casillacdata(id + 2, producto ? producto.value : "");
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
