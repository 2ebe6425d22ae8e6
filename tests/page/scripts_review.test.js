// The review of the whole form (revisionformulario): every problem the form
// has, in the order of the form, found by the checks typing and "Validar"
// run, with the page left exactly as it was. Each form is put on the page as
// a kept draft is put back (values as they were left, checked or not).
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { PAGE_DIR, openPage } from './harness.mjs';
import { useBrowser, onForm, MSG } from './scripts_support.mjs';

const env = useBrowser();

// A form "Validar" accepts: March 2011, a NIT with its check digit, a name.
const GOOD = {
  c2: '19', c3: 'ESTACION EL SOL', mes_ini: '03', anio_ini: '2011', dia_fin: '31', mes_fin: '03',
  anio_fin: '2011', c4: '01/03/2011', c5: '31/03/2011',
};
const row = (n, nit, gallons, product) => ({ [`f1${n}c1`]: nit, [`f1${n}c2`]: gallons, [`f1${n}c3`]: product });
const text = (message) => message.replace(/^Error:\n/, '');
const NOT_STORED = (box, what, plural = '') =>
  `La casilla ${box} contiene ${what}, que no puede${plural} guardarse en la declaración.\nPor favor corríjala.`;
const RECTIFIED = text(MSG.constancia);
const FINE = MSG.fine.replace(/^Warning: \n /, '');

// [what, the draft's fields (rows: annex rows), the expected lines as
// [class, field, text]].
const CASES = [
  ['a form Validar accepts', { ...GOOD }, []],
  ['the blank form', {}, [
    ['Error', 'c2', text(MSG.blank)], ['Error', 'c3', text(MSG.blank)],
    ['Error', 'mes_ini', text(MSG.badDate)]]],
  ['a NIT of zeros is no NIT', { ...GOOD, c2: '000' }, [
    ['Error', 'c2', text(MSG.blank)]]],
  ['a wrong check digit, a name that cannot be stored', { ...GOOD, c2: '18', c3: 'ŁÓDŹ' }, [
    ['Aviso', 'c2', text(MSG.nit)],
    ['Error', 'c3', NOT_STORED('"Nombre o razón social del contribuyente"', '"Ł" y "Ź"', 'n')]]],
  ['every grid box, each with its own message', { ...GOOD, c6: 'abc', c7: '99999999999', c8: '-1', c110: '5' }, [
    ['Error', 'c6', text(MSG.numeric)], ['Error', 'c7', text(MSG.above('9999999999.99'))],
    ['Error', 'c8', text(MSG.below('0.00'))]]],
  ['exempt sales against the annex, named by product', {
    ...GOOD, c30: '20', c36: '15', c12: '4', ...row(1, '19', '12.50', 'DIESEL'), ...row(2, '19', '1', 'NAFTA'),
  }, [
    ['Error', 'c12', 'Gasolina superior: ventas exentas 4.00, anexo 0.00, diferencia 4.00'],
    ['Aviso', 'c13', 'Saldo final negativo: -4.00 galones. Por favor revise las entradas y salidas de Gasolina superior.'],
    ['Error', 'c36', 'Diesel: ventas exentas 15.00, anexo 12.50, diferencia 2.50'],
    ['Error', 'c60', 'Nafta: ventas exentas 0.00, anexo 1.00, diferencia -1.00']]],
  ['a closing balance below zero', { ...GOOD, c30: '10', c35: '12.004' }, [
    ['Aviso', 'c37', 'Saldo final negativo: -2.00 galones. Por favor revise las entradas y salidas de Diesel.']]],
  ['a month out of range', { ...GOOD, mes_ini: '13', c4: '01/13/2011' }, [
    ['Error', 'mes_ini', text(MSG.month)]]],
  ['a year too old', { ...GOOD, anio_ini: '2000', c4: '01/03/2000', c5: '31/03/2000' }, [
    ['Error', 'anio_ini', text(MSG.tooOld)]]],
  ['a period after this month', {
    ...GOOD, mes_ini: '04', mes_fin: '04', dia_fin: '30', c4: '01/04/2011', c5: '30/04/2011',
  }, [['Aviso', 'mes_ini', 'Periodo futuro: el periodo declarado es posterior al mes en curso.']]],
  ['every annex row, every cell', {
    ...GOOD, c36: '7', ...row(1, '', '1', 'DIESEL'), ...row(2, '19', 'abc', 'DIESEL'),
    ...row(3, '0', '', ''), ...row(4, '18', '2', 'DIESEL'), ...row(5, '6K', '4', 'DIESEL'),
    ...row(6, 'A]]>B', '1e400', 'DIESEL'),
  }, [
    ['Aviso', 'c37', 'Saldo final negativo: -7.00 galones. Por favor revise las entradas y salidas de Diesel.'],
    ['Error', 'f11c1', MSG.rowNit], ['Error', 'f12c2', text(MSG.numeric)],
    ['Error', 'f13c1', MSG.rowNit], ['Error', 'f13c2', MSG.rowGallons], ['Error', 'f13c3', MSG.rowProduct],
    ['Aviso', 'f14c1', text(MSG.nit)],
    ['Error', 'f16c1', NOT_STORED('"NIT" del renglón 6 de "VENTAS TOTALES EXENTAS"', '"]]>"')],
    ['Error', 'f16c2', text(MSG.numeric)]]],
  ['the rectified declaration and the fine', { ...GOOD, c1619: '5', c1620: '' }, [
    ['Error', 'c1619', RECTIFIED], ['Aviso', 'c1620', FINE]]],
  ['a rectification as it should be still reminds of the fine', { ...GOOD, c1619: '730112345678', c1620: '100' }, [
    ['Aviso', 'c1620', FINE]]],
];

