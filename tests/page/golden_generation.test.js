// What "Validar" hands to the program (the declaration XML, the form number,
// the copy of the page and the NIT), compared character for character with
// the outputs kept in tests/page/golden from the scripts as they were before
// Validar was made faster: the stored format and the page copy must not move.
//
// After a change that is meant to alter these outputs, write them afresh
// with F7301_GOLDEN_WRITE=1 and review the difference.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import { PAGE_DIR, openPage } from './harness.mjs';
import {
  MARCH_5_2011, useBrowser, openForm, fillHeader, fillAnnexRow, addRows,
} from './scripts_support.mjs';

const GOLDEN = fileURLToPath(new URL('golden', import.meta.url));
const WRITE = process.env.F7301_GOLDEN_WRITE === '1';
const TOOL = process.env.F7301_DECLARACION ?? path.join(PAGE_DIR, '..', 'tools', 'declaracion');
// The form number comes from the clock and chance: both are fixed, and the
// number set, so that the outputs repeat.
const FORM_NUMBER = '10203050';

const env = useBrowser();

// Every product in turn over the 500 rows, amounts typed without their
// decimals, four buyers; the exempt sales of each product set to match.
function fillFullAnnex() {
  const C = document.forms.C;
  C.renglones1.value = '497';
  C.botonanexo1.click();
  const products = [...document.getElementsByName('f11c3')[0].options].map((o) => o.value).slice(1);
  const buyers = ['19', '6K', '140', '12345679'];
  const sums = {};
  for (let row = 1; row <= 500; row++) {
    const product = products[row % products.length];
    const cents = 25 * row + (row % 7);
    document.getElementsByName(`f1${row}c1`)[0].value = buyers[row % buyers.length];
    document.getElementsByName(`f1${row}c2`)[0].value = String(cents / 100);
    document.getElementsByName(`f1${row}c3`)[0].value = product;
    sums[product] = (sums[product] ?? 0) + cents;
  }
  return sums;
}

async function fullAnnex(form) {
  await fillHeader(form, { nit: '12345679', name: 'Distribuidora del Sur', month: '3', year: '2011' });
  const sums = await form.page.evaluate(fillFullAnnex);
  const boxes = await form.page.evaluate(() => PRODUCTOSANEXO.map((p) => [p.nombre, p.casilla]));
  for (const [product, box] of boxes) await form.enter(`c${box}`, String((sums[product] ?? 0) / 100));
}

// The complete declaration of the generation tests: grid, three annex rows,
// a rectification and its fine.
async function completeDeclaration(form) {
  await fillHeader(form, { nit: '1-9', name: 'Estacion el Sol', month: '3', year: '11' });
  for (const [id, amount] of [[30, '100'], [31, '50'], [32, '0'], [33, '10'], [34, '0'],
    [35, '100'], [36, '15'], [76, '50'], [84, '7']]) {
    await form.enter(`c${id}`, amount);
  }
  await fillAnnexRow(form, 1, { nit: '19', gallons: '10.5', product: 'DIESEL' });
  await fillAnnexRow(form, 2, { nit: '140', gallons: '4.5', product: 'DIESEL' });
  await fillAnnexRow(form, 3, { nit: '6k', gallons: '7', product: 'GAS LICUADO PETROLEO CARBURACION' });
  await form.enter('c1619', '730112345678');
  await form.enter('c1620', '100');
}

// Texts the page copy must escape and the declaration keeps in CDATA,
// letters outside ASCII, rows added and left empty, an amount rounded up.
async function storedText(form) {
  await fillHeader(form, { nit: '12345679', name: 'O\'Brien & "Hijos" <Cía. Ñandú>', month: '3', year: '2011' });
  await addRows(form, 4);
  await fillAnnexRow(form, 1, { nit: '6K', gallons: '1.005', product: 'NAFTA' });
  await fillAnnexRow(form, 2, { nit: '19', gallons: '2', product: 'ASFALTOS' });
  await fillAnnexRow(form, 3, { nit: '140', gallons: '3.5', product: 'NAFTA' });
  await form.enter('c60', '4.51');
  await form.enter('c108', '2');
}

