// The form's record of itself for a kept draft, and putting it back on a
// freshly loaded form: every value as it stood, rows added as needed, the
// computed boxes computed again, and no message.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm, openForm, fillHeader, fillAnnexRow, addRows } from './scripts_support.mjs';

const env = useBrowser();

// The record as the program stores it: through JSON text and back.
const takeRecord = (form) =>
  form.page.evaluate(() => JSON.parse(JSON.stringify(borradorformulario())));

const restore = (form, record) => form.page.evaluate((r) => restauraborrador(r), record);

// Every named field of the form but the form number, as the page shows it.
const allValues = (form) =>
  form.page.evaluate(() => {
    const values = {};
    for (const e of document.forms.C.elements) {
      if (e.name && e.name !== 'c1' && e.type !== 'button') values[e.name] = e.value;
    }
    return values;
  });

describe('a draft record', () => {
  test('holds every field as it stands, rows, refused and unfinished values included', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('c6', '100');
      await form.enter('c36', '3');
      await addRows(form, 2);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1.5', product: 'DIESEL' });
      await form.enter('f13c2', '8');  // row 2 is empty: refused, and kept
      assert.deepEqual(await form.takeAlerts(), [MSG.rowNit]);
      await form.page.locator('[name="c7"]').fill('25');  // typed, not yet left
      const record = await takeRecord(form);
      assert.deepEqual(record.filas, [0, 5]);
      assert.equal(record.foco, 'c7');
      assert.equal(record.campos.c1, undefined, 'the form number is not kept');
      assert.deepEqual(record.campos, await allValues(form));
      assert.equal(record.campos.c7, '25');
      assert.equal(record.campos.f13c2, '8');
      assert.equal(record.campos.f11c3, 'DIESEL');
      assert.equal(record.campos.c13, '100.00');
      assert.equal(record.campos.mes_ini, '03');
    }));
});

describe('putting a draft back', () => {
  test('gives the same form on a fresh page, totals computed, without a message', async () => {
    let record, before;
    await onForm(env, async (form) => {
      await fillHeader(form, { name: 'Estación Ñandú' });
      await form.enter('c6', '100');
      await form.enter('c12', '1.5');
      await form.enter('c1620', '100');
      await addRows(form, 17);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1.5', product: 'DIESEL' });
      await fillAnnexRow(form, 2, { nit: '19', gallons: '2', product: 'GASOLINA SUPERIOR' });
      await form.enter('f13c1', '27');  // an incomplete row
      await form.enter('f120c2', '4');  // refused beside it, and kept
      await form.takeAlerts();
      record = await takeRecord(form);
      before = await allValues(form);
    });
    await onForm(env, async (form) => {
      assert.equal(await restore(form, record), true);
      assert.deepEqual(await allValues(form), before);
      assert.deepEqual(await form.values(['c13', 'c1618', 'c1621', 'trenglon1']),
        ['98.50', '3.50', '100.00', '20']);
      assert.equal(await form.focused(), 'f13c2', 'the caret goes back where it was');
      assert.deepEqual(await form.takeAlerts(), []);
      // The restored rows are rows like any other: leaving one checks it.
      await form.enter('f14c2', 'x');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowGallons]);
    });
  });

  test('recomputes the computed boxes and leaves typed ones exactly as typed', () =>
    onForm(env, async (form) => {
      const record = await takeRecord(form);
      record.foco = 'c7';  // typed, never left: not checked, and no amount counts nothing
      Object.assign(record.campos, {
        c6: '12', c7: '1,5', c13: '999.00', c110: '7', c1619: 'abc', c1620: '2.5',
        f11c1: '19', f11c2: '3', f11c3: 'DIESEL', f12c3: 'NO ES UN PRODUCTO',
      });
      await restore(form, record);
      assert.deepEqual(
        await form.values(['c6', 'c7', 'c13', 'c110', 'c1619', 'c1620', 'c1621', 'c1618', 'f12c3']),
        ['12', '1,5', '12.00', '12.00', 'abc', '2.5', '2.50', '3.00', '']);
      assert.equal(await form.focused(), 'c7');
      assert.deepEqual(await form.takeAlerts(), [], 'no check runs while a draft is put back');
      await form.leave();
      assert.equal((await form.takeAlerts())[0], MSG.numeric, 'it is checked once left');
    }));

  test('adds rows up to a full annex of 500', () =>
    onForm(env, async (form) => {
      const record = await takeRecord(form);
      record.filas = [0, 500];
      for (let row = 1; row <= 500; row++) {
        Object.assign(record.campos, { [`f1${row}c1`]: '19', [`f1${row}c2`]: '1.00', [`f1${row}c3`]: 'DIESEL' });
      }
      await restore(form, record);
      assert.deepEqual(await form.values(['f1500c1', 'f1500c3', 'c1618']), ['19', 'DIESEL', '500.00']);
      assert.equal(await form.page.evaluate(() => ANEXO[1]), 500);
      assert.equal(await form.page.evaluate(() => document.getElementsByName('f1501c1').length), 0);
    }));

  test('ignores keys that name no field of the form', () =>
    onForm(env, async (form) => {
      const record = await takeRecord(form);
      await restore(form, record);  // the computed boxes as a restore leaves them
      const [number] = await form.values(['c1']);
      const before = await allValues(form);
      const count = await form.page.evaluate(() => document.forms.C.elements.length);
      record.foco = '0';
      Object.assign(record.campos, {
        0: '999', [String(count - 1)]: '999', length: '1', item: 'x', namedItem: 'x', C: 'x',
        c2: '19',
      });
      assert.equal(await restore(form, record), true);
      assert.deepEqual(await form.values(['c1']), [number], 'the form number stays its own');
      assert.deepEqual(await allValues(form), { ...before, c2: '19' });
      assert.notEqual(await form.focused(), 'c1');
      assert.deepEqual(await form.takeAlerts(), []);
    }));
});