// Every field's value, marks and state, the caret and the sums of the
// annex, as the page holds them.
function pageState() {
  const fields = Array.from(document.querySelectorAll('input, select, textarea'));
  const active = document.activeElement;
  return {
    fields: fields.map((f) => [f.name, f.value, f.getAttribute('aria-invalid'), f.disabled, f.getAttribute('value')]),
    caret: [active?.name ?? null, active?.selectionStart ?? null, active?.selectionEnd ?? null],
    sums: [x1, x4, x7, x13],
    alert: String(window.alert),
  };
}

describe('the review of the whole form', () => {
  for (const [what, fields, expected] of CASES) {
    test(what, () => onForm(env, async (form) => {
      const rows = Math.max(3, ...Object.keys(fields).map((k) => Number(/^f1(\d+)c/.exec(k)?.[1] ?? 0)));
      const { lines, names } = await form.page.evaluate(([campos, filas]) => {
        restauraborrador({ filas: [0, filas], campos });
        const lines = revisionformulario();
        return { lines, names: lines.map((l) => document.getElementById(l.campo).getAttribute('aria-label')) };
      }, [fields, rows]);
      assert.deepEqual(lines.map((l) => [l.clase, l.campo, l.texto]), expected);
      assert.deepEqual(lines.map((l) => l.donde), names, 'each line is where its field is');
      assert.deepEqual(await form.takeAlerts(), [], 'nothing shown');
      // "Validar" goes through exactly when the review finds no error.
      await form.click('validar');
      const generated = (await form.generaCalls()).length > 0;
      assert.equal(generated, !lines.some((l) => l.clase === 'Error'), 'Validar agrees');
    }));
  }

  test('names places as the form speaks them', () => onForm(env, async (form) => {
    const lines = await form.page.evaluate((campos) => {
      restauraborrador({ filas: [0, 3], campos });
      return revisionformulario();
    }, { ...GOOD, c36: '15', ...row(3, '19', 'x', 'DIESEL') });
    assert.deepEqual(lines.map((l) => l.donde), [
      'Diesel, Ventas Exentas, casilla 36', 'Diesel, Saldo Final, casilla 37',
      'Anexo, renglón 1, NIT del comprador', 'Anexo, renglón 1, Cantidad de galones exentos',
      'Anexo, renglón 1, Tipo de producto', 'Anexo, renglón 2, NIT del comprador',
      'Anexo, renglón 2, Cantidad de galones exentos', 'Anexo, renglón 2, Tipo de producto',
      'Anexo, renglón 3, Cantidad de galones exentos']);
  }));

  test('leaves values, marks, caret, sums and messages as they were', () => onForm(env, async (form) => {
    await form.page.evaluate(`window.pageState = ${pageState}`);
    const [before, after, lines] = await form.page.evaluate((campos) => {
      restauraborrador({ filas: [0, 8], campos, foco: 'f12c2' });
      BuscaObj('c7').setAttribute('aria-invalid', 'true');
      BuscaObj('f12c2').setSelectionRange(1, 2);
      // Typed, not yet left: the sums of the annex do not count it yet.
      BuscaObj('f11c2').value = '5';
      const before = pageState();
      const lines = revisionformulario();
      return [before, pageState(), lines.length];
    }, {
      c2: '1-9', c3: 'ŁÓDŹ', mes_ini: '3', anio_ini: '11', c4: '1/3/11', c6: '1.5', c7: 'x', c36: '1',
      c1619: '0', c1620: '3.333', ...row(1, '0019', '1.005', 'DIESEL'), ...row(2, '', 'abc', ''),
      ...row(8, '18', '2', 'NAFTA'),
    });
    assert.ok(lines >= 10, `the form has problems (${lines})`);
    assert.equal(before.caret[0], 'f12c2');
    assert.deepEqual(after, before);
    assert.deepEqual(await form.takeAlerts(), []);
  }));

  test('puts the caret in the field of a line, or the nearest one that takes it', () =>
    onForm(env, async (form) => {
      const reached = await form.page.evaluate(() => {
        agregar(200, 1);
        return ['f1150c2', 'c37', 'dia_fin', 'dia_ini', 'nada'].map((id) => {
          window.scrollTo(0, 0);
          const went = irarevision(id);
          const caret = document.activeElement;
          const box = caret.getBoundingClientRect();
          return [id, went, caret.name ?? null, box.top >= 0 && box.bottom <= window.innerHeight];
        });
      });
      assert.deepEqual(reached, [
        ['f1150c2', true, 'f1150c2', true], ['c37', true, 'c36', true], ['dia_fin', true, 'anio_ini', true],
        ['dia_ini', true, 'mes_ini', true], ['nada', false, 'mes_ini', true]]);
    }));
});

