// Computed boxes: closing balance of each product, the totals row, the total
// to pay, and the form number the page gives itself.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MARCH_5_2011, useBrowser, onForm } from './scripts_support.mjs';

const env = useBrowser();

// First box of product row p (0 = Gasolina superior ... 12 = Asfaltos).
const rowStart = (p) => 6 + 8 * p;

async function fillRow(form, p, amounts) {
  for (const [k, amount] of amounts.entries()) {
    if (amount !== undefined) await form.enter(`c${rowStart(p) + k}`, amount);
  }
}

describe('closing balance of a product', () => {
  test('opening plus purchases plus additions minus the four outflows', () =>
    onForm(env, async (form) => {
      // Diesel: 100 + 50 + 0 - (10 + 0 + 100 + 20) = 20
      await fillRow(form, 3, ['100', '50', '0', '10', '0', '100', '20']);
      assert.equal(await form.value('c37'), '20.00');
    }));

  test('each outflow column is subtracted and each inflow added', () =>
    onForm(env, async (form) => {
      // Distinct powers of two make any wrong sign visible in the result.
      await fillRow(form, 0, ['64', '32', '16', '8', '4', '2', '1']);
      assert.equal(await form.value('c13'), String(64 + 32 + 16 - 8 - 4 - 2 - 1) + '.00');
    }));

  test('a product row left empty shows 0', () =>
    onForm(env, async (form) => {
      await fillRow(form, 3, ['100']);
      const others = [];
      for (let p = 0; p < 13; p++) if (p !== 3) others.push(`c${rowStart(p) + 7}`);
      const shown = await form.values(others);
      assert.deepEqual(shown, others.map(() => '0'));
    }));

  test('a balance below zero is shown negative with two decimals', () =>
    onForm(env, async (form) => {
      await fillRow(form, 12, ['10.5', undefined, undefined, undefined, undefined, '110']);
      assert.equal(await form.value('c109'), '-99.50');
    }));

  test('cents add up without binary residue', () =>
    onForm(env, async (form) => {
      await fillRow(form, 1, ['0.1', '0.2']);
      assert.equal(await form.value('c21'), '0.30');
    }));
});

describe('totals row', () => {
  test('each column is summed over the thirteen products', () =>
    onForm(env, async (form) => {
      // Product p puts p + 1 in its opening balance and 0.5 in its exempt sales.
      for (let p = 0; p < 13; p++) {
        await form.enter(`c${rowStart(p)}`, String(p + 1));
        await form.enter(`c${rowStart(p) + 6}`, '0.5');
      }
      assert.deepEqual(await form.values(['c110', 'c116', 'c117']), ['91.00', '6.50', '84.50']);
      // Columns nobody filled total 0.
      assert.deepEqual(await form.values(['c111', 'c112', 'c113', 'c114', 'c115']), [
        '0', '0', '0', '0', '0',
      ]);
    }));

  test('the totals follow a correction', () =>
    onForm(env, async (form) => {
      await form.enter('c30', '100');
      await form.enter('c38', '40');
      assert.equal(await form.value('c110'), '140.00');
      await form.enter('c30', '');
      assert.deepEqual(await form.values(['c110', 'c37', 'c117']), ['40.00', '0', '40.00']);
    }));

  test('computed boxes cannot be typed into', () =>
    onForm(env, async (form) => {
      const locked = await form.page.evaluate(() =>
        ['c13', 'c37', 'c110', 'c117', 'c1618', 'c1621'].map((n) => {
          const box = document.getElementsByName(n)[0];
          return box.disabled || box.readOnly;
        }),
      );
      assert.deepEqual(locked, [true, true, true, true, true, true]);
    }));
});

describe('total to pay', () => {
  test('is the fine, in cents', () =>
    onForm(env, async (form) => {
      await form.enter('c1620', '100');
      assert.deepEqual(await form.values(['c1620', 'c1621']), ['100.00', '100.00']);
      await form.enter('c1620', '12.345');
      assert.deepEqual(await form.values(['c1620', 'c1621']), ['12.35', '12.35']);
    }));

  test('is 0 when there is no fine', () =>
    onForm(env, async (form) => {
      await form.enter('c1620', '5');
      await form.enter('c1620', '');
      assert.equal(await form.value('c1621'), '0');
    }));
});

describe('form number', () => {
  test('is the time of opening and two random digits', () =>
    onForm(env, { clock: MARCH_5_2011 }, async (form) => {
      const c1 = await form.value('c1');
      // 10:20:30 on the page clock; the clock runs on while the page loads,
      // which takes seconds on a busy machine.
      assert.match(c1, /^1020[3-5]\d{3}$/);
      const header = await form.page.evaluate(() => document.body.innerText);
      assert.match(header, new RegExp(`No\\s*${c1}`));
    }));

  test('stays fixed while the page is open', () =>
    onForm(env, async (form) => {
      const before = await form.value('c1');
      await form.enter('c6', '1');
      await form.enter('c1620', '1');
      assert.equal(await form.value('c1'), before);
    }));
});