test('row counts no form of the program writes put nothing back', () =>
  onForm(env, async (form) => {
    const record = await takeRecord(form);
    record.campos.c2 = '19';
    const before = await allValues(form);
    for (const filas of [[0, 501], [0, 4, ...Array(15).fill(0)], [0, -1], [0, 2.5], [0, '3'], [0, 3, 501], {}]) {
      assert.equal(await restore(form, { ...record, filas }), false, JSON.stringify(filas));
      assert.deepEqual(await allValues(form), before, JSON.stringify(filas));
    }
    assert.equal(await restore(form, { ...record, filas: [0, 500, ...Array(14).fill(0)] }), true);
    assert.equal(await form.page.evaluate(() => ANEXO[1]), 500);
  }));

test('a page without the form gives no record to put back', async () => {
  const form = await openForm(env);
  assert.equal(await form.page.evaluate(() => restauraborrador(null)), false);
  assert.equal(await form.page.evaluate(() => restauraborrador({ filas: [0, 3] })), false);
});

describe('checking a record put back, and typing a value for the program', () => {
  test('each field the record filled is left as after typing: its checks run', () =>
    onForm(env, async (form) => {
      const record = await takeRecord(form);
      Object.assign(record.campos, {
        c2: '1234567-9', c3: 'estación', mes_ini: '1', anio_ini: '2011', c6: '100', c14: '-5', c7: '',
      });
      assert.equal(await form.page.evaluate((r) => restauraborrador(r) && revisaborrador(r), record), true);
      assert.deepEqual(
        await form.values(['c2', 'c3', 'mes_ini', 'dia_fin', 'mes_fin', 'anio_fin', 'c4', 'c5', 'c6', 'c13', 'c14']),
        ['12345679', 'ESTACIÓN', '01', '31', '01', '2011', '01/01/2011', '31/01/2011', '100.00', '100.00', '']);
      assert.deepEqual(await form.takeAlerts(), [MSG.below('0.00')], 'the one value refused is told');
      assert.equal(await form.page.evaluate(() => revisaborrador(null)), false);
    }));

  test('a typed value gets the events of typing and the field\'s own checks', () =>
    onForm(env, async (form) => {
      await form.page.evaluate(() => {
        window.__eventos = [];
        for (const tipo of ['input', 'change', 'blur']) {
          document.C.c1619.addEventListener(tipo, () => window.__eventos.push(tipo));
        }
      });
      assert.equal(await form.page.evaluate(() => escribecampo('c1619', '730110203045')), true);
      assert.deepEqual(await form.page.evaluate(() => window.__eventos), ['input', 'change', 'blur']);
      assert.deepEqual(await form.values(['c1619']), ['730110203045']);
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await form.page.evaluate(() => escribecampo('c1619', '7301-1')), true);
      assert.deepEqual(await form.takeAlerts(), [MSG.wholeNumber]);
      assert.deepEqual(await form.values(['c1619']), ['']);
      assert.equal(await form.page.evaluate(() => escribecampo('c13', '5')), false, 'a computed box takes no typing');
      assert.equal(await form.page.evaluate(() => escribecampo('nohay', '5')), false);
    }));
});
