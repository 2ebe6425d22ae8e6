// The blank form page (resource 131) loaded in Chromium, walked field by field
// against the form's fields as listed here.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, launchBrowser, openPage, readResource } from './harness.mjs';

// ---- The form's fields, written out independently of the page writer ------

const PRODUCTS = [
  'GASOLINA SUPERIOR', 'GASOLINA REGULAR', 'GASOLINA DE AVIACION', 'DIESEL', 'GAS OIL',
  'KEROSINA (DPK) (AVJET, TURBO FUEL)', 'NAFTA', 'FUEL OIL (BUNKER C)',
  'GAS LICUADO PETROLEO CARBURACION', 'PETROLEO CRUDO USADO COMO COMBUSTIBLE',
  'OTROS COMBUSTIBLES DERIVADOS DEL PETROLEO', 'ASFALTOS',
];
const NO_MAXLENGTH = new Set([9, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 84, 85]);
const CAPITAL_LECTURA = new Set([85, 93, 101, 109, 110, 111, 112, 113, 114, 115, 116, 117]);
const PERIOD_STYLE = 'FONT-SIZE: xx-small;';

function field(name, tag, attrs) {
  return { name, tag, type: 'text', size: null, maxlength: null, class: null, onblur: null,
    onclick: null, value: null, disabled: false, ...attrs };
}

function expectedFields() {
  const list = [
    field('c1', 'INPUT', { type: 'hidden' }),
    field('c2', 'INPUT', { size: '22', maxlength: '13', onblur: 'nitsinguion()' }),
    field('c3', 'INPUT', { size: '70', onblur: 'UCase(this)' }),
    field('dia_ini', 'INPUT', { class: 'lectura', size: '2', maxlength: '2', value: '01',
      onblur: 'validacionesfecha()', disabled: true }),
    field('mes_ini', 'INPUT', { size: '2', maxlength: '2', onblur: 'validacionesfecha()' }),
    field('anio_ini', 'INPUT', { size: '8', maxlength: '4', onblur: 'validacionesfecha()' }),
    field('dia_fin', 'INPUT', { class: 'lectura', size: '2', maxlength: '2',
      onblur: 'validacionesfecha()', disabled: true }),
    field('mes_fin', 'INPUT', { class: 'lectura', size: '2', maxlength: '2',
      onblur: 'validacionesfecha()', disabled: true }),
    field('anio_fin', 'INPUT', { class: 'lectura', size: '8', maxlength: '4',
      onblur: 'validacionesfecha()', disabled: true }),
    field('c4', 'INPUT', { type: 'hidden' }),
    field('c5', 'INPUT', { type: 'hidden' }),
  ];
  for (let box = 6; box <= 117; box++) {
    const column = (box - 6) % 8;
    const computed = column === 7 || box >= 110;
    list.push(field(`c${box}`, 'INPUT', {
      size: '7',
      maxlength: NO_MAXLENGTH.has(box) ? null : '14',
      class: computed ? (CAPITAL_LECTURA.has(box) ? 'Lectura' : 'lectura') : null,
      onblur: `validaciones(c${box})`,
    }));
  }
  for (let row = 1; row <= 3; row++) {
    const annex = 'validacionesobjetoanexo(this.name,1,poscol(this.name));';
    list.push(field(`f1${row}c1`, 'INPUT', { size: '9', maxlength: '50', value: '',
      onblur: `${annex}validanit(this);` }));
    list.push(field(`f1${row}c2`, 'INPUT', { size: '9', maxlength: '50', value: '',
      onblur: `${annex}UCase(this);` }));
    list.push(field(`f1${row}c3`, 'SELECT', { type: 'select-one', onblur: `${annex} ` }));
  }
  list.push(
    field('c1618', 'INPUT', { class: 'lectura', size: '10', onblur: 'validaciones(c1618)' }),
    field('renglones1', 'INPUT', { size: '5', maxlength: '4' }),
    field('botonanexo1', 'INPUT', { type: 'button', value: 'Agregar renglones',
      onclick: 'anexa(C.renglones1,1);' }),
    field('nrenglon1', 'INPUT', { type: 'hidden', value: '0' }),
    field('trenglon1', 'INPUT', { type: 'hidden', value: '3' }),
    field('c1619', 'INPUT', { size: '23', maxlength: '12', onblur: 'validaciones(c1619)' }),
    field('c1620', 'INPUT', { size: '23', maxlength: '13',
      onblur: 'validaciones(c1620);valida_c1620();' }),
    field('c1621', 'INPUT', { class: 'resaltado', onblur: 'validaciones(c1621)' }),
    field('validar', 'INPUT', { type: 'button', value: '    Validar   ',
      onclick: 'validaanexo2(); if ((valida_c1618() && valida_formulario()) && ' +
        '(valida_c1620())) {  validaarchivoanexo()  } ' }),
  );
  return list;
}

