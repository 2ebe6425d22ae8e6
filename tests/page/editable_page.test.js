// Reopening a declaration: the pages built by the program from a sealed
// declaration file (`declaracion page editable|readonly FILE`), loaded in
// Chromium with the page scripts. A declaration generated on the blank form,
// reopened for correction and validated again unchanged must give back the
// same declaration, apart from its new form number and generation date.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { PAGE_DIR, openPage } from './harness.mjs';
import {
  MARCH_5_2011, useBrowser, openForm, fillHeader, fillAnnexRow, addRows,
} from './scripts_support.mjs';

const TOOL = process.env.F7301_DECLARACION ?? path.join(PAGE_DIR, '..', 'tools', 'declaracion');
const MARCH_7_2011 = new Date(2011, 2, 7, 11, 45, 0);

const env = useBrowser();
let workDir;
before(() => { workDir = fs.mkdtempSync(path.join(os.tmpdir(), 'f7301-editable-')); });
after(() => fs.rmSync(workDir, { recursive: true, force: true }));

// Seals `xml` (the page's text, Windows-1252 on disk) as the program would
// and returns the page that reopening the file shows.
function reopen(xml, kind, name) {
  const xmlFile = path.join(workDir, `${name}.xml`);
  const sealed = path.join(workDir, name);
  fs.writeFileSync(xmlFile, Buffer.from(xml, 'latin1'));
  execFileSync(TOOL, ['seal', xmlFile, sealed]);
  return execFileSync(TOOL, ['page', kind, sealed], { maxBuffer: 4 << 20 });
}

const withoutNumberAndDate = (xml) => xml
  .replace(/<FORMULARIO NUMERO="\d*">/, '<FORMULARIO NUMERO="#">')
  .replace(/<CASILLA ID="FECPRE">[^<]*<\/CASILLA>/, '<CASILLA ID="FECPRE">#</CASILLA>');

// Fifteen annex rows (more than the thirteen a reopened page once carried)
// of diesel and naphtha; a name with characters that HTML treats specially.
const NAME = 'O\'BRIEN & "HIJOS" <DISTRIBUIDORA>';
const ROWS = Array.from({ length: 15 }, (_, i) => i + 1).map((row) => ({
  row, nit: row % 2 ? '19' : '6K', gallons: `${row}.25`, product: row % 3 ? 'DIESEL' : 'NAFTA',
}));
const sum = (product) => ROWS.filter((r) => r.product === product)
  .reduce((total, r) => total + Number(r.gallons), 0).toFixed(2);
// Diesel's closing balance: 1000 + 500 - (10 + 100 + exempt sales).
const DIESEL_SALDO = (1390 - Number(sum('DIESEL'))).toFixed(2);

async function generateOnBlankForm() {
  // The blank form opens in the tab these tests share; useBrowser closes it.
  const form = await openForm(env, { clock: MARCH_5_2011 });
  await fillHeader(form, { nit: '12345679', name: NAME, month: '3', year: '2011' });
  for (const [box, amount] of [[30, '1000'], [31, '500'], [33, '10'], [35, '100'],
    [36, sum('DIESEL')], [54, '200'], [60, sum('NAFTA')], [1619, '730112345678'], [1620, '100']]) {
    await form.enter(`c${box}`, amount);
  }
  await addRows(form, 12);
  for (const r of ROWS) await fillAnnexRow(form, r.row, r);
  await form.takeAlerts();
  await form.validar();
  const calls = await form.generaCalls();
  assert.equal(calls.length, 1, `blank form generated: ${form.alerts.join(' | ')}`);
  assert.deepEqual(form.errors.map(String), []);
  return calls[0][0];
}

describe('the editable page of a stored declaration', () => {
  let original;
  let view;

  before(async () => {
    original = await generateOnBlankForm();
    const url = env.server.addPage('editable', reopen(original, 'editable', 'RTQ-editable'));
    view = await openPage(env.browser, url, { clock: MARCH_7_2011 });
  });
  after(() => view?.close());

  test('loads with its scripts and shows the stored values', async () => {
    assert.deepEqual(view.errors.map(String), []);
    const shown = await view.page.evaluate(() => {
      const get = (n) => document.getElementsByName(n)[0];
      return {
        values: ['c2', 'c3', 'dia_ini', 'mes_ini', 'anio_ini', 'dia_fin', 'c30', 'c37', 'c6',
          'f11c1', 'f115c2', 'c1618', 'c1619', 'c1620', 'c1621', 'trenglon1'].map((n) => get(n).value),
        products: [1, 3, 15].map((row) => get(`f1${row}c3`).value),
        rows: document.getElementById('cuerpo1').rows.length,
        number: get('c1').value,
      };
    });
    const ids = ROWS.length;
    assert.deepEqual(shown.values, ['12345679', NAME.toUpperCase(), '01', '03', '2011', '31',
      '1000.00', DIESEL_SALDO, '', '19', '15.25', (Number(sum('DIESEL')) + Number(sum('NAFTA'))).toFixed(2),
      '730112345678', '100.00', '100.00', String(ids)]);
    assert.deepEqual(shown.products, ['DIESEL', 'NAFTA', 'NAFTA']);
    assert.equal(shown.rows, ids + 1); // the empty first row and the stored rows
    // A new form number, made when the page loaded.
    assert.match(shown.number, /^1145\d{4}$/);
  });

  test('Validar hands over the stored declaration again, with a new number and date', async () => {
    await view.page.click('[name="validar"]');
    assert.deepEqual(view.alerts, []);
    const calls = await view.generaCalls();
    assert.equal(calls.length, 1);
    const [xml, , , nit] = calls[0];
    assert.equal(withoutNumberAndDate(xml), withoutNumberAndDate(original));
    assert.match(xml, /<CASILLA ID="FECPRE">07\/03\/2011<\/CASILLA>/);
    assert.notEqual(xml.match(/NUMERO="(\d+)"/)[1], original.match(/NUMERO="(\d+)"/)[1]);
    assert.equal(nit, '12345679');
    assert.ok(xml.includes(`<![CDATA[${NAME.toUpperCase()}]]>`));
    assert.equal((xml.match(/CDATA\[(DIESEL|NAFTA)\]/g) ?? []).length, ROWS.length);
  });
});

describe('the read-only page of a stored declaration', () => {
  test('shows the values as text, with no fields and no scripts', async () => {
    const original = await generateOnBlankForm();
    const url = env.server.addPage('readonly', reopen(original, 'readonly', 'RTQ-readonly'));
    const view = await openPage(env.browser, url);
    try {
      assert.deepEqual(view.errors.map(String), []);
      const shown = await view.page.evaluate(() => ({
        text: document.body.innerText,
        fields: document.querySelectorAll('input, select, button, script').length,
        rows: document.getElementById('cuerpo1').rows.length,
      }));
      assert.equal(shown.fields, 0);
      assert.equal(shown.rows, ROWS.length + 1);
      for (const piece of [NAME.toUpperCase(), '12345679', DIESEL_SALDO, '730112345678',
        'declaración', 'distribución de petróleo crudo']) {
        assert.ok(shown.text.includes(piece), piece);
      }
      assert.match(shown.text, new RegExp(`No\\. \\s*${original.match(/NUMERO="(\d+)"/)[1]}`));
    } finally {
      await view.close();
    }
  });
});
