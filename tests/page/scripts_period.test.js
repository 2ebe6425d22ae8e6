// The declared period: the user types month and year of the start, the form
// completes the whole calendar month and refuses years out of range.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm } from './scripts_support.mjs';

const env = useBrowser();

const JUNE_2011 = new Date(2011, 5, 15, 9, 0, 0);
const PERIOD_FIELDS = ['c4', 'c5', 'dia_ini', 'mes_ini', 'anio_ini', 'dia_fin', 'mes_fin', 'anio_fin'];

async function period(form, month, year) {
  await form.enter('mes_ini', month);
  await form.enter('anio_ini', year);
  return form.values(PERIOD_FIELDS);
}

describe('a month and year complete the period', () => {
  test('February of a common year ends on the 28th', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      assert.deepEqual(await period(form, '2', '11'), [
        '01/02/2011', '28/02/2011', '01', '02', '2011', '28', '02', '2011',
      ]);
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('February of a leap year ends on the 29th', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      assert.deepEqual(await period(form, '2', '2012'), [
        '01/02/2012', '29/02/2012', '01', '02', '2012', '29', '02', '2012',
      ]);
    }));

  test('every month ends on its last calendar day', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      const lastDays = ['31', '28', '31', '30', '31', '30', '31', '31', '30', '31', '30', '31'];
      for (let month = 1; month <= 12; month++) {
        const [, c5] = await period(form, String(month), '2010');
        const mm = String(month).padStart(2, '0');
        assert.equal(c5, `${lastDays[month - 1]}/${mm}/2010`);
      }
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('2000 is a leap year and 2100 is not', async () => {
    await onForm(env, { clock: new Date(2005, 0, 10) }, async (form) => {
      const [, c5] = await period(form, '02', '2000');
      assert.equal(c5, '29/02/2000');
    });
    await onForm(env, { clock: new Date(2100, 0, 10) }, async (form) => {
      assert.equal((await period(form, '02', '2100'))[1], '28/02/2100');
      assert.equal((await period(form, '02', '2096'))[1], '29/02/2096');
    });
  });

  test('short years are read in the window 1990 to 2089', async () => {
    await onForm(env, { clock: JUNE_2011 }, async (form) => {
      assert.equal((await period(form, '7', '5'))[4], '2005');
      assert.equal((await period(form, '7', '011'))[4], '2011');
    });
    await onForm(env, { clock: new Date(1999, 0, 10) }, async (form) => {
      assert.equal((await period(form, '7', '95'))[4], '1995');
    });
  });
});

describe('a year out of range is refused', () => {
  const refused = async (form, year, message) => {
    const values = await period(form, '3', year);
    assert.deepEqual(await form.takeAlerts(), [message], `year ${year}`);
    assert.equal(values[4], '', `year ${year} is emptied`);
    assert.deepEqual([values[1], values[5], values[6], values[7]], ['', '', '', ''], 'no end date');
  };

  test('in 2011, years before 2001 are too old and years after 2012 too far ahead', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      await refused(form, '2000', MSG.tooOld);
      await refused(form, '2013', MSG.tooEarly);
      // 95 is 1995, not 2095: too old rather than too far ahead.
      await refused(form, '95', MSG.tooOld);
      for (const year of ['2001', '2012']) {
        assert.equal((await period(form, '3', year))[4], year);
        assert.deepEqual(await form.takeAlerts(), [], `year ${year}`);
      }
    }));
});

describe('a wrong month or a non-numeric entry is refused', () => {
  test('month 13 is refused and emptied', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      const values = await period(form, '13', '2011');
      assert.deepEqual(await form.takeAlerts(), [MSG.month]);
      assert.equal(values[3], '');
      assert.equal(values[1], '', 'no end date');
    }));

  test('letters in the month or year are refused and emptied', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      await form.enter('mes_ini', 'ma');
      assert.deepEqual(await form.takeAlerts(), [MSG.monthNotNumeric]);
      assert.equal(await form.value('mes_ini'), '');

      await form.enter('anio_ini', '20x1');
      assert.deepEqual(await form.takeAlerts(), [MSG.yearNotNumeric]);
      assert.equal(await form.value('anio_ini'), '');
    }));

  test('a corrected year completes the period again', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      await period(form, '4', '2013');
      await form.takeAlerts();
      await form.enter('anio_ini', '2011');
      assert.deepEqual(await form.values(['c4', 'c5']), ['01/04/2011', '30/04/2011']);
      assert.deepEqual(await form.takeAlerts(), []);
    }));
});

describe('the form cannot be validated without a period', () => {
  test('Validar on an empty form stops at the date with one message', () =>
    onForm(env, { clock: JUNE_2011 }, async (form) => {
      await form.enter('c2', '19');
      await form.enter('c3', 'x');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.badDate]);
      assert.deepEqual(await form.generaCalls(), []);
    }));
});
