// Importing the annex from a file: the program hands the page the rows it
// read, the page checks each as if it had been typed and fills the annex only
// when every row passes; and the complete rows the page gives for an export.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm, fillHeader, fillAnnexRow, addRows } from './scripts_support.mjs';

const env = useBrowser();

const sale = (linea, nit, galones, producto) => ({ linea, nit, galones, producto });
const importRows = (form, rows, refused = 0) =>
  form.page.evaluate(([r, n]) => importaanexo(r, n), [rows, refused]);

// Every annex cell, the row count and the totals: what must not move when an
// import is refused.
const annexState = (form) =>
  form.page.evaluate(() => {
    const cells = [...document.querySelectorAll('#cuerpo1 [name^="f1"]')].map((c) => c.value);
    return { cells, c1618: document.C.c1618.value, trenglon: document.C.trenglon1.value, anexo: ANEXO[1] };
  });

const rowValues = (form, row) => form.values([1, 2, 3].map((col) => `f1${row}c${col}`));

describe('rows that pass are imported', () => {
  test('NIT cleaned, gallons in cents, rows added, totals redone, nothing shown', () =>
    onForm(env, async (form) => {
      const answer = await importRows(form, [
        sale(2, '1-9', '12.345', 'DIESEL'),
        sale(3, '00140', '5', 'DIESEL'),
        sale(4, ' 6k', '0.5', 'ASFALTOS'),
        sale(5, '19', '1e3', 'NAFTA'),
        sale(6, '12345679', '7.004', 'GASOLINA SUPERIOR'),
      ]);
      assert.deepEqual(answer, { importadas: 5, primera: 1, problemas: [] });
      assert.deepEqual(await rowValues(form, 1), ['19', '12.35', 'DIESEL']);
      assert.deepEqual(await rowValues(form, 2), ['140', '5.00', 'DIESEL']);
      assert.deepEqual(await rowValues(form, 3), ['6K', '0.50', 'ASFALTOS']);
      assert.deepEqual(await rowValues(form, 4), ['19', '1000.00', 'NAFTA']);
      assert.deepEqual(await rowValues(form, 5), ['12345679', '7.00', 'GASOLINA SUPERIOR']);
      const state = await annexState(form);
      assert.equal(state.anexo, 5);
      assert.equal(state.trenglon, '5');
      assert.equal(state.c1618, '1024.85');
      assert.deepEqual(await form.page.evaluate(() => [x4, x7, x13, x1]), [17.35, 1000, 0.5, 7]);
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('a NIT with a wrong check digit comes in as written, with a warning', () =>
    onForm(env, async (form) => {
      const answer = await importRows(form, [sale(2, '18', '1', 'NAFTA'), sale(3, '12345678', '1', 'NAFTA')]);
      assert.equal(answer.importadas, 2);
      assert.deepEqual(answer.problemas, [
        { linea: 2, columna: 1, mensaje: MSG.nit, aviso: true },
        { linea: 3, columna: 1, mensaje: MSG.nit, aviso: true },
      ]);
      assert.deepEqual(await form.values(['f11c1', 'f12c1']), ['18', '12345678']);
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('rows go after the last complete row, however many the annex had', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1', product: 'NAFTA' });
      await fillAnnexRow(form, 2, { nit: '19', gallons: '2', product: 'NAFTA' });
      const answer = await importRows(form, [sale(1, '140', '3', 'DIESEL'), sale(2, '140', '4', 'DIESEL')]);
      assert.equal(answer.primera, 3);
      assert.deepEqual(await rowValues(form, 2), ['19', '2.00', 'NAFTA']);
      assert.deepEqual(await rowValues(form, 3), ['140', '3.00', 'DIESEL']);
      assert.deepEqual(await rowValues(form, 4), ['140', '4.00', 'DIESEL']);
      assert.equal(await form.value('c1618'), '10.00');
      // and a second import follows the first
      assert.equal((await importRows(form, [sale(9, '19', '1', 'ASFALTOS')])).primera, 5);
    }));

  test('500 rows fill the blank annex; Validar then writes them all', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      const rows = [];
      for (let i = 1; i <= 500; i++) rows.push(sale(i + 1, '19', '1.5', 'DIESEL'));
      assert.equal((await importRows(form, rows)).importadas, 500);
      assert.equal(await form.value('c1618'), '750.00');
      await form.enter('c36', '750');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      const [xml] = (await form.generaCalls())[0];
      assert.ok(xml.includes(' <CASILLA ID="1615"><![CDATA[19]]></CASILLA>  <CASILLA ID="1616">1.50</CASILLA>  <CASILLA ID="1617"><![CDATA[DIESEL]]></CASILLA> '));
      assert.equal(xml.match(/<!\[CDATA\[DIESEL\]\]>/g).length, 500);
    }));
});

describe('a file with any error changes nothing', () => {
  test('each fault is named by line and column, and the page stays as it was', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1', product: 'NAFTA' });
      const before = await annexState(form);
      const answer = await importRows(form, [
        sale(2, '19', '1', 'DIESEL'),
        sale(3, '000', '1', 'DIESEL'),
        sale(4, '0 -0', '1', 'DIESEL'),
        sale(5, '', '1,250', 'DIESEL'),
        sale(6, '19', '', 'DIESEL'),
        sale(7, '19', '-3', ''),
        sale(8, '18', '10000000000', 'GAS LICUADO DE PETROLEO A GRANEL'),
      ]);
      assert.equal(answer.importadas, 0);
      const zeros = 'El NIT del comprador no puede ser solo ceros o espacios.';
      assert.deepEqual(
        answer.problemas.map((p) => [p.linea, p.columna, p.mensaje, p.aviso]),
        [
          [3, 1, zeros, false],
          [4, 1, zeros, false],
          [5, 1, MSG.rowNit, false],
          [5, 2, MSG.numeric, false],
          [6, 2, MSG.rowGallons, false],
          [7, 3, MSG.rowProduct, false],
          [7, 2, MSG.below('0.00'), false],
          [8, 1, MSG.nit, true],
          [8, 2, MSG.above('9999999999.99'), false],
          [8, 3, 'El producto "GAS LICUADO DE PETROLEO A GRANEL" no es uno de los productos del anexo.', false],
        ]);
      assert.deepEqual(await annexState(form), before);
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('lines the program refused itself stop the import of rows that pass', () =>
    onForm(env, async (form) => {
      const before = await annexState(form);
      assert.deepEqual(await importRows(form, [sale(2, '19', '1', 'NAFTA')], 1),
        { importadas: 0, primera: 0, problemas: [] });
      assert.deepEqual(await annexState(form), before);
    }));

  test('a begun row after the last complete one is not written over', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1', product: 'NAFTA' });
      await form.enter('f13c1', '140');
      await form.takeAlerts(); // row 2 is empty: typing in row 3 is refused
      await form.enter('f12c2', '4');
      const before = await annexState(form);
      const answer = await importRows(form, [sale(2, '19', '1', 'NAFTA')]);
      assert.match(answer.mensaje, /^Error:\nEl renglón 2 del anexo está incompleto/);
      assert.deepEqual(await annexState(form), before);
    }));
});

describe('the rules of typing, all of them', () => {
  const errorsOf = (answer) => answer.problemas.filter((p) => !p.aviso).map((p) => [p.linea, p.columna, p.mensaje]);
  const tooLong = (max) => `Error:\nLa longitud de la casilla sobrepasa el máximo de ${max} caracteres`;
  const broken = 'La casilla no puede llevar tabuladores ni saltos de línea.';

  test('each cell takes as many characters as typing lets into the cell it goes to', () =>
    onForm(env, async (form) => {
      // rows 1 to 3 come with the page (50 characters), row 4 on are added (14)
      const before = await annexState(form);
      const answer = await importRows(form, [
        sale(2, '1'.repeat(50), '1', 'NAFTA'),
        sale(3, '1'.repeat(51), '1', 'NAFTA'),
        sale(4, '19', '0'.repeat(48) + '.5', 'NAFTA'),
        sale(5, '1'.repeat(14), '0'.repeat(11) + '1.5', 'NAFTA'),
        sale(6, '1'.repeat(15), '0'.repeat(12) + '1.5', 'NAFTA'),
        sale(7, '9'.repeat(200001), '1', 'NAFTA'),
      ]);
      assert.deepEqual(errorsOf(answer), [
        [3, 1, tooLong(50)],
        [6, 1, tooLong(14)],
        [6, 2, tooLong(14)],
        [7, 1, tooLong(14)],
      ]);
      assert.deepEqual(await annexState(form), before);
      const fits = await importRows(form, [sale(2, '1'.repeat(50), '1', 'NAFTA'), sale(3, '19', '1', 'NAFTA'),
        sale(4, '19', '1', 'NAFTA'), sale(5, '1'.repeat(14), '0'.repeat(11) + '1.5', 'NAFTA')]);
      assert.equal(fits.importadas, 4);
      assert.deepEqual(await rowValues(form, 4), ['1'.repeat(14), '1.50', 'NAFTA']);
    }));

  test('a tab or line break in a NIT or product, inside or at its edges, is refused', () =>
    onForm(env, async (form) => {
      const before = await annexState(form);
      const answer = await importRows(form, [
        sale(2, '19\t', '1', 'NAFTA'),
        sale(3, '\n19', '1', 'NAFTA'),
        sale(4, '1\r\n9', '1', 'NAFTA'),
        sale(5, '19', '1', 'NAFTA\n'),
        sale(6, '19', '1', '\tNAFTA'),
        sale(7, '19', '1', 'GAS\tOIL'),
      ]);
      assert.deepEqual(errorsOf(answer), [
        [2, 1, broken], [3, 1, broken], [4, 1, broken], [5, 3, broken], [6, 3, broken], [7, 3, broken],
      ]);
      assert.deepEqual(await annexState(form), before);
    }));

  test('a product quoted in a message is cut to 40 characters', () =>
    onForm(env, async (form) => {
      const answer = await importRows(form, [sale(2, '19', '1', 'ñ'.repeat(41)), sale(3, '19', '1', 'x'.repeat(40))]);
      assert.deepEqual(errorsOf(answer), [
        [2, 3, `El producto "${'ñ'.repeat(40)}…" no es uno de los productos del anexo.`],
        [3, 3, `El producto "${'x'.repeat(40)}" no es uno de los productos del anexo.`],
      ]);
    }));
});

describe('the 500-row limit', () => {
  test('rows past 500 with those already complete get the form\'s own message', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1', product: 'NAFTA' });
      const before = await annexState(form);
      const rows = (n) => Array.from({ length: n }, (_, i) => sale(i + 1, '19', '1', 'NAFTA'));
      assert.deepEqual(await importRows(form, rows(500)), { mensaje: MSG.tooManyRows });
      assert.deepEqual(await importRows(form, rows(498), 2), { mensaje: MSG.tooManyRows });
      assert.deepEqual(await annexState(form), before);
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal((await importRows(form, rows(499))).importadas, 499);
      // the add-rows button keeps its own message
      await form.enter('renglones1', '1');
      await form.click('botonanexo1');
      assert.deepEqual(await form.takeAlerts(), [MSG.tooManyRows]);
    }));
});