// Validated once, then changed and validated again: the second copy starts
// from the marks the first left on the page (values, the product chosen).
async function validatedTwice(form) {
  await completeDeclaration(form);
  await form.validar();
  assert.equal((await form.generaCalls()).length, 1, 'first Validar');
  await form.page.evaluate(() => (window.__generaCalls.length = 0));
  await form.enter('f12c1', '6K');
  await form.enter('c3', 'Estacion la Luna');
  await form.choose('f13c3', 'NAFTA');
  await form.enter('c84', '0');
  await form.enter('c60', '7');
}

const FORMS = [
  ['full-annex', fullAnnex],
  ['complete-declaration', completeDeclaration],
  ['stored-text', storedText],
  ['validated-twice', validatedTwice],
];

async function validar(view) {
  await view.page.evaluate((n) => (document.getElementsByName('c1')[0].value = n), FORM_NUMBER);
  await view.page.evaluate(() => document.activeElement?.blur());
  await view.page.click('[name="validar"]');
  const calls = await view.generaCalls();
  assert.equal(calls.length, 1, `GeneraArchivo called once: ${view.alerts.join(' | ')}`);
  return calls[0];
}

function goldenFiles(name) {
  return { xml: path.join(GOLDEN, `${name}.xml`), html: path.join(GOLDEN, `${name}.html.gz`),
    rest: path.join(GOLDEN, `${name}.args.json`) };
}

// Writes the outputs (with F7301_GOLDEN_WRITE=1) or compares them with the kept ones.
function compareWithGolden(name, [xml, number, html, nit]) {
  const files = goldenFiles(name);
  if (WRITE) {
    fs.mkdirSync(GOLDEN, { recursive: true });
    fs.writeFileSync(files.xml, xml);
    fs.writeFileSync(files.html, zlib.gzipSync(Buffer.from(html), { level: 9 }));
    fs.writeFileSync(files.rest, `${JSON.stringify({ number, nit })}\n`);
    return;
  }
  assert.equal(xml, fs.readFileSync(files.xml, 'utf8'), `${name}: declaration XML`);
  assert.equal(html, zlib.gunzipSync(fs.readFileSync(files.html)).toString(), `${name}: page copy`);
  assert.deepEqual({ number, nit }, JSON.parse(fs.readFileSync(files.rest, 'utf8')), `${name}: number and NIT`);
}

describe('Validar hands over what it did before, character for character', () => {
  // The tab the blank forms open in, with chance fixed.
  before(async () => {
    env.tab = await openPage(env.browser, env.server.blankUrl, { clock: MARCH_5_2011, chance: 0.5 });
  });

  for (const [name, fill] of FORMS) {
    test(`on the blank form: ${name}`, async () => {
      const form = await openForm(env, { clock: MARCH_5_2011 });
      await fill(form);
      const call = await validar(form);
      assert.deepEqual(form.errors.map(String), []);
      compareWithGolden(name, call);
    });
  }

  describe('on the editable page of the full annex, reopened', () => {
    let workDir;
    before(() => { workDir = fs.mkdtempSync(path.join(os.tmpdir(), 'f7301-golden-')); });
    after(() => fs.rmSync(workDir, { recursive: true, force: true }));

    test('full-annex-reopened', async () => {
      const xmlFile = path.join(workDir, 'full.xml');
      const sealed = path.join(workDir, 'RTQ-full');
      fs.copyFileSync(goldenFiles('full-annex').xml, xmlFile);
      execFileSync(TOOL, ['seal', xmlFile, sealed]);
      const page = execFileSync(TOOL, ['page', 'editable', sealed], { maxBuffer: 16 << 20 });
      const view = await openPage(env.browser, env.server.addPage('golden-editable', page),
        { clock: new Date(2011, 2, 7, 11, 45, 0), chance: 0.5 });
      try {
        const call = await validar(view);
        assert.deepEqual(view.errors.map(String), []);
        compareWithGolden('full-annex-reopened', call);
      } finally {
        await view.close();
      }
    });
  });
});