// ---- Browser ---------------------------------------------------------------

let server;
let browser;
let view;

before(async () => {
  server = await startServer();
  browser = await launchBrowser();
  view = await openPage(browser, server.blankUrl, { clock: new Date(2011, 2, 5, 10, 20, 30) });
});

after(async () => {
  await view?.close();
  await browser?.close();
  await server?.close();
});

// The page as delivered, parsed by the browser but untouched by the page
// scripts (which disable, restyle and fill fields when the page loads).
async function asDelivered(fn) {
  return view.page.evaluate(async ([url, source]) => {
    const bytes = await (await fetch(url)).arrayBuffer();
    const html = new TextDecoder('windows-1252').decode(bytes);
    const doc = new DOMParser().parseFromString(html, 'text/html');
    return new Function('doc', `return (${source})(doc);`)(doc);
  }, [server.blankUrl, fn.toString()]);
}

test('every field is on the page once, by name and by id, in page order', async () => {
  const actual = await asDelivered((document) =>
    [...document.forms.C.elements].map((el) => ({
      name: el.getAttribute('name'),
      id: el.id,
      tag: el.tagName,
      type: el.type,
      size: el.getAttribute('size'),
      maxlength: el.getAttribute('maxlength'),
      class: el.getAttribute('class'),
      onblur: el.getAttribute('onblur'),
      onclick: el.getAttribute('onclick'),
      value: el.getAttribute('value'),
      disabled: el.hasAttribute('disabled'),
      sameName: document.getElementsByName(el.getAttribute('name')).length,
    })));
  const expected = expectedFields();
  assert.deepEqual(actual.map((f) => f.name), expected.map((f) => f.name));
  for (let i = 0; i < expected.length; i++) {
    const { sameName, id, ...got } = actual[i];
    assert.equal(id, expected[i].name, `id of ${expected[i].name}`);
    assert.equal(sameName, 1, `one element named ${expected[i].name}`);
    assert.deepEqual(got, expected[i], expected[i].name);
  }
});

test('name and period inputs carry their styles', async () => {
  const styles = await asDelivered((document) =>
    ['c2', 'c3', 'dia_ini', 'mes_ini', 'anio_ini', 'dia_fin', 'mes_fin', 'anio_fin']
      .map((n) => document.getElementById(n).getAttribute('style')));
  assert.deepEqual(styles.slice(2), Array(6).fill(PERIOD_STYLE));
  for (const s of styles.slice(0, 2)) assert.match(s, /text-align:\s*center/i);
});

test('each annex product list offers the empty choice and the twelve products in order', async () => {
  const lists = await view.page.evaluate(() =>
    [1, 2, 3].map((row) => [...document.getElementById(`f1${row}c3`).options]
      .map((o) => [o.value, o.text, o.selected])));
  for (const options of lists) {
    assert.deepEqual(options, [['', '', true], ...PRODUCTS.map((p) => [p, p, false])]);
  }
});

test('the annex body holds the empty row and three numbered rows', async () => {
  const rows = await view.page.evaluate(() =>
    [...document.getElementById('cuerpo1').rows].map((r) => r.cells.length ? r.cells[0].textContent : ''));
  assert.deepEqual(rows, ['', '1', '2', '3']);
  assert.equal(await view.page.evaluate(() => document.getElementById('tabla1').tagName), 'TABLE');
});

