// The annex of exempt sales: rows filled in order, their gallons summed per
// product into the annex total, rows added on request up to 500.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm, fillAnnexRow, addRows } from './scripts_support.mjs';

const env = useBrowser();

const rowCount = (form) =>
  form.page.evaluate(() => {
    let n = 0;
    while (document.getElementsByName(`f1${n + 1}c1`).length) n++;
    return n;
  });

describe('adding rows', () => {
  test('the blank annex has three rows', () =>
    onForm(env, async (form) => {
      assert.equal(await rowCount(form), 3);
      assert.equal(await form.value('trenglon1'), '3');
    }));

  test('497 more rows fill the annex to 500, each row usable', () =>
    onForm(env, async (form) => {
      await addRows(form, 497);
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await rowCount(form), 500);
      const lastRow = await form.page.evaluate(() => {
        const list = document.getElementsByName('f1500c3')[0];
        return {
          number: list.closest('tr').cells[0].textContent.trim(),
          products: [...list.options].map((o) => o.value),
        };
      });
      assert.equal(lastRow.number, '500');
      assert.equal(lastRow.products.length, 13);
      assert.equal(lastRow.products[0], '');
      assert.equal(lastRow.products[12], 'ASFALTOS');
    }));

  test('498 more rows are refused with the limit message and none is added', () =>
    onForm(env, async (form) => {
      await addRows(form, 498);
      assert.deepEqual(await form.takeAlerts(), [MSG.tooManyRows]);
      assert.equal(await rowCount(form), 3);
    }));

  test('the limit counts the rows already added', () =>
    onForm(env, async (form) => {
      await addRows(form, 2);
      assert.equal(await rowCount(form), 5);
      await addRows(form, 496);
      assert.deepEqual(await form.takeAlerts(), [MSG.tooManyRows]);
      await addRows(form, 495);
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await rowCount(form), 500);
      await addRows(form, 1);
      assert.deepEqual(await form.takeAlerts(), [MSG.tooManyRows]);
      assert.equal(await rowCount(form), 500);
    }));

  test('a request of 0, nothing or letters adds nothing', () =>
    onForm(env, async (form) => {
      for (const request of ['0', '']) {
        await addRows(form, request);
        assert.deepEqual(await form.takeAlerts(), [], `request "${request}"`);
        assert.equal(await form.value('renglones1'), '');
      }
      await addRows(form, 'dos');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('renglones1'), '');
      assert.equal(await rowCount(form), 3);
    }));

  test('added rows are checked like the first three', () =>
    onForm(env, async (form) => {
      await addRows(form, 2);
      for (let row = 1; row <= 4; row++) {
        await fillAnnexRow(form, row, { nit: '19', gallons: '1', product: 'NAFTA' });
      }
      assert.equal(await form.value('f14c2'), '1.00');
      await form.enter('f15c2', '-1');
      assert.deepEqual(await form.takeAlerts(), [MSG.below('0.00')]);
      assert.equal(await form.value('f15c2'), '');
      assert.equal(await form.value('c1618'), '4.00');
    }));
});

describe('a row is filled after the rows before it', () => {
  test('an empty earlier row is named by its first empty cell and the value typed is kept', () =>
    onForm(env, async (form) => {
      await form.enter('f12c1', '19');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowNit]);
      assert.equal(await form.value('f12c1'), '19');
      assert.equal(await form.focused(), 'f11c1');

      await form.enter('f11c1', '19');
      await form.enter('f13c2', '5');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowGallons]);
      assert.equal(await form.value('f13c2'), '5');

      await form.enter('f11c2', '5');
      await form.enter('f12c1', '140');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowProduct]);
      assert.equal(await form.value('f12c1'), '140');
    }));

  test('a value kept beside an incomplete row is checked once that row is complete', () =>
    onForm(env, async (form) => {
      await form.enter('f12c2', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowNit]);
      assert.equal(await form.value('f12c2'), '1,5');
      await fillAnnexRow(form, 1, { nit: '19', gallons: '2', product: 'DIESEL' });
      await form.enter('f12c1', '19');
      await form.enter('f12c2', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('f12c2'), '');
      await form.enter('f12c2', '1.5');
      assert.equal(await form.value('f12c2'), '1.50');
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('a kept value that is no amount counts nothing in the annex total', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '2', product: 'DIESEL' });
      await form.choose('f13c3', 'DIESEL');
      await form.enter('f13c2', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowNit, MSG.rowNit]);
      assert.deepEqual(await form.values(['f13c3', 'f13c2']), ['DIESEL', '1,5']);
      await fillAnnexRow(form, 2, { nit: '19', gallons: '3', product: 'DIESEL' });
      assert.equal(await form.value('c1618'), '5.00');
    }));

  test('gallons must be an amount and are shown in cents', () =>
    onForm(env, async (form) => {
      await form.enter('f11c2', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('f11c2'), '');
      await form.enter('f11c2', '10000000000');
      assert.deepEqual(await form.takeAlerts(), [MSG.above('9999999999.99')]);
      assert.equal(await form.value('f11c2'), '');
      await form.enter('f11c2', '2.675');
      assert.equal(await form.value('f11c2'), '2.68');
      assert.deepEqual(await form.takeAlerts(), []);
    }));
});

describe('annex total', () => {
  test('two DIESEL rows of 10.5 and 4.5 make 15.00', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '10.5', product: 'DIESEL' });
      await fillAnnexRow(form, 2, { nit: '140', gallons: '4.5', product: 'DIESEL' });
      assert.deepEqual(await form.values(['f11c2', 'f12c2', 'c1618']), ['10.50', '4.50', '15.00']);
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('sums every product and leaves out rows without one', () =>
    onForm(env, async (form) => {
      await fillAnnexRow(form, 1, { nit: '19', gallons: '1.25', product: 'GASOLINA SUPERIOR' });
      await fillAnnexRow(form, 2, { nit: '19', gallons: '2', product: 'ASFALTOS' });
      await form.enter('f13c1', '19');
      await form.enter('f13c2', '100');
      assert.equal(await form.value('c1618'), '3.25');
      await form.choose('f13c3', 'GAS LICUADO PETROLEO CARBURACION');
      assert.equal(await form.value('c1618'), '103.25');
    }));
});

describe('adding rows keeps the fixed fields fixed', () => {
  // Every named field with its disabled and read-only state.
  const fieldStates = (form) =>
    form.page.evaluate(() =>
      [...document.querySelectorAll('input[name], select[name]')].map((f) => [f.name, f.disabled, f.readOnly]));

  test('the form number, the period end, the computed boxes and totals stay disabled', () =>
    onForm(env, async (form) => {
      const fresh = await fieldStates(form);
      const disabled = fresh.filter(([, off]) => off).map(([name]) => name);
      for (const name of ['c1', 'dia_ini', 'dia_fin', 'mes_fin', 'anio_fin', 'c13', 'c110', 'c117', 'c1618', 'c1621']) {
        assert.ok(disabled.includes(name), `${name} is disabled on a fresh form`);
      }
      await addRows(form, 2);
      const after = new Map((await fieldStates(form)).map(([name, ...state]) => [name, state]));
      for (const [name, ...state] of fresh) assert.deepEqual(after.get(name), state, name);
      // The new rows are ready for typing.
      assert.deepEqual(after.get('f15c1'), [false, false]);
      assert.deepEqual(after.get('f15c3'), [false, false]);
    }));
});