describe('export', () => {
  test('gives the complete rows as the page holds them, and names the rows begun but incomplete', () =>
    onForm(env, async (form) => {
      await addRows(form, 1);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1.5', product: 'NAFTA' });
      await fillAnnexRow(form, 2, { nit: '6K', gallons: '3', product: 'NAFTA' });
      await fillAnnexRow(form, 3, { nit: '140', gallons: '2', product: 'KEROSINA (DPK) (AVJET, TURBO FUEL)' });
      await form.enter('f12c2', '');
      await form.choose('f12c3', '');
      await form.enter('f14c1', '19');
      await form.takeAlerts();
      assert.deepEqual(await form.page.evaluate(() => exportaanexo()), {
        filas: [
          { nit: '19', galones: '1.50', producto: 'NAFTA' },
          { nit: '140', galones: '2.00', producto: 'KEROSINA (DPK) (AVJET, TURBO FUEL)' },
        ],
        incompletos: [2, 4],
      });
    }));

  test('a row whose gallons were kept unchecked beside an incomplete row is named, nothing given', () =>
    onForm(env, async (form) => {
      await form.enter('f11c1', '19');
      // row 1 lacks its gallons: what is typed in row 2 stays there unchecked
      for (const [name, text] of [['f12c2', '=1+2'], ['f12c1', '140']]) await form.enter(name, text);
      await form.choose('f12c3', 'NAFTA');
      await form.enter('f11c2', '1');
      await form.choose('f11c3', 'DIESEL');
      await form.takeAlerts();
      assert.deepEqual(await form.values(['f12c1', 'f12c2', 'f12c3']), ['140', '=1+2', 'NAFTA']);
      assert.deepEqual(await form.page.evaluate(() => exportaanexo()), {
        mensaje: 'Error:\nLos galones del renglón 2 del anexo no son una cantidad válida.' +
                 '\nPor favor corríjalos y exporte de nuevo; no se exportó nada.',
      });
      await form.enter('f12c2', '4.5');
      assert.deepEqual((await form.page.evaluate(() => exportaanexo())).filas.map((r) => r.galones), ['1.00', '4.50']);
    }));
});