test('the section comments stand in page order', async () => {
  const comments = await view.page.evaluate(() => {
    const walker = document.createTreeWalker(document, NodeFilter.SHOW_COMMENT);
    const found = [];
    while (walker.nextNode()) found.push(walker.currentNode.data.trim());
    return found;
  });
  assert.deepEqual(comments, ['ENCABEZADO', 'RECUADRO NO. 0', 'RECUADRO NO. 1',
    'FIN RECUADRO NO. 1', 'RECUADRO NO. 3', 'FIN RECUADRO NO. 3']);
});

test('accented texts show as the letters they are', async () => {
  const text = await view.page.evaluate(() => document.body.innerText);
  for (const words of ['Día', 'Año', 'Nombre o razón social del contribuyente',
    'No. de declaración que se rectifica', 'Gasolina de aviación', 'Petróleo crudo',
    'RECTIFICACIONES (llenar exclusivamente en caso de ser esta una rectificación)',
    'permanecerán en mi poder', 'los exhibiré y presentaré a requerimiento de la RTQ',
    'distribucion de petroleo crudo', 'y combustibles derivados del petróleo',
    'PERIODO\nDE\nIMPOSICION', 'DETALLE MOVIMIENTO EN GALONES', 'VENTAS TOTALES EXENTAS']) {
    assert.ok(text.includes(words), words);
  }
  assert.equal(await view.page.title(), 'Formulario RTQ-No. 7301');
});

test('the style sheet applies, in the old browsers\' quirks mode', async () => {
  const look = await view.page.evaluate(() => {
    const bg = (el) => getComputedStyle(el).backgroundColor;
    return {
      mode: document.compatMode,
      fondo: bg(document.querySelector('td.fondo')),
      cell: bg(document.getElementById('c6').parentElement),
      lectura: bg(document.getElementById('c13')),
      // "Lectura" matches INPUT.lectura only because class names ignore case in quirks mode.
      capital: bg(document.getElementById('c117')),
      entry: bg(document.getElementById('c6')),
      // The page set-up enlarges c1621 itself; the rule is read on a probe.
      total: (() => {
        const probe = document.createElement('input');
        probe.className = 'resaltado';
        document.body.appendChild(probe);
        const size = getComputedStyle(probe).fontSize;
        probe.remove();
        return size;
      })(),
      izq: getComputedStyle(document.querySelector('td.izq')).textAlign,
      cellAlign: getComputedStyle(document.getElementById('c6').parentElement).textAlign,
    };
  });
  assert.equal(look.mode, 'BackCompat');
  assert.equal(look.fondo, 'rgb(163, 201, 255)');
  assert.equal(look.cell, 'rgb(255, 255, 220)');
  assert.equal(look.lectura, 'rgb(255, 255, 220)');
  assert.equal(look.capital, 'rgb(255, 255, 220)');
  assert.notEqual(look.entry, 'rgb(255, 255, 220)');
  assert.equal(look.total, '17.3333px'); // 13pt
  assert.equal(look.izq, 'left');
  assert.equal(look.cellAlign, 'center');
});

test('the head addresses the program resources exactly', () => {
  const raw = readResource(131).toString('latin1');
  const head = raw.slice(0, raw.indexOf('</head>'));
  const addresses = [...head.matchAll(/(?:href|src)='([^']*)'/g)].map((m) => m[1]);
  assert.deepEqual(addresses, [132, 133, 134, 135, 136].map((n) => `res://Formulario7301.exe/#23/#${n}`));
  assert.ok(head.indexOf('<title>') > head.lastIndexOf('</script>'));
  assert.match(raw, /<body onload='inicial\(\); inicialanexo2\(\);' oncontextmenu="return event\.srcElement\.tagName=='INPUT';">/);
  assert.ok(raw.includes('D\xEDa') && raw.includes('A\xF1o'), 'single-byte accents');
});

test('loading runs the page set-up without errors and numbers the form', async () => {
  assert.deepEqual(view.errors.map(String), []);
  const header = await view.page.evaluate(() => ({
    c1: document.C.c1.value,
    cell: document.getElementById('c1').parentElement.innerText,
  }));
  assert.match(header.c1, /^1020\d{4}$/); // 10:20:ss and two random digits
  assert.ok(header.cell.includes(`No ${header.c1}`), header.cell);
});