describe('the review of a declaration reopened for correction', () => {
  let workDir;
  before(() => { workDir = fs.mkdtempSync(path.join(os.tmpdir(), 'f7301-review-')); });
  after(() => fs.rmSync(workDir, { recursive: true, force: true }));
  const TOOL = process.env.F7301_DECLARACION ?? path.join(PAGE_DIR, '..', 'tools', 'declaracion');

  test('a full annex: each product sold beyond its stock, and one box changed', async () => {
    const xml = fs.readFileSync(new URL('./golden/full-annex.xml', import.meta.url), 'latin1')
      .replace('<CASILLA ID="36">2615.76</CASILLA>', '<CASILLA ID="36">2615.75</CASILLA>');
    fs.writeFileSync(path.join(workDir, 'full.xml'), Buffer.from(xml, 'latin1'));
    execFileSync(TOOL, ['seal', path.join(workDir, 'full.xml'), path.join(workDir, 'full')]);
    const page = execFileSync(TOOL, ['page', 'editable', path.join(workDir, 'full')], { maxBuffer: 8 << 20 });
    const tab = await openPage(env.browser, env.server.addPage('full', page), { clock: new Date(2011, 3, 2) });
    try {
      const lines = await tab.page.evaluate(() => revisionformulario());
      assert.deepEqual(lines.filter((l) => l.clase === 'Error').map((l) => [l.campo, l.texto]), [
        ['c36', 'Diesel: ventas exentas 2615.75, anexo 2615.76, diferencia -0.01']]);
      const avisos = lines.filter((l) => l.clase === 'Aviso');
      assert.equal(avisos.length, 12);
      assert.ok(avisos.every((l) => /^c\d+$/.test(l.campo) && l.texto.startsWith('Saldo final negativo: -')));
      assert.deepEqual(tab.errors.map(String), []);
    } finally {
      await tab.close();
    }
  });
});
